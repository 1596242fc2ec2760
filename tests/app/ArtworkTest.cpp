// The pictures drawn in code.
#include "app/Artwork.h"

#include <gtest/gtest.h>

#include <set>

namespace {

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

TEST(Artwork, FifteenDistinctToolbarImagesOfSixteenByFifteen)
{
    std::set<QByteArray> seen;
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const QImage image = toolbarImage(i);
        EXPECT_EQ(image.size(), QSize(16, 15)) << i;
        EXPECT_GT(opaquePixels(image), 20) << "image " << i << " draws something";
        EXPECT_LT(opaquePixels(image), 16 * 15) << "image " << i << " leaves a background";
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 15u) << "no two buttons look alike";
}

TEST(Artwork, TheProgramIconScales)
{
    for (int size : {16, 32, 256}) {
        const QImage icon = programIconImage(size);
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_GT(opaquePixels(icon), size * size / 3) << size;
    }
    EXPECT_FALSE(programIcon().isNull());
}

} // namespace
