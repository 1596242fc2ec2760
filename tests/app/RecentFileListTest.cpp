// The recent-file list's rules beyond what DocumentTest sees: one entry per file however it is
// spelled, and the menu texts.
#include "app/RecentFileList.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, TheSameFileUnderAnotherSpellingMovesToTheTop)
{
    QStringList list;
    for (const char* name : {"/home/u/f1", "/home/u/f2", "/home/u/f3"})
        list = withRecentFile(list, QString::fromLatin1(name));
    list = withRecentFile(list, QStringLiteral("/home/u/./x/../f2"));
    EXPECT_EQ(list, QStringList({"/home/u/f2", "/home/u/f3", "/home/u/f1"}));
    EXPECT_EQ(withoutRecentFile(list, QStringLiteral("/home/u/f3")), QStringList({"/home/u/f2", "/home/u/f1"}));
}

TEST(RecentFileList, MenuTextNumbersTheEntriesAndShowsAmpersandsAsSuch)
{
    const QString folder = QStringLiteral("/home/u/VarnekJPG");
    EXPECT_EQ(recentFileMenuText(0, folder + QStringLiteral("/a.vjp"), folder), QStringLiteral("&1 a.vjp"));
    EXPECT_EQ(recentFileMenuText(7, QStringLiteral("/tmp/b.vjp"), folder), QStringLiteral("&8 /tmp/b.vjp"));
    EXPECT_EQ(recentFileMenuText(2, QStringLiteral("/p/R&D.vjp"), QStringLiteral("/p")), QStringLiteral("&3 R&&D.vjp"));
}

} // namespace
