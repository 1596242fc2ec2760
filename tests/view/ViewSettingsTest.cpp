// The settings dialog and the view's "&Settings" command: what the dialog shows, what it stores,
// and what the program then uses.
#include "support/CameraFixture.h"

#include "view/CommandIds.h"
#include "view/Settings.h"
#include "view/VarnekJPGView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>

namespace {

const QString kCameraUrl = QStringLiteral("http://127.0.0.1:9/tmpfs/auto.jpg");
const QString kDefaultUrl = QStringLiteral("http://192.168.1.88/tmpfs/auto.jpg");

QLineEdit* field(CSettings& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QLatin1String(name));
}
QPushButton* button(CSettings& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}
QStringList fields(CSettings& dialog)
{
    return {field(dialog, "snapshotUrl")->text(), field(dialog, "userName")->text(), field(dialog, "password")->text()};
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
        ASSERT_TRUE(view.OnCmdMsg(cmd::Settings, nullptr));
    }
    QStringList storedValues()
    {
        QStringList values;
        for (const QString& name : {kValueSnapshotUrl, kValueUserName, kValuePassword})
            values << store.read(name, 1000).value_or(QStringLiteral("(none)"));
        return values;
    }

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
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(loaded, (CameraSettings{kDefaultUrl, "admin", "pelto"}));
    EXPECT_EQ(shown, QStringList({"", "", ""}));
    EXPECT_EQ(storedValues(), QStringList({"(none)", "(none)", "(none)"}));
}

TEST_F(ViewSettingsTest, SetToDefaultsThenCancelStoresAndUsesTheDefaults)
{
    QStringList shown, afterDefaults;
    runSettings(camera, [&](CSettings& dialog) {
        shown = fields(dialog);
        QTest::mouseClick(button(dialog, "setDefaults"), Qt::LeftButton);
        afterDefaults = fields(dialog);
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(shown, camera);
    EXPECT_EQ(afterDefaults, QStringList({kDefaultUrl, "admin", "pelto"}));
    EXPECT_EQ(storedValues(), afterDefaults);
    EXPECT_EQ(currentCameraSettings(), (CameraSettings{kDefaultUrl, "admin", "pelto"}));
}

TEST_F(ViewSettingsTest, EnterMeansOkWhereverTheFocusIsAndOkStoresNothingUnapplied)
{
    for (const char* focused : {"setDefaults", "apply", "snapshotUrl"}) {
        SCOPED_TRACE(focused);
        runSettings(camera, [&](CSettings& dialog) {
            field(dialog, "snapshotUrl")->setText(QStringLiteral("http://127.0.0.1:10/tmpfs/auto.jpg"));
            QWidget* target = dialog.findChild<QWidget*>(QLatin1String(focused));
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        });
        EXPECT_EQ(storedValues(), camera);
        EXPECT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);
    }
}

TEST_F(ViewSettingsTest, AppliedValuesAreStoredAsTypedAndATooLongPasswordShowsEmpty)
{
    QStringList shown;
    runSettings({kCameraUrl, "viewer", QString(30, QLatin1Char('p'))}, [&](CSettings& dialog) {
        shown = fields(dialog);
        field(dialog, "snapshotUrl")->setText(QString(600, QLatin1Char('x')));
        field(dialog, "userName")->clear();
        QTest::mouseClick(button(dialog, "apply"), Qt::LeftButton);
        QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    });
    EXPECT_EQ(loaded, (CameraSettings{kCameraUrl, "viewer", "pelto"})) << "too long: the default";
    EXPECT_EQ(shown, QStringList({kCameraUrl, "viewer", ""}));
    EXPECT_EQ(storedValues(), QStringList({QString(499, QLatin1Char('x')), "", ""}));
    EXPECT_EQ(currentCameraSettings(), (CameraSettings{kDefaultUrl, "", ""}))
        << "a URL too long to load gives the default; empty names stay empty";
}

TEST_F(ViewSettingsTest, LaidOutFromItsDialogUnits)
{
    CSettings dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VarnekJPG Settings"));
    EXPECT_EQ(dialog.size(), QSize(839, 327)) << "559 x 201 units";
    EXPECT_EQ(button(dialog, "ok")->geometry(), QRect(644, 293, 75, 23)) << "(429, 180, 50, 14) units";
    EXPECT_EQ(button(dialog, "setDefaults")->text(), QStringLiteral("Set to defaults"));
    EXPECT_EQ(field(dialog, "password")->echoMode(), QLineEdit::Normal);
}

} // namespace
