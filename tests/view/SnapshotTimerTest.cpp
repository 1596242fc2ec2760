// The snapshot timer's states, driven through a host that records what the window would do.
#include "view/SnapshotTimer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Log = std::vector<std::string>;

struct RecordingHost final : SnapshotHost {
    Log log; // effects in the order they happened
    bool running = false;
    QString title, status;
    int fetchResult = 0;
    bool fileReadable = true;
    std::function<void()> duringFetch = [] {};

    void startSnapshotTimer(int ms) override { running = true; log.push_back("start " + std::to_string(ms)); }
    void stopSnapshotTimer() override { running = false; log.push_back("stop"); }
    void setFrameTitle(const QString& text) override { title = text; }
    void setStatusPane(const QString& text) override { status = text; }
    void deleteSnapshotFile() override { log.push_back("delete"); }
    void FetchSnapshot(std::function<void(int)> done) override
    {
        log.push_back("fetch");
        duringFetch(); // a tick may fall due while the request runs
        done(fetchResult);
    }
    bool waiting = false;
    bool requestWaiting() const override { return waiting; }
    bool snapshotFileReadable() override { return fetchResult == 0 && fileReadable; }
    void repaintWithoutErase() override { log.push_back("repaint"); }
};

const QString kOff = QStringLiteral("The timer is off");
const QString kTen = QStringLiteral("VarnekJPG timer running 10 seconds");
const QString kPaused = QStringLiteral("VarnekJPG timer paused");
const QString kFailure = QStringLiteral("VarnekJPG The timer is turned off because a picture could not be obtained "
                                        "from your camera.  Check your settings and restart the timer. ");

TEST(SnapshotTimer, StateTable)
{
    using Step = std::function<void(SnapshotTimer&, RecordingHost&)>;
    const Step update = [](SnapshotTimer& t, RecordingHost&) { t.OnUpdate(); };
    const Step tick = [](SnapshotTimer& t, RecordingHost&) { t.SnapshotTimerProc(); };
    const Step ten = [](SnapshotTimer& t, RecordingHost&) { t.SetTimerInterval(7); };
    const Step fail = [](SnapshotTimer&, RecordingHost& h) { h.fetchResult = -1; };
    const Step pauseResume = [](SnapshotTimer& t, RecordingHost&) { t.Pause(); t.Resume(); };
    struct Row { const char* what; std::vector<Step> steps; Log log; bool running; int setting; QString title, status; };
    const Row rows[] = {
        {"a tick before the first update does nothing; the update starts 1 s polling, no title",
         {tick, update}, {"start 1000"}, true, 4, {}, {}},
        {"the first picture comes with the first tick", {update, tick},
         {"start 1000", "fetch", "repaint"}, true, 4, {}, {}},
        {"an interval stops the old timer, fetches at once, then starts the new one", {update, ten},
         {"start 1000", "stop", "fetch", "repaint", "start 10000"}, true, 7, kTen, {}},
        {"a failed fetch turns the timer off, keeps the last picture and says why", {update, fail, tick},
         {"start 1000", "fetch", "delete", "stop"}, false, 0, kFailure, kOff},
        {"with the override a failed fetch changes nothing", {update, [](SnapshotTimer& t, RecordingHost&) { t.toggleOverride(); }, fail, tick},
         {"start 1000", "fetch", "delete"}, true, 4, {}, {}},
        {"a tick during a fetch fetches nothing",
         {update, [](SnapshotTimer& t, RecordingHost& h) { h.duringFetch = [&] { t.SnapshotTimerProc(); }; }, tick},
         {"start 1000", "fetch", "repaint"}, true, 4, {}, {}},
        {"a tick while another request of the window waits fetches nothing",
         {update, [](SnapshotTimer&, RecordingHost& h) { h.waiting = true; }, tick}, {"start 1000"}, true, 4, {}, {}},
        {"a fetch that leaves no readable file keeps the timer, without repaint",
         {update, [](SnapshotTimer&, RecordingHost& h) { h.fileReadable = false; }, tick},
         {"start 1000", "fetch"}, true, 4, {}, {}},
        {"an interval whose first fetch fails still runs, but its setting is off", {update, fail, ten},
         {"start 1000", "stop", "fetch", "delete", "start 10000"}, true, 0, kTen, kOff},
        {"so a pause and resume then leaves it off", {update, fail, ten, pauseResume},
         {"start 1000", "stop", "fetch", "delete", "start 10000", "stop"}, false, 0, kPaused, kOff},
        {"get one image stops the timer and keeps the setting",
         {update, ten, [](SnapshotTimer& t, RecordingHost&) { t.OnGetOneImage(); }},
         {"start 1000", "stop", "fetch", "repaint", "start 10000", "stop", "fetch", "repaint"},
         false, 7, kTen, {}},
        {"resume runs the kept setting again, fetching at once", {update, ten, pauseResume},
         {"start 1000", "stop", "fetch", "repaint", "start 10000", "stop", "fetch", "repaint",
          "start 10000"},
         true, 7, kTen, {}},
    };
    for (const Row& r : rows) {
        RecordingHost host;
        SnapshotTimer timer{host};
        for (const Step& step : r.steps)
            step(timer, host);
        EXPECT_EQ(host.log, r.log) << r.what;
        EXPECT_EQ(host.running && timer.running(), r.running) << r.what;
        EXPECT_EQ(timer.setting(), r.setting) << r.what;
        EXPECT_EQ(host.title, r.title) << r.what;
        EXPECT_EQ(host.status, r.status) << r.what;
        EXPECT_FALSE(timer.fetchInProgress()) << r.what;
    }
}

} // namespace
