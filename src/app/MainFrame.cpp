#include "app/MainFrame.h"

#include <QCloseEvent>

#include "app/Artwork.h"
#include "app/CommandTable.h"
#include "app/KeyboardLocks.h"
#include "app/RecentFileList.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QString tableText(const char* text)
{
    return text ? QCoreApplication::translate(kCommandContext, text) : QString();
}

constexpr int kIndicatorIntervalMs = 250;

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , m_ledsFolder(kLedsFolder)
{
    setWindowIcon(programIcon());
    // A first size as a desktop gives a new window: three quarters of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size();
        resize(available.width() * 3 / 4, available.height() * 3 / 4);
    }

    m_commands.add(cmd::ViewToolbar, [this] { m_toolBar->setVisible(m_toolBar->isHidden()); },
                   [this](CCmdUI& ui) { ui.setCheck(!m_toolBar->isHidden()); });
    m_commands.add(cmd::ViewStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); },
                   [this](CCmdUI& ui) { ui.setCheck(!statusBar()->isHidden()); });

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    updateCommandUI();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createActions()
{
    for (const CommandRow& row : commandTable()) {
        if (row.id == 0 || row.id == cmd::FileMru1)
            continue;
        auto* act = new QAction(this);
        act->setData(row.id);
        QString text = tableText(row.text ? row.text : row.tip);
        if (row.shortcut)
            text += QLatin1Char('\t') + tableText(row.shortcut);
        act->setText(text);
        act->setStatusTip(tableText(row.prompt));
        if (row.tip)
            act->setToolTip(tableText(row.tip));
        if (row.image >= 0)
            act->setIcon(QIcon(QPixmap::fromImage(toolbarImage(row.image))));
        // Shortcuts work wherever in the window the focus is, menu or not.
        addAction(act);
        connect(act, &QAction::triggered, this, [this, id = row.id] { routeCommand(id); });
        m_actions[row.id] = act;
    }

    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : acceleratorTable())
        keys[accelerator.id].append(QKeySequence(accelerator.key));
    for (auto& [id, sequences] : keys) {
        if (QAction* act = action(id))
            act->setShortcuts(sequences);
    }

    // The recent files take the numbers after the first one's; they show only when listed.
    for (int i = 0; i < cmd::RecentFileCount; ++i) {
        const int id = cmd::FileMru1 + i;
        auto* act = new QAction(this);
        act->setData(id);
        act->setStatusTip(tableText(commandRow(cmd::FileMru1)->prompt));
        act->setVisible(false);
        connect(act, &QAction::triggered, this, [this, id] { routeCommand(id); });
        m_actions[id] = act;
        m_recentActions.push_back(act);
    }
}

void CMainFrame::createMenus()
{
    QMenu* menu = nullptr;
    const char* title = nullptr;
    for (const CommandRow& row : commandTable()) {
        if (!row.menu)
            continue;
        if (!title || qstrcmp(title, row.menu) != 0) {
            title = row.menu;
            menu = menuBar()->addMenu(tableText(row.menu));
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateMenu(menu); });
        }
        if (row.id == 0) {
            menu->addSeparator();
        } else if (row.id == cmd::FileMru1) {
            // Greyed until there is a file to list.
            m_recentPlaceholder = menu->addAction(tableText(row.text));
            m_recentPlaceholder->setEnabled(false);
            for (QAction* recent : m_recentActions)
                menu->addAction(recent);
        } else {
            menu->addAction(action(row.id));
        }
    }
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("toolbar"));
    m_toolBar->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : toolbarLayout()) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(action(id));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    // Pane 0 says "Ready" when idle; prompts and the timer's notes show over it as messages.
    m_ready = new QLabel(tr("Ready"), bar);
    bar->addWidget(m_ready, 1);
    const char* names[] = {QT_TR_NOOP("CAP"), QT_TR_NOOP("NUM"), QT_TR_NOOP("SCRL")};
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QString::fromLatin1(names[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(tr(names[i])) + 12);
        bar->addPermanentWidget(pane);
        m_indicators[i] = pane;
    }
    updateIndicators();
    connect(&m_indicatorTimer, &QTimer::timeout, this, &CMainFrame::updateIndicators);
    m_indicatorTimer.start(kIndicatorIntervalMs);
}

QLabel* CMainFrame::indicatorPane(int index) const
{
    return index >= 0 && index < 3 ? m_indicators[index] : nullptr;
}

void CMainFrame::updateIndicators()
{
    const LockState state = readLockState(m_ledsFolder);
    const bool lit[] = {state.capsLock, state.numLock, state.scrollLock};
    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        // An unlit indicator shows an empty pane, so a glance finds only the locks that are on.
        const QString text = lit[i] ? tr(names[i]) : QString();
        if (m_indicators[i]->text() != text)
            m_indicators[i]->setText(text);
    }
}

void CMainFrame::setIndicatorSource(const QString& ledsFolder)
{
    m_ledsFolder = ledsFolder;
    updateIndicators();
}

QAction* CMainFrame::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::setRouting(CommandTarget* view, CommandTarget* document, CommandTarget* application)
{
    m_view = view;
    m_document = document;
    m_application = application;
    updateCommandUI();
}

CCmdUI CMainFrame::commandState(int id)
{
    CCmdUI ui;
    for (CommandTarget* target : {m_view, m_document, static_cast<CommandTarget*>(this), m_application}) {
        if (target && target->OnCmdMsg(id, &ui))
            return ui;
    }
    ui.enabled = false;
    return ui;
}

bool CMainFrame::routeCommand(int id)
{
    // A disabled command does nothing, whether chosen from a menu, a button or a key.
    if (!commandState(id).enabled) {
        updateCommandUI();
        return false;
    }
    bool handled = false;
    for (CommandTarget* target : {m_view, m_document, static_cast<CommandTarget*>(this), m_application}) {
        if (target && target->OnCmdMsg(id, nullptr)) {
            handled = true;
            break;
        }
    }
    updateCommandUI();
    return handled;
}

bool CMainFrame::OnCmdMsg(int id, CCmdUI* ui)
{
    return m_commands.dispatch(id, ui);
}

void CMainFrame::updateMenu(QMenu* menu)
{
    for (QAction* act : menu->actions()) {
        if (act == m_recentPlaceholder || act->isSeparator())
            continue;
        const int id = act->data().toInt();
        const CCmdUI ui = commandState(id);
        act->setEnabled(ui.enabled);
        act->setCheckable(ui.checkable);
        act->setChecked(ui.checkable && ui.checked);
    }
}

void CMainFrame::updateCommandUI()
{
    for (auto& [id, act] : m_actions) {
        const CCmdUI ui = commandState(id);
        act->setEnabled(ui.enabled);
        act->setCheckable(ui.checkable);
        act->setChecked(ui.checkable && ui.checked);
    }
}

void CMainFrame::OnUpdateFrameTitle(const QString& documentTitle)
{
    setWindowTitle(documentTitle + QStringLiteral(" - ") + QCoreApplication::applicationName());
}

void CMainFrame::setRecentFiles(const QStringList& files, const QString& programFolder)
{
    for (int i = 0; i < static_cast<int>(m_recentActions.size()); ++i) {
        QAction* act = m_recentActions[static_cast<std::size_t>(i)];
        if (i < files.size()) {
            act->setText(recentFileMenuText(i, files.at(i), programFolder));
            act->setVisible(true);
        } else {
            act->setVisible(false);
        }
    }
    if (m_recentPlaceholder)
        m_recentPlaceholder->setVisible(files.isEmpty());
    updateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
