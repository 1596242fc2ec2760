// New, Save As and the recent-file list.
#include "AppFixture.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QStringList visibleRecentTexts(QMenu* fileMenu)
{
    QStringList texts;
    for (QAction* item : fileMenu->actions()) {
        const int id = item->data().toInt();
        if (item->isVisible() && id >= cmd::FileMru1 && id < cmd::FileMru1 + cmd::RecentFileCount)
            texts << item->text();
    }
    return texts;
}

TEST_F(AppTest, NewFromTheMenuOrTheToolbarPutsTheUntitledTitleBackAndRestartsAtOneSecond)
{
    ASSERT_TRUE(start());
    for (const int timer : {cmd::Timer10s, cmd::TimerOff}) { // from 10 seconds, then from the timer off
        frame->routeCommand(timer);
        ASSERT_NE(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
        if (timer == cmd::Timer10s) {
            menuItem(QStringLiteral("&File"), cmd::FileNew)->trigger();
        } else {
            QTest::mouseClick(frame->toolBar()->widgetForAction(frame->action(cmd::FileNew)), Qt::LeftButton);
        }
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
        EXPECT_TRUE(view->windowTimer().isActive());
        EXPECT_EQ(view->windowTimer().interval(), 1000);
        EXPECT_EQ(view->snapshotTimer().setting(), 4);
    }
    EXPECT_TRUE(desktop.messages().empty()) << "nothing to save is ever asked about";
}

TEST_F(AppTest, SaveAsWritesAnEmptyFileNamesTheWindowAndListsTheFileAndCancelChangesNothing)
{
    ASSERT_TRUE(start());
    folder.write(QStringLiteral("old.vjp"), "something that was there");
    desktop.queueChoice(folder.file(QStringLiteral("old.vjp")));
    ASSERT_TRUE(frame->routeCommand(cmd::FileSaveAs));
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_TRUE(desktop.choosers()[0].save);
    EXPECT_EQ(desktop.choosers()[0].startFolder, folder.path());
    EXPECT_TRUE(folder.exists(QStringLiteral("old.vjp")));
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("old.vjp"))).size(), 0);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));

    frame->routeCommand(cmd::FileSaveAs);
    EXPECT_EQ(desktop.choosers().size(), 2u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));

    desktop.queueChoice(folder.file(QStringLiteral("no-such-folder/new.vjp")));
    frame->routeCommand(cmd::FileSaveAs);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to save document."));
    EXPECT_EQ(app->recentFiles(), QStringList{folder.file(QStringLiteral("old.vjp"))});
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));
}

TEST_F(AppTest, TheRecentFileListKeepsEightNewestFirstInTheSettingsFileAcrossRuns)
{
    ASSERT_TRUE(start());
    for (int i = 1; i <= 9; ++i) {
        desktop.queueChoice(folder.file(QStringLiteral("day%1.vjp").arg(i)));
        frame->routeCommand(cmd::FileSaveAs);
    }
    app.reset();
    EXPECT_EQ(QSettings(folder.settingsFile(), QSettings::IniFormat).value(QStringLiteral("Recent File List/File1")),
              folder.file(QStringLiteral("day9.vjp")));

    ASSERT_TRUE(start());
    EXPECT_EQ(visibleRecentTexts(menu(QStringLiteral("&File"))),
              (QStringList{"&1 day9.vjp", "&2 day8.vjp", "&3 day7.vjp", "&4 day6.vjp", "&5 day5.vjp",
                           "&6 day4.vjp", "&7 day3.vjp", "&8 day2.vjp"}));
}

TEST_F(AppTest, OpeningARecentFileNamesTheWindowAndRestartsTheTimerAndAGoneOneLeavesTheList)
{
    folder.write(QStringLiteral("garden.vjp"), "kept as it is");
    const QString garden = folder.file(QStringLiteral("garden.vjp"));
    SettingsStore().setRecentFiles({garden, folder.file(QStringLiteral("gone.vjp"))});
    ASSERT_TRUE(start());
    frame->routeCommand(cmd::TimerOff);

    menuItem(QStringLiteral("&File"), cmd::FileMru1)->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("garden.vjp - VarnekJPG"));
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(folder.read(QStringLiteral("garden.vjp")), QByteArray("kept as it is"));

    menuItem(QStringLiteral("&File"), cmd::FileMru1 + 1)->trigger();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to open document."));
    EXPECT_EQ(SettingsStore().recentFiles(), QStringList{garden});
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("garden.vjp - VarnekJPG"));
}

} // namespace
