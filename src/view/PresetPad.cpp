#include "view/PresetPad.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

// Rows top to bottom (keys 7-9, 4-6, 1-3) and columns left to right, inclusive pixel ranges.
constexpr int kRowTop[] = {103, 201, 297};
constexpr int kRowBottom[] = {179, 274, 371};
constexpr int kColumnLeft[] = {16, 113, 206};
constexpr int kColumnRight[] = {90, 186, 282};

const QColor kBackground(34, 36, 42);
const QColor kFrame(78, 82, 92);
const QColor kHeadingText(232, 232, 232);
const QColor kKeyFace(168, 168, 168);
const QColor kKeyText(24, 24, 24);
const QColor kKey9Face(130, 18, 18);
const QColor kKey9Text(240, 240, 240);
const QColor kCross(36, 104, 235);

QFont padFont(int pixelSize)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void drawKey(QPainter& painter, const QRect& rect, const QString& label, const QColor& face,
             const QColor& text, int labelPixels)
{
    // QRectF of an inclusive pixel rectangle covers exactly its pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect.left(), rect.top(), rect.width(), rect.height()), 6, 6);
    painter.fillPath(path, face);
    painter.setPen(text);
    painter.setFont(padFont(labelPixels));
    painter.drawText(rect, Qt::AlignCenter, label);
}

QImage drawPad(bool gotoPad)
{
    QImage image(kPadWidth, kPadHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setPen(kFrame);
    painter.drawRect(QRectF(0.5, 0.5, kPadWidth - 1, kPadHeight - 1));

    const QString heading = gotoPad
        ? QCoreApplication::translate("CVarnekJPGView", "Select preset camera position")
        : QCoreApplication::translate("CVarnekJPGView", "Set preset");
    painter.setPen(kHeadingText);
    painter.setFont(padFont(22));
    painter.drawText(kPadHeadingRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, heading);

    // The cross closes the pad: a blue X with round ends that fills its square.
    QPen crossPen(kCross, 9, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(crossPen);
    const QRectF cross = QRectF(kPadCrossRect.left(), kPadCrossRect.top(), kPadCrossRect.width(),
                                kPadCrossRect.height())
                             .adjusted(4.5, 4.5, -4.5, -4.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());

    for (int key = 1; key <= 9; ++key) {
        // Key 9 is the odd one: the goto pad can recall preset 8, the set pad cannot store it.
        const bool last = key == 9;
        drawKey(painter, padKeyRect(key), QString::number(key), last ? kKey9Face : kKeyFace,
                last ? kKey9Text : kKeyText, 40);
    }
    if (gotoPad)
        drawKey(painter, kPadStopRect, QCoreApplication::translate("CVarnekJPGView", "Stop"),
                kKeyFace, kKeyText, 30);
    return image;
}

} // namespace

QRect padKeyRect(int key)
{
    const int row = 2 - (key - 1) / 3;
    const int column = (key - 1) % 3;
    return QRect(QPoint(kColumnLeft[column], kRowTop[row]),
                 QPoint(kColumnRight[column], kRowBottom[row]));
}

const QImage& presetPadImage(PadMode padMode)
{
    // Drawn once each, on the GUI thread at the first paint that needs them.
    if (padMode == PadMode::Goto) {
        static const QImage gotoPad = drawPad(true);
        return gotoPad;
    }
    static const QImage setPad = drawPad(false);
    return setPad;
}

void paintPresetPad(QPainter& painter, PadMode padMode, int clientWidth)
{
    if (padMode == PadMode::None)
        return;
    painter.drawImage(QPoint(padLeft(clientWidth), kPadTop), presetPadImage(padMode));
}
