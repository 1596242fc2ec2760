// A camera request made from the window's thread waits without freezing the window.
#include "AppFixture.h"

#include "camera/CameraRequest.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

namespace {

class EventCounter : public QObject {
public:
    int paints = 0;
    int keys = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        keys += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

TEST_F(AppTest, DuringAStalledRequestTheWindowPaintsHoldsInputShowsItIsBusyAndClosingEndsIt)
{
    ASSERT_TRUE(start());
    camera->setFault(fakecam::Fault::NeverAnswer);
    const std::vector<std::function<int()>> requests{
        [&] { return requestSnapshot(currentCameraSettings(), folder.file(QStringLiteral("auto.jpg"))); },
        [&] { return SendCameraCommand(64, currentCameraSettings(), folder.path()); }};
    for (const auto& request : requests) {
        frame->show();
        view->setFocus();
        EventCounter counter;
        view->installEventFilter(&counter);
        camera->clearRequests();
        int paintsWhileWaiting = -1;
        int keysWhileWaiting = -1;
        bool busyCursor = false;
        QTimer::singleShot(100, view, [&] {
            view->update();
            QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        });
        QTimer::singleShot(700, view, [&] {
            paintsWhileWaiting = counter.paints;
            keysWhileWaiting = counter.keys;
            busyCursor = QGuiApplication::overrideCursor() != nullptr;
            view->snapshotTimer().SnapshotTimerProc(); // a tick inside the wait fetches nothing
            frame->close();
        });
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(request(), -1);
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_GT(paintsWhileWaiting, 0);
        EXPECT_EQ(keysWhileWaiting, 0) << "keys wait until the request is over";
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.keys, 1) << "and are handled then";
        EXPECT_TRUE(busyCursor);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(requestsFor("/tmpfs/auto.jpg") + requestsFor("/cgi-bin/hi3510/sysreboot.cgi"), 1)
            << "only the request that waits";
        EXPECT_TRUE(folder.entries().filter(QStringLiteral(".part")).isEmpty());
        view->removeEventFilter(&counter);
    }
}

} // namespace
