// Memory of one print: an A4 page at 1200 dpi with the snapshot across its printable width, sent
// to a PDF file as the print dialog sends it to a printer. A page-sized bitmap at that resolution
// alone would take over 500 MB; the page is drawn straight onto the printer instead.
#include "fakecam/SnapshotRenderer.h"
#include "print/PagePrint.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const int dpi = 1200;

    std::printf("print of an A4 page at %d dpi to a PDF file\n", dpi);
    std::printf("%-12s %-12s %14s %14s %12s\n", "snapshot", "scale", "peak RSS before", "peak RSS after", "PDF size");
    for (const QSize size : {QSize(640, 480), QSize(1920, 1080)}) {
        fakecam::SnapshotView view;
        view.width = size.width();
        view.height = size.height();
        const QString snapshot = QDir(folder.path()).filePath(QStringLiteral("auto.jpg"));
        QFile file(snapshot);
        if (!file.open(QIODevice::WriteOnly) || file.write(fakecam::encodeJpeg(fakecam::renderSnapshot(view))) <= 0)
            return 1;
        file.close();
        for (const int scale : {5, 1}) {
            const long before = peakResidentKb();
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString pdf = QDir(folder.path()).filePath(QStringLiteral("page.pdf"));
            printer.setOutputFileName(pdf);
            printer.setResolution(dpi);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageOrientation(QPageLayout::Portrait);
            PageSettings settings;
            settings.scale = scale;
            settings.snapshotPath = snapshot;
            if (!printSnapshot(printer, settings))
                return 1;
            std::printf("%-12s %-12d %11.1f MB %11.1f MB %9.1f KB\n",
                        qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())), scale,
                        before / 1024.0, peakResidentKb() / 1024.0, QFile(pdf).size() / 1024.0);
        }
    }
    const QSize page = QPageSize(QPageSize::A4).sizePixels(dpi);
    std::printf("a page-sized 32-bit bitmap at %d dpi would need %.1f MB\n", dpi,
                page.width() * static_cast<double>(page.height()) * 4 / (1024.0 * 1024.0));
    return 0;
}
