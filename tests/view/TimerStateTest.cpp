// The snapshot timer's states, driven through a host that records what the window would do.
#include "view/SnapshotTimer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct RecordingHost final : SnapshotHost {
    // Effects in the order they happened.
    std::vector<std::string> log;
    bool running = false;
    int interval = 0;
    QString title;
    QString status;
    int fetchResult = 0;
    bool fileReadable = true;
    int fetches = 0;
    int repaints = 0;
    std::function<void()> duringFetch;

    void startSnapshotTimer(int intervalMs) override
    {
        running = true;
        interval = intervalMs;
        log.push_back("start " + std::to_string(intervalMs));
    }
    void stopSnapshotTimer() override
    {
        running = false;
        log.push_back("stop");
    }
    void setFrameTitle(const QString& text) override { title = text; }
    void setStatusPane(const QString& text) override { status = text; }
    void deleteSnapshotFile() override { log.push_back("delete"); }
    int fetchSnapshot() override
    {
        ++fetches;
        log.push_back("fetch");
        if (duringFetch)
            duringFetch();
        return fetchResult;
    }
    bool snapshotFileReadable() override { return fetchResult == 0 && fileReadable; }
    void repaintWithoutErase() override
    {
        ++repaints;
        log.push_back("repaint");
    }
};

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");

class SnapshotTimerTest : public ::testing::Test {
protected:
    RecordingHost host;
    SnapshotTimer timer{host};
};

TEST_F(SnapshotTimerTest, StartsPollingEverySecondOnTheFirstUpdateWithoutTouchingTheTitle)
{
    timer.SnapshotTimerProc();
    EXPECT_EQ(host.fetches, 0) << "a tick before the view is registered does nothing";

    host.title = QStringLiteral("Untitled - VarnekJPG");
    timer.OnUpdate();
    EXPECT_TRUE(timer.registered());
    EXPECT_EQ(timer.timerId(), 100u);
    EXPECT_EQ(timer.runningIntervalMs(), 1000);
    EXPECT_EQ(host.interval, 1000);
    EXPECT_EQ(timer.setting(), 4);
    EXPECT_EQ(host.fetches, 0) << "the first picture comes with the first tick";
    EXPECT_EQ(host.title, QStringLiteral("Untitled - VarnekJPG"));

    timer.SnapshotTimerProc();
    EXPECT_EQ(host.log, (std::vector<std::string>{"start 1000", "delete", "fetch", "repaint"}));
}

struct IntervalCase {
    signed char setting;
    int menuCommand;
    int toolbarCommand;
    int intervalMs;
    const char* title;
};

const IntervalCase kIntervals[] = {
    {1, 32772, 32811, 100, "VarnekJPG timer running 100ms"},
    {2, 32773, 32812, 200, "VarnekJPG timer running 200ms"},
    {3, 32774, 32809, 400, "VarnekJPG timer running 400ms"},
    {4, 32775, 32806, 1000, "VarnekJPG timer running 1 second"},
    {5, 32776, 0, 2000, "VarnekJPG timer running 2 seconds"},
    {6, 32777, 32810, 4000, "VarnekJPG timer running 4 seconds"},
    {7, 32778, 0, 10000, "VarnekJPG timer running 10 seconds"},
    {8, 32779, 0, 60000, "VarnekJPG timer running 1 minute"},
};

