// The frame rectangle that fits a picture.
#include "view/PictureLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(FitFrameRect, LeftTenTopFortyRightAndBottomFromTheBorderedClientRect)
{
    // Client rectangle (0, 40, 1304, 910) for 1280 x 720; without borders the right and bottom
    // stay 1304 and 910.
    const QRect bare = fitFrameRect(1280, 720, QMargins());
    EXPECT_EQ(bare.left(), 10);
    EXPECT_EQ(bare.top(), 40);
    EXPECT_EQ(bare.left() + bare.width(), 1304);
    EXPECT_EQ(bare.top() + bare.height(), 910);

    // Borders move the right and bottom out; the left and top are set, not converted.
    const QRect framed = fitFrameRect(1280, 720, QMargins(4, 30, 5, 6));
    EXPECT_EQ(framed.topLeft(), QPoint(10, 40));
    EXPECT_EQ(framed.left() + framed.width(), 1309);
    EXPECT_EQ(framed.top() + framed.height(), 916);
}

TEST(FitFrameRect, AnUndecodablePictureCountsAsZeroByZero)
{
    const QRect r = fitFrameRect(0, 0, QMargins());
    EXPECT_EQ(r, QRect(10, 40, 14, 150));
}

} // namespace
