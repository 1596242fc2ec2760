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

TEST_F(SnapshotTimerTest, AnIntervalStopsTheOldTimerFetchesAtOnceThenStartsTheNewOne)
{
    timer.OnUpdate();
    host.log.clear();
    timer.SetTimerInterval(7);
    EXPECT_EQ(host.log, (std::vector<std::string>{"stop", "delete", "fetch", "repaint", "start 10000"}));
    EXPECT_EQ(timer.timerId(), 100u);
    EXPECT_EQ(timer.setting(), 7);
    EXPECT_EQ(host.title, QStringLiteral("VarnekJPG timer running 10 seconds"));

    // The toolbar's buttons run the rows of their menu twins.
    for (const auto& [button, item] : {std::pair{32806, 32775}, std::pair{32811, 32772}, std::pair{32812, 32773},
                                       std::pair{32809, 32774}, std::pair{32810, 32777}, std::pair{32805, 32780}}) {
        ASSERT_TRUE(timerRowForCommand(button) && timerRowForCommand(item));
        EXPECT_EQ(timerRowForCommand(button)->setting, timerRowForCommand(item)->setting) << button;
    }
    EXPECT_FALSE(timerRowForCommand(32781)) << "\"&Get one image\" is no interval";
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

} // namespace
