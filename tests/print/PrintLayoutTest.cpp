// The print dialog's arithmetic: paper rows, the preview frame's shape, the size label, the scale
// and the margins on the preview and on the page.
#include "print/PaperSizeTable.h"
#include "print/PrintLayout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PaperSizeTableTest, RowsCarryTheirIdsNamesAndSizesWithTheTyposMended)
{
    struct Row { int position; int id; const char* name; int width; int height; };
    const Row rows[] = {
        {0, 1, "Letter 8 1/2 x 11 in", 2159, 2794},
        {8, 9, "A4 sheet 210 x 297 mm", 2100, 2970},
        {18, 19, "#9 Envelope 3 7/8 x 8 7/8 in", 984, 2254},
        {41, 42, "B4 (ISO) 250 x 353 mm", 2500, 3530},            // was 2530 high
        {47, 50, "Letter Extra 9 1/2 x 12 in", 2413, 3048},
        {68, 71, "Japanese Envelope Kaku #2", 2400, 3320},
        {81, 84, "Japanese Envelope Kaku #2 Rotated", 3320, 2400},
        {86, 89, "B6 (JIS) Rotated 182 x 128 mm", 1820, 1280},    // was 1920 wide
        {88, 91, "Japanese Envelope You #4", 1050, 2350},         // was turned round
        {89, 92, "Japanese Envelope You #4 Rotated", 2350, 1050},
        {115, 118, "PRC Envelope #10 Rotated 458 x 324 mm", 4580, 3240},
        {116, 0, "A1 sheet, 594 x 841 mm", 5940, 8410},
        {117, 0, "A0 sheet, 841 x 1189 mm", 8410, 11888},
    };
    const auto table = paperSizeTable();
    ASSERT_EQ(table.size(), 118u);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const PaperSizeEntry& e = table[r.position];
        EXPECT_EQ(e.paperId, r.id);
        EXPECT_STREQ(e.name, r.name);
        EXPECT_EQ(e.width, r.width);
        EXPECT_EQ(e.height, r.height);
        EXPECT_EQ(paperRowByName(r.name), r.position);
        if (r.id != 0) {
            EXPECT_EQ(paperRowById(r.id), r.position);
        }
    }
    // Reserved ids, the user-defined paper and driver papers have no row.
    for (const int id : {0, 48, 49, 119, 256})
        EXPECT_FALSE(paperRowById(id).has_value()) << id;
    EXPECT_FALSE(paperRowByName("a4 sheet 210 x 297 mm").has_value()) << "names compare byte for byte";
}

TEST(PrintLayoutTest, PreviewFrameFollowsThePaperAndItsOrientation)
{
    struct Case { float width; float height; bool portrait; int w; int h; };
    const Case cases[] = {
        {2100, 2970, true, 176, 250},  // A4
        {2100, 2970, false, 353, 250},
        {984, 2254, false, 420, 183},  // #9 envelope, held at 420 wide
        {100, 300, true, 83, 250},     // custom 100 x 300 mm
        {100, 300, false, 420, 140},
        {300, 100, true, 420, 140},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.portrait ? " portrait" : " landscape"));
        const std::optional<QSize> frame = previewFrameSize(c.width, c.height, c.portrait);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(*frame, QSize(c.w, c.h));
    }
    EXPECT_FALSE(previewFrameSize(0, 300, true).has_value()) << "a paper without width has no shape";
    EXPECT_FALSE(previewFrameSize(100, 0, false).has_value());
}

TEST(PrintLayoutTest, SizeLabelAndTheFieldsAsTheyAreRead)
{
    EXPECT_EQ(paperSizeLabel(paperSizeTable()[8]), QStringLiteral(" 210.00 mm X 297.00 mm"));
    EXPECT_EQ(paperSizeLabel(paperSizeTable()[6]), QStringLiteral(" 184.20 mm X 266.70 mm"));

    struct Field { const char* text; int whole; double decimal; int scale; };
    const Field fields[] = {
        {"0", 0, 0.0, 1}, {"", 0, 0.0, 1}, {"50", 50, 50.0, 20}, {"7", 7, 7.0, 7},
        {" -12x", -12, -12.0, 1}, {"abc", 0, 0.0, 1}, {"+3", 3, 3.0, 3}, {"12.5", 12, 12.5, 12},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.text);
        EXPECT_EQ(leadingInt(QString::fromLatin1(f.text)), f.whole);
        EXPECT_DOUBLE_EQ(leadingDouble(QString::fromLatin1(f.text)), f.decimal);
        EXPECT_EQ(clampedScale(QString::fromLatin1(f.text)), f.scale);
    }
}

