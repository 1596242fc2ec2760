// What the link does under cameras that misbehave, and what it saves under ones that do not.
#include "CameraFixture.h"

#include "camera/CameraLink.h"

#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

using fakecam::AuthMode;
using fakecam::FakeCamera;
using fakecam::Fault;
using CameraLinkTest = CameraFixture;

TEST_F(CameraLinkTest, ACameraThatTakesTheRequestAndNeverAnswersGetsItOnce)
{
    folder.write(QStringLiteral("reboot.html"), "older page");
    camera.setFault(Fault::NeverAnswer);
    for (AuthMode mode : {AuthMode::Basic, AuthMode::None}) {
        camera.setAuthMode(mode);
        camera.clearRequests();
        const auto start = Clock::now();
        EXPECT_EQ(SendCameraCommand(64, settings, folder.path()), -1);
        EXPECT_LT(secondsSince(start), 1.5 + 1.0);
        const auto seen = camera.requests();
        EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const auto& r) { return r.authenticated; }), 1);
    }
    // The challenge came and the answer never began: the older page stays, nothing else appears.
    EXPECT_EQ(folder.read(QStringLiteral("reboot.html")), QByteArray("older page"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("reboot.html")});
}

TEST_F(CameraLinkTest, ATricklingCameraHoldsNoRequestPastItsLimit)
{
    camera.setFault(Fault::Trickle);
    const auto [name, url] = recording();
    const std::vector<std::function<int()>> variants{
        [&] { return requestSnapshot(settings, autoJpg()); },
        [&] { return SendCameraCommand(61, settings, folder.path()); },
        [&] { return FetchSdListing(settings, folder.path(), "", "sd.html"); },
        [&] { return FetchSdFile(settings, folder.path(), url, name); },
    };
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const auto start = Clock::now();
        EXPECT_EQ(variants[i](), -1) << i;
        EXPECT_LT(secondsSince(start), 3.5) << i; // 1.5 s in all; for the recording, under 1 KB/s for 1 s
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(CameraLinkTest, AfterTheFirstChallengeAPictureCostsOneRequestOnAKeptConnection)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(requestSnapshot(settings, autoJpg()), 0);
    // Challenge and answer, then the credentials go out at once.
    const auto seen = camera.requests();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_FALSE(seen[0].hasHeader("authorization"));
    EXPECT_EQ(camera.connections(), 1);

    // A password that stopped working still ends in the failure a wrong password gives.
    camera.setCredentials("admin", "changed");
    RequestOutcome outcome;
    EXPECT_EQ(requestSnapshot(settings, autoJpg(), &outcome), -1);
    EXPECT_EQ(outcome.httpStatus, 401);
    // A camera that changed its scheme is answered in the new one within the same request.
    camera.setCredentials("admin", "pelto");
    camera.setAuthMode(AuthMode::Digest);
    EXPECT_EQ(requestSnapshot(settings, autoJpg()), 0);
}

TEST_F(CameraLinkTest, CredentialsNeverFollowARedirectToAnotherPort)
{
    FakeCamera other;
    ASSERT_TRUE(other.start());
    const std::string page = "/cgi-bin/hi3510/getserverinfo.cgi";
    camera.setRedirect(page, other.baseUrl() + page);
    ASSERT_EQ(requestSnapshot(settings, autoJpg()), 0); // this camera has asked for Basic now
    RequestOutcome outcome;
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path(), &outcome), 0);
    EXPECT_EQ(outcome.httpStatus, 401); // the other camera's refusal, stored as its answer
    const auto seen = other.requests();
    ASSERT_FALSE(seen.empty()) << "the redirect was not followed";
    for (const auto& r : seen)
        EXPECT_FALSE(r.hasHeader("authorization"));
}

TEST_F(CameraLinkTest, AnAnswerOverTheCapFailsAndKeepsNothingButRecordingsHaveNoCap)
{
    limits.answerCapBytes = 1000;
    setRequestTimeouts(limits);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(1000, 'x'));
    EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
    camera.setPage("/cgi-bin/hi3510/getnetinfo.cgi", std::string(1001, 'x'));
    EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), -1);
    EXPECT_EQ(requestSnapshot(settings, autoJpg()), -1);
    EXPECT_TRUE(files().isEmpty()) << "the answer began: the older page is gone too";

    camera.setRecordingSize(3000);
    EXPECT_EQ(FetchSdFile(settings, folder.path(), recording().second, recording().first), 0);
}

