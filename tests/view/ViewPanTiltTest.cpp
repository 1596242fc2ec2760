// The wiring of mouse, keys and preset pads in a real view, against the simulated camera: what the
// camera receives for a few presses and keys. The rules' edges are PanTilt_test's tables.
#include "ViewFixture.h"

#include "camera/CommandCatalogue.h"
#include "view/PresetPad.h"
#include "view/VarnekJPGView.h"

#include <QMainWindow>
#include <QTest>

namespace {

using Codes = std::vector<std::string>;

class ViewPanTiltTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        view.SetDocument(&document);
        view.resize(1000, 600);
    }

    // Every camera command the camera took since the last call, as catalogue codes; a snapshot
    // fetch appears as "snapshot".
    Codes received()
    {
        Codes out;
        for (const fakecam::RecordedRequest& r : camera->requests()) {
            if (!r.authenticated)
                continue;
            std::string code = r.path == "/tmpfs/auto.jpg" ? "snapshot" : "?" + r.target;
            for (int c = 0; c <= 79; ++c) {
                const auto entry = catalogueEntry(c);
                if (entry && entry->cgiPath.toStdString() == r.target)
                    code = std::to_string(c);
            }
            out.push_back(code);
        }
        camera->clearRequests();
        return out;
    }

    Codes click(Qt::MouseButton button, QPoint pos)
    {
        QTest::mousePress(&view, button, {}, pos);
        QTest::mouseRelease(&view, button, {}, pos);
        return received();
    }

    QObject document;
    CVarnekJPGView view;
};

TEST_F(ViewPanTiltTest, EachButtonSendsItsCodesForTheViewsSizeThenShowsWhereTheCameraWent)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Codes({"2"})) << "the move runs while the button is held";
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Codes({"0", "snapshot"}));
    EXPECT_TRUE(folder.exists(QStringLiteral("auto.jpg")));

    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 300)), Codes({"4", "0", "snapshot"}));
    EXPECT_EQ(click(Qt::RightButton, QPoint(700, 100)), Codes({"31", "snapshot"}));
    EXPECT_EQ(click(Qt::MiddleButton, QPoint(500, 100)), Codes({"50"}));
}

TEST_F(ViewPanTiltTest, ALeftButtonReleasedOutsideTheViewStillStopsTheCamera)
{
    QMainWindow frame;
    frame.setCentralWidget(&view);
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTest::mousePress(frame.windowHandle(), Qt::LeftButton, {}, view.mapTo(&frame, QPoint(100, 100)));
    EXPECT_EQ(received(), Codes({"2"}));
    QTest::mouseRelease(frame.windowHandle(), Qt::LeftButton, {}, QPoint(-200, -200));
    EXPECT_EQ(received(), Codes({"0", "snapshot"}));
    frame.takeCentralWidget();
}

TEST_F(ViewPanTiltTest, PadKeysReachTheCameraOnlyWhereItHasACommand)
{
    view.resize(800, 600);
    view.OnMoveToPreset();
    ASSERT_EQ(view.padMode(), 1);
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 250)), Codes({"17"})) << "key 7; its release sends nothing";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(250, 520)), Codes({"0"}));
    EXPECT_EQ(click(Qt::LeftButton, QPoint(20, 20)), Codes()) << "beside the pad";
    EXPECT_EQ(click(Qt::LeftButton, QPoint(249 + 250, 220)), Codes({"19"}));

    view.OnSaveToPreset();
    ASSERT_EQ(view.padMode(), 2);
    EXPECT_EQ(click(Qt::LeftButton, QPoint(300, 450)), Codes({"41", "0", "snapshot"}));
    EXPECT_EQ(click(Qt::LeftButton, QPoint(249 + 250, 220)), Codes({"0", "snapshot"}))
        << "the set pad's key 9 stores nothing; only the release's stop goes out";
}

TEST_F(ViewPanTiltTest, KeysRepeatWhileHeldAndEscapeTakesThePadAway)
{
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyClick(&view, Qt::Key_9);
    EXPECT_EQ(received(), Codes({"50", "11"}));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&view, &repeat);
    QApplication::sendEvent(&view, &repeat);
    EXPECT_EQ(received(), Codes({"52", "52"}));

    view.OnMoveToPreset();
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.padMode(), 0);
    EXPECT_EQ(received(), Codes());
}

TEST_F(ViewPanTiltTest, EachPadIsDrawnOverThePictureWhereItsClicksAre)
{
    view.resize(700, 600);
    view.OnGetOneImage();
    QImage shot(view.size(), QImage::Format_RGB32);
    for (const signed char mode : {kGotoPad, kSetPad}) {
        mode == kGotoPad ? view.OnMoveToPreset() : view.OnSaveToPreset();
        view.render(&shot);
        // Pad corner at ((700 / 2) - 151, 100) = (199, 100).
        for (const QPoint p : {QPoint(0, 0), QPoint(50, 40), QPoint(296, 477), QPoint(150, 430)})
            EXPECT_EQ(shot.pixel(p + QPoint(199, 100)), presetPadImage(mode).pixel(p)) << int(mode) << " " << p.x();
    }
}

} // namespace
