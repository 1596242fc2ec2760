// The print dialog's arithmetic: paper rows, the size label, the fields, the scale and the margins
// on the preview and on the page. The frame's shapes are proven on the dialog itself.
#include "print/PagePrint.h"
#include "print/PrinterAccess.h"
#include "print/PaperSizeTable.h"
#include "print/PrintLayout.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PaperSizeTableTest, RowsCarryTheirIdsNamesAndSizesWithTheTyposMended)
{
    struct Row { int position; int id; const char* name; int width; int height; };
    const Row rows[] = {
        {0, 1, "Letter 8 1/2 x 11 in", 2159, 2794},
        {8, 9, "A4 sheet 210 x 297 mm", 2100, 2970},
        {41, 42, "B4 (ISO) 250 x 353 mm", 2500, 3530},            // was 2530 high
        {68, 71, "Japanese Envelope Kaku #2", 2400, 3320},
        {81, 84, "Japanese Envelope Kaku #2 Rotated", 3320, 2400},
        {86, 89, "B6 (JIS) Rotated 182 x 128 mm", 1820, 1280},    // was 1920 wide
        {88, 91, "Japanese Envelope You #4", 1050, 2350},         // was turned round
        {89, 92, "Japanese Envelope You #4 Rotated", 2350, 1050},
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
    EXPECT_FALSE(paperRowById(49).has_value()) << "a reserved id";
    EXPECT_FALSE(paperRowByName("a4 sheet 210 x 297 mm").has_value()) << "names compare byte for byte";
}

TEST(PrintLayoutTest, SizeLabelAndTheFieldsAsTheyAreRead)
{
    EXPECT_EQ(paperSizeLabel(paperSizeTable()[8]), QStringLiteral(" 210.00 mm X 297.00 mm"));
    EXPECT_EQ(paperSizeLabel(paperSizeTable()[6]), QStringLiteral(" 184.20 mm X 266.70 mm"));

    // Numbers beyond an int read as the nearest int; a custom side is held to what a page holds.
    struct Field { const char* text; int whole; int scale; int paperMm; };
    const Field fields[] = {
        {"0", 0, 1, 0}, {"", 0, 1, 0}, {"50", 50, 20, 50}, {" -12x", -12, 1, 0}, {"abc", 0, 1, 0},
        {"+3", 3, 3, 3}, {"+-3", 0, 1, 0}, {"12.5", 12, 12, 12}, {"9999999999", INT_MAX, 20, 3276}, {"-9999999999", INT_MIN, 1, 0},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.text);
        EXPECT_EQ(leadingInt(QString::fromLatin1(f.text)), f.whole);
        EXPECT_EQ(clampedScale(QString::fromLatin1(f.text)), f.scale);
        EXPECT_EQ(customPaperField(QString::fromLatin1(f.text)), f.paperMm);
    }
    for (const auto& [text, dpi] : {std::pair{"300dpi", 300}, {"300x600dpi", 300}, {"118dpcm", 300}, {"", 0}, {"auto", 0}})
        EXPECT_EQ(printing::resolutionFromText(QString::fromLatin1(text)), dpi) << text;
}

TEST(PrintLayoutTest, PreviewPlacesThePictureByScaleAndMargins)
{
    struct Case { QSize bitmap; int scale; int paperW; int paperH; int left; int top; QRect expected; };
    const QSize picture(640, 480);
    const Case cases[] = {
        // A4 portrait frame 176 x 250: the bitmap is 170 x 244.
        {{170, 244}, 5, 210, 297, 600, 0, {20, 0, 150, 127}},   // one inch of 210 mm on 170 pixels, cut
        {{170, 244}, 10, 210, 297, 0, 600, {0, 20, 85, 63}},     // one inch of 297 mm on 244 pixels
        // Landscape frame 353 x 250: the left margin still divides by the paper's 210 mm.
        {{347, 244}, 5, 210, 297, 600, 0, {41, 0, 306, 244}},
        {{347, 244}, 1, 210, 297, 300, 300, {20, 10, 327, 234}}, // 1735 x 1301, cut to the bitmap
        // Margins below 1, and a paper without size, shift nothing.
        {{170, 244}, 5, 0, 0, 600, 600, {0, 0, 170, 127}},
        {{170, 244}, 5, 210, 297, -600, 0, {0, 0, 170, 127}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitmap.width() << " wide, scale " << c.scale << ", " << c.left << "/" << c.top);
        EXPECT_EQ(previewPicture(c.bitmap, c.scale, c.paperW, c.paperH, c.left, c.top, picture).target, c.expected);
    }
}

TEST(PagePrintTest, ThePageCarriesTheScaledPictureShiftedByTwoWithoutTheFirstRowAndColumn)
{
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    struct Case { int dpi; int scale; int left; int top; QRect expected; int steps; };
    const Case cases[] = {
        // A printable area of 306 x 406: the composed area is 300 x 400. Scale 5 at 600 dpi
        // draws 300 x 225 from (2, 2); the area's first row and column are not printed.
        {600, 5, 0, 0, {3, 3, 299, 224}, 1},
        {600, 20, 0, 0, {3, 3, 74, 55}, 4},
        {600, 1, 0, 0, {3, 3, 299, 399}, 0},     // five times as wide, cut at the area's edge
        {300, 5, 0, 0, {3, 3, 149, 111}, 2},     // half as wide at half the resolution
        {300, 20, 0, 0, {3, 3, 36, 27}, 8},
        {600, 20, 60, 30, {62, 32, 75, 56}, 4},  // 1/10 inch right and 1/20 inch down
        {300, 20, 120, 60, {62, 32, 37, 28}, 8}, // the same at 300 dpi
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, scale " << c.scale);
        QImage page(306, 406, QImage::Format_RGB32);
        page.fill(Qt::black);
        const PageGeometry geometry = pageGeometry(page.size(), c.dpi, c.scale, c.left, c.top, red.size());
        EXPECT_EQ(geometry.progressSteps, c.steps);
        {
            QPainter painter(&page);
            drawPage(painter, page.size(), geometry, red);
        }
        QRect found;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (page.pixel(x, y) == qRgb(255, 0, 0))
                    found |= QRect(x, y, 1, 1);
                else
                    ASSERT_EQ(page.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y << " is neither paper nor picture";
            }
        }
        EXPECT_EQ(found, c.expected);
    }
}

TEST(PagePrintTest, HugeMarginsAndAOnePixelWidePictureGiveADefinedPage)
{
    // A 1 x 60,000 picture at scale 1 on a 1200 dpi page: 35,860 pixels wide, far over two
    // billion high. What lands is the printable area, from the top tenth of the pixel's width.
    const PageGeometry tall = pageGeometry({3592, 5006}, 1200, 1, 0, 0, {1, 60000});
    EXPECT_EQ(tall.image.target, QRect(0, 0, 3586, 5000));
    EXPECT_DOUBLE_EQ(tall.image.source.width(), 0.1);
    EXPECT_NEAR(tall.image.source.height(), 5000.0 / 35860, 1e-6);
    // A ten-digit margin is held to what a page can hold: the picture lies beyond the page.
    const PageGeometry far = pageGeometry({3592, 5006}, 1200, 5, leadingInt(QStringLiteral("9999999999")), 0, {640, 480});
    EXPECT_TRUE(far.image.target.isEmpty());
    EXPECT_EQ(previewPicture({170, 244}, 5, 1, 1, INT_MAX, 0, {1, 60000}).target, QRect()) << "and off the preview";
}

} // namespace
