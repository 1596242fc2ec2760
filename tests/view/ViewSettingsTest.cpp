// The settings dialog and the view's "&Settings" command: what the dialog shows, what it stores,
// and what the program then uses.
#include "ViewFixture.h"

#include "camera/CameraSettings.h"
#include "camera/Settings.h"
#include "view/VarnekJPGView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>

namespace {

const QString kCameraUrl = QStringLiteral("http://127.0.0.1:9/tmpfs/auto.jpg");
const CameraSettings kDefaults{defaultSnapshotUrl(), defaultUserName(), defaultPassword()};

void click(CSettings& dialog, int id)
{
    auto* button = qobject_cast<QPushButton*>(dialog.GetDlgItem(id));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

void retype(CSettings& dialog, int id, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QStringList fields(const CSettings& dialog)
{
    return {dialog.GetDlgItemText(CSettings::IDC_SNAPSHOT_URL), dialog.GetDlgItemText(CSettings::IDC_USER_NAME),
            dialog.GetDlgItemText(CSettings::IDC_PASSWORD)};
}

class ViewSettingsTest : public ::testing::Test {
protected:
    // A view started with these stored settings (none when empty), its dialog opened from the
    // "&Settings" command and handled by act.
    void runSettings(const QStringList& stored, std::function<void(CSettings&)> act)
    {
        for (int i = 0; i < stored.size(); ++i)
            ASSERT_TRUE(store.write(std::array{kValueSnapshotUrl, kValueUserName, kValuePassword}[i], stored[i]));
        CVarnekJPGView view;
        loaded = currentCameraSettings();
        whenModalOpen<CSettings>(std::move(act));
        ASSERT_TRUE(view.OnCmdMsg(32771, nullptr));
    }
    QString stored(const QString& name) { return store.read(name, 1000).value_or(QStringLiteral("(none)")); }

    TempFolder folder;
    platform::RecordingDesktop desktop;
    SettingsStore store;
    CameraSettings loaded;
    const QStringList camera{kCameraUrl, QStringLiteral("viewer"), QStringLiteral("s3cret")};
};

TEST_F(ViewSettingsTest, FirstRunUsesTheDefaultsButShowsThreeEmptyFieldsAndCancelStoresNothing)
{
    QStringList shown;
    runSettings({}, [&](CSettings& dialog) {
        shown = fields(dialog);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    EXPECT_EQ(loaded, kDefaults);
    EXPECT_EQ(shown, QStringList({"", "", ""}));
    EXPECT_EQ(stored(kValueSnapshotUrl), QStringLiteral("(none)"));
}

TEST_F(ViewSettingsTest, SetToDefaultsThenCancelStoresAndUsesTheDefaults)
{
    QStringList shown, afterDefaults;
    runSettings(camera, [&](CSettings& dialog) {
        shown = fields(dialog);
        click(dialog, CSettings::IDC_SET_DEFAULTS);
        afterDefaults = fields(dialog);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    EXPECT_EQ(shown, camera);
    EXPECT_EQ(afterDefaults, QStringList({defaultSnapshotUrl(), "admin", defaultPassword()}));
    EXPECT_EQ(QStringList({stored(kValueSnapshotUrl), stored(kValueUserName), stored(kValuePassword)}), afterDefaults);
    EXPECT_EQ(currentCameraSettings(), kDefaults);
}

TEST_F(ViewSettingsTest, ANewUrlConfirmedWithOkButNeverAppliedIsLost)
{
    runSettings(camera, [&](CSettings& dialog) {
        retype(dialog, CSettings::IDC_SNAPSHOT_URL, QStringLiteral("http://127.0.0.1:10/tmpfs/auto.jpg"));
        click(dialog, CSettings::IDOK_BUTTON);
    });
    EXPECT_EQ(stored(kValueSnapshotUrl), kCameraUrl);
    EXPECT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);
}

TEST_F(ViewSettingsTest, AnAppliedEmptyUserNameLoadsEmptyNotAsTheDefault)
{
    runSettings(camera, [&](CSettings& dialog) {
        retype(dialog, CSettings::IDC_USER_NAME, QString());
        click(dialog, CSettings::IDC_APPLY);
        click(dialog, CSettings::IDOK_BUTTON);
    });
    EXPECT_EQ(stored(kValueUserName), QString(""));
    EXPECT_EQ(currentCameraSettings(), (CameraSettings{kCameraUrl, QString(), QStringLiteral("s3cret")}));
}

TEST_F(ViewSettingsTest, APasswordTooLongForItsFieldShowsEmptyAndLoadsAsTheDefault)
{
    QStringList shown;
    runSettings({kCameraUrl, QStringLiteral("viewer"), QString(30, QLatin1Char('p'))}, [&](CSettings& dialog) {
        shown = fields(dialog);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    EXPECT_EQ(loaded, (CameraSettings{kCameraUrl, QStringLiteral("viewer"), defaultPassword()}));
    EXPECT_EQ(shown, QStringList({kCameraUrl, "viewer", ""}));
}

TEST_F(ViewSettingsTest, LaidOutFromItsDialogUnitsAndApplyStoresAtMost499Characters)
{
    CSettings dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VarnekJPG Settings"));
    EXPECT_EQ(dialog.size(), QSize(839, 327)) << "559 x 201 units";
    EXPECT_EQ(dialog.GetDlgItem(CSettings::IDOK_BUTTON)->geometry(), QRect(644, 293, 75, 23))
        << "(429, 180, 50, 14) units";
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.GetDlgItem(CSettings::IDOK_BUTTON))->isDefault());
    EXPECT_EQ(dialog.GetDlgItemText(CSettings::IDC_SET_DEFAULTS), QStringLiteral("Set to defaults"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.GetDlgItem(CSettings::IDC_PASSWORD))->echoMode(), QLineEdit::Normal);

    dialog.SetDlgItemText(CSettings::IDC_SNAPSHOT_URL, QString(600, QLatin1Char('x')));
    dialog.SetDlgItemText(CSettings::IDC_PASSWORD, QStringLiteral("pw"));
    dialog.OnApply();
    EXPECT_EQ(stored(kValueSnapshotUrl), QString(499, QLatin1Char('x')));
    EXPECT_EQ(stored(kValueUserName), QString(""));
    EXPECT_EQ(stored(kValuePassword), QStringLiteral("pw"));
}

} // namespace
