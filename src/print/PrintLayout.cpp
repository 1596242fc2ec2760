#include "print/PrintLayout.h"

#include "print/PaperSizeTable.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <charconv>
#include <limits>

std::optional<QSize> previewFrameSize(float width, float height, bool portrait)
{
    if (!(width > 0.0f) || !(height > 0.0f))
        return std::nullopt;
    float h = 250.0f;
    float w = portrait ? width / height * 250.0f : height * 250.0f / width;
    if (w > 420.0f) {
        w = 420.0f;
        h = portrait ? height * 420.0f / width : width * 420.0f / height;
    }
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

QString paperSizeLabel(const PaperSizeEntry& row)
{
    const float width = static_cast<float>(row.width) / 10.0f;
    const float height = static_cast<float>(row.height) / 10.0f;
    return QString::asprintf(" %.2f mm X %.2f mm", static_cast<double>(width), static_cast<double>(height));
}

int leadingInt(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    while (begin != end && std::isspace(static_cast<unsigned char>(*begin)))
        ++begin;
    const bool negative = begin != end && *begin == '-';
    if (begin != end && (*begin == '-' || *begin == '+'))
        ++begin;
    // Digits must follow: a second sign is no number.
    if (begin == end || !std::isdigit(static_cast<unsigned char>(*begin)))
        return 0;
    long long value = 0;
    if (std::from_chars(begin, end, value).ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int clampedScale(const QString& text)
{
    return std::clamp(leadingInt(text.left(19)), kScaleMin, kScaleMax);
}

int customPaperField(const QString& text)
{
    return std::clamp(leadingInt(text), 0, kMaxPaperMm);
}

PicturePart visiblePart(double x, double y, double w, double h, QSize picture, QRect area)
{
    PicturePart part;
    if (!(w > 0.0) || !(h > 0.0) || picture.isEmpty())
        return part;
    const double left = std::max(x, static_cast<double>(area.left()));
    const double top = std::max(y, static_cast<double>(area.top()));
    const double right = std::min(x + w, static_cast<double>(area.left()) + area.width());
    const double bottom = std::min(y + h, static_cast<double>(area.top()) + area.height());
    if (!(right > left) || !(bottom > top))
        return part;
    // Whole pixels in, whole pixels out: every bound lies within the area's int range.
    part.target = QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                        static_cast<int>(bottom - top));
    const double sx = picture.width() / w;
    const double sy = picture.height() / h;
    part.source = QRectF((left - x) * sx, (top - y) * sy, (right - left) * sx, (bottom - top) * sy);
    return part;
}

namespace {

// A margin in 1/600 inch as a share of a paper side in millimetres, on a side of `pixels`.
float marginOffset(int margin, int paperMm, int pixels)
{
    if (margin < 1 || paperMm <= 0)
        return 0.0f;
    margin = std::min(margin, kMaxMargin);
    const float inches = static_cast<float>(margin) / kMarginUnitsPerInch;
    const float millimetres = static_cast<float>(static_cast<double>(inches) * 25.4);
    return millimetres / static_cast<float>(paperMm) * static_cast<float>(pixels);
}

} // namespace

PicturePart previewPicture(QSize bitmap, int scale, int paperWidthMm, int paperHeightMm,
                           int leftMargin, int topMargin, QSize picture)
{
    scale = std::clamp(scale, kScaleMin, kScaleMax);
    const float iw = static_cast<float>(bitmap.width()) / static_cast<float>(scale) * 5.0f;
    const float x = marginOffset(leftMargin, paperWidthMm, bitmap.width());
    const float y = marginOffset(topMargin, paperHeightMm, bitmap.height());
    const float ih = picture.width() > 0 ? static_cast<float>(picture.height()) * iw / static_cast<float>(picture.width()) : 0.0f;
    return visiblePart(std::trunc(x), std::trunc(y), std::trunc(iw), std::trunc(ih), picture,
                       QRect(QPoint(0, 0), bitmap));
}

PageGeometry pageGeometry(QSize printable, int dpi, int scale, int leftMargin, int topMargin, QSize picture)
{
    PageGeometry page;
    // Held to what a page can hold, so every offset stays well inside an int at any resolution;
    // a negative margin places as 0, as the preview shows it.
    leftMargin = std::clamp(leftMargin, 0, kMaxMargin);
    topMargin = std::clamp(topMargin, 0, kMaxMargin);
    scale = std::clamp(scale, kScaleMin, kScaleMax);
    const float s = static_cast<float>(std::clamp(dpi, 1, kMaxResolution)) / kMarginUnitsPerInch;
    const int pw = std::max(printable.width() - 6, 0);
    const int ph = std::max(printable.height() - 6, 0);
    page.bitmap = QSize(pw, ph);
    const float iw = static_cast<float>(pw) * 5.0f / static_cast<float>(scale) * s;
    page.progressSteps = iw > 0.0f ? static_cast<int>(static_cast<float>(pw) / iw) : 0;
    const float lx = static_cast<float>(leftMargin) * s;
    const float ty = static_cast<float>(topMargin) * s;
    const float ih = picture.width() > 0 ? static_cast<float>(picture.height()) * iw / static_cast<float>(picture.width()) : 0.0f;
    page.image = visiblePart(std::trunc(lx), std::trunc(ty), std::trunc(iw), std::trunc(ih), picture, QRect(QPoint(0, 0), page.bitmap));
    // The area is copied from its point (1, 1) to the printable area's point (3, 3): its first
    // row and column stay behind, and it reaches no further than its own size.
    page.shift = QPoint(2, 2);
    page.visible = QRect(3, 3, std::max(pw - 1, 0), std::max(ph - 1, 0));
    return page;
}
