// Who gets in: Basic and Digest authentication, the refusing fault, and the camera over TLS.

#include "CameraClient.h"

#include "fakecam/HttpAuth.h"
#include "fakecam/TestCertificate.h"

#include <QTemporaryDir>

using namespace fakecamtest;

namespace {

const char* const kInfo = "/cgi-bin/hi3510/getserverinfo.cgi";

fakecam::Options withAuth(fakecam::AuthMode mode)
{
    fakecam::Options o = basicOptions();
    o.auth = mode;
    return o;
}

} // namespace

TEST(BasicAuth, RefusesMissingAndWrongCredentialsWithAChallengeAndAcceptsTheRightOnes)
{
    fakecam::FakeCamera camera(basicOptions());
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);

    auto anonymous = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
    EXPECT_EQ(anonymous->get_header_value("WWW-Authenticate"), "Basic realm=\"IPCAM\"");
    client->set_basic_auth("admin", "wrong");
    EXPECT_EQ(client->Get(kInfo)->status, 401);
    client->set_basic_auth("admin", "pelto");
    EXPECT_EQ(client->Get(kInfo)->status, 200);

    const auto records = camera.requests();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_FALSE(records[0].authenticated || records[1].authenticated);
    EXPECT_TRUE(records[2].authenticated);
}

TEST(DigestAuth, ResponseFollowsTheRfcExample)
{
    // RFC 2617, section 3.5.
    EXPECT_EQ(fakecam::auth::digestResponse("Mufasa", "testrealm@host.com", "Circle Of Life", "GET", "/dir/index.html",
                                            "dcd98b7102dd2f0e8b11d0f600bfb0c093", "00000001", "0a4f113b", "auth"),
              "6629fae49393a05397450978507c4ef1");
}

TEST(DigestAuth, ChallengesThenAcceptsTheRightPasswordOnly)
{
    fakecam::FakeCamera camera(withAuth(fakecam::AuthMode::Digest));
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);

    auto challenge = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->status, 401);
    const std::string header = challenge->get_header_value("WWW-Authenticate");
    EXPECT_EQ(header.rfind("Digest ", 0), 0u);
    const auto params = fakecam::auth::parseAuthorization(header).params;
    EXPECT_EQ(params.at("realm"), "IPCAM");
    EXPECT_EQ(params.at("qop"), "auth");

    client->set_digest_auth("admin", "wrong");
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 401);
    client->set_digest_auth("admin", "pelto");
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 200);
    // Names with escapes, as recordings with spaces are asked for.
    EXPECT_EQ(client->Get("/sd/2026%2012%2004/record000/P261201%20130000%20130500.264")->status, 200);

    EXPECT_TRUE(camera.requests().back().authenticated);
}

TEST(AuthModes, NoneAcceptsAllAndTheRefusingFaultRefusesAll)
{
    fakecam::FakeCamera camera(withAuth(fakecam::AuthMode::None));
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);
    EXPECT_EQ(client->Get(kInfo)->status, 200);
    EXPECT_TRUE(camera.requests().back().authenticated);

    camera.setFault(fakecam::Fault::WrongCredentials);
    auto refused = client->Get(kInfo);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 401);
    EXPECT_TRUE(refused->has_header("WWW-Authenticate"));
    camera.setAuthMode(fakecam::AuthMode::Digest);
    client->set_digest_auth("admin", "pelto");
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 401);
    camera.setFault(fakecam::Fault::None);
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 200);
}

TEST(Tls, ServesHttpsWithTheThrowAwayCertificateAndNeedsOneToStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fakecam::Options o = basicOptions();
    o.certFile = "/nonexistent/camera.pem";
    o.keyFile = "/nonexistent/camera.key";
    EXPECT_FALSE(fakecam::FakeCamera(o).start());

    o.certFile = dir.filePath("camera.pem").toStdString();
    o.keyFile = dir.filePath("camera.key").toStdString();
    ASSERT_TRUE(fakecam::writeSelfSignedCertificate(o.certFile, o.keyFile));
    EXPECT_EQ(QFile::permissions(QString::fromStdString(o.keyFile)) & (QFile::ReadGroup | QFile::ReadOther), 0);
    fakecam::FakeCamera camera(o);
    ASSERT_TRUE(camera.start());
    EXPECT_EQ(camera.snapshotUrl(), "https://127.0.0.1:" + std::to_string(camera.port()) + "/tmpfs/auto.jpg");

    // The certificate verifies as its own authority, host name included.
    auto client = clientFor(camera);
    client->set_ca_cert_path(o.certFile.c_str());
    client->enable_server_certificate_verification(true);
    client->set_basic_auth("admin", "pelto");
    auto r = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(r) << httplib::to_string(r.error());
    EXPECT_EQ(r->status, 200);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(r->body), "JPG").isNull());

    // Plain HTTP gets nothing from it.
    httplib::Client plain("127.0.0.1", camera.port());
    plain.set_read_timeout(5);
    auto none = plain.Get("/tmpfs/auto.jpg");
    EXPECT_TRUE(!none || none->status >= 400);
}
