#include "print/PagePrint.h"

#include "print/PaperSizeTable.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

QPageSize pageSizeForRow(const PaperSizeEntry& row)
{
    const QPageSize::PageSizeId id = QPageSize::id(row.paperId);
    if (row.paperId != 0 && id != QPageSize::Custom)
        return QPageSize(id);
    return QPageSize(QSizeF(row.width / 10.0, row.height / 10.0), QPageSize::Millimeter,
                     QString::fromLatin1(row.name), QPageSize::ExactMatch);
}

void drawPage(QPainter& painter, QSize printable, const PageGeometry& page, const QImage& picture)
{
    painter.fillRect(QRect(QPoint(0, 0), printable), Qt::white);
    if (picture.isNull() || page.image.isEmpty())
        return;
    painter.save();
    painter.setClipRect(page.visible);
    painter.translate(page.shift);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(page.image, picture);
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
