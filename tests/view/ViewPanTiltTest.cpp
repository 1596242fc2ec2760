// Mouse, keys and preset pads in a real view, against the simulated camera: what the camera
// receives, and what the screen shows of the pads. The rules' edges are PanTiltTest's tables.
#include "support/CameraFixture.h"

#include "view/VarnekJPGView.h"

#include <QMainWindow>
#include <QTest>

namespace {

using Targets = std::vector<std::string>;

class ViewPanTiltTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        view->setDocument(&document);
        frame.setCentralWidget(view);
        frame.resize(1000, 700);
        view->resize(1000, 600);
    }

    // What the camera took since the last call: the CGI name and query, or "snapshot".
    Targets received()
    {
        Targets out;
        for (const fakecam::RecordedRequest& r : camera->requests()) {
            if (r.authenticated)
                out.push_back(r.path == "/tmpfs/auto.jpg" ? "snapshot" : r.target.substr(r.target.rfind('/') + 1));
        }
        camera->clearRequests();
        return out;
    }

    Targets click(Qt::MouseButton button, QPoint pos)
    {
        QTest::mousePress(view, button, {}, pos);
        QTest::mouseRelease(view, button, {}, pos);
        return received();
    }

    void key(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(view, &event);
    }

    QObject document;
    QMainWindow frame;
    CVarnekJPGView* view = new CVarnekJPGView;
};

TEST_F(ViewPanTiltTest, ButtonsAndKeysMoveTheCameraThenShowWhereItWent)
{
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Targets({"ptzctrl.cgi?-step=0&-act=left&-speed=5"})) << "moves while held";
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Targets({"ptzctrl.cgi?-step=0&-act=stop", "snapshot"}));
    EXPECT_EQ(click(Qt::RightButton, QPoint(700, 100)), Targets({"ptzctrl.cgi?-step=1&-act=right&-speed=5", "snapshot"}));
    EXPECT_EQ(click(Qt::MiddleButton, QPoint(500, 400)), Targets({"ytdown.cgi"}));

    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_1, Qt::KeypadModifier);
    key(Qt::Key_Exclam, Qt::ShiftModifier, 10); // Shift+1 of the top row
    key(Qt::Key_Eacute, Qt::NoModifier, 11);    // 2 on an AZERTY keyboard
    QTest::keyClick(view, Qt::Key_9);
    EXPECT_EQ(received(), Targets({"ytup.cgi", "param.cgi?cmd=preset&-act=goto&-number=0",
                                   "param.cgi?cmd=preset&-act=goto&-number=0",
                                   "param.cgi?cmd=preset&-act=goto&-number=1"}));
}

TEST_F(ViewPanTiltTest, ALeftButtonReleasedOutsideTheViewStillStopsTheCamera)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTest::mousePress(frame.windowHandle(), Qt::LeftButton, {}, view->mapTo(&frame, QPoint(100, 100)));
    EXPECT_EQ(received(), Targets({"ptzctrl.cgi?-step=0&-act=left&-speed=5"}));
    QTest::mouseRelease(frame.windowHandle(), Qt::LeftButton, {}, QPoint(-200, -200));
    EXPECT_EQ(received(), Targets({"ptzctrl.cgi?-step=0&-act=stop", "snapshot"}));
}

TEST_F(ViewPanTiltTest, PadKeysReachTheCameraOnlyWhereItHasACommand)
{
    view->resize(800, 600);
    view->OnMoveToPreset();
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 250)), Targets({"param.cgi?cmd=preset&-act=goto&-number=6"}))
        << "key 7; its release sends nothing";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(250, 520)), Targets({"ptzctrl.cgi?-step=0&-act=stop"}));
    EXPECT_EQ(click(Qt::LeftButton, QPoint(20, 20)), Targets()) << "beside the pad";
    view->OnSaveToPreset();
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 450)),
              Targets({"preset.cgi?-act=set&-status=1&-number=0", "ptzctrl.cgi?-step=0&-act=stop", "snapshot"}));
    EXPECT_EQ(click(Qt::LeftButton, QPoint(249 + 250, 220)), Targets({"ptzctrl.cgi?-step=0&-act=stop", "snapshot"}))
        << "the set pad's key 9 stores nothing; only the release's stop goes out";
}

TEST_F(ViewPanTiltTest, APadIsOnScreenAtOnceAndEscapeTakesItOffAtOnce)
{
    // Counts the paints the window system actually delivers.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override { paints += e->type() == QEvent::Paint; return false; }
    } counter;
    view->installEventFilter(&counter);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const auto paintsAfter = [&](const std::function<void()>& act) {
        QTest::qWait(20);
        counter.paints = 0;
        act();
        QTest::qWait(50);
        return counter.paints;
    };
    EXPECT_GT(paintsAfter([&] { view->OnSaveToPreset(); }), 0);
    QImage shot(view->size(), QImage::Format_RGB32);
    view->render(&shot);
    EXPECT_NE(shot.pixelColor(view->width() / 2, 300), QColor(Qt::black)) << "a pad over the empty view";
    EXPECT_GT(paintsAfter([&] { QTest::keyClick(view, Qt::Key_Escape); }), 0);
    view->render(&shot);
    EXPECT_EQ(shot.pixelColor(view->width() / 2, 300), QColor(Qt::black));
    EXPECT_EQ(received(), Targets());
}

} // namespace
