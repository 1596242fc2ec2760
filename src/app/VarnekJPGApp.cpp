#include "app/VarnekJPGApp.h"

#include "app/AboutDlg.h"
#include "app/CameraSeams.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "app/VarnekJPGDoc.h"
#include "camera/Transfer.h"
#include "platform/Desktop.h"
#include "view/VarnekJPGView.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

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
                       [this, i](CCmdUI& ui) { ui.Enable(i < m_recentFiles.size()); });
    }
}

CVarnekJPGApp::~CVarnekJPGApp()
{
    delete m_frame;
}

bool CVarnekJPGApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("VarnekJPG"));
    // Lets the desktop match the window with its applications-menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("varnekjpg"));

    // The camera link reports and waits through the desktop; downloads a killed run left
    // half-done are of no use to anyone.
    installCameraSeams();
    removeLeftoverDownloads(platform::programFolder());

    // The recent-file list lives in the user's settings file beside the camera settings.
    m_recentFiles = m_store.recentFiles();
    while (m_recentFiles.size() > kRecentFileMax)
        m_recentFiles.removeLast();

    // Document, frame with its bars, and the view, whose construction finds auto.jpg's place and
    // loads the camera settings.
    m_document = new CVarnekJPGDoc(this);
    m_frame = new CMainFrame;
    m_view = new CVarnekJPGView(m_frame);
    m_view->SetDocument(m_document);
    m_frame->setCentralWidget(m_view);
    m_frame->setFocusProxy(m_view);
    m_frame->SetRouting(m_view, m_document, this);
    m_frame->SetRecentFiles(m_recentFiles, platform::programFolder());
    connect(m_document, &CVarnekJPGDoc::titleChanged, m_frame, &CMainFrame::OnUpdateFrameTitle);
    connect(m_document, &CVarnekJPGDoc::addToRecentFileList, this, &CVarnekJPGApp::AddToRecentFileList);
    connect(m_view, &CVarnekJPGView::commandStateChanged, m_frame, &CMainFrame::UpdateCommandUI);
    // The recordings browser of the "&SD" menu is connected here with
    // m_view->SetSdVideoDialogOpener() once it exists.

    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        m_document->OnNewDocument();
        m_view->OnInitialUpdate();
    } else if (!OpenDocumentFile(file)) {
        delete m_frame;
        m_view = nullptr;
        return false;
    }

    m_frame->show();
    m_view->setFocus();
    return true;
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

bool CVarnekJPGApp::OpenDocumentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!m_document->GetPathName().isEmpty() && m_document->GetPathName() == absolute)
        return true; // already the document
    if (!m_document->OnOpenDocument(absolute)) {
        platform::desktop().messageBox(QCoreApplication::applicationName(),
                                       tr("Failed to open document."), platform::MessageIcon::Warning);
        m_recentFiles = withoutRecentFile(m_recentFiles, absolute);
        storeRecentFiles();
        return false;
    }
    m_document->SetPathName(absolute);
    m_view->OnInitialUpdate();
    return true;
}

void CVarnekJPGApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.size())
        return;
    OpenDocumentFile(m_recentFiles.at(index));
}

void CVarnekJPGApp::AddToRecentFileList(const QString& path)
{
    m_recentFiles = withRecentFile(m_recentFiles, path);
    storeRecentFiles();
}

void CVarnekJPGApp::storeRecentFiles()
{
    m_store.setRecentFiles(m_recentFiles);
    if (m_frame)
        m_frame->SetRecentFiles(m_recentFiles, platform::programFolder());
}
