#include "sdcard/TreeImageList.h"

#include <QBitmap>
#include <QPainter>

namespace {

const QColor kSeeThrough(192, 192, 192);

enum class Mark { Chevron, Bars };

void drawTile(QPainter& p, int index, QColor frame, QColor fill, QColor ink, Mark mark)
{
    const int x = index * kTreeImageSize;
    p.fillRect(x, 0, kTreeImageSize, kTreeImageSize, fill);
    p.setPen(frame);
    p.drawRect(x, 0, kTreeImageSize - 1, kTreeImageSize - 1);
    p.setPen(QPen(ink, 1));
    if (mark == Mark::Chevron) {
        p.drawLine(x + 9, 3, x + 5, 7);
        p.drawLine(x + 5, 7, x + 9, 11);
    } else {
        for (int y : {4, 7, 10})
            p.drawLine(x + 3, y, x + 11, y);
    }
}

} // namespace

QImage drawTreeBoundsStrip()
{
    QImage strip(231, kTreeImageSize, QImage::Format_RGB32);
    strip.fill(kSeeThrough);
    QPainter p(&strip);
    const QColor red(200, 0, 0), blue(0, 0, 200), yellow(255, 255, 0), green(0, 140, 0);
    drawTile(p, 0, red, QColor(250, 250, 250), Qt::black, Mark::Chevron);
    drawTile(p, 1, red, yellow, green, Mark::Chevron);
    drawTile(p, 10, blue, QColor(232, 240, 255), Qt::black, Mark::Bars);
    drawTile(p, 11, blue, yellow, green, Mark::Bars);
    return strip;
}

QList<QPixmap> cutTreeImages(const QImage& strip)
{
    QList<QPixmap> images;
    for (int i = 0; i < kTreeImageCount; ++i) {
        QPixmap tile = QPixmap::fromImage(strip.copy(i * kTreeImageSize, 0, kTreeImageSize, kTreeImageSize));
        tile.setMask(tile.createMaskFromColor(kSeeThrough));
        images.push_back(tile);
    }
    return images;
}
