// Who gets in: Basic and Digest authentication, the refusing fault, and the camera over TLS.

#include "CameraClient.h"

#include "fakecam/HttpAuth.h"
#include "fakecam/TestCertificate.h"

#include <QTemporaryDir>

using namespace fakecamtest;

namespace {

fakecam::Options digestOptions()
{
    fakecam::Options o = basicOptions();
    o.auth = fakecam::AuthMode::Digest;
    return o;
}

// The parameters of a challenge, read with the camera's own header parser.
std::map<std::string, std::string> challengeParams(const std::string& header)
{
    return fakecam::auth::parseAuthorization(header).params;
}

} // namespace

TEST(BasicAuth, RefusesMissingAndWrongCredentialsWithAChallenge)
{
    fakecam::FakeCamera camera(basicOptions());
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);

    auto anonymous = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
    EXPECT_EQ(anonymous->get_header_value("WWW-Authenticate"), "Basic realm=\"IPCAM\"");
    EXPECT_NE(anonymous->body.find("<html>"), std::string::npos);

    client->set_basic_auth("admin", "wrong");
    auto wrong = client->Get("/cgi-bin/hi3510/getserverinfo.cgi");
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 401);
    EXPECT_TRUE(wrong->has_header("WWW-Authenticate"));

    client->set_basic_auth("admin", "pelto");
    auto right = client->Get("/cgi-bin/hi3510/getserverinfo.cgi");
    ASSERT_TRUE(right);
    EXPECT_EQ(right->status, 200);

    // New credentials take effect at once.
    camera.setCredentials("operator", "s3cret:with colon");
    EXPECT_EQ(client->Get("/cgi-bin/hi3510/getserverinfo.cgi")->status, 401);
    client->set_basic_auth("operator", "s3cret:with colon");
    EXPECT_EQ(client->Get("/cgi-bin/hi3510/getserverinfo.cgi")->status, 200);

    const auto records = camera.requests();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_FALSE(records[0].authenticated);
    EXPECT_FALSE(records[0].hasHeader("authorization"));
    EXPECT_FALSE(records[1].authenticated);
    EXPECT_TRUE(records[2].authenticated);
    EXPECT_EQ(records[2].header("authorization").rfind("Basic ", 0), 0u);
    EXPECT_EQ(records[3].status, 401);
    EXPECT_EQ(records[4].status, 200);
}

TEST(DigestAuth, ResponseFollowsTheRfcExample)
{
    // RFC 2617, section 3.5.
    EXPECT_EQ(fakecam::auth::digestResponse("Mufasa", "testrealm@host.com", "Circle Of Life", "GET", "/dir/index.html",
                                            "dcd98b7102dd2f0e8b11d0f600bfb0c093", "00000001", "0a4f113b", "auth"),
              "6629fae49393a05397450978507c4ef1");
}

