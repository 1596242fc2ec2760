#include "camera/CameraRequest.h"
#include "camera/CommandCatalogue.h"
#include "fakecam/FakeCamera.h"
#include "platform/RecordingDesktop.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using fakecam::AuthMode;
using fakecam::FakeCamera;
using fakecam::Fault;

const char* const kLongUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; WOW64; Trident/6.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; InfoPath.3; .NET4.0C; .NET4.0E)";

class CameraRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(camera.start());
        settings.snapshotUrl = QString::fromStdString(camera.snapshotUrl());
        settings.userName = QStringLiteral("admin");
        settings.password = QStringLiteral("pelto");
        RequestTimeouts quick;
        quick.snapshotConnectMs = 2000;
        quick.snapshotTotalMs = 2000;
        quick.otherConnectMs = 2000;
        quick.otherRetryDelayMs = 100;
        quick.otherStallSeconds = 1;
        setRequestTimeouts(quick);
    }
    void TearDown() override { setRequestTimeouts(RequestTimeouts{}); }

    QString autoJpg() const { return folder.file(QStringLiteral("auto.jpg")); }
    // Nothing but the files the test expects: no temporary file may be left behind.
    QStringList files() const { return folder.entries(); }
    std::vector<fakecam::RecordedRequest> cameraRequests() const { return camera.requests(); }

    TempFolder folder;
    platform::RecordingDesktop desktop;
    FakeCamera camera;
    CameraSettings settings;
};

TEST_F(CameraRequestTest, EveryCatalogueCodeRequestsExactlyItsPathOnTheBase)
{
    for (int code = -2; code <= 81; ++code) {
        camera.clearRequests();
        const auto entry = catalogueEntry(code);
        const int result = SendCameraCommand(code, settings, folder.path());
        const auto seen = cameraRequests();
        if (!entry) {
            EXPECT_EQ(result, -1) << code;
            EXPECT_TRUE(seen.empty()) << code;
            continue;
        }
        EXPECT_EQ(result, 0) << code;
        ASSERT_FALSE(seen.empty()) << code;
        EXPECT_EQ(seen.back().target, entry->cgiPath.toStdString()) << code;
        EXPECT_EQ(seen.back().method, "GET");
        EXPECT_TRUE(seen.back().authenticated) << code;
        EXPECT_TRUE(folder.exists(entry->answerFile)) << code;
    }
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(CameraRequestTest, ACommandStoresTheCamerasAnswerAsIs)
{
    camera.setPage("/cgi-bin/hi3510/getserverinfo.cgi", "var model=\"X\";\r\nvar name=\"cam\";\r\n");
    ASSERT_EQ(SendCameraCommand(60, settings, folder.path()), 0);
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("var model=\"X\";\r\nvar name=\"cam\";\r\n"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("serverinfo.html")});
    // An ordinary file, as any program of the user's would make it.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder.file(QStringLiteral("serverinfo.html"))).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(CameraRequestTest, ASnapshotUrlWithoutTmpfsIsUsedWholeAsTheBase)
{
    settings.snapshotUrl = QString::fromStdString(camera.baseUrl()) + QStringLiteral("/snap.jpg");
    SendCameraCommand(60, settings, folder.path());
    const auto seen = cameraRequests();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().target, "/snap.jpg/cgi-bin/hi3510/getserverinfo.cgi");
}

TEST_F(CameraRequestTest, EachVariantSendsItsOwnHeaders)
{
    ASSERT_EQ(fetchSnapshot(settings, autoJpg()), 0);
    ASSERT_EQ(SendCameraCommand(0, settings, folder.path()), 0);
    ASSERT_EQ(FetchSdListing(settings, folder.path(), "", "sd.html"), 0);
    const auto seen = cameraRequests();
    ASSERT_GE(seen.size(), 3u);

    const auto& snapshot = seen.front();
    EXPECT_EQ(snapshot.target, "/tmpfs/auto.jpg");
    EXPECT_EQ(snapshot.header("user-agent"), "VarnekJPG");
    EXPECT_FALSE(snapshot.hasHeader("range"));
    EXPECT_FALSE(snapshot.hasHeader("content-type"));

    for (const auto& r : seen) {
        if (r.target == "/tmpfs/auto.jpg")
            continue;
        EXPECT_EQ(r.header("user-agent"), kLongUserAgent) << r.target;
        EXPECT_EQ(r.header("accept"), "*/*") << r.target;
        EXPECT_EQ(r.header("range"), "bytes=0-") << r.target;
        EXPECT_EQ(r.header("content-type"), "application/x-www-form-urlencoded;charset=UTF-8") << r.target;
    }
}

