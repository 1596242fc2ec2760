#pragma once
// One page with the snapshot on it, drawn on any printer. The page is drawn straight onto the
// printer, clipped where an off-screen copy of the printable area would end, so no page-sized
// bitmap is ever held: a 1200 dpi page costs no more memory than the snapshot itself.

#include "print/PrintLayout.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>

class QImage;
class QPainter;
class QPrinter;

inline constexpr const char* kPrintDocumentName = "VarnekJPG Print";

// The paper a table row asks for: the printer's paper of that id where the printing system knows
// the id as a paper of the row's size, else a custom paper of the row's own size.
QPageSize pageSizeForRow(const PaperSizeEntry& row);
// A paper of the given size in millimetres, to the point.
QPageSize customPage(QSizeF millimetres, const QString& name = QString());

// Paints the printable area white and the snapshot onto it, as pageGeometry() places it.
void drawPage(QPainter& painter, QSize printable, const PageGeometry& page, const QImage& picture);

struct PageSettings {
    int scale = kScaleStart;
    int leftMargin = 0;
    int topMargin = 0;
    QString snapshotPath;
};

// Prints the page as the document "VarnekJPG Print" on a printer whose paper and orientation are
// set. progress(range, position) follows the work. False when the printer could not start.
bool printSnapshot(QPrinter& printer, const PageSettings& settings,
                   const std::function<void(int range, int position)>& progress = {});
