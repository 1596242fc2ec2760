// The pan and tilt rules at their edges: the thirds, the buttons, the pads' regions, the keys.
#include "view/PanTilt.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

using Codes = std::vector<int>;
constexpr int L = 249; // pad left in a view 800 wide
const QSize kView800(800, 600);

PanTiltController withPad(signed char mode)
{
    PanTiltController c;
    if (mode == kGotoPad)
        c.moveToPreset();
    if (mode == kSetPad)
        c.saveToPreset();
    return c;
}

TEST(PanTilt, ThirdsRuleAtItsEdgesForEachButton)
{
    struct Row { int x, y, left, right, middle; };
    const Row rows[] = {{0, 599, 2, 32, 52},   {299, 100, 2, 32, 52}, {300, 0, 3, 33, 50},
                        {300, 299, 3, 33, 50}, {300, 300, 4, 34, 51}, {600, 299, 3, 33, 50},
                        {600, 599, 4, 34, 51}, {601, 300, 1, 31, 53}, {999, 0, 1, 31, 53}};
    for (const Row& r : rows) {
        PanTiltController c;
        const auto press = [&](Qt::MouseButton b) {
            return c.mousePress(b, {r.x, r.y}, {1000, 600}).commandCodes;
        };
        EXPECT_EQ(press(Qt::LeftButton), Codes{r.left}) << r.x << "," << r.y;
        EXPECT_EQ(press(Qt::RightButton), Codes{r.right}) << r.x << "," << r.y;
        EXPECT_EQ(press(Qt::MiddleButton), Codes{r.middle}) << r.x << "," << r.y;
    }
}

TEST(PanTilt, PressAndReleaseByButtonAndPad)
{
    struct Row {
        const char* what;
        signed char mode;
        Qt::MouseButton button;
        QPoint at;
        Codes press, release;
        bool refresh, releaseDefault, closesPad;
    };
    const QPoint cross(L + 260, 130);
    const auto left = Qt::LeftButton;
    const Row rows[] = {
        {"left pans, release stops", kNoPad, left, {100, 100}, {2}, {0}, true, true, false},
        {"goto key", kGotoPad, left, {300, 250}, {17}, {}, false, false, false},
        {"goto Stop key", kGotoPad, left, {250, 520}, {0}, {}, false, false, false},
        {"left outside goto pad", kGotoPad, left, {10, 10}, {}, {}, false, false, false},
        {"set key", kSetPad, left, {300, 250}, {47}, {0}, true, true, false},
        {"left outside set pad", kSetPad, left, {10, 10}, {}, {0}, true, true, false},
        {"set pad has no Stop", kSetPad, left, {250, 520}, {}, {0}, true, true, false},
        {"cross of goto pad", kGotoPad, left, cross, {}, {0}, true, true, true},
        {"cross of set pad", kSetPad, left, cross, {}, {0}, true, true, true},
        {"right steps under pad", kGotoPad, Qt::RightButton, {10, 10}, {32}, {}, true, true, false},
        {"middle steps", kSetPad, Qt::MiddleButton, {10, 10}, {52}, {}, false, true, false},
        {"other buttons", kNoPad, Qt::BackButton, {10, 10}, {}, {}, false, true, false},
    };
    for (const Row& r : rows) {
        PanTiltController c = withPad(r.mode);
        const PanTiltAction down = c.mousePress(r.button, r.at, kView800);
        EXPECT_EQ(down.commandCodes, r.press) << r.what;
        EXPECT_EQ(down.repaint, r.closesPad ? PanTiltAction::Erase : PanTiltAction::None) << r.what;
        EXPECT_EQ(c.padMode(), r.closesPad ? kNoPad : r.mode) << r.what;
        const PanTiltAction up = c.mouseRelease(r.button);
        EXPECT_EQ(up.commandCodes, r.release) << r.what;
        EXPECT_EQ(up.refreshSnapshot, r.refresh) << r.what;
        EXPECT_EQ(up.defaultProcessing, r.releaseDefault) << r.what;
    }
}

TEST(PanTilt, PadRegionsAreOpenAtBothEnds)
{
    EXPECT_EQ(padLeft(800), 249);
    EXPECT_EQ(padLeft(801), 249);
    EXPECT_EQ(padLeft(700), 199);
    const PadHit none{}, cross{PadHit::Cross}, stop{PadHit::Stop};
    const auto key = [](int k) { return PadHit{PadHit::Key, k}; };
    struct Row { QPoint at; PadHit gotoHit, setHit; };
    const Row rows[] = {
        {{L + 101, 207}, key(7), key(7)}, {{L + 287, 250}, key(9), key(9)}, // just inside
        {{L + 1, 479}, key(1), key(1)},
        {{L + 102, 250}, none, none},     {{L + 197, 250}, none, none}, // column boundaries
        {{L, 250}, none, none},           {{L + 288, 250}, none, none}, // outer edges
        {{300, 206}, none, none},         {{300, 288}, none, none},     // row boundaries
        {{300, 386}, none, none},         {{L + 50, 480}, none, none},
        {{L + 198, 101}, cross, cross},   {{L + 290, 199}, cross, cross},
        {{L + 197, 150}, none, none},     {{L + 291, 150}, none, none},
        {{L + 250, 200}, none, none},     {{L + 250, 100}, none, none},
        {{L + 1, 481}, stop, none},       {{L + 199, 568}, stop, none},
        {{L + 200, 520}, none, none},     {{L + 100, 569}, none, none},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(padHitTest(kGotoPad, r.at, 800), r.gotoHit) << r.at.x() - L << "," << r.at.y();
        EXPECT_EQ(padHitTest(kSetPad, r.at, 800), r.setHit) << r.at.x() - L << "," << r.at.y();
        EXPECT_EQ(padHitTest(kNoPad, r.at, 800), none);
    }
    EXPECT_EQ(padHitTest(kGotoPad, {400, 250}, 1000), key(7)); // the regions follow the pad
}

