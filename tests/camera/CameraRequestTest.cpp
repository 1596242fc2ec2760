// The four requests against the simulated camera: what goes out, what is stored, what fails.
#include "CameraFixture.h"

#include "fakecam/TestCertificate.h"

#include <QFileInfo>
#include <QUrl>

#include <sys/stat.h>

namespace {

using fakecam::AuthMode;
using fakecam::FakeCamera;
using fakecam::Fault;
using CameraRequestTest = CameraFixture;

const char* const kLongUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; WOW64; Trident/6.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; InfoPath.3; .NET4.0C; .NET4.0E)";

TEST_F(CameraRequestTest, EachVariantSendsItsOwnRequestAndStoresTheAnswerAsIs)
{
    camera.setPage("/cgi-bin/hi3510/getserverinfo.cgi", "var model=\"X\";\r\n");
    ASSERT_EQ(requestSnapshot(settings, autoJpg()), 0);
    ASSERT_EQ(SendCameraCommand(60, settings, folder.path()), 0);
    ASSERT_EQ(FetchSdListing(settings, folder.path(), "2026 12/record000", "filelist.html"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("var model=\"X\";\r\n"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("auto.jpg"), QStringLiteral("filelist.html"), QStringLiteral("serverinfo.html")}));
    // An ordinary file, as any program of the user's would make it.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(folder.file(QStringLiteral("serverinfo.html"))).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);

    const auto seen = camera.requests();
    ASSERT_EQ(seen.size(), 4u); // the challenge of the first request, then one request each
    EXPECT_EQ(seen[1].target, "/tmpfs/auto.jpg");
    EXPECT_EQ(seen[1].header("user-agent"), "VarnekJPG");
    EXPECT_FALSE(seen[1].hasHeader("range") || seen[1].hasHeader("content-type"));
    EXPECT_EQ(seen[2].target, "/cgi-bin/hi3510/getserverinfo.cgi");
    EXPECT_EQ(seen[3].target, "/sd/2026%2012/record000");
    for (const auto& r : {seen[2], seen[3]}) {
        EXPECT_EQ(r.header("user-agent"), kLongUserAgent);
        EXPECT_EQ(r.header("accept"), "*/*");
        EXPECT_EQ(r.header("range"), "bytes=0-");
        EXPECT_EQ(r.header("content-type"), "application/x-www-form-urlencoded;charset=UTF-8");
    }
}

TEST_F(CameraRequestTest, BasicAndDigestLogInAndAWrongPasswordFailsOnlyTheSnapshot)
{
    for (AuthMode mode : {AuthMode::Basic, AuthMode::Digest}) {
        camera.setAuthMode(mode);
        clearLinkCache();
        camera.clearRequests();
        ASSERT_EQ(requestSnapshot(settings, autoJpg()), 0);
        ASSERT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
        const auto seen = camera.requests();
        EXPECT_TRUE(seen.back().authenticated);
        EXPECT_FALSE(seen.front().hasHeader("authorization")) << "credentials go only to a camera that asked";
    }
    QFile::remove(autoJpg());
    settings.password = QStringLiteral("wrong");
    RequestOutcome outcome;
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path(), &outcome), 0);
    EXPECT_EQ(outcome.httpStatus, 401);
    EXPECT_FALSE(folder.read(QStringLiteral("serverinfo.html")).isEmpty());
    EXPECT_EQ(requestSnapshot(settings, autoJpg(), &outcome), -1);
    EXPECT_EQ(outcome.httpStatus, 401);
    EXPECT_FALSE(QFile::exists(autoJpg()));
}

