// The live picture as drawn from auto.jpg, and a program folder with no room for that file.
#include "support/CameraFixture.h"

#include "fakecam/SnapshotRenderer.h"
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
    // One snapshot cycle of the view's timer, waited for; its result.
    int refresh()
    {
        int fetched = -1;
        view.snapshotTimer().RefreshSnapshot([&](int result) { fetched = result; });
        return settled(view.link()) ? fetched : -1;
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
    int captionInk = 0; // light text on the caption's dark band
    for (int y = 10; y < 28; ++y)
        for (int x = 15; x < 300; ++x)
            captionInk += qGray(image.pixel(x, y)) > 150;
    EXPECT_GT(captionInk, 100) << "the caption's text";
    EXPECT_EQ(litInRow(image, 779), 999) << "the last of 750 rows";
    EXPECT_EQ(litInRow(image, 780), 0);

    // Each paint reads the file again: missing, an error page where the picture should be, a file
    // cut short, a header claiming 30000 x 30000 pixels (too big to decode even at an eighth):
    // no picture, no caption.
    QByteArray huge = fakecam::encodeJpeg(QImage(16, 16, QImage::Format_RGB32));
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\x75\x30\x75\x30", 4));
    for (const QByteArray& content : {QByteArray(), QByteArray("<html>401 Unauthorized</html>"), QByteArray("\xFF\xD8\xFF\xE0", 4), huge}) {
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

TEST_F(ViewPaintTest, APictureIsDecodedOncePerFileAndSizeAndANewOneShowsAtTheNextPaint)
{
    view.setDocument(&document);
    view.resize(1000, 800);
    ASSERT_EQ(refresh(), 0);
    const QImage first = render();
    EXPECT_EQ(view.pictureDecoder().decodes(), 1);
    EXPECT_EQ(render(), first) << "a repaint draws the same picture";
    EXPECT_EQ(view.pictureDecoder().decodes(), 1) << "without decoding it again";

    // The camera's next picture, red above blue, replaces auto.jpg: the next paint shows it.
    QImage next(640, 480, QImage::Format_RGB32);
    next.fill(Qt::blue);
    QPainter(&next).fillRect(0, 0, 640, 240, Qt::red);
    camera->setPage("/tmpfs/auto.jpg", fakecam::encodeJpeg(next).toStdString(), 200, "image/jpeg");
    ASSERT_EQ(refresh(), 0);
    const auto isRed = [](QRgb pixel) { return qRed(pixel) > 240 && qBlue(pixel) < 20; };
    const auto isBlue = [](QRgb pixel) { return qBlue(pixel) > 240 && qRed(pixel) < 20; };
    QImage image = render();
    EXPECT_TRUE(isRed(image.pixel(500, 200)) && isBlue(image.pixel(500, 700)));
    EXPECT_EQ(view.pictureDecoder().decodes(), 2);
    view.resize(300, 400); // 300 x 225 from (1, 30)
    image = render();
    EXPECT_TRUE(isRed(image.pixel(150, 60)) && isBlue(image.pixel(150, 220)) && isBlue(image.pixel(299, 254)));
    EXPECT_EQ(litInRow(image, 255), 0);
    EXPECT_EQ(view.pictureDecoder().decodes(), 3) << "a view half as wide as the picture decodes it at half size";

    // A picture TurboJPEG does not read is still shown, and a file that is gone shows nothing.
    QBuffer png;
    ASSERT_TRUE(png.open(QIODevice::WriteOnly) && next.save(&png, "PNG"));
    QFile::remove(view.autoJpgPath());
    folder.write(QStringLiteral("auto.jpg"), png.data());
    EXPECT_EQ(render().pixelColor(150, 220), QColor(Qt::blue));
    QFile::remove(view.autoJpgPath());
    EXPECT_EQ(litInRow(render(), 200), 0);
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
