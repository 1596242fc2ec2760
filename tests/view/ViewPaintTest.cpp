// The live picture as drawn from auto.jpg, and a program folder with no room for that file.
#include "support/CameraFixture.h"

#include "view/PictureLayout.h"
#include "view/VarnekJPGView.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>

namespace {

class ViewPaintTest : public CameraTest {
protected:
    QImage render()
    {
        QImage image(view.size(), QImage::Format_RGB32);
        view.render(&image);
        return image;
    }
    // Pixels of a row that are not the view's black.
    int litInRow(const QImage& image, int y)
    {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) != QColor(Qt::black);
        return count;
    }

    QObject document;
    CVarnekJPGView view;
};

TEST_F(ViewPaintTest, ThePictureIsStretchedToTheViewsWidthBelowItsCaptionAndEachPaintReadsTheFileAgain)
{
    view.setDocument(&document);
    view.resize(1000, 800);
    int fetched = -1;
    view.snapshotTimer().RefreshSnapshot([&](int result) { fetched = result; });
    ASSERT_TRUE(settled(view.link()));
    ASSERT_EQ(fetched, 0); // 640 x 480, drawn 1000 x 750 from (1, 30)
    QImage image = render();
    EXPECT_EQ(litInRow(image, 29), 0) << "nothing between caption and picture";
    EXPECT_EQ(litInRow(image, 30), 999) << "the picture's first row, from x = 1 to the right edge";
    EXPECT_EQ(image.pixelColor(0, 300), QColor(Qt::black));
    EXPECT_GT(litInRow(image, 15), 100) << "the caption";
    EXPECT_EQ(litInRow(image, 779), 999) << "the last of 750 rows";
    EXPECT_EQ(litInRow(image, 780), 0);

    // Each paint reads the file again: missing, an error page where the picture should be, a file
    // cut short: no picture, no caption.
    for (const QByteArray& content : {QByteArray(), QByteArray("<html>401 Unauthorized</html>"), QByteArray("\xFF\xD8\xFF\xE0", 4)}) {
        QFile::remove(view.autoJpgPath());
        if (!content.isNull())
            folder.write(QStringLiteral("auto.jpg"), content);
        image = render();
        for (int y = 0; y < image.height(); y += 7)
            ASSERT_EQ(litInRow(image, y), 0) << "row " << y << " with " << content.constData();
    }
}

TEST_F(ViewPaintTest, WhileTheNextPictureComesARepaintShowsThePreviousOne)
{
    view.setDocument(&document);
    view.resize(1000, 800);
    view.snapshotTimer().RefreshSnapshot();
    ASSERT_TRUE(settled(view.link()));
    camera->setAnswerDelay(std::chrono::milliseconds(500));
    view.snapshotTimer().RefreshSnapshot();
    QTest::qWait(200);
    ASSERT_EQ(view.link().running(), 1);
    EXPECT_EQ(litInRow(render(), 30), 999) << "the picture, not an empty view";
    ASSERT_TRUE(settled(view.link()));
}

TEST_F(ViewPaintTest, APictureDecodedSmallerKeepsItsTrueSizeInTheCaptionAndItsFullDetailInPrint)
{
    view.setDocument(&document);
    view.resize(900, 600);
    // Columns one pixel wide, black and white: a picture decoded at half its size is all grey.
    QImage frame(1920, 1080, QImage::Format_RGB32);
    for (int x = 0; x < frame.width(); ++x)
        QPainter(&frame).fillRect(x, 0, 1, frame.height(), x % 2 ? Qt::white : Qt::black);
    QBuffer jpeg;
    ASSERT_TRUE(jpeg.open(QIODevice::WriteOnly) && frame.save(&jpeg, "JPEG", 95));
    folder.write(QStringLiteral("auto.jpg"), jpeg.data());
    const QImage image = render();
    EXPECT_EQ(litInRow(image, 30), 899);
    EXPECT_EQ(litInRow(image, 535), 899) << "the last of 1080 * 900 / 1920 = 506 rows";
    EXPECT_EQ(litInRow(image, 536), 0);
    const QString caption = view.autoJpgPath() + QStringLiteral("    1920 by 1080  46%");
    const int band = QFontMetrics(captionFont()).horizontalAdvance(caption);
    EXPECT_NE(image.pixelColor(15 + band - 1, 12), QColor(Qt::black)) << "the caption's band";
    EXPECT_EQ(image.pixelColor(15 + band + 1, 12), QColor(Qt::black));

    // A print stretches the same drawing to the page: there the picture keeps its full detail.
    QImage page(1800, 1200, QImage::Format_RGB32);
    page.fill(Qt::black);
    QPainter painter(&page);
    painter.scale(2, 2);
    view.OnDraw(painter, 900);
    int dark = 0, light = 0;
    for (int x = 2; x < 1800; ++x) {
        dark += qGray(page.pixel(x, 400)) < 64;
        light += qGray(page.pixel(x, 400)) > 192;
    }
    EXPECT_GT(dark, 500);
    EXPECT_GT(light, 500);
}

TEST_F(CameraTest, AProgramFolderTooDeepForAutoJpgIsReportedOnceAndNothingIsLoaded)
{
    const QString deep = folder.path() + QStringLiteral("/%1/%1/%1").arg(QString(200, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkpath(deep) && QDir::setCurrent(deep));
    setCurrentCameraSettings({});
    CVarnekJPGView view;
    QDir::setCurrent(folder.path());
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_TRUE(desktop.messages()[0].text.contains(QStringLiteral("appending /auto.jpg")));
    EXPECT_EQ(currentCameraSettings(), CameraSettings{}) << "nothing loaded";
}

} // namespace
