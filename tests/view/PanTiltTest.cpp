// The pan and tilt rules at their edges: the thirds, the buttons, the pads' regions, the keys.
#include "view/PanTilt.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

using Codes = std::vector<int>;
constexpr int L = 249; // pad left in a view 800 wide

PanTiltController withPad(PadMode mode)
{
    PanTiltController c;
    if (mode == PadMode::Goto)
        c.moveToPreset();
    if (mode == PadMode::Set)
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
        const auto press = [&](Qt::MouseButton b) { return c.mousePress(b, {r.x, r.y}, {1000, 600}).commandCodes; };
        EXPECT_EQ(press(Qt::LeftButton), Codes{r.left}) << r.x << "," << r.y;
        EXPECT_EQ(press(Qt::RightButton), Codes{r.right}) << r.x << "," << r.y;
        EXPECT_EQ(press(Qt::MiddleButton), Codes{r.middle}) << r.x << "," << r.y;
    }
}

TEST(PanTilt, PadRegionsAreOpenAtBothEnds)
{
    EXPECT_EQ(padLeft(801), 249);
    using K = PadHit::Kind;
    const PadHit none{}, cross{K::Cross}, stop{K::Stop};
    struct Row { QPoint at; PadHit gotoHit, setHit; };
    const Row rows[] = {
        {{L + 101, 207}, {K::Key, 7}, {K::Key, 7}}, {{L + 196, 287}, {K::Key, 8}, {K::Key, 8}},
        {{L + 102, 250}, none, none}, {{L + 197, 250}, none, none}, {{L, 250}, none, none}, // column edges
        {{L + 288, 250}, none, none}, {{300, 206}, none, none}, {{300, 288}, none, none},   // and row edges
        {{300, 386}, none, none}, {{L + 50, 480}, none, none}, {{L + 197, 150}, none, none},
        {{L + 198, 101}, cross, cross}, {{L + 290, 199}, cross, cross}, {{L + 291, 150}, none, none},
        {{L + 250, 200}, none, none}, {{L + 250, 100}, none, none}, {{L + 200, 520}, none, none},
        {{L + 1, 481}, stop, none}, {{L + 199, 568}, stop, none}, {{L + 100, 569}, none, none},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(padHitTest(PadMode::Goto, r.at, 800), r.gotoHit) << r.at.x() - L << "," << r.at.y();
        EXPECT_EQ(padHitTest(PadMode::Set, r.at, 800), r.setHit) << r.at.x() - L << "," << r.at.y();
        EXPECT_EQ(padHitTest(PadMode::None, r.at, 800), none);
    }
}

TEST(PanTilt, MoveStartedBeforeTheGotoPadStillStops)
{
    PanTiltController c;
    EXPECT_EQ(c.mousePress(Qt::LeftButton, {10, 10}, {800, 600}).commandCodes, Codes{2});
    c.moveToPreset(); // through the menu while the button is held
    EXPECT_EQ(c.mouseRelease(Qt::LeftButton).commandCodes, Codes{0});
    c.mousePress(Qt::LeftButton, {10, 10}, {800, 600}); // the next click is a pad click again
    EXPECT_TRUE(c.mouseRelease(Qt::LeftButton).commandCodes.empty());
}

TEST(PanTilt, KeysByTheKeyNotTheCharacterInEveryPadModeAndEscape)
{
    const auto shift = Qt::ShiftModifier, keypad = Qt::KeypadModifier;
    // X11 and Wayland scan codes: the top row's "1" is 10 ... "0" is 19; the keypad's "1" is 87.
    struct Row { int key; Qt::KeyboardModifiers mods; quint32 scan; Codes codes; };
    const Row rows[] = {
        {Qt::Key_Up, {}, 111, {50}},       {Qt::Key_Down, {}, 116, {51}},   {Qt::Key_Left, {}, 113, {52}},
        {Qt::Key_Right, {}, 114, {53}},    {Qt::Key_Up, keypad, 80, {50}},  {Qt::Key_1, {}, 10, {11}},
        {Qt::Key_Exclam, shift, 10, {11}}, {Qt::Key_Ampersand, {}, 10, {11}}, // Shift+1, AZERTY 1
        {Qt::Key_Eacute, {}, 11, {12}},    {Qt::Key_5, shift, 14, {15}},    {Qt::Key_Underscore, {}, 17, {18}},
        {Qt::Key_9, {}, 18, {}},           {Qt::Key_0, {}, 19, {}},         {Qt::Key_1, keypad, 87, {11}},
        {Qt::Key_8, keypad, 80, {18}},     {Qt::Key_9, keypad, 81, {}},     {Qt::Key_A, {}, 38, {}},
        {Qt::Key_4, {}, 0, {14}},          {Qt::Key_9, {}, 0, {}}, // no scan code: the key decides
    };
    for (const PadMode mode : {PadMode::None, PadMode::Goto, PadMode::Set}) {
        for (const Row& r : rows) {
            for (const bool autoRepeat : {false, true}) {
                PanTiltController c = withPad(mode);
                const PanTiltAction a = c.keyPress(QKeyEvent(QEvent::KeyPress, r.key, r.mods, r.scan, 0, 0, {}, autoRepeat));
                EXPECT_EQ(a.commandCodes, r.codes) << std::hex << r.key << std::dec << " scan " << r.scan;
                EXPECT_EQ(c.padMode(), mode);
            }
        }
        // Escape takes a pad away, and only then asks for a repaint.
        PanTiltController c = withPad(mode);
        const PanTiltAction a = c.keyPress(QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_EQ(a.repaint, mode == PadMode::None ? Repaint::None : Repaint::NoErase);
        EXPECT_EQ(c.padMode(), PadMode::None);
    }
}

} // namespace
