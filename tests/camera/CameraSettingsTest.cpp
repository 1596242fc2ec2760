#include "camera/CameraSettings.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class CameraSettingsTest : public ::testing::Test {
protected:
    TempFolder folder;
    SettingsStore store{SettingsStore::defaultFilePath()};
};

TEST_F(CameraSettingsTest, TheFileLiesUnderTheUsersConfigFolder)
{
    EXPECT_EQ(store.filePath(), folder.settingsFile());
}

TEST_F(CameraSettingsTest, WithoutAFileEveryFieldTakesItsDefault)
{
    const CameraSettings record = loadCameraSettings(store);
    EXPECT_EQ(record.snapshotUrl, defaultSnapshotUrl());
    EXPECT_TRUE(record.snapshotUrl.startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(record.snapshotUrl.endsWith(QStringLiteral("/tmpfs/auto.jpg")));
    EXPECT_EQ(record.userName, QStringLiteral("admin"));
    EXPECT_EQ(record.password, QStringLiteral("pelto"));
}

TEST_F(CameraSettingsTest, AStoredEmptyTextLoadsEmptyNotAsTheDefault)
{
    ASSERT_TRUE(store.write(kValueUserName, QString()));
    const CameraSettings record = loadCameraSettings(store);
    EXPECT_EQ(record.userName, QString());
    // The other values were never stored: they keep their defaults.
    EXPECT_EQ(record.password, QStringLiteral("pelto"));
}

TEST_F(CameraSettingsTest, ValuesTooLongForTheirFieldLoadTheDefault)
{
    ASSERT_TRUE(store.write(kValuePassword, QString(29, QLatin1Char('p'))));
    EXPECT_EQ(loadCameraSettings(store).password, QString(29, QLatin1Char('p')));
    ASSERT_TRUE(store.write(kValuePassword, QString(30, QLatin1Char('p'))));
    EXPECT_EQ(loadCameraSettings(store).password, defaultPassword());

    ASSERT_TRUE(store.write(kValueUserName, QString(30, QLatin1Char('u'))));
    EXPECT_EQ(loadCameraSettings(store).userName, defaultUserName());

    const QString url299 = QStringLiteral("http://127.0.0.1/") + QString(299 - 17, QLatin1Char('a'));
    ASSERT_EQ(url299.size(), 299);
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299));
    EXPECT_EQ(loadCameraSettings(store).snapshotUrl, url299);
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url299 + QLatin1Char('b')));
    EXPECT_EQ(loadCameraSettings(store).snapshotUrl, defaultSnapshotUrl());
}

TEST_F(CameraSettingsTest, TextsSurviveTheFileUnchanged)
{
    const QString url = QStringLiteral("http://127.0.0.1:8080/tmpfs/auto.jpg?a=1,b=2;c");
    const QString password = QStringLiteral("p=ä;#,\"x\\");
    ASSERT_TRUE(store.write(kValueSnapshotUrl, url));
    ASSERT_TRUE(store.write(kValuePassword, password));
    const CameraSettings record = loadCameraSettings(SettingsStore(store.filePath()));
    EXPECT_EQ(record.snapshotUrl, url);
    EXPECT_EQ(record.password, password);
}

TEST_F(CameraSettingsTest, TheFileIsCreatedForItsOwnerOnly)
{
    ASSERT_FALSE(QFile::exists(store.filePath()));
    ASSERT_TRUE(store.write(kValuePassword, QStringLiteral("secret")));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(store.filePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A file someone widened is narrowed again by the next write.
    ::chmod(QFile::encodeName(store.filePath()).constData(), 0644);
    ASSERT_TRUE(store.setRecentFiles({QStringLiteral("/tmp/a")}));
    ASSERT_EQ(::stat(QFile::encodeName(store.filePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(CameraSettingsTest, AHandWrittenFileIsRead)
{
    QDir().mkpath(QFileInfo(store.filePath()).absolutePath());
    QFile file(store.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nHTML=http://127.0.0.1:8765/tmpfs/auto.jpg\nUserName=\nPassword=pelto\n");
    file.close();
    const CameraSettings record = loadCameraSettings(store);
    EXPECT_EQ(record.snapshotUrl, QStringLiteral("http://127.0.0.1:8765/tmpfs/auto.jpg"));
    EXPECT_EQ(record.userName, QString());
}

TEST_F(CameraSettingsTest, TheRecentFileListKeepsEightInOrder)
{
    QStringList files;
    for (int i = 1; i <= 10; ++i)
        files << QStringLiteral("/tmp/file%1.jpg").arg(i);
    ASSERT_TRUE(store.setRecentFiles(files));
    EXPECT_EQ(store.recentFiles(), files.mid(0, 8));
    ASSERT_TRUE(store.setRecentFiles(files.mid(0, 2)));
    EXPECT_EQ(store.recentFiles(), files.mid(0, 2));
    // The camera values share the file and are left alone.
    ASSERT_TRUE(store.write(kValueUserName, QStringLiteral("bob")));
    EXPECT_EQ(store.recentFiles(), files.mid(0, 2));
    EXPECT_EQ(loadCameraSettings(store).userName, QStringLiteral("bob"));
}

TEST_F(CameraSettingsTest, TheProgramWideRecordFollowsTheStoreOnlyWhenReloaded)
{
    ASSERT_TRUE(store.write(kValueUserName, QStringLiteral("first")));
    LoadCameraSettings();
    EXPECT_EQ(currentCameraSettings().userName, QStringLiteral("first"));
    ASSERT_TRUE(store.write(kValueUserName, QStringLiteral("second")));
    EXPECT_EQ(currentCameraSettings().userName, QStringLiteral("first"));
    LoadCameraSettings();
    EXPECT_EQ(currentCameraSettings().userName, QStringLiteral("second"));
}

} // namespace
