#include "app/CameraSeams.h"

#include "platform/Desktop.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Long enough to keep the wait cheap, short enough that paint and close feel immediate.
constexpr int kSliceMs = 20;
constexpr int kBusyCursorAfterMs = 500;

// Whether any window of the program is still on screen: when the user has closed the last one, the
// program is ending and the request must not hold it.
bool anyWindowShown()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(), [](const QWindow* w) {
        return w->isVisible() && (w->type() == Qt::Window || w->type() == Qt::Dialog);
    });
}

// Keeps the keyboard, mouse and shortcut events that arrive during a wait and hands them back, in
// their order, once it is over: a handler then runs after the one that waits, never inside it.
// Events are caught where they enter a window (and where a shortcut reaches its action), so their
// replay takes the same way through the window as the original would have. A close request is
// no input and goes through at once; on X11 Qt counts it as input when input is merely excluded
// from event processing, which is why input is held here instead.
class InputHold : public QObject {
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [receiver, event] : m_held) {
            if (receiver)
                QCoreApplication::postEvent(receiver, event.release());
        }
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!isInput(receiver, event))
            return false;
        m_held.emplace_back(receiver, event->clone());
        return true;
    }

private:
    static bool isInput(const QObject* receiver, const QEvent* event)
    {
        switch (event->type()) {
        case QEvent::Shortcut:
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return receiver->isWindowType();
        default:
            return false;
        }
    }

    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
};

} // namespace

void waitKeepingWindowAlive(PendingRequest& request)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return;
    const bool windowShown = anyWindowShown();
    InputHold hold;
    QElapsedTimer clock;
    clock.start();
    bool busy = false;
    while (!request.waitFor(kSliceMs)) {
        QCoreApplication::processEvents();
        if ((windowShown && !anyWindowShown()) || QCoreApplication::closingDown())
            request.abort();
        if (!busy && clock.elapsed() >= kBusyCursorAfterMs) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
            busy = true;
        }
    }
    if (busy)
        QGuiApplication::restoreOverrideCursor();
}

void installCameraSeams()
{
    setMessageReporter([](const QString& caption, const QString& text) {
        platform::desktop().messageBox(caption, text);
    });
    setRequestWaiter(waitKeepingWindowAlive);
}
