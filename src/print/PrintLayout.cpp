#include "print/PrintLayout.h"

#include "print/PaperSizeTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
    return std::atoi(text.toLatin1().constData());
}

double leadingDouble(const QString& text)
{
    // Read as the C library would, in the "C" locale's notation: a point before the decimals.
    const QByteArray bytes = text.toLatin1();
    char* end = nullptr;
    const double value = std::strtod(bytes.constData(), &end);
    return std::isfinite(value) ? value : 0.0;
}

int clampedScale(const QString& text)
{
    return std::clamp(leadingInt(text.left(19)), kScaleMin, kScaleMax);
}

namespace {

// A margin in 1/600 inch as a share of a paper side in millimetres, on a side of `pixels`.
float marginOffset(int margin, int paperMm, int pixels)
{
    if (margin < 1 || paperMm <= 0)
        return 0.0f;
    const float inches = static_cast<float>(margin) / kMarginUnitsPerInch;
    const float millimetres = static_cast<float>(static_cast<double>(inches) * 25.4);
    return millimetres / static_cast<float>(paperMm) * static_cast<float>(pixels);
}

} // namespace

QRect previewImageRect(QSize bitmap, int scale, int paperWidthMm, int paperHeightMm,
                       int leftMargin, int topMargin, QSize picture)
{
    const float iw = static_cast<float>(bitmap.width()) / static_cast<float>(scale) * 5.0f;
    const float x = marginOffset(leftMargin, paperWidthMm, bitmap.width());
    const float y = marginOffset(topMargin, paperHeightMm, bitmap.height());
    const float ih = picture.width() > 0 ? static_cast<float>(picture.height()) * iw / static_cast<float>(picture.width()) : 0.0f;
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(iw), static_cast<int>(ih));
}

PageGeometry pageGeometry(QSize printable, int dpi, int scale, int leftMargin, int topMargin, QSize picture)
{
    PageGeometry page;
    const float s = static_cast<float>(dpi) / kMarginUnitsPerInch;
    const int pw = std::max(printable.width() - 6, 0);
    const int ph = std::max(printable.height() - 6, 0);
    page.bitmap = QSize(pw, ph);
    const float iw = static_cast<float>(pw) * 5.0f / static_cast<float>(scale) * s;
    page.progressSteps = iw > 0.0f ? static_cast<int>(static_cast<float>(pw) / iw) : 0;
    const float lx = static_cast<float>(leftMargin) * s;
    const float ty = static_cast<float>(topMargin) * s;
    const float ih = picture.width() > 0 ? static_cast<float>(picture.height()) * iw / static_cast<float>(picture.width()) : 0.0f;
    page.image = QRect(static_cast<int>(lx), static_cast<int>(ty), static_cast<int>(iw), static_cast<int>(ih));
    // The area is copied from its point (1, 1) to the printable area's point (3, 3): its first
    // row and column stay behind, and it reaches no further than its own size.
    page.shift = QPoint(2, 2);
    page.visible = QRect(3, 3, std::max(pw - 1, 0), std::max(ph - 1, 0));
    return page;
}
