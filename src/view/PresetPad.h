#pragma once
// The two preset pads laid over the picture: the goto pad ("&Move to preset") and the set pad
// ("&Save to preset"). Both are drawn in code once and kept for the rest of the run; the view's
// paint lays the one for its pad mode at (padLeft(width), kPadTop).

#include "view/PanTilt.h"

#include <QImage>
#include <QRect>

class QPainter;

// Where things are drawn on the pad, in pad pixels; every key lies inside its click region.
// Keys in reading order of the pad: 7 8 9 / 4 5 6 / 1 2 3.
QRect padKeyRect(int key);        // key 1 to 9
inline constexpr QRect kPadStopRect{QPoint(16, 392), QPoint(186, 467)};
inline constexpr QRect kPadCrossRect{QPoint(235, 10), QPoint(285, 57)};
// The heading sits above the keys, left of the cross.
inline constexpr QRect kPadHeadingRect{QPoint(16, 10), QPoint(226, 94)};

// The goto pad, or the set pad for any other mode. Drawn on first use (the GUI application must
// exist by then), 297 x 478 in Format_RGB32.
const QImage& presetPadImage(PadMode padMode);

// Lays the pad of padMode over whatever the painter holds; nothing while no pad is shown.
void paintPresetPad(QPainter& painter, PadMode padMode, int clientWidth);
