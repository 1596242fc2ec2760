// Mouse buttons, keys and the preset pads of a real view, against the simulated camera: what the
// camera receives is what counts.
#include "ViewFixture.h"

#include "camera/CommandCatalogue.h"
#include "view/PresetPad.h"
#include "view/VarnekJPGView.h"

#include <QMainWindow>
#include <QTest>

namespace {

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
    std::vector<std::string> received()
    {
        std::vector<std::string> out;
        for (const fakecam::RecordedRequest& r : camera->requests()) {
            if (!r.authenticated)
                continue;
            if (r.path == "/tmpfs/auto.jpg") {
                out.push_back("snapshot");
                continue;
            }
            std::string code = "?" + r.target;
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

    void click(Qt::MouseButton button, QPoint pos)
    {
        QTest::mousePress(&view, button, {}, pos);
        QTest::mouseRelease(&view, button, {}, pos);
    }

    using Codes = std::vector<std::string>;
    QObject document;
    CVarnekJPGView view;
};

TEST_F(ViewPanTiltTest, TheLeftButtonMovesUntilReleasedThenShowsWhereTheCameraWent)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Codes({"2"}));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(299, 100));
    EXPECT_EQ(received(), Codes({"0", "snapshot"}));
    EXPECT_TRUE(folder.exists(QStringLiteral("auto.jpg")));

    click(Qt::LeftButton, QPoint(601, 100));
    EXPECT_EQ(received(), Codes({"1", "0", "snapshot"}));
    click(Qt::LeftButton, QPoint(600, 299));
    EXPECT_EQ(received(), Codes({"3", "0", "snapshot"}));
    click(Qt::LeftButton, QPoint(300, 300));
    EXPECT_EQ(received(), Codes({"4", "0", "snapshot"}));
}

TEST_F(ViewPanTiltTest, TheRightButtonStepsAndTheMiddleButtonStepsWithoutAStop)
{
    click(Qt::RightButton, QPoint(100, 100));
    EXPECT_EQ(received(), Codes({"32", "snapshot"}));
    click(Qt::RightButton, QPoint(700, 100));
    EXPECT_EQ(received(), Codes({"31", "snapshot"}));
    click(Qt::MiddleButton, QPoint(500, 100));
    EXPECT_EQ(received(), Codes({"50"}));
    click(Qt::MiddleButton, QPoint(500, 500));
    EXPECT_EQ(received(), Codes({"51"}));
}

TEST_F(ViewPanTiltTest, ALeftButtonReleasedOutsideTheViewStillStopsTheCamera)
{
    QMainWindow frame;
    frame.setCentralWidget(&view);
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QWindow* window = frame.windowHandle();
    const QPoint inView = view.mapTo(&frame, QPoint(100, 100));

    QTest::mousePress(window, Qt::LeftButton, {}, inView);
    EXPECT_EQ(received(), Codes({"2"}));
    // Released far outside the window: the view still gets the release.
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(-200, -200));
    EXPECT_EQ(received(), Codes({"0", "snapshot"}));
    frame.takeCentralWidget();
}

TEST_F(ViewPanTiltTest, TheGotoPadRecallsPresetsAndStopsButNoLongerPans)
{
    view.resize(800, 600);
    view.OnMoveToPreset();
    ASSERT_EQ(view.padMode(), 1);

    click(Qt::LeftButton, QPoint(300, 250));
    EXPECT_EQ(received(), Codes({"17"})) << "key 7 recalls preset 6; the release does nothing";
    click(Qt::LeftButton, QPoint(250, 520));
    EXPECT_EQ(received(), Codes({"0"}));
    click(Qt::LeftButton, QPoint(249 + 102, 250));
    click(Qt::LeftButton, QPoint(20, 20));
    EXPECT_EQ(received(), Codes()) << "a boundary or a click beside the pad sends nothing";
    click(Qt::LeftButton, QPoint(249 + 250, 220));
    EXPECT_EQ(received(), Codes({"19"}));
    // The other buttons still move the camera under the pad.
    click(Qt::RightButton, QPoint(20, 20));
    EXPECT_EQ(received(), Codes({"32", "snapshot"}));

    // The cross closes the pad; its release then stops the camera as usual.
    click(Qt::LeftButton, QPoint(249 + 250, 150));
    EXPECT_EQ(view.padMode(), 0);
    EXPECT_EQ(received(), Codes({"0", "snapshot"}));
}