TEST_F(CameraRequestTest, BasicAndDigestBothAuthenticate)
{
    for (AuthMode mode : {AuthMode::Basic, AuthMode::Digest}) {
        camera.setAuthMode(mode);
        camera.clearRequests();
        QFile::remove(autoJpg());
        ASSERT_EQ(fetchSnapshot(settings, autoJpg()), 0);
        EXPECT_TRUE(QFile::exists(autoJpg()));
        ASSERT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
        const auto seen = cameraRequests();
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(seen.back().authenticated);
        EXPECT_EQ(seen.back().status / 100, 2);
        // The credentials go out only after the camera has asked for them.
        EXPECT_FALSE(seen.front().authenticated);
        EXPECT_FALSE(seen.front().hasHeader("authorization"));
    }
}

TEST_F(CameraRequestTest, AWrongPasswordStoresTheCommandsErrorPageButFailsTheSnapshot)
{
    settings.password = QStringLiteral("wrong");
    RequestOutcome outcome;
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path(), &outcome), 0);
    EXPECT_EQ(outcome.httpStatus, 401);
    EXPECT_FALSE(folder.read(QStringLiteral("serverinfo.html")).isEmpty());

    EXPECT_EQ(fetchSnapshot(settings, autoJpg(), &outcome), -1);
    EXPECT_EQ(outcome.httpStatus, 401);
    EXPECT_FALSE(QFile::exists(autoJpg()));
    EXPECT_EQ(files(), QStringList{QStringLiteral("serverinfo.html")});
}

TEST_F(CameraRequestTest, ASnapshotThatIsNotFoundIsAFailure)
{
    camera.setFault(Fault::SnapshotNotFound);
    EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(CameraRequestTest, UrlsWithoutAnHttpSchemeFailBeforeAnyConnection)
{
    for (const QString& url : {QStringLiteral("127.0.0.1/tmpfs/auto.jpg"), QStringLiteral("ftp://127.0.0.1/tmpfs/auto.jpg"),
                               QString(), QStringLiteral("http://")}) {
        settings.snapshotUrl = url;
        EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1) << url.toStdString();
    }
    EXPECT_TRUE(cameraRequests().empty());
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(CameraRequestTest, TheLoopbackGuardRefusesOtherHosts)
{
    settings.snapshotUrl = QStringLiteral("http://camera.invalid/tmpfs/auto.jpg");
    EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1);
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1);
}

TEST_F(CameraRequestTest, BodiesArriveByteForByteWhateverTheirSize)
{
    const std::string big = FakeCamera::recordingBytes("/big", 0, 5 * 1024 * 1024 + 17);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", big);
    ASSERT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
    EXPECT_TRUE(folder.read(QStringLiteral("netinfo.html")) == QByteArray::fromStdString(big));

    camera.setPage("/cgi-bin/hi3510/gethttpport.cgi", "");
    ASSERT_EQ(SendCameraCommand(62, settings, folder.path()), 0);
    EXPECT_TRUE(folder.exists(QStringLiteral("httpport.html")));
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("httpport.html"))).size(), 0);

    const std::uint64_t size = 3 * 1024 * 1024 + 5;
    camera.setRecordingSize(size);
    const std::string date = camera.dates().front();
    const std::string name = camera.recordings(date).front();
    const std::string path = "/sd/" + date + "/record000/" + name;
    ASSERT_EQ(FetchSdFile(settings, folder.path(), QByteArray::fromStdString(camera.baseUrl() + path),
                          QByteArray::fromStdString(name)),
              0);
    EXPECT_TRUE(folder.read(QString::fromStdString(name)) == QByteArray::fromStdString(FakeCamera::recordingBytes(path, 0, size)));
}

TEST_F(CameraRequestTest, ADroppedConnectionLeavesNeitherTargetNorTemporaryFile)
{
    folder.write(QStringLiteral("netinfo.html"), "old answer");
    camera.setFault(Fault::DropMidBody);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(200000, 'x'));
    EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), -1);
    EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1);
    // The camera answered, so the old answer went; the partial one never took its place.
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(CameraRequestTest, AStallEndsTheRequestWithoutAFile)
{
    camera.setFault(Fault::StallMidBody, 4);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(200000, 'x'));
    EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), -1);
    EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1);
    camera.setFault(Fault::StallBeforeAnswer, 4);
    EXPECT_EQ(fetchSnapshot(settings, autoJpg()), -1);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(CameraRequestTest, ACameraThatIsDownLeavesTheOldAnswerInPlace)
{
    folder.write(QStringLiteral("serverinfo.html"), "older page");
    camera.stop();
    RequestOutcome outcome;
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path(), &outcome), -1);
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(outcome.errorCause.startsWith(QStringLiteral("Error cause: ")));
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("older page"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("serverinfo.html")});
}

