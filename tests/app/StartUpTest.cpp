// Starting the program: title, first picture, focus, command line, Exit.
#include "AppFixture.h"

#include <QScreen>

namespace {

TEST_F(AppTest, StartsUntitledWithTheFocusInTheViewAndTheFirstPictureAtTheFirstTick)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
    EXPECT_EQ(frame->readyPane()->text(), QStringLiteral("Ready"));
    const QSize screen = frame->screen()->availableGeometry().size();
    EXPECT_EQ(frame->size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4)) << "three quarters of the screen";
    EXPECT_EQ(frame->focusWidget(), view);
    // Nothing is fetched before the first tick, one second in; the title stays the document's.
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(snapshotRequests(), 0);
    view->snapshotTimer().SnapshotTimerProc();
    ASSERT_TRUE(settled(*app->link()));
    EXPECT_EQ(snapshotRequests(), 1);
    QImage shown(view->size(), QImage::Format_RGB32);
    view->render(&shown);
    int lit = 0;
    for (int x = 0; x < shown.width(); ++x)
        lit += shown.pixelColor(x, shown.height() / 2) != QColor(Qt::black);
    EXPECT_GT(lit, shown.width() / 2) << "the camera's picture fills the window's width";
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
    // A toolbar button leaves the keys with the view.
    QTest::mouseClick(frame->toolBar()->widgetForAction(frame->action(cmd::ToolbarTimer1s)), Qt::LeftButton);
    EXPECT_EQ(frame->focusWidget(), view);
    ASSERT_TRUE(frame->routeCommand(cmd::AppExit));
    EXPECT_FALSE(frame->isVisible()) << "Exit closes the window";
    EXPECT_TRUE(desktop.messages().empty()) << "without asking anything";
}

TEST_F(AppTest, AFileNamedOnTheCommandLineNamesTheWindowAndIsNotReadAndAMissingOneEndsTheStart)
{
    folder.write(QStringLiteral("evening.vjp"), "whatever the file holds");
    ASSERT_TRUE(start({folder.file(QStringLiteral("evening.vjp"))}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("evening.vjp - VarnekJPG"));
    EXPECT_EQ(folder.read(QStringLiteral("evening.vjp")), QByteArray("whatever the file holds"));
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(app->recentFiles(), QStringList{folder.file(QStringLiteral("evening.vjp"))});
    EXPECT_TRUE(desktop.messages().empty());

    EXPECT_FALSE(start({folder.file(QStringLiteral("missing.vjp"))}));
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to open document."));
    EXPECT_EQ(frame, nullptr);
}

} // namespace
