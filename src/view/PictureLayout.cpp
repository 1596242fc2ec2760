#include "view/PictureLayout.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>

namespace {

constexpr int kCaptionCellHeight = 18;

} // namespace

float pictureScale(int pictureWidth, int clientWidth)
{
    if (pictureWidth <= 0)
        return 0.0f;
    return static_cast<float>(clientWidth) / static_cast<float>(pictureWidth);
}

QRect pictureDestination(int pictureWidth, int pictureHeight, int clientWidth)
{
    const float scale = pictureScale(pictureWidth, clientWidth);
    const int height = static_cast<int>(static_cast<float>(pictureHeight) * scale);
    return QRect(kPictureOrigin, QSize(clientWidth, height));
}

QString captionText(const QString& path, int pictureWidth, int pictureHeight, int clientWidth)
{
    const float scale = pictureScale(pictureWidth, clientWidth);
    const int percent = static_cast<int>(scale * 100.0f);
    const QString text = path + QStringLiteral("    ") + QString::number(pictureWidth)
        + QCoreApplication::translate("CVarnekJPGView", " by ") + QString::number(pictureHeight)
        + QStringLiteral("  ") + QString::number(percent) + QStringLiteral("%");
    return text.left(kCaptionChars);
}

QString decodeFailureCaption(const QString& path)
{
    return (QCoreApplication::translate("CVarnekJPGView", "Failed to open file ") + path)
        .left(kCaptionChars);
}

int captionPixelSize(const QFont& family)
{
    QFont font(family);
    // The caption's band is as high as the font's cell (ascent plus descent), while a pixel size
    // sets the em: walk down from 18 until the cell fits.
    for (int size = kCaptionCellHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= kCaptionCellHeight)
            return size;
    }
    return 1;
}

QFont captionFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setPixelSize(captionPixelSize(font));
    return font;
}

QRect fitFrameRect(int pictureWidth, int pictureHeight, const QMargins& frameBorders)
{
    // Right and bottom in the exclusive sense of a window rectangle.
    const int right = pictureWidth + 24 + frameBorders.right();
    const int bottom = pictureHeight + 190 + frameBorders.bottom();
    const int left = 10;
    const int top = 40;
    return QRect(left, top, right - left, bottom - top);
}
