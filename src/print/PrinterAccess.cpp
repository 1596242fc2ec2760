#include "print/PrinterAccess.h"

#include "print/PrintLayout.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <cups/cups.h>

#include <memory>

namespace {

// The resolution of a printer that states none: the one the layout is made for.
constexpr int kUnstatedResolution = 600;

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

    int statedResolution(const QString& printer) override { return printing::cupsStatedResolution(printer); }

    std::unique_ptr<QPrinter> createPrinter(const QString& printer, int dpi) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        if (info.isNull())
            return nullptr;
        auto result = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        // Qt composes a CUPS print at 1200 dpi unless told the printer's own.
        result->setResolution(dpi);
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

namespace printing {

int printResolution(int stated)
{
    return stated > 0 && stated <= kMaxResolution ? stated : kUnstatedResolution;
}

int resolutionFromText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,6})(?:x\\d{1,6})?(dpi|dpcm)\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return 0;
    const int across = match.captured(1).toInt();
    return match.captured(2) == QLatin1String("dpcm") ? static_cast<int>(across * 2.54 + 0.5) : across;
}

int cupsStatedResolution(const QString& printer)
{
    const QByteArray name = printer.toUtf8();
    const std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr),
        [](cups_dest_t* d) { cupsFreeDests(1, d); });
    if (!dest)
        return 0;
    // The user's own default (lpoptions) comes first, as it does for every job of theirs.
    for (const char* option : {"Resolution", "printer-resolution"}) {
        if (const char* value = cupsGetOption(option, dest->num_options, dest->options))
            if (const int dpi = resolutionFromText(QString::fromUtf8(value)))
                return dpi;
    }
    const std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()), cupsFreeDestInfo);
    if (!info)
        return 0;
    ipp_attribute_t* resolution = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "printer-resolution");
    if (!resolution || ippGetValueTag(resolution) != IPP_TAG_RESOLUTION)
        return 0;
    int vertical = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int across = ippGetResolution(resolution, 0, &vertical, &units);
    return units == IPP_RES_PER_CM ? static_cast<int>(across * 2.54 + 0.5) : across;
}

} // namespace printing
