// "Resize the window frame to fit the image": the rectangle, and the real main window fitted.
#include "ViewFixture.h"

#include "app/MainFrame.h"
#include "app/VarnekJPGApp.h"
#include "view/PictureLayout.h"
#include "view/VarnekJPGView.h"

namespace {

TEST(FitFrameRect, LeftTenTopFortyRightAndBottomFromTheBorderedClientRect)
{
    // Client rectangle (0, 40, 1304, 910) for 1280 x 720: borders move its right and bottom out,
    // while the left and top are set to (10, 40), not converted.
    EXPECT_EQ(fitFrameRect(1280, 720, QMargins()), QRect(QPoint(10, 40), QPoint(1303, 909)));
    EXPECT_EQ(fitFrameRect(1280, 720, QMargins(4, 30, 5, 6)), QRect(QPoint(10, 40), QPoint(1308, 915)));
    EXPECT_EQ(fitFrameRect(0, 0, QMargins()), QRect(10, 40, 14, 150)) << "an undecodable picture";
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
    const QRect outer = frame->frameGeometry();
    const QRect inner = frame->geometry();
    EXPECT_EQ(outer.topLeft(), QPoint(10, 40));
    EXPECT_EQ(outer.left() + outer.width(), 1304 + outer.right() - inner.right());
    EXPECT_EQ(outer.top() + outer.height(), 910 + outer.bottom() - inner.bottom());
}

TEST_F(FitWindowTest, WithoutAPictureNothingMovesAndAnUndecodableOneSizesForNothing)
{
    frame->setGeometry(100, 120, 1500, 1100);
    const QRect before = frame->frameGeometry();
    QFile::remove(view->autoJpgPath());
    view->OnFitWindowToImage();
    EXPECT_EQ(frame->frameGeometry(), before);

    folder.write(QStringLiteral("auto.jpg"), "<html>not a picture</html>");
    view->OnFitWindowToImage();
    EXPECT_EQ(frame->frameGeometry().topLeft(), QPoint(10, 40));
    EXPECT_LT(frame->frameGeometry().width(), 1500);
    EXPECT_LT(frame->frameGeometry().height(), 1100);
}

} // namespace
