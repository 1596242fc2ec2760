// The caption under which the picture is shown, and where the picture goes.
#include "view/PictureLayout.h"

#include <QFontMetrics>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/home/user/VarnekJPG/auto.jpg");

TEST(Caption, NamesFileSizeAndScale)
{
    EXPECT_EQ(captionText(kPath, 640, 480, 1280), kPath + QStringLiteral("    640 by 480  200%"));
    EXPECT_EQ(captionText(kPath, 1920, 1080, 1000), kPath + QStringLiteral("    1920 by 1080  52%"));
    EXPECT_EQ(captionText(kPath, 1280, 720, 1280), kPath + QStringLiteral("    1280 by 720  100%"));
}

TEST(Caption, PercentIsTruncatedInSinglePrecision)
{
    // 57 / 100 in single precision times 100 rounds to exactly 57; in double it would be 56.99...
    EXPECT_TRUE(captionText(kPath, 100, 50, 57).endsWith(QStringLiteral("  57%")));
    // 1000 / 3 = 333.33...% is truncated, not rounded.
    EXPECT_TRUE(captionText(kPath, 3, 3, 10).endsWith(QStringLiteral("  333%")));
    EXPECT_TRUE(captionText(kPath, 1920, 1080, 0).endsWith(QStringLiteral("  0%")));
}

TEST(Caption, NeverLongerThanFiveHundredCharacters)
{
    const QString longPath = QStringLiteral("/") + QString(600, QLatin1Char('a'));
    const QString caption = captionText(longPath, 640, 480, 1280);
    EXPECT_EQ(caption.size(), 500);
    EXPECT_TRUE(caption.startsWith(longPath.left(100)));
    EXPECT_EQ(decodeFailureCaption(longPath).size(), 500);
    EXPECT_EQ(decodeFailureCaption(kPath), QStringLiteral("Failed to open file ") + kPath);
}

TEST(PictureDestination, StretchedToTheClientWidthBelowTheCaption)
{
    EXPECT_EQ(pictureDestination(640, 480, 1280), QRect(1, 30, 1280, 960));
    // 1080 * 0.5208333 = 562.5, truncated.
    EXPECT_EQ(pictureDestination(1920, 1080, 1000), QRect(1, 30, 1000, 562));
    // Not limited to the client height: a tall picture runs off the bottom.
    EXPECT_EQ(pictureDestination(100, 1000, 300), QRect(1, 30, 300, 3000));
    EXPECT_EQ(pictureDestination(0, 0, 300).height(), 0);
}

TEST(CaptionFont, CellIsEighteenPixelsOrTheClosestBelow)
{
    const QFont font = captionFont();
    EXPECT_TRUE(font.families().startsWith(QStringLiteral("Tahoma")));
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    const int size = font.pixelSize();
    ASSERT_GT(size, 1);
    EXPECT_LE(QFontMetrics(font).height(), 18);
    if (size < 18) {
        QFont bigger(font);
        bigger.setPixelSize(size + 1);
        EXPECT_GT(QFontMetrics(bigger).height(), 18) << "the next size up would not fit";
    }
}

} // namespace
