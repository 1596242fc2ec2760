#include "camera/CameraRequest.h"
#include "fakecam/FakeCamera.h"
#include "fakecam/TestCertificate.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class TlsRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cert = folder.file(QStringLiteral("../cert.pem")).toStdString();
        key = folder.file(QStringLiteral("../key.pem")).toStdString();
        ASSERT_TRUE(fakecam::writeSelfSignedCertificate(cert, key));
    }
    TempFolder folder;
    std::string cert;
    std::string key;
};

TEST_F(TlsRequestTest, HttpsOnAnyPortTalksTls)
{
    fakecam::Options options;
    options.certFile = cert;
    options.keyFile = key;
    fakecam::FakeCamera camera(options);
    ASSERT_TRUE(camera.start());
    ASSERT_NE(camera.port(), 443);
    CameraSettings settings{QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"), QStringLiteral("pelto")};
    ASSERT_TRUE(settings.snapshotUrl.startsWith(QStringLiteral("https://")));
    EXPECT_EQ(fetchSnapshot(settings, folder.file(QStringLiteral("auto.jpg"))), 0);
    EXPECT_EQ(SendCameraCommand(60, settings, folder.path()), 0);
    EXPECT_GE(camera.requests().size(), 2u);
    EXPECT_TRUE(folder.exists(QStringLiteral("serverinfo.html")));
}

TEST_F(TlsRequestTest, HttpOnPort443TalksTls)
{
    fakecam::Options options;
    options.certFile = cert;
    options.keyFile = key;
    options.port = 443;
    fakecam::FakeCamera camera(options);
    if (!camera.start())
        GTEST_SKIP() << "port 443 on 127.0.0.1 cannot be bound here";
    const QString url = QStringLiteral("http://127.0.0.1:443/tmpfs/auto.jpg");
    CameraSettings settings{url, QStringLiteral("admin"), QStringLiteral("pelto")};
    EXPECT_EQ(fetchSnapshot(settings, folder.file(QStringLiteral("auto.jpg"))), 0);
    EXPECT_EQ(SendCameraCommand(61, settings, folder.path()), 0);
    EXPECT_TRUE(folder.exists(QStringLiteral("netinfo.html")));
    EXPECT_GE(camera.requests().size(), 2u);
}

} // namespace
