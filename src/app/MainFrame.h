#pragma once
// The main window: menu bar, toolbar and status bar built from the command table, and the
// routing of every command along view, document, frame and application.

#include "view/CommandTarget.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <map>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame final : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The targets a command visits after none before them had a handler: view, document, this
    // frame, application. Any of them may be null.
    void setRouting(CommandTarget* view, CommandTarget* document, CommandTarget* application);
    // Runs a command as if chosen: false when no target has a handler (the item is disabled then).
    bool routeCommand(int id);
    // The state its menu item and toolbar button show.
    CCmdUI commandState(int id);
    // Brings every menu item and toolbar button up to date with its handler.
    void updateCommandUI();

    bool OnCmdMsg(int id, CCmdUI* ui) override;

    // "NAME - VarnekJPG".
    void OnUpdateFrameTitle(const QString& documentTitle);
    // The File menu's recent-file entries.
    void setRecentFiles(const QStringList& files, const QString& programFolder);

    QAction* action(int id) const;
    QToolBar* toolBar() const { return m_toolBar; }
    QLabel* readyPane() const { return m_ready; }
    QLabel* indicatorPane(int index) const; // 0 CAP, 1 NUM, 2 SCRL
    // Reads the keyboard's lock lights into the indicators.
    void updateIndicators();
    // Where the lock lights are read (the system's folder unless told otherwise).
    void setIndicatorSource(const QString& ledsFolder);

signals:
    // The user closed the main window: the program is ending.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void updateMenu(QMenu* menu);

    std::map<int, QAction*> m_actions;
    std::vector<QAction*> m_recentActions;
    QAction* m_recentPlaceholder = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_ready = nullptr;
    QLabel* m_indicators[3] = {nullptr, nullptr, nullptr};
    QTimer m_indicatorTimer;
    QString m_ledsFolder;
    CommandTarget* m_view = nullptr;
    CommandTarget* m_document = nullptr;
    CommandTarget* m_application = nullptr;
    CommandMap m_commands;
};
