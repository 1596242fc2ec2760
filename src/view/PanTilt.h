#pragma once
// Pan, tilt and presets from the mouse, the keys and the two preset pads, without any widget:
// the view hands its events to PanTiltController and carries out the actions it returns
// (camera commands by code, a fresh snapshot, a repaint).
//
// The view must keep receiving the left button's release when the pointer has left it, so that a
// continuous move always gets its stop. A QWidget grabs the mouse implicitly from a press until
// the last button is released, which gives exactly that; nothing here depends on it.

#include <QPoint>
#include <QSize>

#include <vector>

class QKeyEvent;

// Which preset pad lies over the picture: none, the goto pad ("&Move to preset") or the set pad
// ("&Save to preset").
enum class PadMode { None, Goto, Set };

// The pad is a 297 x 478 picture whose top left corner lies at (padLeft(width), kPadTop) in the
// view, centred a little left of the middle and always at the same height.
inline constexpr int kPadWidth = 297;
inline constexpr int kPadHeight = 478;
inline constexpr int kPadTop = 100;
// (width div 2) - 151, the half truncated toward zero.
int padLeft(int clientWidth);

// The thirds rule: the left 30 % of the view pans left, the right 40 % pans right, the middle
// tilts up in its upper half and down in its lower half. Compared in single precision, strictly.
enum class Direction { Left, Right, Up, Down };
Direction panTiltDirection(QPoint pos, QSize clientSize);

// Command codes of one button for the four directions.
struct DirectionCodes {
    int left;
    int right;
    int up;
    int down;
    int code(Direction direction) const;
};
// Left button without pad: continuous moves, stopped by code 0 on release.
inline constexpr DirectionCodes kLeftButtonCodes{2, 1, 3, 4};
// Right button: one step.
inline constexpr DirectionCodes kRightButtonCodes{32, 31, 33, 34};
// Middle button and arrow keys: one step, parameterless commands.
inline constexpr DirectionCodes kMiddleButtonCodes{52, 53, 50, 51};

inline constexpr int kStopCode = 0;

// What a click at a point of the view hits on the pad shown.
struct PadHit {
    enum class Kind { None, Cross, Stop, Key };
    Kind kind = Kind::None;
    int key = 0; // 1 to 9 when kind is Key
    bool operator==(const PadHit&) const = default;
};
// Every region is open at both ends, so a click on a boundary hits nothing. The Stop key exists
// on the goto pad only. With no pad shown nothing is hit.
PadHit padHitTest(PadMode padMode, QPoint pos, int clientWidth);
// Key k recalls preset k - 1 (code 10 + k) on the goto pad and stores it (40 + k) on the set pad.
int padKeyCode(PadMode padMode, int key);

// What the view does for one event, in this order: send each code through SendCameraCommand
// (results ignored), pass the event to the default handling when asked, fetch a snapshot when
// asked, then request the repaint.
enum class Repaint { None, Erase, NoErase };

struct PanTiltAction {
    std::vector<int> commandCodes;
    bool refreshSnapshot = false;
    Repaint repaint = Repaint::None;
    // The base class handler (QWidget's ignores the event so it may propagate); false means the
    // view accepts the event and does nothing more.
    bool defaultProcessing = true;
};

// The check mark of a "&Control" menu item. Reading it repaints nothing: the pad is repainted
// where its mode changes.
struct PadMenuState {
    bool checked = false;
};

class PanTiltController final {
public:
    PadMode padMode() const { return m_padMode; }

    // pos in view coordinates; clientSize the view's size at this press.
    PanTiltAction mousePress(Qt::MouseButton button, QPoint pos, QSize clientSize);
    PanTiltAction mouseRelease(Qt::MouseButton button);
    // Every key press counts, auto-repeats included; only the key matters, never its modifiers.
    // The digits of the top row are told by the key itself, not by the character it types, so
    // Shift and layouts whose top row types other characters (AZERTY) still recall presets.
    PanTiltAction keyPress(const QKeyEvent& event);

    // "&Move to preset": shows the goto pad, or hides it when it is up.
    PanTiltAction moveToPreset();
    // "&Save to preset": shows the set pad, or hides it when it is up.
    PanTiltAction saveToPreset();
    PadMenuState moveToPresetState() const;
    PadMenuState saveToPresetState() const;

private:
    PanTiltAction leftPress(QPoint pos, QSize clientSize);

    PadMode m_padMode = PadMode::None;
    // A left press started a continuous move that only the release's stop ends.
    bool m_leftMoveRunning = false;
};
