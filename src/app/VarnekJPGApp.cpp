#include "app/VarnekJPGApp.h"

#include "app/AboutDlg.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "app/VarnekJPGDoc.h"
#include "camera/CameraLink.h"
#include "camera/RequestSeams.h"
#include "camera/Transfer.h"
#include "platform/Desktop.h"
#include "print/PrintCommands.h"
#include "sdcard/DialogSDVideo.h"
#include "sdcard/TreeImageList.h"
#include "view/VarnekJPGView.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

#include <memory>

namespace {

// The document named on the command line: the first argument that is no switch.
QString fileArgument(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.isEmpty() && !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return QString();
}

} // namespace

CVarnekJPGApp::CVarnekJPGApp(QObject* parent)
    : QObject(parent)
{
    m_commands.add(cmd::FileNew, [this] { OnFileNew(); });
    m_commands.add(cmd::AppAbout, [this] { OnAppAbout(); });
    m_commands.add(cmd::AppExit, [this] { OnAppExit(); });
    for (int i = 0; i < cmd::RecentFileCount; ++i) {
        m_commands.add(cmd::FileMru1 + i, [this, i] { OnOpenRecentFile(i); },
                       [this, i](CCmdUI& ui) { ui.enable(i < m_recentFiles.size()); });
    }
}

CVarnekJPGApp::~CVarnekJPGApp()
{
    delete m_frame;
    setMessageReporter({});
    // Background fetches end here: their transfers are aborted, their threads joined.
    delete m_link;
}

bool CVarnekJPGApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("VarnekJPG"));
    // Lets the desktop match the window with its applications-menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("varnekjpg"));

    // The camera link reports through the desktop: on this thread in the ordinary box, from a
    // background fetch in a box that blocks no window. Downloads a killed run left half-done are
    // of no use to anyone.
    m_link = new CameraLink;
    CameraLink* link = m_link;
    link->setNoteShower([](const QString& caption, const QString& text, std::function<void()> closed) {
        platform::desktop().showNote(caption, text, std::move(closed));
    });
    setMessageReporter([link](const QString& caption, const QString& text) {
        if (QThread::currentThread() == link->thread())
            platform::desktop().messageBox(caption, text);
        else
            link->report(caption, text);
    });
    removeLeftoverDownloads(platform::programFolder());

    // The recent-file list lives in the user's settings file beside the camera settings.
    m_recentFiles = m_store.recentFiles();
    while (m_recentFiles.size() > cmd::RecentFileCount)
        m_recentFiles.removeLast();

    // Document, frame with its bars, and the view, whose construction finds auto.jpg's place and
    // loads the camera settings.
    m_document = new CVarnekJPGDoc(this);
    m_frame = new CMainFrame;
    m_view = new CVarnekJPGView(m_frame, m_link);
    m_view->setDocument(m_document);
    m_frame->setCentralWidget(m_view);
    m_frame->setFocusProxy(m_view);
    m_frame->setRouting(m_view, m_document, this);
    m_frame->setRecentFiles(m_recentFiles, platform::programFolder());
    connect(m_document, &CVarnekJPGDoc::titleChanged, m_frame, &CMainFrame::OnUpdateFrameTitle);
    connect(m_document, &CVarnekJPGDoc::addToRecentFileList, this, &CVarnekJPGApp::addToRecentFileList);
    connect(m_view, &CVarnekJPGView::commandStateChanged, m_frame, &CMainFrame::updateCommandUI);
    // Closing the main window ends every chain of requests at once, so the program can end.
    connect(m_frame, &CMainFrame::closed, m_link, &CameraLink::close);
    installPrintCommands();
    // SD > Video opens the recordings browser, which borrows the tree images the opener keeps.
    // The dialog is the frame's and goes with it, before the images it borrows.
    m_treeImages = cutTreeImages(drawTreeBoundsStrip());
    m_view->SetSdVideoDialogOpener([this] {
        auto* dialog = new CDialogSDVideo(m_frame, m_link);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->SetTreeImageList(&m_treeImages);
        dialog->open();
    });

    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        m_document->OnNewDocument();
        m_view->OnInitialUpdate();
    } else if (!openDocumentFile(file)) {
        delete m_frame;
        m_view = nullptr;
        return false;
    }

    m_frame->show();
    m_view->setFocus();
    return true;
}

void CVarnekJPGApp::installPrintCommands()
{
    // Print... and the framework's print commands pause the view's timer around their dialogs;
    // preview and direct print draw what the view draws.
    CVarnekJPGView* view = m_view;
    m_print = std::make_unique<PrintCommands>(PrintSource{
        view, [view] { view->Pause(); }, [view] { view->Resume(); },
        [view] { return view->snapshotTimer().running(); },
        [view](QPainter& painter, int clientWidth) { view->OnDraw(painter, clientWidth); }});
    m_view->addCommand(cmd::FilePrint, [this] { m_print->OnFilePrintDialog(); });
    m_view->addCommand(cmd::FilePrintDirect, [this] { m_print->OnFilePrint(); });
    m_view->addCommand(cmd::FilePrintPreview, [this] { m_print->OnFilePrintPreview(); });
    m_commands.add(cmd::FilePrintSetup, [this] { m_print->OnFilePrintSetup(); });
}

int CVarnekJPGApp::ExitInstance(int code)
{
    return code;
}

bool CVarnekJPGApp::OnCmdMsg(int id, CCmdUI* ui)
{
    return m_commands.dispatch(id, ui);
}

void CVarnekJPGApp::OnFileNew()
{
    // The document is never modified, so nothing is asked: the same document starts afresh.
    m_document->OnNewDocument();
    m_view->OnInitialUpdate();
}

void CVarnekJPGApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame);
    dialog.exec();
}

void CVarnekJPGApp::OnAppExit()
{
    if (m_frame)
        m_frame->close();
}

bool CVarnekJPGApp::openDocumentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!m_document->pathName().isEmpty() && m_document->pathName() == absolute)
        return true; // already the document
    if (!m_document->OnOpenDocument(absolute)) {
        platform::desktop().messageBox(QCoreApplication::applicationName(),
                                       tr("Failed to open document."), platform::MessageIcon::Warning);
        m_recentFiles = withoutRecentFile(m_recentFiles, absolute);
        storeRecentFiles();
        return false;
    }
    m_document->setPathName(absolute);
    m_view->OnInitialUpdate();
    return true;
}

void CVarnekJPGApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.size())
        return;
    openDocumentFile(m_recentFiles.at(index));
}

void CVarnekJPGApp::addToRecentFileList(const QString& path)
{
    m_recentFiles = withRecentFile(m_recentFiles, path);
    storeRecentFiles();
}

void CVarnekJPGApp::storeRecentFiles()
{
    m_store.setRecentFiles(m_recentFiles);
    if (m_frame)
        m_frame->setRecentFiles(m_recentFiles, platform::programFolder());
}
