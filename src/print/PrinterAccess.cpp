#include "print/PrinterAccess.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

// Qt composes every print as a PDF at this resolution unless told the printer's own.
constexpr int kFallbackResolution = 1200;

class CupsPrinterAccess final : public PrinterAccess {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }

    std::optional<PrinterPapers> papers(const QString& printer) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        if (info.isNull())
            return std::nullopt;
        PrinterPapers result;
        result.currentPaperId = static_cast<short>(info.defaultPageSize().windowsId());
        // Qt lists some papers under several names (US Letter and ANSI A): one entry per id.
        for (const QPageSize& size : info.supportedPageSizes()) {
            const short id = static_cast<short>(size.windowsId());
            if (!result.paperIds.contains(id))
                result.paperIds.append(id);
        }
        return result;
    }

    std::unique_ptr<QPrinter> createPrinter(const QString& printer) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        if (info.isNull())
            return nullptr;
        auto result = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        const int dpi = cupsDefaultResolution(printer);
        result->setResolution(dpi > 0 ? dpi : kFallbackResolution);
        return result;
    }
};

CupsPrinterAccess& cupsAccess()
{
    static CupsPrinterAccess access;
    return access;
}

PrinterAccess* g_replacement = nullptr;

} // namespace

namespace printing {

PrinterAccess& printerAccess()
{
    return g_replacement ? *g_replacement : cupsAccess();
}

void setPrinterAccess(PrinterAccess* replacement)
{
    g_replacement = replacement;
}

} // namespace printing

int cupsDefaultResolution(const QString& printer)
{
    // Qt keeps the printer's configured resolution to itself; lpoptions shows it, starred.
    QProcess lpoptions;
    lpoptions.start(QStringLiteral("lpoptions"), {QStringLiteral("-p"), printer, QStringLiteral("-l")});
    if (!lpoptions.waitForFinished(5000) || lpoptions.exitCode() != 0)
        return 0;
    static const QRegularExpression starred(QStringLiteral("^Resolution/.*\\*(\\d+)(?:x\\d+)?dpi"),
                                            QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = starred.match(QString::fromLocal8Bit(lpoptions.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
