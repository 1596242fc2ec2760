#pragma once
// Printers played by a double, and the print dialog opened on them in a fresh program folder.

#include "platform/RecordingDesktop.h"
#include "print/PaperSizeTable.h"
#include "print/PrintDlg.h"
#include "print/PrinterAccess.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QRect& r, std::ostream* out)
{
    *out << "(" << r.x() << ", " << r.y() << " " << r.width() << " x " << r.height() << ")";
}

// Every printer of the double prints into one PDF file, at the resolution the dialog asks for.
class FakePrinters final : public PrinterAccess {
public:
    FakePrinters() { printing::setPrinterAccess(this); }
    ~FakePrinters() override { printing::setPrinterAccess(nullptr); }
    QStringList printerNames() override { return names; }
    QString defaultPrinterName() override { return defaultName; }
    std::optional<PrinterPapers> papers(const QString& printer) override
    {
        const auto it = papersOf.find(printer);
        return it == papersOf.end() ? std::nullopt : std::optional<PrinterPapers>(it->second);
    }
    // Asked on the dialog's own threads: it only reads.
    int statedResolution(const QString& printer) override { return dpiOf.contains(printer) ? dpiOf.at(printer) : 0; }
    std::unique_ptr<QPrinter> createPrinter(const QString& printer, int dpi) override
    {
        if (!names.contains(printer))
            return nullptr;
        auto result = std::make_unique<QPrinter>(QPrinter::HighResolution);
        result->setOutputFileName(outputFile);
        result->setResolution(dpi);
        created.append(printer);
        createdDpi.append(dpi);
        return result;
    }

    QStringList names;
    QString defaultName;
    std::map<QString, PrinterPapers> papersOf;
    std::map<QString, int> dpiOf; // what each printer states; none for the others
    QString outputFile;
    QStringList created;
    QList<int> createdDpi;
};

class PrintDialogTest : public ::testing::Test {
protected:
    // As File > Print opens it: printers enumerated first, then the first show.
    void open()
    {
        dialog = std::make_unique<CPrintDlg>();
        dialog->EnumeratePrinters();
        dialog->setProgramFolder(folder.path());
        dialog->show();
    }
    template <typename Widget>
    Widget* get(const char* name) const { return dialog->findChild<Widget*>(QString::fromLatin1(name)); }
    QComboBox* printerCombo() const { return get<QComboBox>("printerList"); }
    QComboBox* paperCombo() const { return get<QComboBox>("paperList"); }
    QString sizeLabel() const { return get<QLabel>("sizeLabel")->text(); }
    QRect frame() const { return get<QFrame>("previewFrame")->geometry(); }
    QStringList papers() const
    {
        QStringList names;
        for (int i = 0; i < paperCombo()->count(); ++i)
            names << paperCombo()->itemText(i);
        return names;
    }
    void choose(QComboBox* list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // Near the left end, where a radio button's indicator and text take clicks.
    void click(const char* name)
    {
        QAbstractButton* button = get<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    // As typed on the keyboard, so that a field's own rules apply.
    void type(const char* name, const QString& text)
    {
        get<QLineEdit>(name)->clear();
        QTest::keyClicks(get<QLineEdit>(name), text);
    }

    TempFolder folder;
    platform::RecordingDesktop desktop;
    FakePrinters printers;
    std::unique_ptr<CPrintDlg> dialog;
};
