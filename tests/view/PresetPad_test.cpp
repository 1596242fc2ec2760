// The two preset pads as drawn: headings, keys, cross and Stop key inside their click regions.
// ViewPanTiltTest sees them laid over the picture.
#include "view/PresetPad.h"

#include <gtest/gtest.h>

#include <array>

namespace {

const QImage& gotoPad() { return presetPadImage(kGotoPad); }
const QImage& setPad() { return presetPadImage(kSetPad); }

// Pixels of a rectangle that differ from the pad's background (taken between two key rows).
int inkIn(const QImage& pad, const QRect& rect)
{
    int ink = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ink += pad.pixel(x, y) != pad.pixel(150, 190);
    return ink;
}

QImage labelArea(const QImage& pad, int key)
{
    return pad.copy(QRect(padKeyRect(key).center() - QPoint(12, 15), QSize(24, 30)));
}

bool isGrey(QColor c)
{
    return c.red() > 120 && qAbs(c.red() - c.green()) < 12 && qAbs(c.red() - c.blue()) < 12;
}
bool isDarkRed(QColor c)
{
    return c.red() > 90 && c.red() < 200 && c.green() < 60 && c.blue() < 60;
}

TEST(PresetPad, GreyLabelledKeysWithKey9DarkRed)
{
    for (const QImage* pad : {&gotoPad(), &setPad()})
        for (int key = 1; key <= 9; ++key) {
            const QRect r = padKeyRect(key);
            const QRgb face = pad->pixel(r.topLeft() + QPoint(8, 8));
            EXPECT_EQ(pad->pixel(r.bottomRight() - QPoint(8, 8)), face) << key;
            EXPECT_TRUE(key == 9 ? isDarkRed(face) : isGrey(face)) << key;
            EXPECT_EQ(inkIn(*pad, r.adjusted(-3, -3, 3, 3)), inkIn(*pad, r)) << key; // bare ring
            int label = 0; // pixels unlike the key's face in its middle
            const QImage middle = labelArea(*pad, key);
            for (int y = 0; y < middle.height(); ++y)
                for (int x = 0; x < middle.width(); ++x)
                    label += middle.pixel(x, y) != face;
            EXPECT_GT(label, 40) << key;
        }
    EXPECT_NE(labelArea(gotoPad(), 1), labelArea(gotoPad(), 2));
    EXPECT_NE(labelArea(gotoPad(), 2), labelArea(gotoPad(), 3));
    EXPECT_LT(gotoPad().pixelColor(150, 190).lightness(), 70) << "a dark pad";
    // Drawn once each; any positive mode other than 1 shows the set pad.
    EXPECT_EQ(&presetPadImage(kSetPad), &presetPadImage(3));
}

TEST(PresetPad, HeadingsBlueCrossAndStopKeyAsEachPadHasThem)
{
    // "Select preset camera position" carries more ink than "Set preset"; both stay above the
    // keys and left of the cross.
    EXPECT_GT(inkIn(setPad(), kPadHeadingRect), 150);
    EXPECT_GT(inkIn(gotoPad(), kPadHeadingRect), inkIn(setPad(), kPadHeadingRect) * 3 / 2);
    for (const QImage* pad : {&gotoPad(), &setPad()}) {
        EXPECT_EQ(inkIn(*pad, QRect(QPoint(10, 95), QPoint(286, 101))), 0);
        EXPECT_EQ(inkIn(*pad, QRect(QPoint(228, 58), QPoint(286, 101))), 0);
        const QColor cross = pad->pixelColor(kPadCrossRect.center());
        EXPECT_GT(cross.blue(), cross.red() + 80);
        EXPECT_GT(inkIn(*pad, kPadCrossRect), 300);
        EXPECT_EQ(inkIn(*pad, kPadCrossRect.adjusted(-3, -3, 3, 3)), inkIn(*pad, kPadCrossRect));
    }
    const QRect stop = kPadStopRect;
    EXPECT_TRUE(isGrey(gotoPad().pixelColor(stop.topLeft() + QPoint(8, 8))));
    EXPECT_GT(inkIn(gotoPad(), stop), stop.width() * stop.height() * 9 / 10);
    EXPECT_EQ(inkIn(setPad(), stop), 0);
}

TEST(PresetPad, DrawnKeysLieInsideTheirClickRegions)
{
    const QPoint origin(padLeft(800), kPadTop);
    const auto corners = [](QRect r) {
        return std::array{r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
    };
    for (const signed char mode : {kGotoPad, kSetPad}) {
        for (int key = 1; key <= 9; ++key) {
            QRect r = padKeyRect(key);
            if (key >= 7)
                r.setTop(r.top() + 4); // the top four rows of 7, 8 and 9 lie just above
            for (const QPoint p : corners(r))
                EXPECT_EQ(padHitTest(mode, p + origin, 800), (PadHit{PadHit::Key, key})) << key;
        }
        for (const QPoint p : corners(kPadCrossRect))
            EXPECT_EQ(padHitTest(mode, p + origin, 800).kind, PadHit::Cross);
    }
    for (const QPoint p : corners(kPadStopRect))
        EXPECT_EQ(padHitTest(kGotoPad, p + origin, 800).kind, PadHit::Stop);
}

} // namespace