TEST_F(CameraLinkTest, ACameraThatAcceptsNoConnectionIsGivenUpAfterTheConnectLimit)
{
    // A listener whose queue is full: further connections are never accepted.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> fillers{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0), ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0)};
    for (int fd : fillers)
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), length);
    limits.otherConnectMs = 300;
    limits.otherTotalMs = 20000;
    setRequestTimeouts(limits);
    settings.snapshotUrl = QStringLiteral("http://127.0.0.1:%1/tmpfs/auto.jpg").arg(ntohs(address.sin_port));
    const auto start = Clock::now();
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), -1);
    EXPECT_LT(secondsSince(start), 3.0); // two attempts of 0.3 s, 0.1 s apart
    for (int fd : fillers)
        ::close(fd);
    ::close(listener);
}

TEST_F(CameraLinkTest, TheRetryComesAfterItsDelayAndOnlyWhenNoConnectionWasMade)
{
    camera.stop();
    limits.otherRetryDelayMs = 800;
    setRequestTimeouts(limits);
    const auto start = Clock::now();
    int result = 1;
    std::thread command([&] { result = SendCameraCommand(60, settings, folder.path()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(camera.start());
    command.join();
    ASSERT_EQ(result, 0);
    EXPECT_GE(std::chrono::duration<double>(camera.requests().front().received - start).count(), 0.75);
}

TEST_F(CameraLinkTest, AtMostTwoIdleConnectionsStayOpenToTheCamera)
{
    CameraLink link;
    link.setSettings(settings);
    int ended = 0;
    const auto count = [&](const RequestOutcome&) { ++ended; };
    for (int round = 0; round < 3; ++round) {
        link.FetchSnapshot(autoJpg(), nullptr, count);
        link.SendCameraCommand(60, folder.path(), nullptr, count);
        link.FetchSdListing(folder.path(), "", "sd.html", false, nullptr, count);
        link.SendCameraCommand(61, folder.path(), nullptr, count);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended == 12; }, 10000));
    EXPECT_GE(camera.connections(), 3);
    EXPECT_LE(camera.openConnections(), 2);
    // The link closes them by itself once nobody has used them for their life.
    link.setIdleConnectionLife(std::chrono::milliseconds(300), std::chrono::milliseconds(50));
    EXPECT_GT(camera.openConnections(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return camera.openConnections() == 0; }, 3000));
    // A new connection presents the scheme the camera asked for at once: one request, no challenge.
    camera.clearRequests();
    link.FetchSnapshot(autoJpg(), nullptr, count);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended == 13; }, 10000));
    ASSERT_EQ(camera.requests().size(), 1u);
    EXPECT_TRUE(camera.requests().front().authenticated);
}

// A note a worker reports is shown on the window's thread, and the worker goes on once it is closed.
TEST_F(CameraLinkTest, ANoteFromAWorkerShowsOnTheWindowsThreadAndHoldsTheWorkerUntilClosed)
{
    CameraLink link;
    QStringList shown;
    std::function<void()> close;
    link.setNoteShower([&](const QString& caption, const QString& text, std::function<void()> closed) {
        shown << caption + ": " + text + (QThread::currentThread() == link.thread() ? "" : " (off the window's thread)");
        close = std::move(closed);
    });
    std::atomic<bool> returned = false;
    std::thread worker([&] { link.report(QStringLiteral("Varnekjpg"), QStringLiteral("Path too long")); returned = true; });
    if (!QTest::qWaitFor([&] { return bool(close); }, 5000)) {
        worker.detach(); // held for good: the suite has failed anyway
        FAIL() << "the note never came";
    }
    EXPECT_EQ(shown, QStringList{"Varnekjpg: Path too long"});
    QTest::qWait(100);
    EXPECT_FALSE(returned) << "the worker waits for the note";
    close();
    worker.join();
    EXPECT_TRUE(returned);
}

TEST_F(CameraLinkTest, LeftoverDownloadsOfTheProgramGoAndNothingElse)
{
    for (const char* name : {".varnek-a1B2c3.part", ".varnek-a1B2c.part", "varnek-a1B2c3.part", "keep.html"})
        folder.write(QString::fromLatin1(name), "x");
    EXPECT_EQ(removeLeftoverDownloads(folder.path()), 1);
    EXPECT_EQ(files(), (QStringList{QStringLiteral(".varnek-a1B2c.part"), QStringLiteral("keep.html"),
                                    QStringLiteral("varnek-a1B2c3.part")}));
}

} // namespace
