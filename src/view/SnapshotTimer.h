#pragma once
// The snapshot timer's states, apart from any window: which interval runs, what the title says,
// what happens when a fetch fails, and the pause around dialogs. The view supplies the effects
// (a real timer, the frame's title, the status pane, the file and the fetch) through SnapshotHost.

#include <QString>

#include <array>
#include <functional>

// The setting the view starts with and returns to when the document is renewed: 1 second.
inline constexpr int kStartSetting = 4;

// One row of the interval table; setting 0 is the timer switched off.
struct TimerRow {
    int setting;
    int intervalMs;     // 0 for the off row
    int menuCommand;
    int toolbarCommand; // 0 when the toolbar has no button for it
    const char* title;  // untranslated; the frame shows it through tr()
};

// Settings 0 to 8 in order.
const std::array<TimerRow, 9>& timerRows();
// The row's title as the frame shows it.
QString timerTitle(const TimerRow& row);

QString failureTitle();
QString timerOffStatus();
QString pausedTitle();

// What the timer needs from the window it runs in.
class SnapshotHost {
public:
    virtual ~SnapshotHost() = default;
    // (Re)starts the periodic timer: a running one is replaced.
    virtual void startSnapshotTimer(int intervalMs) = 0;
    virtual void stopSnapshotTimer() = 0;
    virtual void setFrameTitle(const QString& title) = 0;
    // Writes the status bar's first pane and redraws it at once.
    virtual void setStatusPane(const QString& text) = 0;
    // Deletes auto.jpg; a missing file is no error.
    virtual void deleteSnapshotFile() = 0;
    // Fetches a new auto.jpg; done runs when the fetch has ended, with 0 on success and anything
    // else on failure. The older picture stays in place until the new one replaces it.
    virtual void FetchSnapshot(std::function<void(int result)> done) = 0;
    // Whether a request of the window is under way: a tick then fetches nothing, or its steps
    // would run in the middle of another handler's.
    virtual bool requestWaiting() const = 0;
    // Whether auto.jpg can be opened for reading.
    virtual bool snapshotFileReadable() = 0;
    // Asks for a repaint of the whole view without erasing its background.
    virtual void repaintWithoutErase() = 0;
};

class SnapshotTimer final {
public:
    explicit SnapshotTimer(SnapshotHost& host) : m_host(host) {}
    SnapshotTimer(const SnapshotTimer&) = delete;
    SnapshotTimer& operator=(const SnapshotTimer&) = delete;

    // The view's update notification: registers the view for the ticks and starts 1 s polling.
    // Writes no title.
    void OnUpdate();
    // The timer's tick: one snapshot cycle for the registered view.
    void SnapshotTimerProc();
    // One snapshot cycle; done (when given) runs once it has ended, with 0 when a new picture is
    // in place and a repaint was asked for.
    void RefreshSnapshot(std::function<void(int result)> done = {});
    // One of the interval commands, setting 1 to 8.
    void SetTimerInterval(int setting);
    void OnTimerOff();
    void OnGetOneImage();
    void toggleOverride();
    // Around a file or print dialog.
    void Pause();
    void Resume();

    bool running() const { return m_running; }
    // 0 while switched off, else the row of the interval chosen last, kept through pauses.
    int setting() const { return m_setting; }
    bool fetchInProgress() const { return m_fetchInProgress; }
    bool overrideSet() const { return m_override; }

private:
    void start(int intervalMs);
    void stop();

    SnapshotHost& m_host;
    bool m_registered = false;
    bool m_running = false;
    int m_setting = kStartSetting;
    // Set while a fetch runs, so a tick or command arriving meanwhile fetches nothing.
    bool m_fetchInProgress = false;
    // "Disable auto disable timer": a failed fetch leaves the timer running.
    bool m_override = false;
};
