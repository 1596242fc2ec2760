#include "fakecam/SnapshotRenderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace fakecam {
namespace {

// The on-screen display uses a 5 x 7 dot font of its own, as the cameras do: it needs no font
// files and no application object, so pictures can be drawn on any thread.
struct Glyph {
    char c;
    const char* rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {':', {".....", "..#..", "..#..", ".....", "..#..", "..#..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."}},
};

const Glyph* glyphFor(char c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : kGlyphs) {
        if (g.c == c)
            return &g;
    }
    return nullptr; // a space, or a character the display cannot show
}

// Width of a text in dots of the font: five per character and one between characters.
qreal textWidth(const QString& text, qreal dot)
{
    return text.isEmpty() ? 0 : (6 * text.size() - 1) * dot;
}

void drawDots(QPainter& p, const QString& text, QPointF topLeft, qreal dot, const QColor& colour)
{
    qreal x = topLeft.x();
    for (QChar qc : text) {
        if (const Glyph* g = glyphFor(qc.toLatin1())) {
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (g->rows[row][col] == '#')
                        p.fillRect(QRectF(x + col * dot, topLeft.y() + row * dot, dot, dot), colour);
                }
            }
        }
        x += 6 * dot;
    }
}

// Display text with a dark outline so it stays readable on sky and on snow alike.
void drawDisplayText(QPainter& p, const QString& text, QPointF topLeft, qreal dot)
{
    const qreal o = std::max<qreal>(1, dot / 2);
    drawDots(p, text, topLeft + QPointF(o, o), dot, QColor(0, 0, 0));
    drawDots(p, text, topLeft, dot, QColor(255, 255, 255));
}

// A small stable hash, so that clouds and house colours lie where they lay the last time.
std::uint32_t hashInt(int v)
{
    auto x = static_cast<std::uint32_t>(v) * 0x9E3779B1u;
    x ^= x >> 15;
    x *= 0x85EBCA77u;
    x ^= x >> 13;
    return x;
}

constexpr qreal kHorizon = -20;
constexpr qreal kHouseSpacing = 360;

void drawSky(QPainter& p, const QRectF& visible)
{
    if (visible.top() >= kHorizon)
        return;
    QLinearGradient sky(0, -640, 0, kHorizon);
    sky.setColorAt(0, QColor(18, 52, 128));
    sky.setColorAt(1, QColor(176, 212, 240));
    p.fillRect(QRectF(visible.left(), visible.top(), visible.width(), kHorizon - visible.top()), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 80));
    p.drawEllipse(QPointF(-250, -170), 36, 36);

    p.setBrush(QColor(255, 255, 255, 210));
    const int first = static_cast<int>(std::floor(visible.left() / 260)) - 1;
    const int last = static_cast<int>(std::ceil(visible.right() / 260)) + 1;
    for (int i = first; i <= last; ++i) {
        const std::uint32_t h = hashInt(i);
        const qreal x = i * 260.0 + (h % 120);
        const qreal y = -560.0 + ((h >> 8) % 420);
        p.drawEllipse(QPointF(x, y), 48, 18);
        p.drawEllipse(QPointF(x + 30, y - 10), 34, 16);
        p.drawEllipse(QPointF(x - 28, y + 4), 30, 12);
    }
}

void drawMountains(QPainter& p, const QRectF& visible, qreal base, qreal scale, qreal phase,
                   const QColor& colour)
{
    QPolygonF ridge;
    const qreal left = std::floor(visible.left() / 20) * 20 - 20;
    const qreal right = visible.right() + 20;
    ridge << QPointF(left, base);
    for (qreal x = left; x <= right; x += 20) {
        const qreal h = scale * (90 + 60 * std::sin(x / 230.0 + phase) + 35 * std::sin(x / 71.0 + 1.3 + phase));
        ridge << QPointF(x, base - h);
    }
    ridge << QPointF(right, base);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(ridge);
}

void drawGround(QPainter& p, const QRectF& visible)
{
    if (visible.bottom() <= kHorizon)
        return;
    const qreal top = std::max(visible.top(), kHorizon);
    QLinearGradient grass(0, kHorizon, 0, 700);
    grass.setColorAt(0, QColor(112, 170, 84));
    grass.setColorAt(1, QColor(38, 88, 30));
    p.fillRect(QRectF(visible.left(), top, visible.width(), visible.bottom() - top), grass);

    // The road, with dashes that show every move of the head.
    p.fillRect(QRectF(visible.left(), 170, visible.width(), 70), QColor(92, 92, 96));
    const int first = static_cast<int>(std::floor(visible.left() / 60)) - 1;
    const int last = static_cast<int>(std::ceil(visible.right() / 60)) + 1;
    for (int i = first; i <= last; ++i)
        p.fillRect(QRectF(i * 60.0, 202, 34, 6), QColor(236, 236, 220));
}