TEST(DigestAuth, AcceptsTheRightPasswordAndRefusesForgeries)
{
    fakecam::FakeCamera camera(digestOptions());
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);

    auto challenge = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->status, 401);
    const std::string header = challenge->get_header_value("WWW-Authenticate");
    EXPECT_EQ(header.rfind("Digest ", 0), 0u);
    const auto params = challengeParams(header);
    EXPECT_EQ(params.at("realm"), "IPCAM");
    EXPECT_EQ(params.at("qop"), "auth");
    EXPECT_FALSE(params.at("nonce").empty());
    EXPECT_FALSE(params.at("opaque").empty());

    client->set_digest_auth("admin", "wrong");
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 401);

    client->set_digest_auth("admin", "pelto");
    auto picture = client->Get("/tmpfs/auto.jpg");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    // Names with escapes, as recordings with spaces are asked for.
    const std::string recording = "/sd/2026%2012%2004/record000/P261201%20130000%20130500.264";
    EXPECT_EQ(client->Get(recording.c_str())->status, 200);

    // Hand-made answers: the right hash over an unknown nonce is stale, a wrong hash or another
    // target is refused.
    auto forged = [&](const std::string& nonce, const std::string& uri, const std::string& target) {
        const std::string response = fakecam::auth::digestResponse("admin", "IPCAM", "pelto", "GET", uri, nonce,
                                                                   "00000001", "abcdef", "auth");
        const std::string authorization = "Digest username=\"admin\", realm=\"IPCAM\", nonce=\"" + nonce + "\", uri=\"" +
                                          uri + "\", qop=auth, nc=00000001, cnonce=\"abcdef\", response=\"" + response +
                                          "\", opaque=\"" + params.at("opaque") + "\", algorithm=MD5";
        auto plain = clientFor(camera);
        return plain->Get(target.c_str(), {{"Authorization", authorization}});
    };
    const std::string target = "/cgi-bin/hi3510/getservertime.cgi";
    auto fresh = forged(params.at("nonce"), target, target);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->status, 200) << "a nonce the camera handed out";
    auto stale = forged("0123456789abcdef0123456789abcdef", target, target);
    ASSERT_TRUE(stale);
    EXPECT_EQ(stale->status, 401);
    EXPECT_NE(stale->get_header_value("WWW-Authenticate").find("stale=true"), std::string::npos);
    auto elsewhere = forged(params.at("nonce"), "/cgi-bin/hi3510/getnetinfo.cgi", target);
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->status, 401);
    EXPECT_EQ(elsewhere->get_header_value("WWW-Authenticate").find("stale"), std::string::npos);
}

TEST(AuthModes, NoneAcceptsAllAndTheRefusingFaultRefusesAll)
{
    fakecam::Options o = basicOptions();
    o.auth = fakecam::AuthMode::None;
    fakecam::FakeCamera camera(o);
    ASSERT_TRUE(camera.start());
    auto client = clientFor(camera);
    EXPECT_EQ(client->Get("/cgi-bin/hi3510/getserverinfo.cgi")->status, 200);
    EXPECT_TRUE(camera.requests().back().authenticated);

    camera.setFault(fakecam::Fault::WrongCredentials);
    auto refused = client->Get("/cgi-bin/hi3510/getserverinfo.cgi");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 401);
    EXPECT_TRUE(refused->has_header("WWW-Authenticate"));

    camera.setAuthMode(fakecam::AuthMode::Digest);
    client->set_digest_auth("admin", "pelto");
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 401);
    camera.setFault(fakecam::Fault::None);
    EXPECT_EQ(client->Get("/tmpfs/auto.jpg")->status, 200);
}

TEST(Tls, ServesHttpsWithTheThrowAwayCertificate)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string cert = dir.filePath("camera.pem").toStdString();
    const std::string key = dir.filePath("camera.key").toStdString();
    ASSERT_TRUE(fakecam::writeSelfSignedCertificate(cert, key));
    EXPECT_EQ(QFile::permissions(QString::fromStdString(key)) & (QFile::ReadGroup | QFile::ReadOther), 0);

    fakecam::Options o = basicOptions();
    o.certFile = cert;
    o.keyFile = key;
    fakecam::FakeCamera camera(o);
    ASSERT_TRUE(camera.start());
    EXPECT_TRUE(camera.tls());
    EXPECT_EQ(camera.snapshotUrl(), "https://127.0.0.1:" + std::to_string(camera.port()) + "/tmpfs/auto.jpg");

    // The certificate verifies as its own authority, host name included.
    auto client = clientFor(camera);
    client->set_ca_cert_path(cert.c_str());
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

TEST(Tls, RefusesToStartWithoutAUsableCertificate)
{
    fakecam::Options o = basicOptions();
    o.certFile = "/nonexistent/camera.pem";
    o.keyFile = "/nonexistent/camera.key";
    fakecam::FakeCamera camera(o);
    EXPECT_FALSE(camera.start());
}
