#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <array>

namespace {

const QColor kOutline(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kShade(128, 128, 128);
const QColor kLight(192, 192, 192);
const QColor kFolder(255, 204, 51);
const QColor kFolderDark(153, 102, 0);
const QColor kNavy(0, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kRed(204, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBoard(153, 102, 51);

// Digits and the units of the timer buttons in a 3 x 5 pixel font (m is 5 wide).
struct Glyph {
    int width;
    std::array<const char*, 5> rows;
};

Glyph glyph(char c)
{
    switch (c) {
    case '0': return {3, {"###", "#.#", "#.#", "#.#", "###"}};
    case '1': return {3, {".#.", "##.", ".#.", ".#.", "###"}};
    case '2': return {3, {"###", "..#", "###", "#..", "###"}};
    case '4': return {3, {"#.#", "#.#", "###", "..#", "..#"}};
    case 's': return {3, {".##", "#..", ".#.", "..#", "##."}};
    case 'm': return {5, {".....", "####.", "#.#.#", "#.#.#", "#.#.#"}};
    default: return {3, {"...", "...", "...", "...", "..."}};
    }
}

int textWidth(const char* text)
{
    int width = 0;
    for (const char* c = text; *c; ++c)
        width += glyph(*c).width + (c[1] ? 1 : 0);
    return width;
}

void drawPixelText(QImage& image, const char* text, int top, QColor colour)
{
    int x = (kToolbarImageWidth - textWidth(text)) / 2;
    for (const char* c = text; *c; ++c) {
        const Glyph g = glyph(*c);
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < g.width; ++col) {
                if (g.rows[static_cast<std::size_t>(row)][col] == '#')
                    image.setPixelColor(x + col, top + row, colour);
            }
        }
        x += g.width + 1;
    }
}

QImage blank()
{
    QImage image(kToolbarImageWidth, kToolbarImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void page(QPainter& p, int left, int top, int right, int bottom, int fold)
{
    const QPolygon outline({QPoint(left, top), QPoint(right - fold, top), QPoint(right, top + fold),
                            QPoint(right, bottom), QPoint(left, bottom)});
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.drawLine(right - fold, top, right - fold, top + fold);
    p.drawLine(right - fold, top + fold, right, top + fold);
}

void drawNew(QPainter& p)
{
    page(p, 3, 1, 12, 13, 3);
}

void drawOpen(QPainter& p)
{
    // An open folder: the back with its tab, the front leaning forward.
    p.setPen(kOutline);
    p.setBrush(kFolderDark);
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(11, 4), QPoint(11, 6),
                            QPoint(1, 6)}));
    p.drawRect(1, 6, 10, 7);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 7), QPoint(15, 7), QPoint(12, 13)}));
}

void drawSave(QPainter& p)
{
    // A floppy disk: label at the top, shutter at the bottom.
    p.setPen(kOutline);
    p.setBrush(kNavy);
    p.drawRect(1, 1, 13, 12);
    p.setBrush(kPaper);
    p.drawRect(4, 2, 7, 4);
    p.setBrush(kLight);
    p.drawRect(4, 9, 7, 4);
    p.fillRect(8, 10, 2, 3, kNavy);
}

void drawCut(QPainter& p)
{
    // Scissors, blades up, finger rings down.
    p.setPen(QPen(kOutline, 1));
    p.drawLine(5, 1, 9, 9);
    p.drawLine(10, 1, 6, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, 1));
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void drawCopy(QPainter& p)
{
    page(p, 1, 1, 8, 9, 2);
    page(p, 6, 5, 14, 14, 2);
}

void drawPaste(QPainter& p)
{
    // A clipboard with a sheet on it.
    p.setPen(kOutline);
    p.setBrush(kBoard);
    p.drawRect(1, 2, 10, 11);
    p.setBrush(kLight);
    p.drawRect(4, 1, 4, 2);
    page(p, 6, 6, 14, 14, 2);
}

void drawPrint(QPainter& p)
{
    // A printer with a sheet coming out of its top.
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(kLight);
    p.drawRect(1, 6, 13, 5);
    p.setBrush(kShade);
    p.drawRect(3, 11, 9, 2);
    p.fillRect(11, 8, 2, 1, kGreen);
}

