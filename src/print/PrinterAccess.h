#pragma once
// What the print dialog asks of the printing system: the printers, the default one, a printer's
// current paper and the papers it supports (as paper ids of the paper table), and a printer to
// draw one page on. The CUPS one goes through QPrinterInfo and QPrinter; tests put doubles in its
// place to play printers that are hard to come by.

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;

struct PrinterPapers {
    short currentPaperId = 0; // the paper of the printer's current default settings
    QList<short> paperIds;    // the papers it supports, in its own order, each once
};

class PrinterAccess {
public:
    virtual ~PrinterAccess() = default;
    virtual QStringList printerNames() = 0;
    // Empty when there is no default printer.
    virtual QString defaultPrinterName() = 0;
    // Nothing when the printer cannot be opened or its settings read.
    virtual std::optional<PrinterPapers> papers(const QString& printer) = 0;
    // A printer set to its own resolution and default settings, or null when it cannot be had.
    virtual std::unique_ptr<QPrinter> createPrinter(const QString& printer) = 0;
};

namespace printing {
// The printing system in use: CUPS unless a test has put another in its place.
PrinterAccess& printerAccess();
// Puts one in place (not owned); nullptr restores the CUPS one.
void setPrinterAccess(PrinterAccess* replacement);
} // namespace printing

// The default resolution a CUPS printer is set to ("*600dpi" in its Resolution option), 0 when it
// publishes none.
int cupsDefaultResolution(const QString& printer);
