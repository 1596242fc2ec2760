// Mouse, keys and pads in a real view: what the camera receives, what the screen shows.
#include "support/CameraFixture.h"

#include "view/VarnekJPGView.h"

#include <QMainWindow>
#include <QScreen>
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
        EXPECT_TRUE(settled(view->link()));
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
        // Sent to the view itself, past the window that holds input while a request runs.
        QTest::mousePress(view, button, {}, pos);
        EXPECT_TRUE(settled(view->link()));
        QTest::mouseRelease(view, button, {}, pos);
        return received();
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
    ASSERT_TRUE(settled(view->link()));
    QKeyEvent shiftOne(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 0); // scan code of the top row's 1
    QApplication::sendEvent(view, &shiftOne);
    ASSERT_TRUE(settled(view->link()));
    QTest::keyClick(view, Qt::Key_9);
    EXPECT_EQ(received(), Targets({"ytup.cgi", "param.cgi?cmd=preset&-act=goto&-number=0"}));

    view->resize(800, 600); // the pad's left edge at 249
    view->OnMoveToPreset();
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 250)), Targets({"param.cgi?cmd=preset&-act=goto&-number=6"}))
        << "key 7; the goto pad's release sends nothing";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(250, 520)), Targets({"ptzctrl.cgi?-step=0&-act=stop"})) << "Stop";
    view->OnSaveToPreset();
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 450)),
              Targets({"preset.cgi?-act=set&-status=1&-number=0", "ptzctrl.cgi?-step=0&-act=stop", "snapshot"}));
    EXPECT_EQ(click(Qt::LeftButton, QPoint(249 + 250, 220)), Targets({"ptzctrl.cgi?-step=0&-act=stop", "snapshot"}))
        << "the set pad's key 9 stores nothing; only the release's stop goes out";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(249 + 260, 130)), Targets({"ptzctrl.cgi?-step=0&-act=stop", "snapshot"}))
        << "the cross closes the pad";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(20, 20)).front(), "ptzctrl.cgi?-step=0&-act=left&-speed=5");
}

TEST_F(ViewPanTiltTest, APadIsOnScreenAtOnceAndEscapeTakesItOffAtOnce)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    // What the screen shows at the pad's middle, after the window system has had its say.
    const auto onScreen = [&] {
        QTest::qWait(50);
        const QPoint middle = view->mapTo(&frame, QPoint(view->width() / 2, 300));
        return frame.screen()->grabWindow(frame.winId()).toImage().pixelColor(middle);
    };
    ASSERT_EQ(onScreen(), QColor(Qt::black));
    view->OnSaveToPreset();
    EXPECT_NE(onScreen(), QColor(Qt::black));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(onScreen(), QColor(Qt::black));
}

} // namespace
