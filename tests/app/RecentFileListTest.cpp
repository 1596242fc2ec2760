// The recent-file list's rules.
#include "app/RecentFileList.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, NewestFirstNoDoublesAtMostEight)
{
    QStringList list;
    for (int i = 1; i <= 10; ++i)
        list = withRecentFile(list, QStringLiteral("/home/u/f%1").arg(i));
    ASSERT_EQ(list.size(), 8);
    EXPECT_EQ(list.first(), QStringLiteral("/home/u/f10"));
    EXPECT_EQ(list.last(), QStringLiteral("/home/u/f3"));

    // The same file under another spelling moves to the top.
    list = withRecentFile(list, QStringLiteral("/home/u/./x/../f5"));
    EXPECT_EQ(list.size(), 8);
    EXPECT_EQ(list.first(), QStringLiteral("/home/u/f5"));
    EXPECT_EQ(list.count(QStringLiteral("/home/u/f5")), 1);

    list = withoutRecentFile(list, QStringLiteral("/home/u/f10"));
    EXPECT_EQ(list.size(), 7);
    EXPECT_FALSE(list.contains(QStringLiteral("/home/u/f10")));
}

TEST(RecentFileList, MenuTextNumbersTheEntriesAndShowsAmpersandsAsSuch)
{
    EXPECT_EQ(recentFileMenuText(0, QStringLiteral("/home/u/VarnekJPG/a.vjp"), QStringLiteral("/home/u/VarnekJPG")),
              QStringLiteral("&1 a.vjp"));
    EXPECT_EQ(recentFileMenuText(7, QStringLiteral("/tmp/b.vjp"), QStringLiteral("/home/u/VarnekJPG")),
              QStringLiteral("&8 /tmp/b.vjp"));
    EXPECT_EQ(recentFileMenuText(2, QStringLiteral("/p/R&D.vjp"), QStringLiteral("/p")),
              QStringLiteral("&3 R&&D.vjp"));
}

} // namespace
