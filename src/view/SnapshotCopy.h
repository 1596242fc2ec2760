#pragma once
// Helpers of the "&Open..." and "&Save" commands: the file types of the two choosers, the copy
// of the snapshot file under the name the user chose, and the wait after a chooser closes.

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// Chooser filters: JPEG pictures, the recordings fetched from the Micro-SD card, everything.
QStringList openFileFilters();
QStringList saveFileFilters();

struct SnapshotCopyResult {
    bool saved = false;
    // For a message box when nothing was saved; empty on success.
    QString errorText;
};

// Copies the snapshot file byte for byte, as it lies on disk now, to targetPath. The bytes go
// into a temporary file beside the target that replaces it only once complete and flushed, so a
// failure leaves no partial file and any earlier file of that name untouched. Where no temporary
// file can be made there (a folder the user may not write to), an existing writable target is
// overwritten in place, and its old content put back if that write fails. A missing snapshot
// (none has arrived yet) saves nothing and says so.
SnapshotCopyResult copySnapshotFile(const QString& snapshotPath, const QString& targetPath);

// Open and Save keep the snapshot timer paused for this long after their chooser closes.
inline constexpr int kResumeDelayMs = 4000;

// The wait after a chooser closes runs on a timer, so the window keeps answering; until the
// timer has been resumed Open and Save are refused, so no second chooser can stack up another
// wait. Every other command works meanwhile.
class FileCommandWait final {
public:
    explicit FileCommandWait(int delayMs = kResumeDelayMs);
    FileCommandWait(const FileCommandWait&) = delete;
    FileCommandWait& operator=(const FileCommandWait&) = delete;

    // While true, Open and Save are disabled.
    bool busy() const { return m_busy; }
    // At the start of Open or Save; false means the command is refused.
    bool begin();
    // When the chooser has closed: resume runs once after the delay, then the commands are
    // allowed again and allowed runs, so menus and buttons can show them enabled. Both are
    // dropped if this object goes first.
    void finish(std::function<void()> resume, std::function<void()> allowed = {});
    // The wait's own timer, and its end brought forward (for a caller that must not wait).
    const QTimer& timer() const { return m_timer; }
    void expireNow();
    // The timer was restarted meanwhile (New): the resume is dropped, the commands come back now.
    void dropResume();
    // Asked when the wait is over: while it says no (a dialog is up, a request waits) the resume
    // waits a little longer instead of running in the middle of that.
    void setResumeAllowed(std::function<bool()> allowed) { m_resumeAllowed = std::move(allowed); }

private:
    void expire();

    int m_delayMs;
    QTimer m_timer;
    std::function<void()> m_resume;
    std::function<void()> m_allowed;
    std::function<bool()> m_resumeAllowed;
    bool m_busy = false;
};
