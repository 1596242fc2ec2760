// The settings dialog and the view's "&Settings" command: what the dialog shows, what it stores,
// and what the program then uses.
#include "ViewFixture.h"

#include "camera/CameraSettings.h"
#include "camera/Settings.h"
#include "view/VarnekJPGView.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kCameraUrl = QStringLiteral("http://127.0.0.1:9/tmpfs/auto.jpg");

void whenSettingsOpen(std::function<void(CSettings&)> act)
{
    whenModalOpen<CSettings>(std::move(act));
}

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

class ViewSettingsTest : public ::testing::Test {
protected:
    void storeCamera()
    {
        ASSERT_TRUE(store.write(kValueSnapshotUrl, kCameraUrl));
        ASSERT_TRUE(store.write(kValueUserName, QStringLiteral("viewer")));
        ASSERT_TRUE(store.write(kValuePassword, QStringLiteral("s3cret")));
    }

    TempFolder folder;
    platform::RecordingDesktop desktop;
    SettingsStore store;
};

TEST_F(ViewSettingsTest, FirstRunUsesTheDefaultsButShowsThreeEmptyFields)
{
    CVarnekJPGView view;
    EXPECT_EQ(currentCameraSettings(),
              (CameraSettings{defaultSnapshotUrl(), defaultUserName(), defaultPassword()}));

    QString url, user, password;
    whenSettingsOpen([&](CSettings& dialog) {
        url = dialog.GetDlgItemText(CSettings::IDC_SNAPSHOT_URL);
        user = dialog.GetDlgItemText(CSettings::IDC_USER_NAME);
        password = dialog.GetDlgItemText(CSettings::IDC_PASSWORD);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    view.OnCmdMsg(32771, nullptr);
    EXPECT_TRUE(url.isEmpty());
    EXPECT_TRUE(user.isEmpty());
    EXPECT_TRUE(password.isEmpty());
    EXPECT_FALSE(store.read(kValueSnapshotUrl, 1000)) << "Cancel stores nothing";
}

TEST_F(ViewSettingsTest, SetToDefaultsThenCancelStoresAndUsesTheDefaults)
{
    storeCamera();
    CVarnekJPGView view;
    ASSERT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);

    QString shownUrl, shownUser, shownPassword, afterDefaults;
    whenSettingsOpen([&](CSettings& dialog) {
        shownUrl = dialog.GetDlgItemText(CSettings::IDC_SNAPSHOT_URL);
        shownUser = dialog.GetDlgItemText(CSettings::IDC_USER_NAME);
        shownPassword = dialog.GetDlgItemText(CSettings::IDC_PASSWORD);
        click(dialog, CSettings::IDC_SET_DEFAULTS);
        afterDefaults = dialog.GetDlgItemText(CSettings::IDC_SNAPSHOT_URL);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    view.OnSettings();
    EXPECT_EQ(shownUrl, kCameraUrl);
    EXPECT_EQ(shownUser, QStringLiteral("viewer"));
    EXPECT_EQ(shownPassword, QStringLiteral("s3cret"));
    EXPECT_EQ(afterDefaults, defaultSnapshotUrl());
    EXPECT_EQ(store.read(kValueSnapshotUrl, 1000), defaultSnapshotUrl());
    EXPECT_EQ(store.read(kValueUserName, 1000), QStringLiteral("admin"));
    EXPECT_EQ(store.read(kValuePassword, 1000), defaultPassword());
    EXPECT_EQ(currentCameraSettings(),
              (CameraSettings{defaultSnapshotUrl(), defaultUserName(), defaultPassword()}));
}

TEST_F(ViewSettingsTest, ANewUrlConfirmedWithOkButNeverAppliedIsLost)
{
    storeCamera();
    CVarnekJPGView view;
    whenSettingsOpen([&](CSettings& dialog) {
        retype(dialog, CSettings::IDC_SNAPSHOT_URL, QStringLiteral("http://127.0.0.1:10/tmpfs/auto.jpg"));
        click(dialog, CSettings::IDOK_BUTTON);
    });
    view.OnSettings();
    EXPECT_EQ(store.read(kValueSnapshotUrl, 1000), kCameraUrl);
    EXPECT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);
}

TEST_F(ViewSettingsTest, AnAppliedEmptyUserNameLoadsEmptyNotAsTheDefault)
{
    storeCamera();
    CVarnekJPGView view;
    whenSettingsOpen([&](CSettings& dialog) {
        retype(dialog, CSettings::IDC_USER_NAME, QString());
        click(dialog, CSettings::IDC_APPLY);
        click(dialog, CSettings::IDOK_BUTTON);
    });
    view.OnSettings();
    EXPECT_EQ(store.read(kValueUserName, 1000), QString(""));
    EXPECT_EQ(currentCameraSettings().userName, QString());
    EXPECT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);
    EXPECT_EQ(currentCameraSettings().password, QStringLiteral("s3cret"));
}

TEST_F(ViewSettingsTest, APasswordTooLongForItsFieldShowsEmptyAndLoadsAsTheDefault)
{
    storeCamera();
    ASSERT_TRUE(store.write(kValuePassword, QString(30, QLatin1Char('p'))));
    CVarnekJPGView view;
    EXPECT_EQ(currentCameraSettings().password, defaultPassword());
    EXPECT_EQ(currentCameraSettings().userName, QStringLiteral("viewer"));

    QString shownPassword = QStringLiteral("unset");
    whenSettingsOpen([&](CSettings& dialog) {
        shownPassword = dialog.GetDlgItemText(CSettings::IDC_PASSWORD);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    view.OnSettings();
    EXPECT_TRUE(shownPassword.isEmpty());
}

TEST_F(ViewSettingsTest, ApplyStoresAtMostFourHundredNinetyNineCharacters)
{
    CSettings dialog;
    dialog.SetDlgItemText(CSettings::IDC_SNAPSHOT_URL, QString(600, QLatin1Char('x')));
    dialog.SetDlgItemText(CSettings::IDC_PASSWORD, QStringLiteral("pw"));
    dialog.OnApply();
    EXPECT_EQ(store.read(kValueSnapshotUrl, 1000), QString(499, QLatin1Char('x')));
    EXPECT_EQ(store.read(kValueUserName, 1000), QString(""));
    EXPECT_EQ(store.read(kValuePassword, 1000), QStringLiteral("pw"));
}

TEST_F(ViewSettingsTest, LaidOutFromItsDialogUnits)
{
    CSettings dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VarnekJPG Settings"));
    EXPECT_EQ(dialog.size(), QSize(839, 327)) << "559 x 201 units";
    EXPECT_EQ(dialog.GetDlgItem(CSettings::IDOK_BUTTON)->geometry(), QRect(644, 293, 75, 23))
        << "(429, 180, 50, 14) units";
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.GetDlgItem(CSettings::IDOK_BUTTON))->isDefault());
    EXPECT_EQ(dialog.GetDlgItemText(CSettings::IDC_SET_DEFAULTS), QStringLiteral("Set to defaults"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.GetDlgItem(CSettings::IDC_PASSWORD))->echoMode(), QLineEdit::Normal);
}

} // namespace
