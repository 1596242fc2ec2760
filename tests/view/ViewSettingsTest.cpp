// The settings dialog and the view's "&Settings" command: what the dialog shows, what it stores,
// and what the program then uses.
#include "support/TempFolder.h"

#include "camera/CameraSettings.h"
#include "camera/Settings.h"
#include "platform/RecordingDesktop.h"
#include "view/VarnekJPGView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kCameraUrl = QStringLiteral("http://127.0.0.1:9/tmpfs/auto.jpg");

// Acts on the settings dialog once the view's command has it up in its modal loop. The action is
// expected to close it; a dialog left open is a failure, and is closed so the test goes on.
void whenSettingsOpen(std::function<void(CSettings&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<CSettings*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        }
    });
    poll->start();
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

TEST_F(ViewSettingsTest, ApplyThenCancelKeepsWhatWasApplied)
{
    storeCamera();
    CVarnekJPGView view;
    const QString applied = QStringLiteral("http://127.0.0.1:11/tmpfs/auto.jpg");
    whenSettingsOpen([&](CSettings& dialog) {
        retype(dialog, CSettings::IDC_SNAPSHOT_URL, applied);
        click(dialog, CSettings::IDC_APPLY);
        retype(dialog, CSettings::IDC_SNAPSHOT_URL, QStringLiteral("http://127.0.0.1:12/never"));
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    view.OnSettings();
    EXPECT_EQ(currentCameraSettings().snapshotUrl, applied);
}

TEST_F(ViewSettingsTest, ValuesTooLongForTheirFieldsShowEmptyAndLoadAsDefaults)
{
    const QString url299 = QStringLiteral("http://127.0.0.1/") + QString(299 - 17, QLatin1Char('u'));
    ASSERT_EQ(url299.size(), 299);
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299));
    ASSERT_TRUE(store.write(kValuePassword, QString(30, QLatin1Char('p'))));
    ASSERT_TRUE(store.write(kValueUserName, QString(29, QLatin1Char('n'))));

    CVarnekJPGView view;
    EXPECT_EQ(currentCameraSettings().snapshotUrl, url299);
    EXPECT_EQ(currentCameraSettings().userName, QString(29, QLatin1Char('n')));
    EXPECT_EQ(currentCameraSettings().password, defaultPassword());

    QString shownUrl, shownPassword, shownUser;
    whenSettingsOpen([&](CSettings& dialog) {
        shownUrl = dialog.GetDlgItemText(CSettings::IDC_SNAPSHOT_URL);
        shownPassword = dialog.GetDlgItemText(CSettings::IDC_PASSWORD);
        shownUser = dialog.GetDlgItemText(CSettings::IDC_USER_NAME);
        click(dialog, CSettings::IDCANCEL_BUTTON);
    });
    view.OnSettings();
    EXPECT_EQ(shownUrl, url299);
    EXPECT_EQ(shownUser, QString(29, QLatin1Char('n')));
    EXPECT_TRUE(shownPassword.isEmpty());

    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299 + QLatin1Char('u')));
    LoadCameraSettings();
    EXPECT_EQ(currentCameraSettings().snapshotUrl, defaultSnapshotUrl());
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
    // 559 x 201 units.
    EXPECT_EQ(dialog.size(), QSize(839, 327));
    // OK at (429, 180, 50, 14) units.
    EXPECT_EQ(dialog.GetDlgItem(CSettings::IDOK_BUTTON)->geometry(), QRect(644, 293, 75, 23));
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.GetDlgItem(CSettings::IDOK_BUTTON))->isDefault());
    const QStringList buttons = {dialog.GetDlgItemText(CSettings::IDC_SET_DEFAULTS),
                                 dialog.GetDlgItemText(CSettings::IDC_APPLY),
                                 dialog.GetDlgItemText(CSettings::IDOK_BUTTON),
                                 dialog.GetDlgItemText(CSettings::IDCANCEL_BUTTON)};
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Set to defaults"), QStringLiteral("Apply"),
                                    QStringLiteral("OK"), QStringLiteral("Cancel")}));
    auto* password = qobject_cast<QLineEdit*>(dialog.GetDlgItem(CSettings::IDC_PASSWORD));
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    bool exampleShown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        exampleShown = exampleShown
            || label->text() == QStringLiteral("Web address of the IP cam jpg file.  e.g. ") + defaultSnapshotUrl();
    EXPECT_TRUE(exampleShown);
}

} // namespace
