// Reading the keyboard's lock lights; FrameCommandsTest sees the frame's indicators follow them.
#include "app/KeyboardLocks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void led(const QString& root, const QString& name, const QByteArray& brightness)
{
    QDir().mkpath(root + QLatin1Char('/') + name);
    QFile file(root + QLatin1Char('/') + name + QStringLiteral("/brightness"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(brightness);
}

TEST(KeyboardLocks, EachLockLitWhenAnyKeyboardShowsItsLightUnknownWithoutReadableLights)
{
    QTemporaryDir root;
    EXPECT_EQ(readLockState(root.path()), LockState{});
    EXPECT_EQ(readLockState(root.path() + QStringLiteral("/missing")), LockState{});
    QDir().mkpath(root.path() + QStringLiteral("/input1::scrolllock")); // no brightness
    led(root.path(), QStringLiteral("input1::numlock"), "garbage");
    EXPECT_EQ(readLockState(root.path()), LockState{});

    led(root.path(), QStringLiteral("input3::capslock"), "0\n");
    led(root.path(), QStringLiteral("input7::capslock"), "1\n");
    led(root.path(), QStringLiteral("input3::numlock"), "255\n");
    led(root.path(), QStringLiteral("input3::scrolllock"), "0\n");
    led(root.path(), QStringLiteral("phy0-led"), "1\n");
    EXPECT_EQ(readLockState(root.path()), (LockState{true, true, false}));
}

} // namespace
