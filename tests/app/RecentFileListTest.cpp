// The recent-file list's rules beyond what DocumentTest sees: one entry per file however it is
// spelled, and ampersands in names shown as such rather than as mnemonics.
#include "app/RecentFileList.h"

#include <gtest/gtest.h>

TEST(RecentFileList, TheSameFileUnderAnotherSpellingMovesToTheTopAndMenuTextsShowAmpersands)
{
    QStringList list = withRecentFile({QStringLiteral("/home/u/f2"), QStringLiteral("/home/u/f1")}, QStringLiteral("/home/u/./x/../f1"));
    EXPECT_EQ(list, QStringList({"/home/u/f1", "/home/u/f2"}));
    EXPECT_EQ(recentFileMenuText(0, QStringLiteral("/p/a.vjp"), QStringLiteral("/p")), QStringLiteral("&1 a.vjp"));
    EXPECT_EQ(recentFileMenuText(7, QStringLiteral("/tmp/b.vjp"), QStringLiteral("/p")), QStringLiteral("&8 /tmp/b.vjp"));
    EXPECT_EQ(recentFileMenuText(2, QStringLiteral("/p/R&D.vjp"), QStringLiteral("/p")), QStringLiteral("&3 R&&D.vjp"));
}
