// "Resize the window frame to fit the image" on the real main window.
#include "ViewFixture.h"

#include "app/MainFrame.h"
#include "app/VarnekJPGApp.h"
#include "view/VarnekJPGView.h"

namespace {

QMargins frameBorders(const QWidget& frame)
{
    const QRect outer = frame.frameGeometry();
    const QRect inner = frame.geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

class FitWindowTest : public CameraTest {
protected:
    void SetUp() override
    {
        fakecam::Options options;
        options.width = 1280;
        options.height = 720;
        useCamera(options);
        ASSERT_TRUE(app.InitInstance({QStringLiteral("varnekjpg")}));
        frame = app.mainFrame();
        view = app.view();
    }

    CVarnekJPGApp app;
    CMainFrame* frame = nullptr;
    CVarnekJPGView* view = nullptr;
};

TEST_F(FitWindowTest, ATwelveEightyBySevenTwentyPictureGivesTheFrameTheClientRectanglePlusBorders)
{
    view->OnGetOneImage();
    ASSERT_TRUE(folder.exists(QStringLiteral("auto.jpg")));
    frame->showMaximized();
    ASSERT_TRUE(frame->isMaximized());

    ASSERT_TRUE(frame->RouteCommand(32813));
    EXPECT_FALSE(frame->isMaximized());
    const QMargins borders = frameBorders(*frame);
    const QRect outer = frame->frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(10, 40));
    // Client rectangle (0, 40, 1304, 910), its right and bottom moved out by the borders.
    EXPECT_EQ(outer.left() + outer.width(), 1304 + borders.right());
    EXPECT_EQ(outer.top() + outer.height(), 910 + borders.bottom());
}

TEST_F(FitWindowTest, WithoutAPictureNothingMoves)
{
    frame->setGeometry(100, 120, 900, 700);
    const QRect before = frame->frameGeometry();
    QFile::remove(view->autoJpgPath());
    view->OnFitWindowToImage();
    EXPECT_EQ(frame->frameGeometry(), before);
}

TEST_F(FitWindowTest, AnUndecodablePictureSizesForNothingAtTheSamePlace)
{
    frame->setGeometry(100, 120, 1500, 1100);
    folder.write(QStringLiteral("auto.jpg"), "<html>not a picture</html>");
    view->OnFitWindowToImage();
    EXPECT_EQ(frame->frameGeometry().topLeft(), QPoint(10, 40));
    EXPECT_LT(frame->frameGeometry().width(), 1500);
    EXPECT_LT(frame->frameGeometry().height(), 1100);
}

} // namespace