TEST_F(CameraRequestTest, UrlsWithoutAnHttpSchemeAndOtherHostsFailBeforeAnyConnection)
{
    for (const char* url : {"127.0.0.1/tmpfs/auto.jpg", "ftp://127.0.0.1/tmpfs/auto.jpg", "", "http://",
                            "http://camera.invalid/tmpfs/auto.jpg"}) {
        settings.snapshotUrl = QString::fromLatin1(url);
        EXPECT_EQ(requestSnapshot(settings, autoJpg()), -1) << url;
        EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1) << url;
    }
    // A command URL beyond its 300 units is not sent either.
    settings.snapshotUrl = QString::fromStdString(camera.baseUrl()) + QLatin1Char('/') + QString(260, QLatin1Char('x'));
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1);
    EXPECT_TRUE(camera.requests().empty());
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraRequestTest, BodiesArriveByteForByteWhateverTheirSize)
{
    const std::string big = FakeCamera::recordingBytes("/big", 0, 5 * 1024 * 1024 + 17);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", big);
    ASSERT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
    EXPECT_TRUE(folder.read(QStringLiteral("netinfo.html")) == QByteArray::fromStdString(big));
    camera.setPage("/cgi-bin/hi3510/gethttpport.cgi", "");
    ASSERT_EQ(SendCameraCommand(62, settings, folder.path()), 0);
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("httpport.html"))).size(), 0);

    const std::uint64_t size = 3 * 1024 * 1024 + 5;
    camera.setRecordingSize(size);
    const auto [name, url] = recording();
    const std::string path = url.mid(url.indexOf("/sd/")).toStdString();
    ASSERT_EQ(FetchSdFile(settings, folder.path(), url, name), 0);
    EXPECT_TRUE(folder.read(QString::fromLatin1(name)) == QByteArray::fromStdString(FakeCamera::recordingBytes(path, 0, size)));

    // A recording must come with a success status; a listing keeps whatever page comes.
    QFile::remove(folder.file(QString::fromLatin1(name)));
    camera.setPage(path, "<html>not found</html>", 404);
    EXPECT_EQ(FetchSdFile(settings, folder.path(), url, name), -1);
    EXPECT_EQ(FetchSdListing(settings, folder.path(), QByteArray::fromStdString(path.substr(4)), name, true), -1);
    EXPECT_FALSE(folder.exists(QString::fromLatin1(name)));
    camera.setPage("/sd/", "<html>no card</html>", 404);
    EXPECT_EQ(FetchSdListing(settings, folder.path(), "", "sd.html"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("sd.html")), QByteArray("<html>no card</html>"));
}

TEST_F(CameraRequestTest, BrokenTransfersLeaveNoFileAndADeadCameraLeavesTheOldAnswer)
{
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(200000, 'x'));
    for (Fault fault : {Fault::DropMidBody, Fault::StallMidBody, Fault::StallBeforeAnswer}) {
        camera.setFault(fault, 4);
        EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), -1);
        EXPECT_EQ(requestSnapshot(settings, autoJpg()), -1);
    }
    EXPECT_TRUE(files().isEmpty());
    // Any answer of the camera's, even a 3xx page nobody follows, means the older page is out of date.
    for (const int status : {200, 300, 399}) {
        folder.write(QStringLiteral("netinfo.html"), "older page");
        camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(200000, 'x'), status);
        camera.setFault(Fault::DropMidBody);
        EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), -1);
        EXPECT_TRUE(files().isEmpty()) << status;
    }

    folder.write(QStringLiteral("serverinfo.html"), "older page");
    camera.stop();
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1);
    EXPECT_EQ(files(), QStringList{QStringLiteral("serverinfo.html")});
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("older page"));
}

TEST_F(CameraRequestTest, OnlyATwoHundredAnswerIsAPictureOrARecording)
{
    const auto [name, url] = recording();
    const std::string path = QUrl(QString::fromLatin1(url)).path(QUrl::FullyEncoded).toStdString();
    for (const int status : {299, 300}) {
        SCOPED_TRACE(status);
        const bool success = status == 299;
        camera.setPage("/tmpfs/auto.jpg", "picture", status);
        camera.setPage(path, "recording", status);
        EXPECT_EQ(requestSnapshot(settings, autoJpg()), success ? 0 : -1);
        EXPECT_EQ(FetchSdFile(settings, folder.path(), url, name), success ? 0 : -1);
        EXPECT_EQ(folder.read(QStringLiteral("auto.jpg")), success ? QByteArray("picture") : QByteArray());
        EXPECT_EQ(folder.read(QString::fromLatin1(name)), success ? QByteArray("recording") : QByteArray());
        QFile::remove(autoJpg());
    }
    EXPECT_TRUE(files().isEmpty()) << "no temporary file is left";
}

// A watcher that paces its display still hears about the count while the camera stalls.
TEST_F(CameraRequestTest, AStalledDownloadStillTellsItsWatcherOfTheCount)
{
    const auto [name, url] = recording();
    TransferProgress progress;
    long long last = -1;
    int toldWhileStalled = 0;
    progress.changed = [&] {
        const long long now = progress.received.load();
        toldWhileStalled += now == last && now > 0 ? 1 : 0;
        last = now;
    };
    camera.setFault(Fault::StallMidBody, 2);
    EXPECT_EQ(FetchSdFile(settings, folder.path(), url, name, nullptr, &progress), -1);
    EXPECT_GE(toldWhileStalled, 1);
}

