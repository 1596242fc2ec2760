#include "platform/InputHold.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QWindow>

namespace platform {

namespace {

constexpr int kBusyCursorAfterMs = 500;

} // namespace

InputHold::InputHold(QWidget* waiting)
{
    // The window that waits and every window above it: a dialog's requests hold the frame it is
    // modal for too.
    for (QWidget* window = waiting ? waiting->window() : nullptr; window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
        m_windows.emplace_back(window);
    QCoreApplication::instance()->installEventFilter(this);
    m_busyTimer.setSingleShot(true);
    connect(&m_busyTimer, &QTimer::timeout, this, [this] {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        m_busy = true;
    });
    m_busyTimer.start(kBusyCursorAfterMs);
}

InputHold::~InputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (m_busy)
        QGuiApplication::restoreOverrideCursor();
    for (auto& [receiver, event] : m_held) {
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
    }
}

bool InputHold::heldWindow(const QObject* object) const
{
    // An open menu is a popup window of its own, but its clicks are the window's commands.
    const auto* window = qobject_cast<const QWindow*>(object);
    while (window && window->type() == Qt::Popup && window->transientParent())
        window = window->transientParent();
    for (const QPointer<QWidget>& widget : m_windows) {
        if (widget && widget->windowHandle() == window)
            return true;
    }
    return false;
}

// Input is caught where it enters a window, and where a shortcut reaches its action, so its replay
// takes the same way through the window. A close request is no input and goes through at once.
bool InputHold::holds(const QObject* receiver, const QEvent* event) const
{
    switch (event->type()) {
    case QEvent::Shortcut: {
        const QWidget* active = QApplication::activeWindow();
        return active && heldWindow(active->windowHandle());
    }
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
        return receiver->isWindowType() && heldWindow(receiver);
    default:
        return false;
    }
}

bool InputHold::mergedRepeat(const QEvent* event) const
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!key->isAutoRepeat())
        return false;
    // A repeat comes as a release and a press; once a repeated press of the key waits, both go.
    for (const auto& [receiver, held] : m_held) {
        if (held->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(held.get())->isAutoRepeat()
            && static_cast<const QKeyEvent*>(held.get())->key() == key->key())
            return true;
    }
    return false;
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event)
{
    if (!holds(receiver, event))
        return false;
    if (!mergedRepeat(event))
        m_held.emplace_back(receiver, event->clone());
    return true;
}

} // namespace platform
