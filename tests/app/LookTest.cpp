// How the program's own drawings and the About box look, pixel for pixel, against the pictures
// in tests/look that were looked at and found right. When a drawing is changed on purpose, run
// the suite with VARNEK_WRITE_LOOK=1 to write the new pictures, look at them, and commit them.
#include "AppFixture.h"

#include "app/AboutDlg.h"
#include "app/Artwork.h"
#include "sdcard/TreeImageList.h"
#include "view/PresetPad.h"

#include <QDir>
#include <QPainter>

namespace {

// The anti-aliasing of another processor may move a channel by a few steps; a drawing that
// changed moves whole pixels.
constexpr int kChannelSlack = 12;

::testing::AssertionResult looksAsBefore(const char* name, const QImage& drawn)
{
    const QString stored = QStringLiteral(VARNEK_LOOK_DIR "/%1.png").arg(QLatin1String(name));
    const QImage shown = drawn.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("VARNEK_WRITE_LOOK"))
        shown.save(stored);
    const QImage expected = QImage(stored).convertToFormat(QImage::Format_RGB32);
    if (expected.size() != shown.size())
        return ::testing::AssertionFailure() << name << ": drawn " << shown.width() << "x" << shown.height()
                                             << ", looked at " << expected.width() << "x" << expected.height();
    int differing = 0;
    QPoint first;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > kChannelSlack || std::abs(qGreen(a) - qGreen(b)) > kChannelSlack
                || std::abs(qBlue(a) - qBlue(b)) > kChannelSlack) {
                if (differing++ == 0)
                    first = QPoint(x, y);
            }
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    const QString now = QDir::temp().filePath(QStringLiteral("varnek-look-%1.png").arg(QLatin1String(name)));
    shown.save(now);
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ, the first at " << first.x()
                                         << "," << first.y() << "; drawn now: " << now.toStdString();
}

// Images side by side on a grey ground.
QImage sideBySide(const QList<QImage>& images, int gap = 4)
{
    int width = gap, height = 0;
    for (const QImage& image : images) {
        width += image.width() + gap;
        height = std::max(height, image.height());
    }
    QImage sheet(width, height + 2 * gap, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    QPainter painter(&sheet);
    int x = gap;
    for (const QImage& image : images) {
        painter.drawImage(x, gap, image);
        x += image.width() + gap;
    }
    return sheet;
}

TEST(Look, ToolbarImagesProgramIconPadsAndTreeImages)
{
    QList<QImage> toolbar;
    for (int i = 0; i < kToolbarImageCount; ++i)
        toolbar << toolbarImage(i).scaled(4 * kToolbarImageWidth, 4 * kToolbarImageHeight);
    EXPECT_TRUE(looksAsBefore("toolbar", sideBySide(toolbar)));
    EXPECT_TRUE(looksAsBefore("icon", sideBySide({programIconImage(16), programIconImage(32), programIconImage(48)})));
    EXPECT_TRUE(looksAsBefore("pads", sideBySide({presetPadImage(PadMode::Goto), presetPadImage(PadMode::Set)})));
    const QImage tree = drawTreeBoundsStrip();
    EXPECT_TRUE(looksAsBefore("tree", tree.scaled(tree.size() * 4)));
}

TEST_F(AppTest, TheAboutBoxAndTheToolbar)
{
    ASSERT_TRUE(start());
    frame->resize(900, 600);
    EXPECT_TRUE(looksAsBefore("toolbar-in-window", frame->toolBar()->grab().toImage()));
    CAboutDlg about(frame);
    about.show();
    EXPECT_TRUE(looksAsBefore("about", about.grab().toImage()));
}

} // namespace
