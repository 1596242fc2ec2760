#pragma once
// What the print dialog asks of the printing system: the printers, the default one, a printer's
// current paper and the papers it supports (as paper ids of the paper table), the resolution it
// states, and a printer to draw one page on. The CUPS one goes through QPrinterInfo and QPrinter; tests put doubles in its
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
    // The resolution the printer is set to, in dots per inch across; 0 when it states none or
    // cannot be asked. Asked once per printer: it may wait on the printing system.
    virtual int statedResolution(const QString& printer) = 0;
    // A printer with its default settings, composing at dpi, or null when it cannot be had.
    virtual std::unique_ptr<QPrinter> createPrinter(const QString& printer, int dpi) = 0;
};

namespace printing {
// The printing system in use: CUPS unless a test has put another in its place.
PrinterAccess& printerAccess();
// Puts one in place (not owned); nullptr restores the CUPS one.
void setPrinterAccess(PrinterAccess* replacement);
} // namespace printing

namespace printing {
// What a page is composed at for a printer that states `stated` dots per inch: its own
// resolution, or 600 where it states none (or none a page can be composed at).
int printResolution(int stated);
// "600dpi", "300x600dpi", "118dpcm": the dots per inch across; 0 for text that states none.
int resolutionFromText(const QString& text);
// The resolution CUPS states for a printer: the user's own choice of it, else the queue's
// default; 0 when neither is stated or there is no such printer.
int cupsStatedResolution(const QString& printer);
} // namespace printing
