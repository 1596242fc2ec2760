// "Resize the window frame to fit the image" on the real main window.
#include "AppFixture.h"

namespace {

class FitWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        fakecam::Options options;
        options.width = 1280;
        options.height = 720;
        useCamera(options);
        ASSERT_TRUE(start());
    }
};

TEST_F(FitWindowTest, ATwelveEightyBySevenTwentyPictureGivesTheFrameTheClientRectanglePlusBorders)
{
    view->snapshotTimer().OnGetOneImage();
    ASSERT_TRUE(folder.exists(QStringLiteral("auto.jpg")));
    frame->showMaximized();
    ASSERT_TRUE(frame->isMaximized());

    ASSERT_TRUE(frame->routeCommand(cmd::FitWindowToImage));
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
