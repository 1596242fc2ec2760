// New, Save As and the recent-file list.
#include "AppFixture.h"

#include <QFileInfo>

namespace {

TEST_F(AppTest, SaveAsWritesAnEmptyFileNamesTheWindowAndListsTheFileAndNewMakesItUntitledAgain)
{
    ASSERT_TRUE(start());
    folder.write(QStringLiteral("old.vjp"), "something that was there");
    desktop.queueChoice(folder.file(QStringLiteral("old.vjp")));
    ASSERT_TRUE(frame->routeCommand(cmd::FileSaveAs));
    EXPECT_EQ(desktop.choosers()[0].startFolder, folder.path());
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("old.vjp"))).size(), 0);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));
    frame->routeCommand(cmd::FileSaveAs); // cancelled
    desktop.queueChoice(folder.file(QStringLiteral("no-such-folder/new.vjp")));
    frame->routeCommand(cmd::FileSaveAs);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to save document."));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));
    frame->routeCommand(cmd::Timer10s);
    menuItem("&File", cmd::FileNew)->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(desktop.messages().size(), 1u) << "nothing to save is ever asked about";
    // The file New left is no longer the document: opening it again names the window again.
    menuItem("&File", cmd::FileMru1)->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("old.vjp - VarnekJPG"));
}

TEST_F(AppTest, TheRecentFileListKeepsEightNewestFirstAcrossRunsAndDropsAFileThatIsGone)
{
    ASSERT_TRUE(start());
    for (int i = 1; i <= 9; ++i) {
        desktop.queueChoice(folder.file(QStringLiteral("day%1.vjp").arg(i)));
        frame->routeCommand(cmd::FileSaveAs);
    }
    app.reset();
    QFile::remove(folder.file(QStringLiteral("day8.vjp")));
    ASSERT_TRUE(start());
    QStringList texts;
    for (int i = 0; i < cmd::RecentFileCount + 1; ++i) {
        if (QAction* item = menuItem("&File", cmd::FileMru1 + i); item && item->isVisible())
            texts << item->text();
    }
    EXPECT_EQ(texts, (QStringList{"&1 day9.vjp", "&2 day8.vjp", "&3 day7.vjp", "&4 day6.vjp", "&5 day5.vjp",
                                  "&6 day4.vjp", "&7 day3.vjp", "&8 day2.vjp"}));
    // The status bar's prompt while the pointer rests on a listed file.
    EXPECT_EQ(menuItem("&File", cmd::FileMru1 + 2)->statusTip(), QStringLiteral("Open this document"));

    menuItem("&File", cmd::FileMru1 + 1)->trigger(); // day8, gone
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to open document."));
    EXPECT_EQ(SettingsStore().recentFiles().size(), 7);
    EXPECT_EQ(SettingsStore().recentFiles().value(1), folder.file(QStringLiteral("day7.vjp")));
    frame->routeCommand(cmd::TimerOff);
    menuItem("&File", cmd::FileMru1 + 1)->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("day7.vjp - VarnekJPG"));
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 1000);
}

} // namespace