TEST(PrintLayoutTest, PreviewPlacesThePictureByScaleAndMargins)
{
    struct Case { QSize bitmap; int scale; int paperW; int paperH; int left; int top; QRect expected; };
    const QSize picture(640, 480);
    const Case cases[] = {
        // A4 portrait frame 176 x 250: the bitmap is 170 x 244.
        {{170, 244}, 5, 210, 297, 0, 0, {0, 0, 170, 127}},
        {{170, 244}, 5, 210, 297, 600, 0, {20, 0, 170, 127}},   // one inch of 210 mm on 170 pixels
        {{170, 244}, 10, 210, 297, 0, 600, {0, 20, 85, 63}},     // one inch of 297 mm on 244 pixels
        // Landscape frame 353 x 250: the left margin still divides by the paper's 210 mm.
        {{347, 244}, 5, 210, 297, 600, 0, {41, 0, 347, 260}},
        {{347, 244}, 20, 210, 297, 0, 0, {0, 0, 86, 65}},
        {{347, 244}, 1, 210, 297, 300, 300, {20, 10, 1735, 1301}},
        // Margins below 1, and a paper without size, shift nothing.
        {{170, 244}, 5, 0, 0, 600, 600, {0, 0, 170, 127}},
        {{170, 244}, 5, 210, 297, -600, 0, {0, 0, 170, 127}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " margins " << c.left << "/" << c.top
                                        << " bitmap " << c.bitmap.width());
        EXPECT_EQ(previewImageRect(c.bitmap, c.scale, c.paperW, c.paperH, c.left, c.top, picture), c.expected);
    }
}

TEST(PrintLayoutTest, PageWidthFollowsScaleAndResolutionMarginsAreInches)
{
    struct Case { int dpi; int scale; int left; int top; QRect image; int steps; };
    // A printable area of 4966 x 6814 pixels: the composed area is 4960 x 6808.
    const QSize printable(4966, 6814);
    const QSize picture(640, 480);
    const Case cases[] = {
        {600, 5, 0, 0, {0, 0, 4960, 3720}, 1},
        {600, 10, 0, 0, {0, 0, 2480, 1860}, 2},
        {600, 20, 0, 0, {0, 0, 1240, 930}, 4},
        {600, 1, 0, 0, {0, 0, 24800, 18600}, 0},
        {300, 5, 0, 0, {0, 0, 2480, 1860}, 2},
        {300, 10, 0, 0, {0, 0, 1240, 930}, 4},
        {300, 20, 0, 0, {0, 0, 620, 465}, 8},
        {300, 1, 0, 0, {0, 0, 12400, 9300}, 0},
        {600, 5, 600, 300, {600, 300, 4960, 3720}, 1},   // one inch right, half an inch down
        {300, 5, 600, 300, {300, 150, 2480, 1860}, 2},
        {1200, 10, 600, 0, {1200, 0, 4960, 3720}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, scale " << c.scale << " margins " << c.left << "/" << c.top);
        const PageGeometry page = pageGeometry(printable, c.dpi, c.scale, c.left, c.top, picture);
        EXPECT_EQ(page.bitmap, QSize(4960, 6808));
        EXPECT_EQ(page.image, c.image);
        EXPECT_EQ(page.progressSteps, c.steps);
        // The area's point (x, y) lands at (x + 2, y + 2); its first row and column stay behind.
        EXPECT_EQ(page.shift, QPoint(2, 2));
        EXPECT_EQ(page.visible, QRect(3, 3, 4959, 6807));
    }
}

} // namespace