void drawAbout(QPainter& p)
{
    // A question mark in a speech balloon.
    p.setPen(kOutline);
    p.setBrush(QColor(255, 255, 204));
    p.drawEllipse(1, 0, 13, 11);
    p.drawPolygon(QPolygon({QPoint(4, 10), QPoint(3, 14), QPoint(7, 11)}));
    p.setPen(kBlue);
    p.drawLine(6, 3, 9, 3);
    p.drawPoint(5, 4);
    p.drawPoint(10, 4);
    p.drawPoint(10, 5);
    p.drawLine(8, 6, 9, 6);
    p.drawPoint(7, 7);
    p.drawPoint(7, 9);
}

void drawStop(QPainter& p)
{
    // The stop sign: a red octagon with a white bar.
    p.setPen(kOutline);
    p.setBrush(kRed);
    p.drawPolygon(QPolygon({QPoint(5, 0), QPoint(10, 0), QPoint(14, 4), QPoint(14, 9), QPoint(10, 13),
                            QPoint(5, 13), QPoint(1, 9), QPoint(1, 4)}));
    p.fillRect(4, 6, 8, 2, kPaper);
}

// An interval button: a small stopwatch crown over a face holding the number and its unit.
void drawInterval(QImage& image, const char* number, const char* unit)
{
    {
        QPainter p(&image);
        p.setPen(kGreen);
        p.setBrush(QColor(232, 255, 232));
        p.drawRoundedRect(0, 1, 15, 13, 3, 3);
        p.fillRect(6, 0, 4, 1, kGreen);
    }
    drawPixelText(image, number, 2, kOutline);
    drawPixelText(image, unit, 8, kNavy);
}

void drawFit(QPainter& p)
{
    // A landscape inside four corner marks: the frame closing round the picture.
    p.fillRect(4, 4, 8, 4, QColor(102, 178, 255));
    p.fillRect(4, 8, 8, 3, kGreen);
    p.setPen(kOutline);
    p.drawRect(3, 3, 9, 8);
    p.setPen(kRed);
    p.drawPolyline(QPolygon({QPoint(0, 3), QPoint(0, 0), QPoint(3, 0)}));
    p.drawPolyline(QPolygon({QPoint(12, 0), QPoint(15, 0), QPoint(15, 3)}));
    p.drawPolyline(QPolygon({QPoint(0, 11), QPoint(0, 14), QPoint(3, 14)}));
    p.drawPolyline(QPolygon({QPoint(12, 14), QPoint(15, 14), QPoint(15, 11)}));
}

} // namespace

QImage toolbarImage(int index)
{
    QImage image = blank();
    switch (index) {
    case 9: drawInterval(image, "1", "s"); return image;
    case 10: drawInterval(image, "100", "ms"); return image;
    case 11: drawInterval(image, "200", "ms"); return image;
    case 12: drawInterval(image, "400", "ms"); return image;
    case 13: drawInterval(image, "4", "s"); return image;
    default: break;
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (index) {
    case 0: drawNew(p); break;
    case 1: drawOpen(p); break;
    case 2: drawSave(p); break;
    case 3: drawCut(p); break;
    case 4: drawCopy(p); break;
    case 5: drawPaste(p); break;
    case 6: drawPrint(p); break;
    case 7: drawAbout(p); break;
    case 8: drawStop(p); break;
    case 14: drawFit(p); break;
    default: break;
    }
    return image;
}

QImage programIconImage(int size)
{
    // Drawn on a 64-unit grid, the same camera as the installed scalable icon.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(QColor(90, 94, 104));
    p.drawRoundedRect(QRectF(18, 10, 20, 10), 3, 3);
    p.setBrush(QColor(70, 74, 82));
    p.drawRoundedRect(QRectF(6, 18, 52, 36), 7, 7);
    p.setBrush(QColor(30, 30, 34));
    p.drawEllipse(QPointF(32, 36), 13, 13);
    p.setBrush(QColor(40, 110, 200));
    p.drawEllipse(QPointF(32, 36), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QPointF(29, 33), 2.5, 2.5);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(50, 25), 3, 3);
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}