TEST_F(SnapshotTimerTest, EachIntervalFetchesAtOnceThenRunsAtItsIntervalUnderItsTitle)
{
    timer.OnUpdate();
    for (const IntervalCase& c : kIntervals) {
        SCOPED_TRACE(c.title);
        const auto row = timerRowForCommand(c.menuCommand);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->setting, c.setting);
        if (c.toolbarCommand != 0) {
            const auto twin = timerRowForCommand(c.toolbarCommand);
            ASSERT_TRUE(twin);
            EXPECT_EQ(twin->setting, c.setting) << "the toolbar twin runs the same row";
        }

        host.log.clear();
        timer.SetTimerInterval(row->setting);
        // The old timer goes, one picture is fetched at once, then the new timer starts.
        EXPECT_EQ(host.log, (std::vector<std::string>{"stop", "delete", "fetch", "repaint",
                                                      "start " + std::to_string(c.intervalMs)}));
        EXPECT_EQ(timer.timerId(), 100u);
        EXPECT_EQ(timer.runningIntervalMs(), c.intervalMs);
        EXPECT_EQ(timer.setting(), c.setting);
        EXPECT_EQ(host.title, QString::fromLatin1(c.title));
    }
    EXPECT_FALSE(timerRowForCommand(32781)) << "\"&Get one image\" is no interval";
    EXPECT_FALSE(timerRowForCommand(0));
}

TEST_F(SnapshotTimerTest, OffStopsTheTimerAndSaysSoInTitleAndStatusPane)
{
    timer.OnUpdate();
    timer.SetTimerInterval(5);
    const auto off = timerRowForCommand(32780);
    const auto offButton = timerRowForCommand(32805);
    ASSERT_TRUE(off && offButton);
    EXPECT_EQ(off->setting, 0);
    EXPECT_EQ(offButton->setting, 0);

    timer.OnTimerOff();
    EXPECT_FALSE(host.running);
    EXPECT_EQ(timer.timerId(), 0u);
    EXPECT_EQ(timer.runningIntervalMs(), 0);
    EXPECT_EQ(timer.setting(), 0);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG The timer is off"));
    EXPECT_EQ(host.status, QStringLiteral("The timer is off"));

    // Off twice stops nothing more.
    host.log.clear();
    timer.OnTimerOff();
    EXPECT_TRUE(host.log.empty());
}

TEST_F(SnapshotTimerTest, AFailedFetchTurnsTheTimerOffWithTheFailureTitle)
{
    timer.OnUpdate();
    host.fetchResult = -1;
    host.log.clear();

    EXPECT_EQ(timer.RefreshSnapshot(), -1);
    EXPECT_FALSE(host.running);
    EXPECT_EQ(timer.timerId(), 0u);
    EXPECT_EQ(timer.setting(), 0);
    EXPECT_EQ(host.title, kFailureTitle);
    EXPECT_EQ(host.status, QStringLiteral("The timer is off"));
    EXPECT_EQ(host.repaints, 0) << "the last picture stays until something else repaints";
    EXPECT_FALSE(timer.fetchInProgress());
}

TEST_F(SnapshotTimerTest, WithTheOverrideAFailedFetchKeepsTheTimerAndReportsNothing)
{
    EXPECT_FALSE(timer.overrideSet());
    timer.ToggleOverride();
    EXPECT_TRUE(timer.overrideSet());

    timer.OnUpdate();
    host.title = QStringLiteral("Untitled - VarnekJPG");
    host.fetchResult = -1;
    timer.SnapshotTimerProc();
    timer.SnapshotTimerProc();
    EXPECT_EQ(host.fetches, 2);
    EXPECT_TRUE(host.running);
    EXPECT_EQ(timer.timerId(), 100u);
    EXPECT_EQ(timer.setting(), 4);
    EXPECT_EQ(host.title, QStringLiteral("Untitled - VarnekJPG"));
    EXPECT_TRUE(host.status.isEmpty());
    EXPECT_EQ(host.repaints, 0);

    host.fetchResult = 0;
    EXPECT_EQ(timer.RefreshSnapshot(), 0);
    EXPECT_EQ(host.repaints, 1) << "the first good picture shows again";

    timer.ToggleOverride();
    EXPECT_FALSE(timer.overrideSet());
}

