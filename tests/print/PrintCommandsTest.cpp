// The File menu's print commands on the running program: the print dialog and the framework's
// setup, preview and direct print, each with the snapshot timer stopped while it runs.
#include "app/AppFixture.h"
#include "view/CommandIds.h"
#include "PrintFixture.h"

#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

namespace {

const QString kPaused = QStringLiteral("VarnekJPG timer paused");
const QString kRunning = QStringLiteral("VarnekJPG timer running 1 second");
const QString kOff = QStringLiteral("VarnekJPG The timer is off");

class PrintCommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        printers.names = {QStringLiteral("Office"), QStringLiteral("PDF file")};
        printers.defaultName = QStringLiteral("PDF file");
        printers.papersOf[QStringLiteral("PDF file")] = {9, {1, 9}};
        printers.outputFile = folder.file(QStringLiteral("printed.pdf"));
        ASSERT_TRUE(start());
    }

    // Runs a command whose modal dialog `check` inspects while it is open, then closes.
    template <typename Dialog>
    void runWithDialog(int command, const std::function<void(Dialog&)>& check)
    {
        bool seen = false;
        whenModalOpen<Dialog>([&](Dialog& dialog) {
            seen = true;
            EXPECT_FALSE(view->windowTimer().isActive()) << "the timer waits while the dialog is open";
            EXPECT_EQ(frame->windowTitle(), kPaused);
            check(dialog);
            dialog.reject();
        });
        EXPECT_TRUE(frame->routeCommand(command));
        EXPECT_TRUE(seen) << command;
        EXPECT_TRUE(settled(*app->link())); // the timer's first fetch after the dialog
    }

    FakePrinters printers;
};

TEST_F(PrintCommandsTest, PrintOpensTheDialogWithTheTimerPausedAndRestartsItUnlessItWasOff)
{
    for (const int command : {cmd::FilePrint, cmd::FilePrintDirect, cmd::FilePrintPreview, cmd::FilePrintSetup})
        EXPECT_TRUE(frame->commandState(command).enabled) << command;

    runWithDialog<CPrintDlg>(cmd::FilePrint, [](CPrintDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VarnekJPG Print"));
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("printerList"))->currentText(), QStringLiteral("PDF file"));
    });
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(frame->windowTitle(), kRunning);

    // Switched off before: it stays off and the title keeps saying paused.
    frame->routeCommand(cmd::TimerOff);
    runWithDialog<CPrintDlg>(cmd::FilePrint, [](CPrintDlg&) {});
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), kPaused);
}

TEST_F(PrintCommandsTest, SetupPreviewAndDirectPrintPauseTheTimerAndLeaveItAsItWas)
{
    for (const QString& before : {kRunning, kOff}) {
        SCOPED_TRACE(before.toStdString());
        if (before == kOff)
            frame->routeCommand(cmd::TimerOff);
        runWithDialog<QPageSetupDialog>(cmd::FilePrintSetup, [this](QPageSetupDialog& dialog) {
            EXPECT_EQ(dialog.printer()->outputFileName(), printers.outputFile) << "the default printer's setup";
        });
        EXPECT_EQ(frame->windowTitle(), before);
        runWithDialog<QPrintPreviewDialog>(cmd::FilePrintPreview, [](QPrintPreviewDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(preview, nullptr);
            preview->updatePreview();
            EXPECT_EQ(preview->pageCount(), 1);
        });
        EXPECT_EQ(frame->windowTitle(), before);
        EXPECT_EQ(view->windowTimer().isActive(), before == kRunning);
    }

    ASSERT_TRUE(folder.exists(QStringLiteral("auto.jpg")));
    EXPECT_TRUE(frame->routeCommand(cmd::FilePrintDirect));
    EXPECT_EQ(printers.created, QStringList{QStringLiteral("PDF file")}) << "the default printer, once";
    EXPECT_TRUE(folder.read(QStringLiteral("printed.pdf")).startsWith("%PDF")) << "printed without a dialog";
    EXPECT_EQ(frame->windowTitle(), kOff);
    EXPECT_FALSE(view->windowTimer().isActive());
}

} // namespace
