// The "&Timer" menu and its toolbar twins on the running program, against the simulated camera.
// The timer's state table is TimerStateTest's; this is what the user sees of it.
#include "AppFixture.h"

namespace {

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");
const QString kOff = QStringLiteral("The timer is off");

class FrameTimerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(start());
    }

    void choose(int command, bool toolbar = false)
    {
        if (toolbar) {
            QWidget* button = frame->toolBar()->widgetForAction(frame->action(command));
            ASSERT_NE(button, nullptr) << command;
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QAction* item = menuItem(QStringLiteral("&Timer"), command);
            ASSERT_NE(item, nullptr) << command;
            item->trigger();
        }
    }

    void expectRunning(int intervalMs, const char* title)
    {
        EXPECT_TRUE(view->windowTimer().isActive());
        EXPECT_EQ(view->windowTimer().interval(), intervalMs);
        EXPECT_EQ(frame->windowTitle(), QString::fromLatin1(title));
    }
};

TEST_F(FrameTimerTest, EachIntervalAndItsToolbarTwinFetchOnceRunTheTimerAndSetTheTitle)
{
    struct Case { int command; bool toolbar; int intervalMs; const char* title; };
    const Case cases[] = {
        {32772, false, 100, "VarnekJPG timer running 100ms"},
        {32773, false, 200, "VarnekJPG timer running 200ms"},
        {32774, false, 400, "VarnekJPG timer running 400ms"},
        {32775, false, 1000, "VarnekJPG timer running 1 second"},
        {32776, false, 2000, "VarnekJPG timer running 2 seconds"},
        {32777, false, 4000, "VarnekJPG timer running 4 seconds"},
        {32778, false, 10000, "VarnekJPG timer running 10 seconds"},
        {32779, false, 60000, "VarnekJPG timer running 1 minute"},
        {32811, true, 100, "VarnekJPG timer running 100ms"},
        {32812, true, 200, "VarnekJPG timer running 200ms"},
        {32809, true, 400, "VarnekJPG timer running 400ms"},
        {32806, true, 1000, "VarnekJPG timer running 1 second"},
        {32810, true, 4000, "VarnekJPG timer running 4 seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        // From the timer switched off, by the menu and by the Stop button in turn.
        choose(c.toolbar ? 32805 : 32780, c.toolbar);
        EXPECT_FALSE(view->windowTimer().isActive());
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG The timer is off"));
        EXPECT_EQ(frame->statusBar()->currentMessage(), kOff);
        const int before = snapshotRequests();

        choose(c.command, c.toolbar);
        EXPECT_EQ(snapshotRequests(), before + 1) << "one picture at once";
        expectRunning(c.intervalMs, c.title);
    }
}

TEST_F(FrameTimerTest, AFailedFetchTurnsTheTimerOffSaysWhyAndKeepsNoPicture)
{
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "login refused" : "picture missing");
        choose(32778);
        ASSERT_TRUE(folder.exists(QStringLiteral("auto.jpg")));
        camera->setFault(refused ? fakecam::Fault::WrongCredentials : fakecam::Fault::SnapshotNotFound);
        view->SnapshotTimerProc();
        EXPECT_EQ(camera->requests().back().status, refused ? 401 : 404);
        EXPECT_FALSE(view->windowTimer().isActive());
        EXPECT_EQ(frame->windowTitle(), kFailureTitle);
        EXPECT_EQ(frame->statusBar()->currentMessage(), kOff);
        EXPECT_FALSE(folder.exists(QStringLiteral("auto.jpg"))) << "the answer is no picture";
        camera->setFault(fakecam::Fault::None);
    }
}

TEST_F(FrameTimerTest, WithTheOverrideCheckedAFailedFetchChangesNothing)
{
    QAction* overrideItem = menuItem(QStringLiteral("&Timer"), 32788);
    ASSERT_NE(overrideItem, nullptr);
    const auto checked = [&] {
        menu(QStringLiteral("&Timer"))->aboutToShow();
        return overrideItem->isChecked();
    };
    EXPECT_FALSE(checked()) << "unchecked at start-up";
    overrideItem->trigger();
    EXPECT_TRUE(checked());

    choose(32776);
    camera->stop();
    view->SnapshotTimerProc();
    expectRunning(2000, "VarnekJPG timer running 2 seconds");
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
    overrideItem->trigger();
    EXPECT_FALSE(checked());
}

TEST_F(FrameTimerTest, GetOneImageKeepsTitleAndSettingAndPauseResumeShowInTheTitle)
{
    choose(32776);
    const int before = snapshotRequests();
    choose(32781);
    EXPECT_EQ(snapshotRequests(), before + 1);
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(view->snapshotTimer().setting(), 5);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 2 seconds"));

    choose(32779);
    view->Pause();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer paused"));
    EXPECT_FALSE(view->windowTimer().isActive());
    view->Resume();
    expectRunning(60000, "VarnekJPG timer running 1 minute");

    choose(32780);
    view->Pause();
    view->Resume();
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer paused"));
}

} // namespace
