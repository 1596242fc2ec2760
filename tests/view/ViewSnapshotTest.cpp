// The snapshot cycle of a view against the simulated camera.
#include "ViewFixture.h"

#include "camera/CameraRequest.h"
#include "view/VarnekJPGView.h"

#include <QDir>

namespace {

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");

class ViewSnapshotTest : public CameraTest {
protected:
    QObject document;
};

TEST_F(ViewSnapshotTest, TheFirstUpdateStartsOneSecondPollingAndTheFirstTickFetches)
{
    CVarnekJPGView view;
    view.SetDocument(&document);
    EXPECT_EQ(view.autoJpgPath(), folder.file(QStringLiteral("auto.jpg")));
    EXPECT_FALSE(view.windowTimer().isActive());

    view.OnInitialUpdate();
    EXPECT_TRUE(view.windowTimer().isActive());
    EXPECT_EQ(view.windowTimer().interval(), 1000);
    EXPECT_EQ(view.snapshotTimer().timerId(), 100u);
    EXPECT_EQ(snapshotRequests(), 0);

    view.SnapshotTimerProc();
    EXPECT_EQ(snapshotRequests(), 1);
    EXPECT_TRUE(folder.exists(QStringLiteral("auto.jpg")));
    EXPECT_TRUE(view.windowTimer().isActive());
    EXPECT_FALSE(view.snapshotTimer().fetchInProgress());
}

TEST_F(ViewSnapshotTest, ACameraAnsweringWithAnErrorTurnsTheTimerOffAndKeepsNoPicture)
{
    CVarnekJPGView view;
    view.SetDocument(&document);
    view.OnInitialUpdate();
    view.SnapshotTimerProc();
    ASSERT_TRUE(folder.exists(QStringLiteral("auto.jpg")));

    camera->setFault(fakecam::Fault::SnapshotNotFound);
    view.SnapshotTimerProc();
    EXPECT_FALSE(view.windowTimer().isActive());
    EXPECT_EQ(view.snapshotTimer().timerId(), 0u);
    EXPECT_EQ(view.snapshotTimer().setting(), 0);
    EXPECT_EQ(view.windowTitle(), kFailureTitle);
    EXPECT_FALSE(folder.exists(QStringLiteral("auto.jpg"))) << "the 404 page is no picture";
}

TEST_F(ViewSnapshotTest, AWrongPasswordTurnsTheTimerOffInsteadOfShowingABlankPicture)
{
    SettingsStore().write(kValuePassword, QStringLiteral("not-the-password"));
    CVarnekJPGView view;
    view.SetDocument(&document);
    view.OnInitialUpdate();
    view.SnapshotTimerProc();
    const auto requests = camera->requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().path, "/tmpfs/auto.jpg");
    EXPECT_EQ(requests.back().status, 401);
    EXPECT_FALSE(view.windowTimer().isActive());
    EXPECT_EQ(view.windowTitle(), kFailureTitle);
    EXPECT_FALSE(folder.exists(QStringLiteral("auto.jpg")));
}

TEST_F(ViewSnapshotTest, AProgramFolderTooLongForAutoJpgIsReportedAndNothingIsLoaded)
{
    // A folder whose path leaves no room for "/auto.jpg" within 500 units.
    QString deep = folder.path();
    const int wanted = 491;
    while (deep.size() < wanted) {
        const int room = std::min<int>(200, wanted - static_cast<int>(deep.size()) - 1);
        deep += QLatin1Char('/') + QString(std::max(room, 1), QLatin1Char('d'));
    }
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QDir::setCurrent(deep));
    setCurrentCameraSettings(CameraSettings{});

    CVarnekJPGView view;
    view.SetDocument(&document);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].caption, QStringLiteral("CVarnekJPG"));
    EXPECT_EQ(desktop.messages()[0].text, pathRuleMessage(QStringLiteral("auto.jpg")));
    EXPECT_TRUE(desktop.messages()[0].text.contains(QStringLiteral("appending /auto.jpg")));
    EXPECT_TRUE(view.autoJpgPath().isEmpty());
    EXPECT_EQ(currentCameraSettings(), CameraSettings{}) << "the settings are not loaded";

    // Its fetches fail, and say so.
    view.OnInitialUpdate();
    view.SnapshotTimerProc();
    EXPECT_EQ(snapshotRequests(), 0);
    EXPECT_FALSE(view.windowTimer().isActive());
    EXPECT_EQ(view.windowTitle(), kFailureTitle);
    QDir::setCurrent(folder.path());
}

} // namespace
