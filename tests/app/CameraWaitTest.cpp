// While a request of the window runs, the window paints, holds its own input and shows it is busy;
// closing the main window ends every chain of requests at once.
#include "AppFixture.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

namespace {

using namespace std::chrono_literals;

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

class CameraWaitTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(start());
        view->snapshotTimer().OnTimerOff();
        frame->show();
        view->setFocus();
    }
    void postKey(QEvent::Type type, Qt::Key key, bool autoRepeat)
    {
        QCoreApplication::postEvent(frame->windowHandle(), new QKeyEvent(type, key, Qt::NoModifier, QString(), autoRepeat));
    }
};

TEST_F(CameraWaitTest, DuringARequestTheWindowPaintsHoldsItsKeysShowsItIsBusyAndClosingEndsItsChain)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    QTest::qWait(50);
    EventCounter counter;
    view->installEventFilter(&counter);
    menuItem(QStringLiteral("&Timer"), cmd::DisableAutoDisableTimer)->trigger();
    QTest::qWait(100);
    EXPECT_EQ(counter.paints, 0) << "a command that changes nothing on screen decodes no picture";

    camera->setAnswerDelay(900ms);
    ASSERT_TRUE(frame->routeCommand(cmd::ServerInfo));
    QTest::qWait(100);
    view->update();
    QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
    QTest::qWait(600);
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(counter.keys, 0) << "keys wait until the request is over";
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    view->snapshotTimer().SnapshotTimerProc(); // a tick inside the wait fetches nothing
    ASSERT_TRUE(settled(*app->link()));
    EXPECT_EQ(desktop.opened(), QStringList{folder.file(QStringLiteral("serverinfo.html"))});
    QTest::qWait(20);
    EXPECT_EQ(counter.keys, 1) << "and are handled then";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(snapshotRequests(), 0);
    view->removeEventFilter(&counter);

    // Closing the window while a command waits: at once, and not even the older page opens.
    camera->setFault(fakecam::Fault::NeverAnswer);
    ASSERT_TRUE(frame->routeCommand(cmd::ServerInfo));
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    frame->close();
    EXPECT_TRUE(settled(*app->link(), 2000));
    EXPECT_LT(clock.elapsed(), 2000);
    QTest::qWait(100);
    EXPECT_EQ(desktop.opened().size(), 1);
    EXPECT_TRUE(folder.entries().filter(QStringLiteral(".part")).isEmpty());
}

TEST_F(CameraWaitTest, AHeldArrowKeyStopsSteppingWithinOneCommandOfItsRelease)
{
    camera->setAnswerDelay(300ms);
    // The keyboard repeats a held key 30 times a second, each time as a release and a press.
    postKey(QEvent::KeyPress, Qt::Key_Left, false);
    QTimer repeat;
    QObject::connect(&repeat, &QTimer::timeout, [&] {
        postKey(QEvent::KeyRelease, Qt::Key_Left, true);
        postKey(QEvent::KeyPress, Qt::Key_Left, true);
    });
    repeat.start(33);
    QTest::qWait(2000);
    repeat.stop();
    postKey(QEvent::KeyRelease, Qt::Key_Left, false);
    const auto released = std::chrono::steady_clock::now();
    ASSERT_TRUE(settled(*app->link()));
    QTest::qWait(400); // anything still held comes out now
    ASSERT_TRUE(settled(*app->link()));
    int steps = 0, afterRelease = 0;
    for (const fakecam::RecordedRequest& request : camera->requests()) {
        if (request.authenticated && request.path == "/cgi-bin/hi3510/ytleft.cgi") {
            ++steps;
            afterRelease += request.received > released ? 1 : 0;
        }
    }
    EXPECT_GE(steps, 4) << "the camera moved while the key was held";
    EXPECT_LE(afterRelease, 1);
}

TEST_F(CameraWaitTest, ClosingTheWindowWhileTheRecordingsFillEndsTheProgramWithNoFurtherListing)
{
    camera->setAnswerDelay(400ms);
    menuItem(QStringLiteral("&SD"), cmd::SdVideo)->trigger();
    const auto listings = [&] {
        int count = 0;
        for (const fakecam::RecordedRequest& request : camera->requests())
            count += request.authenticated && request.path.rfind("/sd/", 0) == 0 ? 1 : 0;
        return count;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return listings() == 1; }, 5000)) << "the first folder's listing is in";
    frame->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget() && app->link()->running() == 0; }, 2000));
    QTest::qWait(1000);
    EXPECT_LE(listings(), 2) << "the listing on its way when the window closed, and no other";
}

} // namespace
