// The "&Timer" menu and its toolbar twins on the running program.
#include "AppFixture.h"

#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");

struct IntervalCase {
    int command;
    bool toolbar;
    int intervalMs;
    const char* title;
};

const IntervalCase kCases[] = {
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

class FrameTimerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(start());
    }

    void choose(int command, bool toolbar)
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
};

TEST_F(FrameTimerTest, EachIntervalAndItsToolbarTwinFetchOnceRunTheTimerAndSetTheTitle)
{
    for (const IntervalCase& c : kCases) {
        SCOPED_TRACE(c.command);
        // Start from the timer switched off, so every case changes something.
        choose(32780, false);
        ASSERT_FALSE(view->windowTimer().isActive());
        const int before = snapshotRequests();

        choose(c.command, c.toolbar);
        EXPECT_EQ(snapshotRequests(), before + 1) << "one picture at once";
        EXPECT_TRUE(view->windowTimer().isActive());
        EXPECT_EQ(view->windowTimer().interval(), c.intervalMs);
        EXPECT_EQ(view->snapshotTimer().timerId(), 100u);
        EXPECT_EQ(frame->windowTitle(), QString::fromLatin1(c.title));
    }
}

TEST_F(FrameTimerTest, OffFromTheMenuOrTheStopButton)
{
    for (const auto& [command, toolbar] : {std::pair{32780, false}, std::pair{32805, true}}) {
        choose(32777, false);
        choose(command, toolbar);
        EXPECT_FALSE(view->windowTimer().isActive()) << command;
        EXPECT_EQ(view->snapshotTimer().timerId(), 0u);
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG The timer is off"));
        EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));
    }
}

TEST_F(FrameTimerTest, AFailedFetchWithoutTheOverrideTurnsTheTimerOffAndSaysWhy)
{
    choose(32778, false);
    camera->setFault(fakecam::Fault::SnapshotNotFound);
    view->SnapshotTimerProc();
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), kFailureTitle);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));

    // Any interval command restarts it once the camera is back.
    camera->setFault(fakecam::Fault::None);
    choose(32806, true);
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 1 second"));
}

TEST_F(FrameTimerTest, WithTheOverrideCheckedAFailedFetchChangesNothing)
{
    QAction* overrideItem = menuItem(QStringLiteral("&Timer"), 32788);
    ASSERT_NE(overrideItem, nullptr);
    menu(QStringLiteral("&Timer"))->aboutToShow();
    EXPECT_FALSE(overrideItem->isChecked()) << "unchecked at start-up";
    overrideItem->trigger();
    menu(QStringLiteral("&Timer"))->aboutToShow();
    EXPECT_TRUE(overrideItem->isChecked());

    choose(32776, false);
    camera->stop();
    view->SnapshotTimerProc();
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 2000);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 2 seconds"));
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());

    overrideItem->trigger();
    menu(QStringLiteral("&Timer"))->aboutToShow();
    EXPECT_FALSE(overrideItem->isChecked());
}

TEST_F(FrameTimerTest, GetOneImageKeepsTitleAndSetting)
{
    choose(32776, false);
    const int before = snapshotRequests();
    choose(32781, false);
    EXPECT_EQ(snapshotRequests(), before + 1);
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(view->snapshotTimer().setting(), 5);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 2 seconds"));
}

TEST_F(FrameTimerTest, PauseAndResumeShowInTheFramesTitle)
{
    choose(32779, false);
    view->Pause();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer paused"));
    EXPECT_FALSE(view->windowTimer().isActive());
    view->Resume();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 1 minute"));
    EXPECT_EQ(view->windowTimer().interval(), 60000);

    choose(32780, false);
    view->Pause();
    view->Resume();
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer paused"));
}

} // namespace