TEST_F(CameraRequestTest, NamesFromTheCameraStayInTheProgramFolderAsBytes)
{
    EXPECT_EQ(encodeUrlPathBytes("a b/\xC3\xA9?#%~._-", true), QByteArray("a%20b/%C3%A9%3F%23%25~._-"));
    EXPECT_EQ(encodeUrlPathBytes("a/b", false), QByteArray("a%2Fb"));
    EXPECT_EQ(encodeUrlPathBytes("@AZ[`az{/09:", true), QByteArray("%40AZ%5B%60az%7B/09%3A")) << "the ends of each range";
    for (const QByteArray& name : {QByteArray("../evil.264"), QByteArray(".."), QByteArray("."), QByteArray(""),
                                   QByteArray("a/b.264"), QByteArray("a\\b.264"), QByteArray("a\nb")})
        EXPECT_EQ(FetchSdListing(settings, folder.path(), "", name), -1) << name.constData();
    EXPECT_TRUE(camera.requests().empty());

    const QByteArray name("P\xE9nom.264");
    ASSERT_EQ(FetchSdListing(settings, folder.path(), "", name), 0);
    EXPECT_EQ(::unlink((QFile::encodeName(folder.path()) + '/' + name).constData()), 0);
    EXPECT_EQ(nameForDisplay(name), QStringLiteral("Pénom.264"));
    EXPECT_EQ(nameForDisplay("caf\xC3\xA9"), QStringLiteral("café"));
}

QString folderWithPathLength(QString path, int length)
{
    while (path.size() < length)
        path += QLatin1Char('/') + QString(std::min(length - static_cast<int>(path.size()) - 1, 200), QLatin1Char('d'));
    QDir().mkpath(path);
    return path;
}

TEST_F(CameraRequestTest, ThePathRuleAcceptsFourHundredNinetyNineAndRefusesFiveHundred)
{
    // Folder + "/" + "cgi.html" = 499 characters fits with its terminator; 500 does not.
    const QString fits = folderWithPathLength(folder.path() + QStringLiteral("/a"), 499 - 9);
    const QString tooLong = folderWithPathLength(folder.path() + QStringLiteral("/b"), 500 - 9);
    EXPECT_EQ(SendCameraCommand(0, settings, fits), 0);
    EXPECT_EQ(FetchSdListing(settings, fits, "", "lst.html"), 0);
    EXPECT_TRUE(messages.isEmpty());
    camera.clearRequests();
    EXPECT_EQ(SendCameraCommand(0, settings, tooLong), -1);
    EXPECT_TRUE(camera.requests().empty()) << "a command whose answer cannot be kept is not sent";
    EXPECT_EQ(FetchSdListing(settings, tooLong, "", "lst.html"), -1);
    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(messages[0], QStringLiteral("CVarnekJPG"));
    EXPECT_EQ(messages[1], QStringLiteral("An error occured appending /cgi.html to the program's folder name.\n"
                                          "Try moving the program somewhere where the path is shorter\n"
                                          "so the total length of the path and filename is less than 500 bytes."));
    EXPECT_TRUE(messages[3].startsWith(QStringLiteral("An error occured appending the destination filename to")));
}

TEST_F(CameraRequestTest, HttpsOnAnyPortAndHttpOnPort443TalkTls)
{
    const std::string cert = folder.file(QStringLiteral("../cert.pem")).toStdString();
    const std::string key = folder.file(QStringLiteral("../key.pem")).toStdString();
    ASSERT_TRUE(fakecam::writeSelfSignedCertificate(cert, key));
    for (int port : {0, 443}) {
        fakecam::Options options;
        options.port = port;
        options.certFile = cert;
        options.keyFile = key;
        FakeCamera secure(options);
        if (!secure.start())
            continue; // port 443 cannot be bound everywhere
        settings.snapshotUrl = port ? QStringLiteral("http://127.0.0.1:443/tmpfs/auto.jpg") : QString::fromStdString(secure.snapshotUrl());
        EXPECT_EQ(requestSnapshot(settings, autoJpg()), 0) << port;
        EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), 0) << port;
        EXPECT_GE(secure.requests().size(), 2u) << port;
        clearLinkCache();
    }
}

} // namespace
