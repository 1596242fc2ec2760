#include "camera/CameraSettings.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class CameraSettingsTest : public ::testing::Test {
protected:
    mode_t fileMode() const
    {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(store.filePath()).constData(), &info), 0);
        return info.st_mode & 0777;
    }
    TempFolder folder;
    SettingsStore store{SettingsStore::defaultFilePath()};
};

TEST_F(CameraSettingsTest, MissingEmptyAndTooLongValues)
{
    CameraSettings record = readCameraSettings(store);
    EXPECT_EQ(record.snapshotUrl, QStringLiteral("http://192.168.1.88/tmpfs/auto.jpg"));
    EXPECT_EQ(record.userName, QStringLiteral("admin"));
    EXPECT_EQ(record.password, QStringLiteral("pelto"));

    // A stored empty text is a value of its own, not a missing one.
    ASSERT_TRUE(store.write(kValueUserName, QString()));
    EXPECT_EQ(readCameraSettings(store).userName, QString());
    // 29 characters fit a field of 30 units with its terminator, 30 do not.
    ASSERT_TRUE(store.write(kValuePassword, QString(29, QLatin1Char('p'))));
    EXPECT_EQ(readCameraSettings(store).password, QString(29, QLatin1Char('p')));
    ASSERT_TRUE(store.write(kValuePassword, QString(30, QLatin1Char('p'))));
    EXPECT_EQ(readCameraSettings(store).password, QStringLiteral("pelto"));
    const QString url299 = QStringLiteral("http://127.0.0.1/") + QString(299 - 17, QLatin1Char('a'));
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299));
    EXPECT_EQ(readCameraSettings(store).snapshotUrl, url299);
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299 + QLatin1Char('b')));
    EXPECT_EQ(readCameraSettings(store).snapshotUrl, QStringLiteral("http://192.168.1.88/tmpfs/auto.jpg"));
}

TEST_F(CameraSettingsTest, TextsSurviveTheFileAndAHandWrittenFileIsRead)
{
    const QString password = QStringLiteral("p=ä;#,\"x\\");
    ASSERT_TRUE(store.write(kValuePassword, password));
    EXPECT_EQ(readCameraSettings(SettingsStore(store.filePath())).password, password);

    QFile file(store.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nHTML=http://127.0.0.1:8765/tmpfs/auto.jpg?a=1,b=2\nUserName=\nPassword=pelto\n");
    file.close();
    const CameraSettings record = readCameraSettings(store);
    EXPECT_EQ(record.snapshotUrl, QStringLiteral("http://127.0.0.1:8765/tmpfs/auto.jpg?a=1,b=2"));
    EXPECT_EQ(record.userName, QString());
}

TEST_F(CameraSettingsTest, TheFileIsForItsOwnerOnlyAndKeepsEightRecentFiles)
{
    ASSERT_TRUE(store.write(kValuePassword, QStringLiteral("secret")));
    EXPECT_EQ(fileMode(), 0600u);
    // A file someone widened is narrowed again by the next write.
    ::chmod(QFile::encodeName(store.filePath()).constData(), 0644);
    QStringList files;
    for (int i = 1; i <= 10; ++i)
        files << QStringLiteral("/tmp/file%1.jpg").arg(i);
    ASSERT_TRUE(store.setRecentFiles(files));
    EXPECT_EQ(fileMode(), 0600u);
    EXPECT_EQ(store.recentFiles(), files.mid(0, 8));
    ASSERT_TRUE(store.setRecentFiles(files.mid(0, 2)));
    EXPECT_EQ(store.recentFiles(), files.mid(0, 2));
    // The program-wide record follows the file only when reloaded.
    LoadCameraSettings();
    ASSERT_TRUE(store.write(kValuePassword, QStringLiteral("second")));
    EXPECT_EQ(currentCameraSettings().password, QStringLiteral("secret"));
    LoadCameraSettings();
    EXPECT_EQ(currentCameraSettings().password, QStringLiteral("second"));
}

} // namespace
