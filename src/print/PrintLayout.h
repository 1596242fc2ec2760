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
// The longest paper side the dialog prints: what a printer's paper length field holds (32767
// tenths of a millimetre). A custom size is held to 0..this, so no page is too large for the
// pixel arithmetic of a 1200 dpi printer.
inline constexpr int kMaxPaperMm = 3276;
// The finest resolution a page is composed at, in dots per inch.
inline constexpr int kMaxResolution = 9600;
// The widest margin that still falls on such a paper, in 1/600 inch.
inline constexpr int kMaxMargin = static_cast<int>(kMaxPaperMm / 25.4 * 600);

// The preview frame for a paper of width x height (any unit, only the ratio counts): 250 pixels
// high, at most 420 wide. No shape for a paper without an area.
std::optional<QSize> previewFrameSize(float width, float height, bool portrait);

// " 210.00 mm X 297.00 mm" for a row.
QString paperSizeLabel(const PaperSizeEntry& row);

// A whole number as a field holds it: leading blanks, an optional sign, digits; anything else
// gives 0, and a number beyond an int's range the nearest int.
int leadingInt(const QString& text);
// The scale position that Apply takes from the scaling edit.
int clampedScale(const QString& text);
// A custom paper side in whole millimetres, held to 0..kMaxPaperMm.
int customPaperField(const QString& text);

// The part of a picture drawn at (x, y) with size w x h (whole pixels, however far they reach)
// that falls into `area`: where it lands, and which part of the picture that is. Nothing lands
// for a picture without pixels or a drawing without size.
struct PicturePart {
    QRect target;
    QRectF source;
};
PicturePart visiblePart(double x, double y, double w, double h, QSize picture, QRect area);

// The snapshot on the preview's bitmap (frame less 6 pixels each way), cut to the bitmap.
// paperWidthMm and paperHeightMm pair with the bitmap's width and height whatever the orientation.
PicturePart previewPicture(QSize bitmap, int scale, int paperWidthMm, int paperHeightMm,
                           int leftMargin, int topMargin, QSize picture);

// The page as it goes to the printer: the printable rectangle's size in device pixels, the
// printer's horizontal resolution, the scale position and margins (held to 0..kMaxMargin).
struct PageGeometry {
    QSize bitmap;    // the composed area: printable size less 6 pixels each way
    PicturePart image; // the snapshot on that area, cut to it
    QRect visible;   // the part of the printable area (its own coordinates) that the area reaches
    QPoint shift;    // where area point (0, 0) falls on the printable area
    int progressSteps = 0;
};
PageGeometry pageGeometry(QSize printable, int dpi, int scale, int leftMargin, int topMargin, QSize picture);
