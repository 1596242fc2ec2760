#include "view/PanTilt.h"

#include <QKeyEvent>

int padLeft(int clientWidth)
{
    return clientWidth / 2 - 151;
}

Direction panTiltDirection(QPoint pos, QSize clientSize)
{
    // The edges are products taken in double and rounded to float before the strict comparison,
    // which decides the pixel on which a 30 % or 60 % edge falls for every view size.
    const auto edge = [](double fraction, int length) {
        return static_cast<float>(fraction * static_cast<double>(length));
    };
    const float x = static_cast<float>(pos.x());
    const float y = static_cast<float>(pos.y());
    if (edge(0.3, clientSize.width()) > x)
        return Direction::Left;
    if (x > edge(0.6, clientSize.width()))
        return Direction::Right;
    if (edge(0.5, clientSize.height()) > y)
        return Direction::Up;
    return Direction::Down;
}

int DirectionCodes::code(Direction direction) const
{
    switch (direction) {
    case Direction::Left:
        return left;
    case Direction::Right:
        return right;
    case Direction::Up:
        return up;
    case Direction::Down:
        break;
    }
    return down;
}

namespace {

// Click regions in view coordinates, relative to the pad's left edge L; open at both ends.
struct Span {
    int from;
    int to;
    bool contains(int v) const { return from < v && v < to; }
};

constexpr Span kCrossX{197, 291};
constexpr Span kCrossY{100, 200};
constexpr Span kStopX{0, 200};
constexpr Span kStopY{480, 569};
// Columns left to right; rows top to bottom hold keys 7-9, 4-6 and 1-3.
constexpr Span kKeyColumns[] = {{0, 102}, {102, 197}, {197, 288}};
constexpr Span kKeyRows[] = {{206, 288}, {288, 386}, {386, 480}};

} // namespace

PadHit padHitTest(PadMode padMode, QPoint pos, int clientWidth)
{
    if (padMode == PadMode::None)
        return {};
    const int x = pos.x() - padLeft(clientWidth);
    const int y = pos.y();
    if (kCrossX.contains(x) && kCrossY.contains(y))
        return {PadHit::Kind::Cross};
    if (padMode == PadMode::Goto && kStopX.contains(x) && kStopY.contains(y))
        return {PadHit::Kind::Stop};
    for (int row = 0; row < 3; ++row) {
        if (!kKeyRows[row].contains(y))
            continue;
        for (int column = 0; column < 3; ++column) {
            if (kKeyColumns[column].contains(x))
                return {PadHit::Kind::Key, (2 - row) * 3 + column + 1};
        }
    }
    return {};
}

int padKeyCode(PadMode padMode, int key)
{
    // The set pad's key 9 gives 49, which the camera has no command for, so preset 8 can be
    // recalled but never stored; the catalogue lookup sends nothing for it.
    return (padMode == PadMode::Set ? 40 : 10) + key;
}

PanTiltAction PanTiltController::mousePress(Qt::MouseButton button, QPoint pos, QSize clientSize)
{
    switch (button) {
    case Qt::LeftButton:
        return leftPress(pos, clientSize);
    case Qt::RightButton:
        return {{kRightButtonCodes.code(panTiltDirection(pos, clientSize))}};
    case Qt::MiddleButton:
        return {{kMiddleButtonCodes.code(panTiltDirection(pos, clientSize))}};
    default:
        return {};
    }
}

PanTiltAction PanTiltController::leftPress(QPoint pos, QSize clientSize)
{
    m_leftMoveRunning = false;
    if (m_padMode == PadMode::None) {
        m_leftMoveRunning = true;
        return {{kLeftButtonCodes.code(panTiltDirection(pos, clientSize))}};
    }
    // While a pad is shown the left button only works the pad; elsewhere it does nothing.
    const PadHit hit = padHitTest(m_padMode, pos, clientSize.width());
    switch (hit.kind) {
    case PadHit::Kind::Cross:
        m_padMode = PadMode::None;
        return {{}, false, Repaint::Erase};
    case PadHit::Kind::Stop:
        return {{kStopCode}, false, Repaint::None, false};
    case PadHit::Kind::Key:
        return {{padKeyCode(m_padMode, hit.key)}};
    case PadHit::Kind::None:
        break;
    }
    return {};
}

PanTiltAction PanTiltController::mouseRelease(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: {
        const bool moveRunning = m_leftMoveRunning;
        m_leftMoveRunning = false;
        // The goto pad's keys and Stop need no stop of their own. A move started before the pad
        // came up (through the menu while the button was held) still gets its stop, or the camera
        // would turn until the user found another way to stop it.
        if (m_padMode == PadMode::Goto && !moveRunning)
            return {{}, false, Repaint::None, false};
        return {{kStopCode}, true};
    }
    case Qt::RightButton:
        return {{}, true};
    default:
        return {};
    }
}

namespace {

// The digit of a key of the top row, 1 to 8, or 0. X11 and Wayland report the keyboard's own
// key number (evdev + 8) as the scan code: the top row's "1" is 10, its "8" is 17, whatever the
// layout and Shift make the key type. Keypad digits are told by their key (Qt marks them as keypad keys);
// a platform that gives no scan code falls back to the key too.
int presetDigit(const QKeyEvent& event)
{
    constexpr quint32 kTopRowOne = 10;
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const quint32 scanCode = event.nativeScanCode();
    if (!keypad && scanCode != 0)
        return scanCode >= kTopRowOne && scanCode < kTopRowOne + 8 ? int(scanCode - kTopRowOne) + 1 : 0;
    const int key = event.key();
    return key >= Qt::Key_1 && key <= Qt::Key_8 ? key - Qt::Key_0 : 0;
}

} // namespace

PanTiltAction PanTiltController::keyPress(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        if (m_padMode != PadMode::None) {
            m_padMode = PadMode::None;
            return {{}, false, Repaint::NoErase};
        }
        return {};
    case Qt::Key_Up:
        return {{kMiddleButtonCodes.up}};
    case Qt::Key_Down:
        return {{kMiddleButtonCodes.down}};
    case Qt::Key_Left:
        return {{kMiddleButtonCodes.left}};
    case Qt::Key_Right:
        return {{kMiddleButtonCodes.right}};
    default:
        break;
    }
    // Digits 1 to 8 recall presets 0 to 7 with or without a pad; 9 and 0 do nothing.
    if (const int digit = presetDigit(event))
        return {{padKeyCode(PadMode::Goto, digit)}};
    return {};
}

PanTiltAction PanTiltController::moveToPreset()
{
    m_padMode = m_padMode == PadMode::Goto ? PadMode::None : PadMode::Goto;
    return {{}, false, Repaint::Erase};
}

PanTiltAction PanTiltController::saveToPreset()
{
    m_padMode = m_padMode == PadMode::Set ? PadMode::None : PadMode::Set;
    // Repainted at once: otherwise the goto pad could stay on screen while clicks on its keys
    // already overwrite the camera's presets.
    return {{}, false, Repaint::Erase};
}

PadMenuState PanTiltController::moveToPresetState() const
{
    return {m_padMode == PadMode::Goto};
}

PadMenuState PanTiltController::saveToPresetState() const
{
    return {m_padMode == PadMode::Set};
}
