#include "app/CameraSeams.h"

#include "platform/Desktop.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

namespace {

// Long enough to keep the wait cheap, short enough that paint and close feel immediate.
constexpr int kSliceMs = 20;
constexpr int kBusyCursorAfterMs = 500;

} // namespace

void waitKeepingWindowAlive(PendingRequest& request)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return;
    bool closing = false;
    const QMetaObject::Connection closed =
        QObject::connect(app, &QGuiApplication::lastWindowClosed, [&closing] { closing = true; });
    QElapsedTimer clock;
    clock.start();
    bool busy = false;
    while (!request.waitFor(kSliceMs)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (closing || QCoreApplication::closingDown())
            request.abort();
        if (!busy && clock.elapsed() >= kBusyCursorAfterMs) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
            busy = true;
        }
    }
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    QObject::disconnect(closed);
}

void installCameraSeams()
{
    setMessageReporter([](const QString& caption, const QString& text) {
        platform::desktop().messageBox(caption, text);
    });
    setRequestWaiter(waitKeepingWindowAlive);
}
