// The print dialog on printers played by a double: printer and paper lists, orientation, custom
// size, scaling and the preview.
#include "PrintFixture.h"

namespace {

const QString kA4 = QStringLiteral("A4 sheet 210 x 297 mm");
const QString kLetter = QStringLiteral("Letter 8 1/2 x 11 in");
const QString kKaku2 = QStringLiteral("Japanese Envelope Kaku #2");
const QString kKaku2Rotated = QStringLiteral("Japanese Envelope Kaku #2 Rotated");

TEST_F(PrintDialogTest, OpensOnTheDefaultPrinterWithItsPapersInItsOrderAndItsPaperSelected)
{
    printers.names = {QStringLiteral("Office"), QStringLiteral("Lab PDF"), QStringLiteral("Hall")};
    printers.defaultName = QStringLiteral("lab pdf");
    // 48 is reserved, 256 user-defined and 300 a driver's own: no row carries them.
    printers.papersOf[QStringLiteral("Lab PDF")] = {9, {1, 48, 9, 256, 11, 300, 20}};
    open();

    EXPECT_EQ(printerCombo()->currentText(), QStringLiteral("Lab PDF"));
    EXPECT_EQ(papers(), (QStringList{kLetter, kA4, QStringLiteral("A5 sheet 148 x 210 mm"),
                                     QStringLiteral("#10 Envelope 4 1/8 x 9 1/2 in")}));
    EXPECT_EQ(paperCombo()->currentText(), kA4);
    EXPECT_EQ(dialog->selectedPaperRow(), 8);
    EXPECT_EQ(sizeLabel(), QStringLiteral(" 210.00 mm X 297.00 mm"));
    for (const char* on : {"landscape", "residentPaperSizes"})
        EXPECT_TRUE(get<QRadioButton>(on)->isChecked()) << on;
    for (const char* off : {"portrait", "allPaperSizes", "customPaperSize"})
        EXPECT_FALSE(get<QRadioButton>(off)->isChecked()) << off;
    EXPECT_EQ(frame(), QRect(530, 250, 353, 250));
    EXPECT_EQ(get<QSlider>("scaling")->value(), 5);
    EXPECT_EQ(get<QLineEdit>("scalingEdit")->text(), QStringLiteral("5"));
    EXPECT_EQ(get<QLineEdit>("topMargin")->text() + get<QLineEdit>("leftMargin")->text(), QStringLiteral("00"));
    EXPECT_EQ(get<QProgressBar>("progress")->maximum(), 100);

    click("portrait");
    EXPECT_EQ(frame(), QRect(530, 250, 176, 250));
    // Another printer, whose current paper it does not report: its first paper is taken.
    printers.papersOf[QStringLiteral("Hall")] = {9, {1, 19}};
    choose(printerCombo(), 2);
    EXPECT_EQ(papers(), (QStringList{kLetter, QStringLiteral("#9 Envelope 3 7/8 x 8 7/8 in")}));
    EXPECT_EQ(paperCombo()->currentText(), kLetter);
    EXPECT_EQ(dialog->selectedPaperRow(), 0);
    click("landscape");
    choose(paperCombo(), 1);
    EXPECT_EQ(frame(), QRect(530, 250, 420, 183));
    EXPECT_EQ(dialog->selectedPaperRow(), 18);
}

TEST_F(PrintDialogTest, UnusualPrintersAndNoPrinterAtAll)
{
    // No printer: nothing to list, the label and the frame keep their first state, Print does nothing.
    open();
    const QRect templateFrame = frame();
    EXPECT_EQ(printerCombo()->count(), 0);
    EXPECT_EQ(paperCombo()->count(), 0);
    EXPECT_EQ(sizeLabel(), QStringLiteral("Size"));
    click("print");
    EXPECT_TRUE(printers.created.isEmpty());
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_EQ(frame(), templateFrame);

    // A printer that cannot be asked, one that knows no paper of the table, and one whose first
    // paper is a prefix of a later one: the search moves on to the rotated envelope.
    printers.names = {QStringLiteral("Gone"), QStringLiteral("Odd"), QStringLiteral("Japan")};
    printers.defaultName = QStringLiteral("Nobody");
    printers.papersOf[QStringLiteral("Odd")] = {256, {256, 0, 400}};
    printers.papersOf[QStringLiteral("Japan")] = {71, {71, 9, 84}};
    open();
    EXPECT_EQ(printerCombo()->currentText(), QStringLiteral("Gone")) << "no default: the first";
    EXPECT_EQ(paperCombo()->count(), 0);
    EXPECT_EQ(sizeLabel(), QStringLiteral("Size"));

    choose(printerCombo(), 1);
    EXPECT_EQ(paperCombo()->count(), 0);
    EXPECT_EQ(sizeLabel(), QStringLiteral("Unable to get paper size"));

    choose(printerCombo(), 2);
    EXPECT_EQ(papers(), (QStringList{kKaku2, kA4, kKaku2Rotated}));
    EXPECT_EQ(paperCombo()->currentText(), kKaku2Rotated);
    EXPECT_EQ(dialog->selectedPaperRow(), 81);
    EXPECT_EQ(sizeLabel(), QStringLiteral(" 332.00 mm X 240.00 mm"));
}

TEST_F(PrintDialogTest, AllSizesAndCustomSizeModes)
{
    printers.names = {QStringLiteral("P"), QStringLiteral("Q")};
    printers.papersOf[QStringLiteral("P")] = {9, {9, 1}};
    printers.papersOf[QStringLiteral("Q")] = {11, {11, 9}};
    open();
    ASSERT_EQ(paperCombo()->currentText(), kA4);

    // Custom mode alone changes only the radio states; Apply shapes the frame, the list stays.
    // The sides take digits only.
    type("customWidth", QStringLiteral("1-00"));
    type("customHeight", QStringLiteral("3.0x0"));
    EXPECT_EQ(get<QLineEdit>("customWidth")->text() + " " + get<QLineEdit>("customHeight")->text(), "100 300");
    click("customPaperSize");
    EXPECT_TRUE(get<QRadioButton>("customPaperSize")->isChecked());
    EXPECT_FALSE(get<QRadioButton>("residentPaperSizes")->isChecked());
    EXPECT_EQ(frame(), QRect(530, 250, 353, 250)) << "still the A4 frame";
    click("applyCustomSize");
    EXPECT_EQ(frame(), QRect(530, 250, 420, 140));
    EXPECT_EQ(papers(), (QStringList{kA4, kLetter}));
    EXPECT_EQ(sizeLabel(), QStringLiteral(" 210.00 mm X 297.00 mm"));
    click("portrait");
    EXPECT_EQ(frame(), QRect(530, 250, 83, 250));
    // A change to a printer of other papers in custom mode touches no list.
    choose(printerCombo(), 1);
    EXPECT_EQ(papers(), (QStringList{kA4, kLetter}));

    // All sizes: the whole table with the paper of the printer last read selected (A4, not the
    // first row); the frame keeps the custom shape.
    type("customWidth", QStringLiteral("0"));
    click("allPaperSizes");
    EXPECT_EQ(paperCombo()->count(), 118);
    EXPECT_EQ(paperCombo()->currentIndex(), 8);
    EXPECT_EQ(sizeLabel(), QStringLiteral(" 210.00 mm X 297.00 mm"));
    EXPECT_EQ(frame(), QRect(530, 250, 83, 250));
    choose(paperCombo(), 88);
    EXPECT_EQ(sizeLabel(), QStringLiteral(" 105.00 mm X 235.00 mm"));
    EXPECT_EQ(frame(), QRect(530, 250, 111, 250));

    // Back to the printer's papers; a custom size without width leaves the frame as it was.
    click("residentPaperSizes");
    EXPECT_EQ(papers(), (QStringList{QStringLiteral("A5 sheet 148 x 210 mm"), kA4}));
    click("applyCustomSize");
    EXPECT_EQ(frame(), QRect(530, 250, 176, 250)) << "the A5 frame in portrait";
}

TEST_F(PrintDialogTest, EveryPaperRowPrintsOnAPageOfItsOwnSize)
{
    printers.names = {QStringLiteral("P")};
    printers.outputFile = folder.file(QStringLiteral("page.pdf"));
    open();
    click("portrait");
    click("allPaperSizes");
    for (int row = 0; row < kPaperRowCount; ++row) {
        const PaperSizeEntry& paper = paperSizeTable()[row];
        choose(paperCombo(), row);
        click("print");
        const auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(QString::fromLatin1(folder.read(QStringLiteral("page.pdf"))));
        ASSERT_TRUE(box.hasMatch()) << paper.name;
        EXPECT_NEAR(box.captured(1).toDouble(), paper.width / 254.0 * 72, 1.5) << paper.name;
        EXPECT_NEAR(box.captured(2).toDouble(), paper.height / 254.0 * 72, 1.5) << paper.name;
    }
}

TEST_F(PrintDialogTest, EnterPressesTheFocusedPrintOrApplyAndPrintsAtThePrintersResolution)
{
    printers.names = {QStringLiteral("P"), QStringLiteral("Q")};
    printers.dpiOf[QStringLiteral("P")] = 300;
    printers.outputFile = folder.file(QStringLiteral("page.pdf"));
    open();
    const auto enterOn = [this](const char* name) {
        get<QWidget>(name)->setFocus();
        QTest::keyClick(get<QWidget>(name), Qt::Key_Return);
    };
    type("scalingEdit", QStringLiteral("50"));
    enterOn("applyScaling");
    enterOn("applyCustomSize");
    EXPECT_EQ(get<QSlider>("scaling")->value(), 20);
    EXPECT_EQ(get<QLineEdit>("scalingEdit")->text(), QStringLiteral("20")) << "the edit shows the clamped value";
    EXPECT_TRUE(get<QRadioButton>("customPaperSize")->isChecked());
    // Scale 20 at 300 dpi: an eighth of the width, so the bar shows step 1, then 8 of 8.
    QSignalSpy moves(get<QProgressBar>("progress"), &QProgressBar::valueChanged);
    enterOn("print");
    EXPECT_EQ(moves, (QList<QVariantList>{{1}, {8}}));
    EXPECT_EQ(get<QProgressBar>("progress")->maximum(), 8);
    // A printer that states no resolution prints at 600 dpi.
    choose(printerCombo(), 1);
    click("print");
    choose(printerCombo(), 0);
    click("print");
    EXPECT_EQ(printers.createdDpi, (QList<int>{300, 600, 300}));
    // A printer that cannot take the page says so.
    printers.outputFile = folder.file(QStringLiteral("no/such/folder/page.pdf"));
    click("print");
    ASSERT_FALSE(desktop.messages().empty());
    EXPECT_EQ(desktop.messages().back().text, "Could not print on " + printerCombo()->currentText() + ".");
    enterOn("topMargin");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(PrintDialogTest, ApplyClampsTheScaleAndThePreviewFollowsScaleAndMargins)
{
    printers.names = {QStringLiteral("P")};
    printers.papersOf[QStringLiteral("P")] = {9, {9}};
    // Pictures of one size in bytes: the one file can hold either without its size telling.
    const auto jpeg = [](Qt::GlobalColor colour) {
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(colour);
        QBuffer buffer;
        return image.save(&buffer, "JPG") ? buffer.data().leftJustified(30000, '\0') : QByteArray();
    };
    folder.write(QStringLiteral("auto.jpg"), jpeg(Qt::red));
    open();

    type("scalingEdit", QStringLiteral("0"));
    click("applyScaling");
    EXPECT_EQ(get<QSlider>("scaling")->value(), 1);
    get<QSlider>("scaling")->setValue(7);
    EXPECT_EQ(get<QLineEdit>("scalingEdit")->text(), QStringLiteral("7")) << "the edit follows the trackbar";

    // A4 portrait, scale 5, one inch left margin: the picture starts 20 pixels into the frame,
    // 3 pixels below its top, and is the frame's width less 6 wide.
    get<QSlider>("scaling")->setValue(5);
    type("leftMargin", QStringLiteral("600"));
    click("portrait");
    const QImage shot = dialog->grab().toImage();
    const auto redAt = [&shot](int x, int y) { return shot.pixelColor(x, y).red() > 200 && shot.pixelColor(x, y).green() < 60; };
    EXPECT_FALSE(redAt(530 + 19, 250 + 40));
    EXPECT_TRUE(redAt(530 + 20, 250 + 40));
    EXPECT_TRUE(redAt(530 + 169, 250 + 40));
    EXPECT_FALSE(redAt(530 + 170, 250 + 40));
    EXPECT_TRUE(redAt(530 + 40, 250 + 3));
    EXPECT_FALSE(redAt(530 + 40, 250 + 3 + 127));

    // Repaints draw the picture decoded once: a rewrite that leaves the file's size and time as
    // they were is not decoded again; a newer file is.
    QFile file(folder.file(QStringLiteral("auto.jpg")));
    const QDateTime written = QFileInfo(file).lastModified();
    folder.write(QStringLiteral("auto.jpg"), jpeg(Qt::blue));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
    const auto shown = [this] { return dialog->grab().toImage().pixelColor(530 + 40, 250 + 40); };
    EXPECT_GT(shown().red(), 200);
    ASSERT_TRUE(file.setFileTime(written.addSecs(1), QFileDevice::FileModificationTime));
    EXPECT_GT(shown().blue(), 200);
}

} // namespace