TEST(PanTilt, PadKeysRecallOrStoreTheirPreset)
{
    for (int k = 1; k <= 9; ++k) {
        const QPoint at(L + 50 + 100 * ((k - 1) % 3), 440 - 95 * ((k - 1) / 3));
        PanTiltController onGoto = withPad(kGotoPad), onSet = withPad(kSetPad);
        EXPECT_EQ(onGoto.mousePress(Qt::LeftButton, at, kView800).commandCodes, Codes{10 + k});
        EXPECT_EQ(onSet.mousePress(Qt::LeftButton, at, kView800).commandCodes, Codes{40 + k});
    }
}

TEST(PanTilt, MoveStartedBeforeTheGotoPadStillStops)
{
    PanTiltController c;
    EXPECT_EQ(c.mousePress(Qt::LeftButton, {10, 10}, kView800).commandCodes, Codes{2});
    c.moveToPreset(); // through the menu while the button is held
    const PanTiltAction up = c.mouseRelease(Qt::LeftButton);
    EXPECT_EQ(up.commandCodes, Codes{0});
    EXPECT_TRUE(up.refreshSnapshot);
    c.mousePress(Qt::LeftButton, {10, 10}, kView800); // the next click is a pad click again
    EXPECT_TRUE(c.mouseRelease(Qt::LeftButton).commandCodes.empty());
}

TEST(PanTilt, KeyTableInEveryPadModeWithAutoRepeat)
{
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    struct Row { int key; Qt::KeyboardModifiers mods; Codes codes; };
    const Row rows[] = {
        {Qt::Key_Up, {}, {50}},   {Qt::Key_Down, {}, {51}}, {Qt::Key_Left, {}, {52}},
        {Qt::Key_Right, {}, {53}}, {Qt::Key_Up, pad, {50}},  {Qt::Key_1, {}, {11}},
        {Qt::Key_2, {}, {12}},    {Qt::Key_3, {}, {13}},    {Qt::Key_4, {}, {14}},
        {Qt::Key_5, {}, {15}},    {Qt::Key_6, {}, {16}},    {Qt::Key_7, {}, {17}},
        {Qt::Key_8, {}, {18}},    {Qt::Key_1, pad, {11}},   {Qt::Key_8, pad, {18}},
        {Qt::Key_9, {}, {}},      {Qt::Key_0, {}, {}},      {Qt::Key_9, pad, {}},
        {Qt::Key_0, pad, {}},     {Qt::Key_A, {}, {}},
    };
    for (const signed char mode : {kNoPad, kGotoPad, kSetPad})
        for (const Row& r : rows)
            for (const bool autoRepeat : {false, true}) {
                PanTiltController c = withPad(mode);
                const QKeyEvent event(QEvent::KeyPress, r.key, r.mods, {}, autoRepeat);
                const PanTiltAction a = c.keyPress(event);
                EXPECT_EQ(a.commandCodes, r.codes) << std::hex << r.key << " in mode " << int(mode);
                EXPECT_EQ(a.repaint, PanTiltAction::None);
                EXPECT_EQ(c.padMode(), mode);
            }
}

TEST(PanTilt, EscapeClosesAPadAndOnlyThenRepaints)
{
    for (const signed char mode : {kNoPad, kGotoPad, kSetPad}) {
        PanTiltController c = withPad(mode);
        const PanTiltAction a = c.keyPress(Qt::Key_Escape);
        EXPECT_TRUE(a.commandCodes.empty());
        EXPECT_EQ(a.repaint, mode == kNoPad ? PanTiltAction::None : PanTiltAction::NoErase);
        EXPECT_EQ(c.padMode(), kNoPad);
    }
}

TEST(PanTilt, MenuCommandsToggleThePadsAndTheirCheckMarks)
{
    PanTiltController c;
    // Opening the menu repaints with erase for "&Move to preset" only.
    EXPECT_EQ(c.moveToPresetState().repaint, PanTiltAction::Erase);
    EXPECT_EQ(c.saveToPresetState().repaint, PanTiltAction::None);
    struct Step { bool move; signed char mode; };
    const Step steps[] = {{true, kGotoPad}, {true, kNoPad},    {false, kSetPad}, {false, kNoPad},
                          {false, kSetPad}, {true, kGotoPad}, {false, kSetPad}};
    for (const Step& s : steps) {
        const PanTiltAction a = s.move ? c.moveToPreset() : c.saveToPreset();
        EXPECT_EQ(c.padMode(), s.mode);
        // Both repaint at once, so the pad on screen is always the one the clicks work.
        EXPECT_EQ(a.repaint, PanTiltAction::Erase);
        EXPECT_EQ(c.moveToPresetState().checked, s.mode == kGotoPad);
        EXPECT_EQ(c.saveToPresetState().checked, s.mode == kSetPad);
    }
}

} // namespace