TEST_F(CameraRequestTest, RecordingsMustComeWithASuccessStatusListingsNeedNot)
{
    const std::string date = camera.dates().front();
    const std::string name = camera.recordings(date).front();
    const std::string path = "/sd/" + date + "/record000/" + name;
    camera.setPage(path, "<html>not found</html>", 404);
    const QByteArray file = QByteArray::fromStdString(name);
    EXPECT_EQ(FetchSdFile(settings, folder.path(), QByteArray::fromStdString(camera.baseUrl() + path), file), -1);
    EXPECT_EQ(FetchSdListing(settings, folder.path(), QByteArray::fromStdString(path.substr(4)), file, true), -1);
    EXPECT_TRUE(files().isEmpty());

    // A listing keeps whatever page the camera answers: the user reads those pages.
    camera.setPage("/sd/", "<html>no card</html>", 404);
    EXPECT_EQ(FetchSdListing(settings, folder.path(), "", "sd.html"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("sd.html")), QByteArray("<html>no card</html>"));
}

TEST_F(CameraRequestTest, NamesInMicroSdUrlsArePercentEncoded)
{
    EXPECT_EQ(encodeUrlPathBytes("20261201/record000", true), QByteArray("20261201/record000"));
    EXPECT_EQ(encodeUrlPathBytes("a b/\xC3\xA9?#%", true), QByteArray("a%20b/%C3%A9%3F%23%25"));
    EXPECT_EQ(encodeUrlPathBytes("a/b", false), QByteArray("a%2Fb"));

    FetchSdListing(settings, folder.path(), "2026 12/record000", "filelist.html");
    const auto seen = cameraRequests();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().target, "/sd/2026%2012/record000");
}

TEST_F(CameraRequestTest, FileNamesThatLeaveTheProgramFolderAreRefused)
{
    for (const QByteArray& name : {QByteArray("../evil.264"), QByteArray(".."), QByteArray("."), QByteArray(""),
                                   QByteArray("a/b.264"), QByteArray("a\\b.264"), QByteArray("a\nb")}) {
        EXPECT_EQ(FetchSdListing(settings, folder.path(), "", name), -1) << name.constData();
    }
    EXPECT_TRUE(cameraRequests().empty());
    EXPECT_TRUE(QDir(folder.path() + QStringLiteral("/..")).entryList({QStringLiteral("evil.264")}).isEmpty());
}

TEST_F(CameraRequestTest, NonUtf8FileNamesKeepTheirBytesOnDisk)
{
    const QByteArray name("P\xE9nom.264");
    ASSERT_EQ(FetchSdListing(settings, folder.path(), "", name), 0);
    EXPECT_EQ(nameForDisplay(name), QString::fromLatin1(name));
    struct stat info {};
    EXPECT_EQ(::stat((QFile::encodeName(folder.path()) + '/' + name).constData(), &info), 0);
    EXPECT_EQ(nameForDisplay("caf\xC3\xA9"), QStringLiteral("café"));
}

// Builds a program folder whose full path has exactly `length` characters.
QString folderOfLength(const QString& base, int length)
{
    QString path = base;
    while (path.size() < length) {
        const int room = length - static_cast<int>(path.size()) - 1;
        path += QLatin1Char('/') + QString(std::min(room, 200), QLatin1Char('d'));
    }
    QDir().mkpath(path);
    return path;
}

TEST_F(CameraRequestTest, ThePathRuleAcceptsFourHundredNinetyNineAndRefusesFiveHundred)
{
    // Folder + "/" + "cgi.html" = 499 characters fits with its terminator; 500 does not.
    const QString fits = folderOfLength(folder.path() + QStringLiteral("/a"), 499 - 9);
    const QString tooLong = folderOfLength(folder.path() + QStringLiteral("/b"), 500 - 9);
    ASSERT_EQ(fits.size() + 9, 499);

    EXPECT_EQ(SendCameraCommand(0, settings, fits), 0);
    EXPECT_TRUE(QFile::exists(fits + QStringLiteral("/cgi.html")));
    EXPECT_TRUE(desktop.messages().empty());

    camera.clearRequests();
    EXPECT_EQ(SendCameraCommand(0, settings, tooLong), -1);
    EXPECT_TRUE(cameraRequests().empty()) << "a command whose answer cannot be kept is not sent";
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].caption, QStringLiteral("CVarnekJPG"));
    EXPECT_EQ(desktop.messages()[0].text,
              QStringLiteral("An error occured appending /cgi.html to the program's folder name.\n"
                             "Try moving the program somewhere where the path is shorter\n"
                             "so the total length of the path and filename is less than 500 bytes."));

    // The listings follow the same rule with a name of the same length.
    EXPECT_EQ(FetchSdListing(settings, tooLong, "", "lst.html"), -1);
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_TRUE(desktop.messages()[1].text.startsWith(
        QStringLiteral("An error occured appending the destination filename to the program's folder name.\n")));
    EXPECT_EQ(FetchSdListing(settings, fits, "", "lst.html"), 0);
}

TEST_F(CameraRequestTest, ACommandUrlBeyondThreeHundredUnitsIsNotSent)
{
    settings.snapshotUrl = QString::fromStdString(camera.baseUrl()) + QLatin1Char('/') + QString(260, QLatin1Char('x'));
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1);
    EXPECT_TRUE(cameraRequests().empty());
}

} // namespace
