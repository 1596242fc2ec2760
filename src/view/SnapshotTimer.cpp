#include "view/SnapshotTimer.h"

#include "camera/RequestSeams.h"

#include <QCoreApplication>

namespace {

const std::array<TimerRow, 9> kRows{{
    {0, 0, 32780, 32805, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG The timer is off")},
    {1, 100, 32772, 32811, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 100ms")},
    {2, 200, 32773, 32812, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 200ms")},
    {3, 400, 32774, 32809, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 400ms")},
    {4, 1000, 32775, 32806, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 1 second")},
    {5, 2000, 32776, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 2 seconds")},
    {6, 4000, 32777, 32810, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 4 seconds")},
    {7, 10000, 32778, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 10 seconds")},
    {8, 60000, 32779, 0, QT_TRANSLATE_NOOP("CVarnekJPGView", "VarnekJPG timer running 1 minute")},
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
    m_intervalMs = intervalMs;
    m_timerId = kSnapshotTimerId;
}

void SnapshotTimer::stop()
{
    if (m_timerId != 0)
        m_host.stopSnapshotTimer();
    m_timerId = 0;
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

int SnapshotTimer::RefreshSnapshot()
{
    // Nor while another request waits on this thread: the window stays alive during that wait,
    // and a fetch begun inside it would run its steps in the middle of another handler's.
    if (m_fetchInProgress > 0 || requestWaitInProgress())
        return -1;
    m_fetchInProgress = 1;
    m_host.deleteSnapshotFile();
    const int fetched = m_host.fetchSnapshot();
    if (fetched != 0 && m_override <= 0) {
        OnTimerOff();
        m_host.setFrameTitle(failureTitle());
        m_fetchInProgress = 0;
        return -1;
    }
    // With the override a failed fetch leaves no file, and the timer simply tries again.
    if (!m_host.snapshotFileReadable()) {
        m_fetchInProgress = 0;
        return -1;
    }
    m_fetchInProgress = 0;
    m_host.repaintWithoutErase();
    return 0;
}

void SnapshotTimer::SetTimerInterval(signed char setting)
{
    if (setting < 1 || setting > 8)
        return;
    const TimerRow& row = kRows[static_cast<std::size_t>(setting)];
    m_setting = setting;
    stop();
    m_fetchInProgress = 0;
    RefreshSnapshot();
    // The interval and its title follow even when that first fetch failed: the user asked for
    // polling, and the next tick tries again.
    start(row.intervalMs);
    m_host.setFrameTitle(timerTitle(row));
}

void SnapshotTimer::OnTimerOff()
{
    m_setting = 0;
    stop();
    m_host.setFrameTitle(timerTitle(kRows[0]));
    m_fetchInProgress = 0;
    m_host.setStatusPane(timerOffStatus());
}

void SnapshotTimer::OnGetOneImage()
{
    stop();
    m_fetchInProgress = 0;
    RefreshSnapshot();
}

void SnapshotTimer::ToggleOverride()
{
    m_override = m_override > 0 ? 0 : 1;
}

void SnapshotTimer::Pause()
{
    stop();
    m_host.setFrameTitle(pausedTitle());
    m_fetchInProgress = 0;
}

void SnapshotTimer::Resume()
{
    if (m_setting >= 1 && m_setting <= 8)
        SetTimerInterval(m_setting);
}
