#include "print/PrintCommands.h"

#include "platform/Desktop.h"
#include "print/PrintDlg.h"
#include "print/PrinterAccess.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace {

// Stops the snapshot timer for as long as it lives. Afterwards the timer runs again at its
// setting; or, asBefore, it is left as it was found: running again with its title, or stopped
// under the title the window had, not "paused" for good.
class TimerPause final {
public:
    TimerPause(const PrintSource& source, bool asBefore) : m_source(source)
    {
        m_restart = !asBefore || !m_source.timerRunning || m_source.timerRunning();
        if (m_source.window)
            m_title = m_source.window->window()->windowTitle();
        if (m_source.pause)
            m_source.pause();
    }
    ~TimerPause()
    {
        if (m_restart) {
            if (m_source.resume)
                m_source.resume();
        } else if (m_source.window && !m_source.timerRunning()) {
            // Unless something else has started it meanwhile (Open's delayed resume): then its
            // title is the right one.
            m_source.window->window()->setWindowTitle(m_title);
        }
    }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    const PrintSource& m_source;
    bool m_restart = true;
    QString m_title;
};

} // namespace

PrintCommands::PrintCommands(PrintSource source)
    : m_source(std::move(source))
{
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::OnFilePrintDialog()
{
    CPrintDlg dialog(m_source.window);
    TimerPause pause(m_source, false);
    dialog.EnumeratePrinters();
    dialog.setProgramFolder(platform::programFolder());
    dialog.exec();
}

QPrinter& PrintCommands::printer()
{
    if (!m_printer) {
        const QString name = printing::printerAccess().defaultPrinterName();
        PrinterAccess& access = printing::printerAccess();
        if (!name.isEmpty())
            m_printer = access.createPrinter(name, printing::printResolution(access.statedResolution(name)));
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

void PrintCommands::OnFilePrintSetup()
{
    TimerPause pause(m_source, true);
    QPageSetupDialog dialog(&printer(), m_source.window);
    dialog.exec();
}

void PrintCommands::drawOnPage(QPrinter& target)
{
    QPainter painter;
    if (!painter.begin(&target))
        return;
    // The window's drawing at the window's width, stretched to the page's printable width.
    const int windowWidth = m_source.window && m_source.window->width() > 0 ? m_source.window->width() : 640;
    const qreal pageWidth = target.pageRect(QPrinter::DevicePixel).width();
    const qreal factor = pageWidth / windowWidth;
    painter.scale(factor, factor);
    if (m_source.draw)
        m_source.draw(painter, windowWidth);
    painter.end();
}

void PrintCommands::OnFilePrintPreview()
{
    TimerPause pause(m_source, true);
    QPrintPreviewDialog dialog(&printer(), m_source.window);
    dialog.setWindowTitle(QObject::tr("Print Preview"));
    // Large enough to read the page without zooming first.
    if (const QScreen* screen = dialog.screen())
        dialog.resize(dialog.size().expandedTo(screen->availableSize() * 0.8).boundedTo(QSize(900, 1000)));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [this](QPrinter* target) { drawOnPage(*target); });
    dialog.exec();
}

void PrintCommands::OnFilePrint()
{
    TimerPause pause(m_source, true);
    if (printing::printerAccess().defaultPrinterName().isEmpty())
        return; // nowhere to print
    QPrinter& target = printer();
    target.setDocName(QStringLiteral("VarnekJPG"));
    drawOnPage(target);
}