void drawHouses(QPainter& p, const QRectF& visible)
{
    static const QColor walls[] = {QColor(214, 96, 72), QColor(232, 200, 110), QColor(120, 160, 210),
                                   QColor(230, 230, 226), QColor(160, 110, 170)};
    const int first = static_cast<int>(std::floor(visible.left() / kHouseSpacing)) - 1;
    const int last = static_cast<int>(std::ceil(visible.right() / kHouseSpacing)) + 1;
    for (int k = first; k <= last; ++k) {
        const qreal x = k * kHouseSpacing + 60;
        const qreal base = 140;
        const QColor wall = walls[hashInt(k) % 5];
        p.setPen(QPen(QColor(40, 30, 30), 2));
        p.setBrush(wall);
        p.drawRect(QRectF(x, base - 90, 130, 90));
        QPolygonF roof;
        roof << QPointF(x - 12, base - 90) << QPointF(x + 65, base - 150) << QPointF(x + 142, base - 90);
        p.setBrush(QColor(120, 40, 36));
        p.drawPolygon(roof);
        p.setBrush(QColor(80, 50, 30));
        p.drawRect(QRectF(x + 52, base - 52, 26, 52));
        p.setBrush(QColor(200, 230, 250));
        p.drawRect(QRectF(x + 14, base - 70, 26, 22));
        p.drawRect(QRectF(x + 90, base - 70, 26, 22));
        // House numbers tell where the head points.
        const QString number = QString::number(k);
        drawDots(p, number, QPointF(x + 65 - textWidth(number, 3) / 2, base - 128), 3, QColor(250, 250, 240));

        const qreal tree = x + 230;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(96, 64, 36));
        p.drawRect(QRectF(tree - 6, base - 40, 12, 40));
        p.setBrush(QColor(34, 110 + static_cast<int>(hashInt(k + 7) % 60), 40));
        p.drawEllipse(QPointF(tree, base - 62), 30, 36);
    }
}

} // namespace

QImage renderSnapshot(const SnapshotView& view)
{
    const int width = std::clamp(view.width, 16, 8192);
    const int height = std::clamp(view.height, 16, 8192);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);

    // The scene is laid out on a 480-line scale; wider pictures see more of it sideways.
    const qreal scale = height / 480.0;
    const qreal logicalWidth = width / scale;
    const qreal centreX = view.pan * kScenePerStep;
    const qreal centreY = -view.tilt * kScenePerStep;
    const QRectF visible(centreX - logicalWidth / 2, centreY - 240, logicalWidth, 480);

    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(-visible.topLeft());
        drawSky(p, visible);
        drawMountains(p, visible, kHorizon, 1.4, 0.0, QColor(118, 132, 160));
        drawMountains(p, visible, kHorizon, 0.7, 2.1, QColor(84, 112, 92));
        drawGround(p, visible);
        drawHouses(p, visible);

        p.resetTransform();
        const qreal dot = std::max(2, static_cast<int>(std::lround(height / 240.0)));
        const qreal margin = 4 * dot;
        const qreal lineHeight = 7 * dot;
        drawDisplayText(p, view.clock, QPointF(margin, margin), dot);
        const QString name = QStringLiteral("IPCAM");
        drawDisplayText(p, name, QPointF(width - margin - textWidth(name, dot), margin), dot);
        const QString position = QStringLiteral("PAN %1 TILT %2")
                                     .arg(view.pan >= 0 ? QStringLiteral("+%1").arg(view.pan) : QString::number(view.pan))
                                     .arg(view.tilt >= 0 ? QStringLiteral("+%1").arg(view.tilt) : QString::number(view.tilt));
        drawDisplayText(p, position, QPointF(margin, height - margin - lineHeight), dot);
        const QString frame = QStringLiteral("FRAME %1").arg(view.frame, 6, 10, QLatin1Char('0'));
        drawDisplayText(p, frame, QPointF(width - margin - textWidth(frame, dot), height - margin - lineHeight), dot);
        if (view.grey) {
            const QString ir = QStringLiteral("IR");
            drawDisplayText(p, ir, QPointF((width - textWidth(ir, dot)) / 2, margin), dot);
        }
    }
    if (view.grey)
        return image.convertToFormat(QImage::Format_Grayscale8);
    return image;
}

QByteArray encodeJpeg(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

} // namespace fakecam
