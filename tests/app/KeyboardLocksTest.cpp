// The keyboard's lock lights read from sysfs, and the frame's indicators following them.
#include "app/KeyboardLocks.h"
#include "app/MainFrame.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(KeyboardLocks, EachLockLitWhenAnyKeyboardShowsItsLightAndTheFrameShowsIt)
{
    QTemporaryDir root;
    EXPECT_EQ(readLockState(root.path() + QStringLiteral("/missing")), LockState{});
    for (const auto& [name, brightness] : {std::pair{"input3::capslock", "0\n"}, {"input7::capslock", "1\n"},
                                           {"input3::numlock", "255\n"}, {"input1::scrolllock", "garbage"}, {"phy0-led", "1\n"}}) {
        QDir(root.path()).mkpath(QLatin1String(name));
        QFile file(root.filePath(QLatin1String(name) + QStringLiteral("/brightness")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(brightness) > 0);
    }
    EXPECT_EQ(readLockState(root.path()), (LockState{true, true, false}));
    CMainFrame frame;
    frame.setIndicatorSource(root.path());
    EXPECT_EQ(QStringList({frame.indicatorPane(0)->text(), frame.indicatorPane(1)->text(), frame.indicatorPane(2)->text()}),
              QStringList({"CAP", "NUM", ""}));
}
