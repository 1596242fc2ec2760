#pragma once
// The arithmetic of the print dialog, apart from any widget: the preview frame's shape, the size
// label, the scale and margins on the preview and on the page. Sizes on paper are in tenths of a
// millimetre or whole millimetres, margins in 1/600 inch, everything else in pixels.

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

struct PaperSizeEntry;

inline constexpr int kScaleMin = 1;
inline constexpr int kScaleMax = 20;
inline constexpr int kScaleStart = 5;
// Margins are given in 1/600 inch at any printer resolution.
inline constexpr float kMarginUnitsPerInch = 600.0f;

// The preview frame for a paper of width x height (any unit, only the ratio counts): 250 pixels
// high, at most 420 wide. No shape for a paper without an area.
std::optional<QSize> previewFrameSize(float width, float height, bool portrait);

// " 210.00 mm X 297.00 mm" for a row.
QString paperSizeLabel(const PaperSizeEntry& row);

// How C's atoi reads a field: leading blanks, an optional sign, digits; anything else gives 0.
int leadingInt(const QString& text);
// How C's wcstod reads a field: a decimal number at the start, 0 when there is none.
double leadingDouble(const QString& text);
// The scale position that Apply takes from the scaling edit.
int clampedScale(const QString& text);

// Where and how large the snapshot lies on the preview's bitmap (frame less 6 pixels each way).
// paperWidthMm and paperHeightMm pair with the bitmap's width and height whatever the orientation.
QRect previewImageRect(QSize bitmap, int scale, int paperWidthMm, int paperHeightMm,
                       int leftMargin, int topMargin, QSize picture);

// The page as it goes to the printer: the printable rectangle's size in device pixels, the
// printer's horizontal resolution, the scale position and margins.
struct PageGeometry {
    QSize bitmap;    // the composed area: printable size less 6 pixels each way
    QRect image;     // the snapshot on that area
    QRect visible;   // the part of the printable area (its own coordinates) that the area reaches
    QPoint shift;    // where area point (0, 0) falls on the printable area
    int progressSteps = 0;
};
PageGeometry pageGeometry(QSize printable, int dpi, int scale, int leftMargin, int topMargin, QSize picture);
