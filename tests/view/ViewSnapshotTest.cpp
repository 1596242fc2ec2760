// A program folder with no room for auto.jpg: reported once, and every fetch fails.
#include "support/CameraFixture.h"

#include "camera/CameraRequest.h"
#include "view/VarnekJPGView.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");

class ViewSnapshotTest : public CameraTest {
protected:
    QObject document;
};

TEST_F(ViewSnapshotTest, AProgramFolderTooLongForAutoJpgIsReportedAndNothingIsLoaded)
{
    // A folder whose path leaves no room for "/auto.jpg" within 500 units.
    QString deep = folder.path();
    while (deep.size() < 491)
        deep += QLatin1Char('/') + QString(std::clamp<int>(490 - int(deep.size()), 1, 200), QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QDir::setCurrent(deep));
    setCurrentCameraSettings(CameraSettings{});

    CVarnekJPGView view;
    view.setDocument(&document);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].caption, QStringLiteral("CVarnekJPG"));
    EXPECT_TRUE(desktop.messages()[0].text.contains(QStringLiteral("appending /auto.jpg")));
    EXPECT_TRUE(view.autoJpgPath().isEmpty());
    EXPECT_EQ(currentCameraSettings(), CameraSettings{}) << "the settings are not loaded";

    // Its fetches fail, and say so.
    view.OnInitialUpdate();
    view.snapshotTimer().SnapshotTimerProc();
    EXPECT_EQ(snapshotRequests(), 0);
    EXPECT_FALSE(view.windowTimer().isActive());
    EXPECT_EQ(view.windowTitle(), kFailureTitle);
    QDir::setCurrent(folder.path());
}

} // namespace
