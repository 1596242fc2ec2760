// Where the picture goes, the size it is decoded at, the caption above it, and the frame that fits
// a picture; ViewPaintTest sees them drawn.
#include "view/PictureDecoder.h"
#include "view/PictureLayout.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/home/user/VarnekJPG/auto.jpg");

TEST(Caption, NamesFileSizeAndScaleTruncatedInSinglePrecision)
{
    struct Row { int w, h, clientWidth; const char* tail; };
    const Row rows[] = {
        {640, 480, 1280, "    640 by 480  200%"}, {1920, 1080, 1000, "    1920 by 1080  52%"},
        {100, 50, 57, "    100 by 50  57%"},     // 0.57f * 100 is exactly 57; in double 56.99...
        {3, 3, 10, "    3 by 3  333%"},          // 333.33...% truncated, not rounded
        {1920, 1080, 0, "    1920 by 1080  0%"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(captionText(kPath, r.w, r.h, r.clientWidth), kPath + QString::fromLatin1(r.tail));

    const QString longPath = QStringLiteral("/") + QString(600, QLatin1Char('a'));
    EXPECT_EQ(captionText(longPath, 640, 480, 1280), longPath.left(500));
    EXPECT_EQ(decodeFailureCaption(longPath).size(), 500);
    EXPECT_EQ(decodeFailureCaption(kPath), QStringLiteral("Failed to open file ") + kPath);
}

TEST(JpegDecodeSize, TheSmallestOfAnEighthAQuarterAHalfAndTheWholeAtLeastAsWideAsShown)
{
    struct Row { int w, h, shownWidth; QSize decoded; };
    const Row rows[] = {
        {1920, 1080, 1250, {1920, 1080}}, {1920, 1080, 961, {1920, 1080}}, {1920, 1080, 960, {960, 540}},
        {1920, 1080, 481, {960, 540}},    {1920, 1080, 480, {480, 270}},   {1920, 1080, 1, {240, 135}},
        {640, 480, 1000, {640, 480}},     // enlarged by the paint, never by the decoder
        {1281, 721, 600, {641, 361}},     {7, 7, 0, {1, 1}}, // scaled sizes round up
    };
    for (const Row& r : rows)
        EXPECT_EQ(jpegDecodeSize(r.w, r.h, r.shownWidth), r.decoded) << r.w << " shown " << r.shownWidth;
}

TEST(FitFrameRect, LeftTenTopFortyRightAndBottomFromTheBorderedClientRect)
{
    // Client rectangle (0, 40, 1304, 910) for 1280 x 720: borders move its right and bottom out,
    // while the left and top are set to (10, 40), not converted.
    EXPECT_EQ(fitFrameRect(1280, 720, QMargins()), QRect(QPoint(10, 40), QPoint(1303, 909)));
    EXPECT_EQ(fitFrameRect(1280, 720, QMargins(4, 30, 5, 6)), QRect(QPoint(10, 40), QPoint(1308, 915)));
    EXPECT_EQ(fitFrameRect(0, 0, QMargins()), QRect(10, 40, 14, 150)) << "an undecodable picture";
}

} // namespace
