#include "app/CameraSeams.h"

#include "platform/Desktop.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#include <algorithm>

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

} // namespace

void waitKeepingWindowAlive(PendingRequest& request)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return;
    const bool windowShown = anyWindowShown();
    QElapsedTimer clock;
    clock.start();
    bool busy = false;
    while (!request.waitFor(kSliceMs)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
