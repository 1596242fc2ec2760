#pragma once
// Where the live picture and its caption go in the view, and the frame size that fits a picture.

#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The picture's top-left corner in the view, below the caption.
inline constexpr QPoint kPictureOrigin{1, 30};
// The caption's top-left corner.
inline constexpr QPoint kCaptionOrigin{15, 10};
// Longest caption drawn, in characters.
inline constexpr int kCaptionChars = 500;

// The scale of a picture W pixels wide stretched to the client width, in single precision: that
// decides the truncated percentage at edges such as 57 of 100 pixels (57 %, where double gives 56 %).
float pictureScale(int pictureWidth, int clientWidth);

// The rectangle the picture is stretched into: at (1, 30), as wide as the client area, as high as
// the scaled picture (truncated). It is not limited to the client height.
QRect pictureDestination(int pictureWidth, int pictureHeight, int clientWidth);

// "PATH    W by H  P%", P the scale in percent truncated; at most kCaptionChars characters.
QString captionText(const QString& path, int pictureWidth, int pictureHeight, int clientWidth);
// The caption when the decoder gave a picture but reported a failure.
QString decodeFailureCaption(const QString& path);

// Tahoma with a character cell 18 pixels high, or the closest face and size the system has.
QFont captionFont();
// The pixel size whose cell height comes closest to 18 without exceeding it, for a family.
int captionPixelSize(const QFont& family);

// The frame's outer rectangle that fits a picture: the client rectangle (0, 40, W + 24, H + 190)
// grown by the frame's borders, then moved so that its left is 10 and its top 40 while its right
// and bottom stay where the borders put them.
QRect fitFrameRect(int pictureWidth, int pictureHeight, const QMargins& frameBorders);
