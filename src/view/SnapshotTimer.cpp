#include "view/SnapshotTimer.h"

#include "view/CommandIds.h"

#include <QCoreApplication>

namespace {

const std::array<TimerRow, 9> kRows{{
    {0, 0, cmd::TimerOff, cmd::ToolbarTimerOff, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG The timer is off")},
    {1, 100, cmd::Timer100ms, cmd::ToolbarTimer100ms, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 100ms")},
    {2, 200, cmd::Timer200ms, cmd::ToolbarTimer200ms, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 200ms")},
    {3, 400, cmd::Timer400ms, cmd::ToolbarTimer400ms, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 400ms")},
    {4, 1000, cmd::Timer1s, cmd::ToolbarTimer1s, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 1 second")},
    {5, 2000, cmd::Timer2s, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 2 seconds")},
    {6, 4000, cmd::Timer4s, cmd::ToolbarTimer4s, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 4 seconds")},
    {7, 10000, cmd::Timer10s, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 10 seconds")},
    {8, 60000, cmd::Timer1min, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 1 minute")},
}};

QString tr(const char* text)
{
    return QCoreApplication::translate("CVarnekJPGView", text);
}

} // namespace

const std::array<TimerRow, 9>& timerRows()
{
    return kRows;
}

QString timerTitle(const TimerRow& row)
{
    return tr(row.title);
}

QString failureTitle()
{
    return tr("VarnekJPG The timer is turned off because a picture could not be obtained from your "
              "camera.  Check your settings and restart the timer. ");
}

QString timerOffStatus()
{
    return tr("The timer is off");
}

QString pausedTitle()
{
    return tr("VarnekJPG timer paused");
}

void SnapshotTimer::start(int intervalMs)
{
    m_host.startSnapshotTimer(intervalMs);
    m_running = true;
}

void SnapshotTimer::stop()
{
    if (m_running)
        m_host.stopSnapshotTimer();
    m_running = false;
}

void SnapshotTimer::OnUpdate()
{
    m_registered = true;
    start(kRows[kStartSetting].intervalMs);
    m_setting = kStartSetting;
}

void SnapshotTimer::SnapshotTimerProc()
{
    if (m_registered)
        RefreshSnapshot();
}

void SnapshotTimer::RefreshSnapshot(std::function<void(int)> done)
{
    const auto finish = [done](int result) {
        if (done)
            done(result);
    };
    // Nor while another request of the window is under way: a fetch begun then would run its
    // steps in the middle of another handler's.
    if (m_fetchInProgress || m_host.requestWaiting())
        return finish(-1);
    m_fetchInProgress = true;
    m_host.FetchSnapshot([this, finish](int fetched) {
        // The picture stays on screen while the next one comes; a failure leaves none.
        if (fetched != 0)
            m_host.deleteSnapshotFile();
        if (fetched != 0 && !m_override) {
            OnTimerOff();
            m_host.setFrameTitle(failureTitle());
            m_fetchInProgress = false;
            return finish(-1);
        }
        // With the override a failed fetch leaves no file, and the timer simply tries again.
        if (!m_host.snapshotFileReadable()) {
            m_fetchInProgress = false;
            return finish(-1);
        }
        m_fetchInProgress = false;
        m_host.repaintWithoutErase();
        finish(0);
    });
}

void SnapshotTimer::SetTimerInterval(int setting)
{
    if (setting < 1 || setting > 8)
        return;
    const TimerRow& row = kRows[static_cast<std::size_t>(setting)];
    m_setting = setting;
    stop();
    m_fetchInProgress = false;
    // The interval and its title follow even when that first fetch failed: the user asked for
    // polling, and the next tick tries again.
    RefreshSnapshot([this, &row](int) {
        start(row.intervalMs);
        m_host.setFrameTitle(timerTitle(row));
    });
}

void SnapshotTimer::OnTimerOff()
{
    m_setting = 0;
    stop();
    m_host.setFrameTitle(timerTitle(kRows[0]));
    m_fetchInProgress = false;
    m_host.setStatusPane(timerOffStatus());
}

void SnapshotTimer::OnGetOneImage()
{
    stop();
    m_fetchInProgress = false;
    RefreshSnapshot();
}

void SnapshotTimer::toggleOverride()
{
    m_override = !m_override;
}

void SnapshotTimer::Pause()
{
    stop();
    m_host.setFrameTitle(pausedTitle());
    m_fetchInProgress = false;
}

void SnapshotTimer::Resume()
{
    if (m_setting >= 1 && m_setting <= 8)
        SetTimerInterval(m_setting);
}
