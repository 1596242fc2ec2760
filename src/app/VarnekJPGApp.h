#pragma once
// The application: builds the document, the main frame and the view, follows the command line,
// keeps the recent-file list and answers the application's own commands (New, the recent files,
// About, Exit) and Print Setup.

#include "app/MainFrame.h"
#include "camera/CameraSettings.h"
#include "view/CommandTarget.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <memory>

class CameraLink;
class CVarnekJPGDoc;
class PrintCommands;
class CVarnekJPGView;

class CVarnekJPGApp final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit CVarnekJPGApp(QObject* parent = nullptr);
    ~CVarnekJPGApp() override;

    // Start-up; false ends the program before it runs. arguments as QCoreApplication gives them,
    // the program's name first.
    bool InitInstance(const QStringList& arguments);
    // After the main window has closed: the exit code.
    int ExitInstance(int code = 0);

    bool OnCmdMsg(int id, CCmdUI* ui) override;

    void OnFileNew();
    void OnAppAbout();
    void OnAppExit();
    // Opens a file as the document ("NAME - VarnekJPG") and restarts the timer; false when the
    // file cannot be opened, which also drops it from the recent-file list.
    bool openDocumentFile(const QString& path);
    void addToRecentFileList(const QString& path);
    QStringList recentFiles() const { return m_recentFiles; }

    CMainFrame* mainFrame() const { return m_frame; }
    CVarnekJPGDoc* document() const { return m_document; }
    CVarnekJPGView* view() const { return m_view; }
    CameraLink* link() const { return m_link; }

private:
    void OnOpenRecentFile(int index);
    void storeRecentFiles();
    void installPrintCommands();

    SettingsStore m_store;
    // Outlives the frame: its transfers and workers are aborted and joined after the windows go.
    CameraLink* m_link = nullptr;
    QStringList m_recentFiles;
    QPointer<CMainFrame> m_frame;
    CVarnekJPGDoc* m_document = nullptr;
    CVarnekJPGView* m_view = nullptr;
    CommandMap m_commands;
    std::unique_ptr<PrintCommands> m_print;
    QList<QPixmap> m_treeImages;
};
