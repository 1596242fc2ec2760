// The live picture as drawn: rendered into an image and measured.
#include "support/CameraFixture.h"

#include "view/PictureLayout.h"
#include "view/VarnekJPGView.h"

#include <QFontMetrics>
#include <QImageReader>

namespace {

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

QImage render(CVarnekJPGView& view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view.render(&image);
    return image;
}

// The share of sample points inside dest whose colour is that of the source picture's pixel
// there, give or take the JPEG's noise.
double matchingShare(const QImage& drawn, const QImage& source, const QRect& dest)
{
    int samples = 0, matches = 0;
    for (int y = dest.top() + 3; y < dest.bottom() - 3; y += dest.height() / 23) {
        for (int x = dest.left() + 3; x < dest.right() - 3; x += dest.width() / 29) {
            const QColor a = drawn.pixelColor(x, y);
            const QColor b = source.pixelColor((x - dest.left()) * source.width() / dest.width(),
                                               (y - dest.top()) * source.height() / dest.height());
            ++samples;
            matches += qAbs(a.red() - b.red()) < 48 && qAbs(a.green() - b.green()) < 48 && qAbs(a.blue() - b.blue()) < 48;
        }
    }
    return samples ? double(matches) / samples : 0.0;
}

int blackInRow(const QImage& image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += isBlack(image, x, y) ? 1 : 0;
    return count;
}

class ViewPaintTest : public CameraTest {
protected:
    // Fetches one picture into a view of the given size and renders it.
    QImage fetchAndRender(int viewWidth, int viewHeight)
    {
        view = std::make_unique<CVarnekJPGView>();
        view->setDocument(&document);
        view->resize(viewWidth, viewHeight);
        EXPECT_EQ(view->snapshotTimer().RefreshSnapshot(), 0);
        source = QImageReader(view->autoJpgPath()).read();
        EXPECT_FALSE(source.isNull());
        return render(*view);
    }

    // The caption band: at (15, 10), as wide as the expected text and as high as the font's cell,
    // with light text on dark grey; black around it.
    void expectCaption(const QImage& image, const char* sizeAndScale)
    {
        const QString expectedText = view->autoJpgPath() + QString::fromLatin1(sizeAndScale);
        const QFontMetrics metrics(captionFont());
        const int width = metrics.horizontalAdvance(expectedText);
        const int height = metrics.height();
        ASSERT_LT(15 + width + 1, image.width());
        int band = 0, text = 0;
        for (int y = 10; y < 10 + height; ++y) {
            EXPECT_TRUE(isBlack(image, 14, y)) << "left of the band, row " << y;
            EXPECT_FALSE(isBlack(image, 15, y)) << "band's left edge, row " << y;
            EXPECT_FALSE(isBlack(image, 15 + width - 1, y)) << "band's right edge, row " << y;
            EXPECT_TRUE(isBlack(image, 15 + width, y)) << "right of the band, row " << y;
            for (int x = 15; x < 15 + width; ++x) {
                const QColor c = image.pixelColor(x, y);
                band += c == QColor(50, 50, 50) ? 1 : 0;
                text += c.red() > 150 && c.red() == c.green() && c.green() == c.blue() ? 1 : 0;
            }
        }
        EXPECT_GT(band, width * height / 2) << "a dark grey band";
        EXPECT_GT(text, 5 * expectedText.size()) << "light grey letters";
        EXPECT_TRUE(isBlack(image, 15, 10 + height) && isBlack(image, 15, 9)) << "nothing above or below";
    }

    QObject document;
    std::unique_ptr<CVarnekJPGView> view;
    QImage source;
};

TEST_F(ViewPaintTest, ThePictureIsStretchedToTheViewsWidthAtOneThirtyBelowItsCaption)
{
    struct Row { QSize picture, view; int lastRow; const char* caption; };
    const Row rows[] = {
        {{640, 480}, {1280, 1100}, 989, "    640 by 480  200%"},  // 1280 x 960
        {{1920, 1080}, {1000, 700}, 591, "    1920 by 1080  52%"}, // 1000 x 562: 562.5 truncated
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        fakecam::Options options;
        options.width = r.picture.width();
        options.height = r.picture.height();
        useCamera(options);
        const QImage image = fetchAndRender(r.view.width(), r.view.height());
        ASSERT_EQ(source.size(), r.picture);
        EXPECT_EQ(blackInRow(image, 29), image.width()) << "the row above the picture stays black";
        EXPECT_LT(blackInRow(image, 30), image.width() / 4) << "the picture's first row";
        EXPECT_LT(blackInRow(image, r.lastRow), image.width() / 4) << "the picture's last row";
        EXPECT_EQ(blackInRow(image, r.lastRow + 1), image.width()) << "the row below the picture";
        for (int y = 30; y <= r.lastRow; y += 37)
            EXPECT_TRUE(isBlack(image, 0, y)) << "column 0 lies left of the picture, row " << y;
        EXPECT_GT(matchingShare(image, source, QRect(QPoint(1, 30), QPoint(r.view.width(), r.lastRow))), 0.9);
        expectCaption(image, r.caption);
    }
}

TEST_F(ViewPaintTest, EachPaintDecodesTheFileAfreshAndDrawsNothingWithoutAPicture)
{
    fetchAndRender(640, 600);
    QImage red(320, 100, QImage::Format_RGB32);
    red.fill(QColor(220, 0, 0));
    ASSERT_TRUE(red.save(view->autoJpgPath(), "JPG"));
    QImage image = render(*view);
    EXPECT_GT(image.pixelColor(320, 30 + 100).red(), 180);
    EXPECT_LT(image.pixelColor(320, 30 + 100).green(), 40);
    EXPECT_EQ(blackInRow(image, 30 + 200), image.width()) << "200 rows high at 200%";
    expectCaption(image, "    320 by 100  200%");

    // Missing, an error page where the picture should be, a file cut short: no picture, no caption.
    QFile::remove(view->autoJpgPath());
    for (const QByteArray& content : {QByteArray(), QByteArray("<html>401 Unauthorized</html>"),
                                      QByteArray("\xFF\xD8\xFF\xE0", 4)}) {
        if (!content.isNull())
            folder.write(QStringLiteral("auto.jpg"), content);
        image = render(*view);
        for (int y = 0; y < image.height(); y += 7)
            ASSERT_EQ(blackInRow(image, y), image.width()) << "row " << y << " with " << content.constData();
    }
}

} // namespace
