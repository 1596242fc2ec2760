#include "print/PagePrint.h"

#include "print/PaperSizeTable.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

#include <cmath>

QPageSize pageSizeForRow(const PaperSizeEntry& row)
{
    const QSizeF millimetres(row.width / 10.0, row.height / 10.0);
    // Qt knows the rotated papers by the upright paper's id, a few ids as other papers of nearly
    // that name, and keeps some sizes in whole points that are a few points off: those print on
    // the row's own size, as the label and the preview show it.
    const QPageSize::PageSizeId id = QPageSize::id(row.paperId);
    if (row.paperId != 0 && id != QPageSize::Custom) {
        const QPageSize known(id);
        const QSizeF points = millimetres * (72.0 / 25.4);
        constexpr double halfMillimetre = 0.5 * 72.0 / 25.4;
        if (std::abs(known.sizePoints().width() - points.width()) <= halfMillimetre
            && std::abs(known.sizePoints().height() - points.height()) <= halfMillimetre)
            return known;
    }
    return customPage(millimetres, QString::fromLatin1(row.name));
}

QPageSize customPage(QSizeF millimetres, const QString& name)
{
    // Given in points: in millimetres Qt takes a known paper of that size with its own, rounded
    // points (C3 Envelope, 458 mm high, became 1296 points instead of 1298).
    return QPageSize(millimetres * (72.0 / 25.4), QPageSize::Point, name, QPageSize::ExactMatch);
}

void drawPage(QPainter& painter, QSize printable, const PageGeometry& page, const QImage& picture)
{
    painter.fillRect(QRect(QPoint(0, 0), printable), Qt::white);
    if (picture.isNull() || page.image.target.isEmpty())
        return;
    painter.save();
    painter.setClipRect(page.visible);
    painter.translate(page.shift);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(page.image.target), picture, page.image.source);
    painter.restore();
}

bool printSnapshot(QPrinter& printer, const PageSettings& settings,
                   const std::function<void(int, int)>& progress)
{
    printer.setDocName(QString::fromLatin1(kPrintDocumentName));
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // One device pixel per unit, origin at the printable area's corner.
    const QSize printable = printer.pageRect(QPrinter::DevicePixel).size().toSize();
    // Decoded anew for every print: the file is the only copy of the picture.
    QImage picture;
    QImageReader(settings.snapshotPath).read(&picture);
    const PageGeometry page = pageGeometry(printable, printer.logicalDpiX(), settings.scale,
                                           settings.leftMargin, settings.topMargin, picture.size());
    if (progress)
        progress(page.progressSteps, 1);
    drawPage(painter, printable, page, picture);
    if (progress)
        progress(page.progressSteps, page.progressSteps);
    return painter.end();
}