TEST_F(ViewPanTiltTest, TheSetPadStoresPresetsZeroToSevenOnly)
{
    view.resize(800, 600);
    view.OnSaveToPreset();
    ASSERT_EQ(view.padMode(), 2);
    click(Qt::LeftButton, QPoint(300, 450));
    EXPECT_EQ(received(), Codes({"41", "0", "snapshot"}));
    click(Qt::LeftButton, QPoint(249 + 250, 220));
    EXPECT_EQ(received(), Codes({"0", "snapshot"})) << "key 9 has nothing to store; only the release's stop goes out";
    view.OnSaveToPreset();
    EXPECT_EQ(view.padMode(), 0);
}

TEST_F(ViewPanTiltTest, KeysStepTheCameraAndRecallPresets)
{
    const std::vector<std::pair<std::pair<int, Qt::KeyboardModifiers>, Codes>> table = {
        {{Qt::Key_Up, Qt::NoModifier}, {"50"}},
        {{Qt::Key_Down, Qt::NoModifier}, {"51"}},
        {{Qt::Key_Left, Qt::NoModifier}, {"52"}},
        {{Qt::Key_Right, Qt::NoModifier}, {"53"}},
        {{Qt::Key_1, Qt::NoModifier}, {"11"}},
        {{Qt::Key_8, Qt::NoModifier}, {"18"}},
        {{Qt::Key_1, Qt::KeypadModifier}, {"11"}},
        {{Qt::Key_8, Qt::KeypadModifier}, {"18"}},
        {{Qt::Key_9, Qt::NoModifier}, {}},
        {{Qt::Key_0, Qt::NoModifier}, {}},
        {{Qt::Key_9, Qt::KeypadModifier}, {}},
        {{Qt::Key_0, Qt::KeypadModifier}, {}},
        {{Qt::Key_A, Qt::NoModifier}, {}},
    };
    for (const auto& [key, codes] : table) {
        QTest::keyClick(&view, static_cast<Qt::Key>(key.first), key.second);
        EXPECT_EQ(received(), codes) << key.first;
    }
    // Held down, a key repeats its command with every repeat.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&view, &repeat);
    QApplication::sendEvent(&view, &repeat);
    EXPECT_EQ(received(), Codes({"52", "52"}));
}

TEST_F(ViewPanTiltTest, EscapeTakesThePadAway)
{
    view.OnMoveToPreset();
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.padMode(), 0);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.padMode(), 0);
    EXPECT_EQ(received(), Codes());
}

TEST_F(ViewPanTiltTest, ThePadIsDrawnOverThePictureWhereItsClicksAre)
{
    view.resize(700, 600);
    view.OnGetOneImage();
    view.OnMoveToPreset();
    QImage shot(view.size(), QImage::Format_RGB32);
    view.render(&shot);
    const QImage& pad = presetPadImage(1);
    // Pad corner at ((700 / 2) - 151, 100) = (199, 100).
    for (const QPoint p : {QPoint(0, 0), QPoint(50, 40), QPoint(296, 477), QPoint(150, 430)})
        EXPECT_EQ(shot.pixel(p + QPoint(199, 100)), pad.pixel(p)) << p.x() << "," << p.y();

    view.OnMoveToPreset();
    view.OnSaveToPreset();
    view.render(&shot);
    const QImage& setPad = presetPadImage(2);
    EXPECT_EQ(shot.pixel(QPoint(150, 430) + QPoint(199, 100)), setPad.pixel(150, 430)) << "no Stop key on the set pad";
}

} // namespace
