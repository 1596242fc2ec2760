// A real print: the simulated camera's snapshot sent through the print dialog to a CUPS PDF
// printer (cups-pdf), and the PDF it writes read back with poppler's tools.
#include "PrintFixture.h"
#include "camera/CameraRequest.h"
#include "print/PaperSizeTable.h"
#include "support/CameraFixture.h"

#include <QDir>
#include <QImageReader>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Where cups-pdf puts the jobs of this user ("Out" of its configuration, ~/PDF unless set).
QString cupsPdfFolder()
{
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    const QString text = config.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(config.readAll()) : QString();
    const auto match = QRegularExpression(QStringLiteral("^Out\\s+(\\S+)"), QRegularExpression::MultilineOption).match(text);
    QString out = match.hasMatch() ? match.captured(1) : QStringLiteral("${HOME}/PDF");
    return out.replace(QStringLiteral("${HOME}"), QDir::homePath())
        .replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(qgetenv("USER")));
}

// The picture's bounds on a rendered page, along a row and a column that cross it.
QRect pictureBounds(const QImage& page, QPoint inside)
{
    const auto dark = [&page](int x, int y) { return qGray(page.pixel(x, y)) < 235; };
    QRect bounds;
    for (int x = 0; x < page.width(); ++x)
        bounds |= dark(x, inside.y()) ? QRect(x, inside.y(), 1, 1) : QRect();
    for (int y = 0; y < page.height(); ++y)
        bounds |= dark(inside.x(), y) ? QRect(inside.x(), y, 1, 1) : QRect();
    return bounds;
}

// The new PDF that cups-pdf finishes in folder, or nothing after a minute.
QString waitForNewPdf(const QDir& folder, const QStringList& before)
{
    for (int i = 0; i < 600; ++i, QTest::qWait(100)) {
        for (const QString& name : folder.entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
            if (!before.contains(name) && run(QStringLiteral("pdfinfo"), {folder.filePath(name)}).contains(QLatin1String("Pages:")))
                return folder.filePath(name);
        }
    }
    return QString();
}

class CupsPrintTest : public CameraTest {};

TEST_F(CupsPrintTest, PrintsOnePageWithThePictureAtThePrintableWidthAndMarginsInInches)
{
    QString printer;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        if (info.makeAndModel().contains(QLatin1String("CUPS-PDF"), Qt::CaseInsensitive))
            printer = info.printerName();
    }
    if (printer.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "no CUPS PDF printer (cups-pdf) or no pdftoppm here; test.sh sets them up when run as root";
    EXPECT_EQ(printing::cupsStatedResolution(QStringLiteral("no such queue")), 0) << "it states nothing";
    if (printing::cupsStatedResolution(printer) != 600)
        GTEST_SKIP() << "the PDF printer " << printer.toStdString() << " is not set to 600 dpi (test.sh sets it so)";
    ASSERT_EQ(requestSnapshot(currentCameraSettings(), folder.file(QStringLiteral("auto.jpg"))), 0);
    QImage snapshot(folder.file(QStringLiteral("auto.jpg")));

    // What the printer's A4 paper leaves printable at 600 dpi.
    QPrinter reference(QPrinterInfo::printerInfo(printer), QPrinter::HighResolution);
    reference.setResolution(600);
    reference.setPageSize(QPageSize(QPageSize::A4));
    reference.setPageOrientation(QPageLayout::Portrait);
    const QRect printable = reference.pageRect(QPrinter::DevicePixel).toRect();

    const QDir output(cupsPdfFolder());
    QImageReader::setAllocationLimit(512); // a C sheet at 600 dpi
    CPrintDlg dialog;
    dialog.EnumeratePrinters();
    dialog.setProgramFolder(folder.path());
    dialog.show();
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printerList"));
    printers->setCurrentIndex(printers->findText(printer));
    emit printers->activated(printers->currentIndex());
    dialog.findChild<QRadioButton*>(QStringLiteral("allPaperSizes"))->click();
    auto* papers = dialog.findChild<QComboBox*>(QStringLiteral("paperList"));
    dialog.findChild<QRadioButton*>(QStringLiteral("portrait"))->click();

    // A4 without and with margins; then papers that Qt knows under another size, on their own.
    struct Job { int row; const char* top; const char* left; QSizeF points; };
    const Job jobs[] = {{8, "0", "0", {595, 842}}, {8, "300", "600", {595, 842}}, {74, "0", "0", {842, 595}}, {23, "0", "0", {1224, 1584}}};
    QRect placed[4];
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << paperSizeTable()[jobs[i].row].name << ", margins " << jobs[i].top << "/" << jobs[i].left);
        papers->setCurrentIndex(jobs[i].row);
        emit papers->activated(jobs[i].row);
        dialog.findChild<QLineEdit*>(QStringLiteral("topMargin"))->setText(QString::fromLatin1(jobs[i].top));
        dialog.findChild<QLineEdit*>(QStringLiteral("leftMargin"))->setText(QString::fromLatin1(jobs[i].left));
        const QStringList before = output.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        dialog.findChild<QPushButton*>(QStringLiteral("print"))->click();
        const QString pdf = waitForNewPdf(output, before);
        ASSERT_FALSE(pdf.isEmpty()) << "nothing arrived in " << output.path().toStdString();
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+\\(?VarnekJPG Print\\)?\\n")))) << info.toStdString();
        const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
        EXPECT_NEAR(size.captured(1).toDouble(), jobs[i].points.width(), 1.5) << info.toStdString();
        EXPECT_NEAR(size.captured(2).toDouble(), jobs[i].points.height(), 1.5);
        const QString prefix = folder.file(QStringLiteral("page"));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-H"), QStringLiteral("4800"), pdf, prefix});
        placed[i] = pictureBounds(QImage(prefix + QStringLiteral(".pgm")), QPoint(2000, 2000));
        QFile::remove(pdf);
        // Every page without a margin has the picture across its printable width (less than a half inch short).
        EXPECT_GT(placed[i].width(), i == 1 ? 0 : jobs[i].points.width() / 72 * 600 - 300);
    }
    // Scale 5 at 600 dpi: the picture is the printable width less 6 wide and lies 2 pixels in;
    // its first row and column are not printed. (One pixel of slack for the rendering.)
    EXPECT_NEAR(placed[0].left(), printable.left() + 3, 1);
    EXPECT_NEAR(placed[0].top(), printable.top() + 3, 1);
    EXPECT_NEAR(placed[0].width(), printable.width() - 6 - 1, 1);
    EXPECT_NEAR(placed[0].height(), (printable.width() - 6) * snapshot.height() / snapshot.width() - 1, 1);
    // 600 is one inch to the right, 300 half an inch down.
    EXPECT_NEAR(placed[1].left(), printable.left() + 2 + 600, 1);
    EXPECT_NEAR(placed[1].top(), printable.top() + 2 + 300, 1);
}

} // namespace