TEST_F(SnapshotTimerTest, AFetchThatLeavesNoReadableFileKeepsTheTimerWithoutRepaint)
{
    timer.OnUpdate();
    host.fileReadable = false;
    EXPECT_EQ(timer.RefreshSnapshot(), -1);
    EXPECT_TRUE(host.running);
    EXPECT_EQ(host.repaints, 0);
    EXPECT_TRUE(host.title.isEmpty());
}

TEST_F(SnapshotTimerTest, ARefreshRequestedDuringAFetchDoesNothing)
{
    timer.OnUpdate();
    int nested = 0;
    host.duringFetch = [&] {
        EXPECT_TRUE(timer.fetchInProgress());
        nested = timer.RefreshSnapshot();
    };
    EXPECT_EQ(timer.RefreshSnapshot(), 0);
    EXPECT_EQ(nested, -1);
    EXPECT_EQ(host.fetches, 1);
    EXPECT_FALSE(timer.fetchInProgress());
}

TEST_F(SnapshotTimerTest, AnIntervalWhoseFirstFetchFailsStillRunsButLeavesTheSettingOff)
{
    timer.OnUpdate();
    host.fetchResult = -1;
    timer.SetTimerInterval(7);
    // The failure's work is done first, then the interval and its title follow.
    EXPECT_TRUE(host.running);
    EXPECT_EQ(timer.runningIntervalMs(), 10000);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer running 10 seconds"));
    EXPECT_EQ(host.status, QStringLiteral("The timer is off"));
    EXPECT_EQ(timer.setting(), 0);

    // So a pause and resume around a dialog leaves it off.
    timer.Pause();
    timer.Resume();
    EXPECT_FALSE(host.running);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer paused"));
}

TEST_F(SnapshotTimerTest, GetOneImageFetchesOnceAndStopsButKeepsTitleAndSetting)
{
    timer.OnUpdate();
    timer.SetTimerInterval(5);
    host.log.clear();
    timer.OnGetOneImage();
    EXPECT_EQ(host.log, (std::vector<std::string>{"stop", "delete", "fetch", "repaint"}));
    EXPECT_EQ(timer.timerId(), 0u);
    EXPECT_EQ(timer.setting(), 5);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer running 2 seconds"));

    // Stopped, it fetches one image again without starting anything.
    host.log.clear();
    timer.OnGetOneImage();
    EXPECT_EQ(host.log, (std::vector<std::string>{"delete", "fetch", "repaint"}));
}

TEST_F(SnapshotTimerTest, PauseDuringOneMinuteThenResumeRunsAtOneMinuteAgain)
{
    timer.OnUpdate();
    timer.SetTimerInterval(8);
    const int fetchesBefore = host.fetches;

    timer.Pause();
    EXPECT_FALSE(host.running);
    EXPECT_EQ(timer.timerId(), 0u);
    EXPECT_EQ(timer.setting(), 8);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer paused"));

    timer.Resume();
    EXPECT_TRUE(host.running);
    EXPECT_EQ(timer.runningIntervalMs(), 60000);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer running 1 minute"));
    EXPECT_EQ(host.fetches, fetchesBefore + 1) << "the resume fetches at once";
}

TEST_F(SnapshotTimerTest, PauseWhileOffThenResumeStaysOffAndPaused)
{
    timer.OnUpdate();
    timer.OnTimerOff();
    timer.Pause();
    timer.Resume();
    EXPECT_FALSE(host.running);
    EXPECT_EQ(timer.timerId(), 0u);
    EXPECT_EQ(host.fetches, 0);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer paused"));
}

TEST_F(SnapshotTimerTest, ARenewedDocumentRestartsAtOneSecondAfterAnyState)
{
    timer.OnUpdate();
    timer.OnTimerOff();
    timer.OnUpdate();
    EXPECT_EQ(timer.runningIntervalMs(), 1000);
    EXPECT_EQ(timer.setting(), 4);

    timer.SetTimerInterval(8);
    timer.OnUpdate();
    EXPECT_EQ(timer.runningIntervalMs(), 1000);
}

} // namespace
