// The settings dialog opened by "&Settings": what it shows, stores, and the program then uses.
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

QLineEdit* field(CSettings& dialog, const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); }
void click(CSettings& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}
QStringList fields(CSettings& d) { return {field(d, "snapshotUrl")->text(), field(d, "userName")->text(), field(d, "password")->text()}; }

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

TEST_F(ViewSettingsTest, FirstRunUsesTheDefaultsShowsEmptyFieldsAndSetToDefaultsStoresThemAtOnce)
{
    QStringList shown, tabs;
    runSettings({}, [&](CSettings& dialog) {
        shown = fields(dialog);
        field(dialog, "snapshotUrl")->setFocus();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            tabs << dialog.focusWidget()->objectName();
        }
        click(dialog, "setDefaults");
        click(dialog, "cancel");
    });
    EXPECT_EQ(loaded, (CameraSettings{kDefaultUrl, "admin", "pelto"}));
    EXPECT_EQ(shown, QStringList({"", "", ""}));
    EXPECT_EQ(tabs, QStringList({"userName", "password", "setDefaults", "apply", "ok"})) << "Tab goes down, then along";
    EXPECT_EQ(storedValues(), QStringList({kDefaultUrl, "admin", "pelto"})) << "stored although the dialog was cancelled";
}

TEST_F(ViewSettingsTest, TheStoredValuesAreShownAndEnterMeansOkWhereverTheFocusIsAndStoresNothingUnapplied)
{
    for (const char* focused : {"setDefaults", "apply", "snapshotUrl"}) {
        SCOPED_TRACE(focused);
        QStringList shown;
        runSettings(camera, [&](CSettings& dialog) {
            shown = fields(dialog);
            field(dialog, "snapshotUrl")->setText(QStringLiteral("http://127.0.0.1:10/tmpfs/auto.jpg"));
            QWidget* target = dialog.findChild<QWidget*>(QLatin1String(focused));
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        });
        EXPECT_EQ(shown, camera) << "the stored values";
        EXPECT_EQ(storedValues(), camera);
        EXPECT_EQ(currentCameraSettings().snapshotUrl, kCameraUrl);
    }
}

} // namespace
