// The menu bar, toolbar and status bar as the user meets them.
#include "AppFixture.h"

#include "app/Artwork.h"

#include <QDir>

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

TEST_F(AppTest, TheToolbarHoldsItsButtonsInOrderWithTheirOwnImagesAndDocksAnywhere)
{
    ASSERT_TRUE(start());
    QToolBar* bar = frame->toolBar();
    QList<int> layout;
    int image = 0;
    for (QAction* item : bar->actions()) {
        layout << (item->isSeparator() ? 0 : item->data().toInt());
        if (item->isSeparator())
            continue;
        // new, open, save, cut, copy, paste, print, about, stop, 1 s, 100 ms, 200 ms, 400 ms, 4 s, fit
        const auto pixels = [](const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); };
        EXPECT_EQ(pixels(item->icon().pixmap(QSize(16, 15)).toImage()), pixels(toolbarImage(image++)))
            << item->data().toInt();
        EXPECT_FALSE(item->toolTip().isEmpty()) << item->data().toInt();
    }
    EXPECT_EQ(layout, (QList<int>{57600, 57601, 0, 57603, 0, 57635, 57634, 57637, 0, 57607, 57664, 0,
                                  32805, 0, 32806, 32811, 32812, 0, 32809, 32810, 32813}));
    EXPECT_EQ(image, 15);
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
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
    const std::pair<QAction*, QWidget*> bars[] = {{menuItem(QStringLiteral("&View"), 59392), frame->toolBar()},
                                                  {menuItem(QStringLiteral("&View"), 59393), frame->statusBar()}};
    for (const auto& [item, bar] : bars) {
        ASSERT_NE(item, nullptr);
        for (const bool shown : {true, false, true}) {
            menu(QStringLiteral("&View"))->aboutToShow();
            EXPECT_EQ(bar->isVisible(), shown);
            EXPECT_EQ(item->isChecked(), shown);
            item->trigger();
        }
    }
}

TEST_F(AppTest, APromptShowsWhileItsItemIsHighlightedAndTheTimerIsOffStaysUntilThenReady)
{
    ASSERT_TRUE(start());
    camera->setFault(fakecam::Fault::SnapshotNotFound);
    view->SnapshotTimerProc();
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));

    QMenu* timerMenu = menu(QStringLiteral("&Timer"));
    timerMenu->popup(QPoint(10, 10));
    timerMenu->setActiveAction(menuItem(QStringLiteral("&Timer"), 32778));
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("Sets the timer to get a new image from the IP Cam every ten seconds."));
    EXPECT_FALSE(frame->readyPane()->isVisible());
    timerMenu->hide();
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(frame->readyPane()->isVisible());
}

TEST_F(AppTest, TheCapsLockIndicatorLightsWithTheKeyboardsLight)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("leds/input3::capslock"))));
    folder.write(QStringLiteral("leds/input3::capslock/brightness"), "1\n");
    frame->SetIndicatorSource(folder.file(QStringLiteral("leds")));
    EXPECT_EQ(frame->indicatorPane(0)->text(), QStringLiteral("CAP"));
    EXPECT_TRUE(frame->indicatorPane(1)->text().isEmpty());
    EXPECT_TRUE(frame->indicatorPane(2)->isVisible());
}

} // namespace
