// Who gets in: Basic and Digest authentication, the refusing fault, and the camera over TLS.

#include "CameraClient.h"

#include "fakecam/HttpAuth.h"


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

