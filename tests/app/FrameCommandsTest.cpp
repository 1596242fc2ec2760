// The menu bar, toolbar and status bar as the user meets them.
#include "AppFixture.h"

#include "app/CommandTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

QStringList itemTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* item : menu->actions()) {
        if (item->isVisible())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

TEST_F(AppTest, MenuBarTextsMnemonicsAndShortcutTexts)
{
    ASSERT_TRUE(start());
    QStringList titles;
    for (QAction* entry : frame->menuBar()->actions())
        titles << entry->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Options", "&Timer", "&Control",
                                   "F&unctions", "&SD", "&Help"}));

    EXPECT_EQ(itemTexts(menu("&File")),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                           "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "Recent File",
                           "-", "E&xit"}));
    EXPECT_EQ(itemTexts(menu("&Timer")).last(), QStringLiteral("Disable auto disable timer"));
    EXPECT_EQ(itemTexts(menu("F&unctions")).size(), 19);

    // The greyed placeholder stands for the empty recent-file list.
    for (QAction* item : menu("&File")->actions()) {
        if (item->text() == QStringLiteral("Recent File")) {
            EXPECT_FALSE(item->isEnabled());
        }
    }
}

TEST_F(AppTest, UndoCutCopyAndPasteAreDisabledInTheMenuOnTheToolbarAndByKey)
{
    ASSERT_TRUE(start());
    for (int id : {57643, 57635, 57634, 57637}) {
        SCOPED_TRACE(id);
        QAction* act = frame->action(id);
        ASSERT_NE(act, nullptr);
        EXPECT_FALSE(act->isEnabled());
        EXPECT_FALSE(frame->RouteCommand(id));
        if (QWidget* button = frame->toolBar()->widgetForAction(act)) {
            EXPECT_FALSE(button->isEnabled());
        }
    }
    EXPECT_TRUE(frame->action(57634)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+C"))));
    EXPECT_TRUE(frame->action(57637)->shortcuts().contains(QKeySequence(QStringLiteral("Shift+Ins"))));

    // Commands with a handler are enabled.
    for (int id : {57600, 57604, 57665, 59392, 59393, 32771, 32780, 32784, 32800, 57664, 32813})
        EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
}

TEST_F(AppTest, TheToolbarHoldsItsButtonsInOrderAndDocksAnywhere)
{
    ASSERT_TRUE(start());
    QToolBar* bar = frame->toolBar();
    QList<int> layout;
    for (QAction* item : bar->actions())
        layout << (item->isSeparator() ? 0 : item->data().toInt());
    EXPECT_EQ(layout, (QList<int>{57600, 57601, 0, 57603, 0, 57635, 57634, 57637, 0, 57607, 57664, 0,
                                  32805, 0, 32806, 32811, 32812, 0, 32809, 32810, 32813}));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    for (QAction* item : bar->actions()) {
        if (item->isSeparator())
            continue;
        EXPECT_FALSE(item->icon().isNull()) << item->data().toInt();
        EXPECT_FALSE(item->toolTip().isEmpty()) << item->data().toInt();
    }
    EXPECT_EQ(frame->action(32813)->toolTip(), QStringLiteral("Resize the window frame to fit the image."));

    // Docked on the left it still works.
    frame->addToolBar(Qt::LeftToolBarArea, bar);
    EXPECT_EQ(frame->toolBarArea(bar), Qt::LeftToolBarArea);
    QTest::mouseClick(bar->widgetForAction(frame->action(32805)), Qt::LeftButton);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG The timer is off"));
}

TEST_F(AppTest, ToolbarAndStatusBarShowAndHideWithACheckMark)
{
    ASSERT_TRUE(start());
    QAction* toolbarItem = menuItem(QStringLiteral("&View"), 59392);
    QAction* statusItem = menuItem(QStringLiteral("&View"), 59393);
    ASSERT_TRUE(toolbarItem && statusItem);
    menu(QStringLiteral("&View"))->aboutToShow();
    EXPECT_TRUE(toolbarItem->isChecked());
    EXPECT_TRUE(statusItem->isChecked());

    toolbarItem->trigger();
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_FALSE(toolbarItem->isChecked());
    statusItem->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_FALSE(statusItem->isChecked());

    toolbarItem->trigger();
    statusItem->trigger();
    EXPECT_TRUE(frame->toolBar()->isVisible());
    EXPECT_TRUE(frame->statusBar()->isVisible());
    EXPECT_TRUE(toolbarItem->isChecked());
    EXPECT_TRUE(statusItem->isChecked());
}

TEST_F(AppTest, AHighlightedItemShowsItsPromptThenThePaneSaysReadyAgain)
{
    ASSERT_TRUE(start());
    QMenu* timerMenu = menu(QStringLiteral("&Timer"));
    QAction* tenSeconds = menuItem(QStringLiteral("&Timer"), 32778);
    timerMenu->popup(QPoint(10, 10));
    timerMenu->setActiveAction(tenSeconds);
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("Sets the timer to get a new image from the IP Cam every ten seconds."));
    EXPECT_FALSE(frame->readyPane()->isVisible());

    timerMenu->hide();
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(frame->readyPane()->isVisible());
}

TEST_F(AppTest, TheTimerIsOffStaysInThePaneUntilAnotherPromptThenReady)
{
    ASSERT_TRUE(start());
    camera->setFault(fakecam::Fault::SnapshotNotFound);
    view->SnapshotTimerProc();
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));
    EXPECT_FALSE(view->windowTimer().isActive());

    // A prompt comes and goes: the pane says "Ready" again.
    QStatusTipEvent prompt(QStringLiteral("Gets the camera network info and shows it in your default browser"));
    QCoreApplication::sendEvent(frame, &prompt);
    EXPECT_EQ(frame->statusBar()->currentMessage(), prompt.tip());
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(frame, &none);
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(frame->readyPane()->isVisible());
}

TEST_F(AppTest, TheCapsLockIndicatorLightsWithTheKeyboardsLight)
{
    ASSERT_TRUE(start());
    const QString led = folder.path() + QStringLiteral("/leds/input3::capslock");
    ASSERT_TRUE(QDir().mkpath(led));
    QFile brightness(led + QStringLiteral("/brightness"));
    ASSERT_TRUE(brightness.open(QIODevice::WriteOnly));
    brightness.write("1\n");
    brightness.close();
    frame->SetIndicatorSource(folder.path() + QStringLiteral("/leds"));
    EXPECT_EQ(frame->indicatorPane(0)->text(), QStringLiteral("CAP"));
    EXPECT_TRUE(frame->indicatorPane(1)->text().isEmpty());
    EXPECT_TRUE(frame->indicatorPane(2)->isVisible());
}

} // namespace
