// The picture and the head: what the snapshot shows, and how the CGI commands move the camera.

#include "CameraClient.h"

#include "fakecam/SnapshotRenderer.h"

#include <cmath>

using namespace fakecamtest;
using fakecam::kStepSize;

namespace {

const char* const kPtz = "/cgi-bin/hi3510/ptzctrl.cgi?-step=";

// Mean difference per channel of two equal-sized pictures over a band of rows, the second one
// read `shift` columns to the left (where the scene lies after a pan to the right).
double bandDifference(const QImage& a, const QImage& b, int shift, int top, int bottom)
{
    double sum = 0;
    long count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = shift; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x - shift, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            count += 3;
        }
    }
    return sum / count;
}

class PictureTest : public CameraTest {};
class HeadTest : public CameraTest {};

} // namespace

TEST_F(PictureTest, SnapshotIsAFreshJpegOfTheConfiguredSize)
{
    auto first = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 200);
    EXPECT_EQ(first->get_header_value("Content-Type"), "image/jpeg");
    const QImage image = QImage::fromData(QByteArray::fromStdString(first->body), "JPG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 480));
    EXPECT_FALSE(image.allGray());

    auto second = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(second);
    EXPECT_NE(first->body, second->body) << "each picture carries its own frame number";
    EXPECT_EQ(camera.state().snapshotsServed, 2u);
}

TEST(PictureSizes, EverySizeOfTheOptionsIsServed)
{
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)}) {
        fakecam::Options o;
        o.auth = fakecam::AuthMode::None;
        o.width = size.width();
        o.height = size.height();
        fakecam::FakeCamera camera(o);
        ASSERT_TRUE(camera.start());
        auto r = clientFor(camera)->Get("/tmpfs/auto.jpg");
        ASSERT_TRUE(r);
        EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(r->body), "JPG").size(), size);
    }
}

TEST_F(PictureTest, ThePictureFollowsThePanAndTilt)
{
    const QImage before = snapshot();
    const QImage again = snapshot();
    // Rows 40 to 440 hold no display text, only the scene.
    EXPECT_LT(bandDifference(before, again, 0, 40, 440), 1.0);

    body(std::string(kPtz) + "1&-act=right&-speed=5");
    body(std::string(kPtz) + "1&-act=right&-speed=5");
    const QImage panned = snapshot();
    const int shift = 2 * kStepSize * fakecam::kScenePerStep;
    EXPECT_GT(bandDifference(before, panned, 0, 40, 440), 8.0);
    EXPECT_LT(bandDifference(before, panned, shift, 40, 440), 3.0) << "the scene moved left by the pan";

    body(std::string(kPtz) + "1&-act=up&-speed=5");
    const QImage tilted = snapshot();
    // Looking up, the scene moves down in the picture.
    const int drop = kStepSize * fakecam::kScenePerStep;
    EXPECT_LT(bandDifference(panned.copy(0, 40, 640, 360), tilted.copy(0, 40 + drop, 640, 360), 0, 0, 360), 3.0);
}

TEST_F(PictureTest, InfraredOpenTurnsThePictureGrey)
{
    EXPECT_EQ(body("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=open"), "[Succeed]set ok.\r\n");
    EXPECT_TRUE(camera.state().infraredOpen);
    EXPECT_EQ(camera.state().infraredMode, "open");
    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=getinfrared").find("var infraredstat=\"open\";"), std::string::npos);
    const QImage grey = snapshot();
    ASSERT_FALSE(grey.isNull());
    EXPECT_TRUE(grey.allGray());

    body("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close");
    EXPECT_FALSE(snapshot().allGray());
    body("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=auto");
    EXPECT_FALSE(snapshot().allGray());
    EXPECT_EQ(camera.state().infraredMode, "auto");

    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=bright").find("[Error]"), std::string::npos);
    EXPECT_EQ(camera.state().infraredMode, "auto");
}

TEST_F(HeadTest, SingleStepsMoveByTheStepSize)
{
    body(std::string(kPtz) + "1&-act=right&-speed=5");
    EXPECT_EQ(camera.state().pan, kStepSize);
    body(std::string(kPtz) + "1&-act=down&-speed=5");
    EXPECT_EQ(camera.state().tilt, -kStepSize);
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/ytup.cgi");
    EXPECT_EQ(camera.state().pan, -kStepSize);
    EXPECT_EQ(camera.state().tilt, 0);
    body("/cgi-bin/hi3510/ytright.cgi");
    body("/cgi-bin/hi3510/ytdown.cgi");
    EXPECT_EQ(camera.state().pan, 0);
    EXPECT_EQ(camera.state().tilt, -kStepSize);
    EXPECT_TRUE(camera.state().moving.empty());

    // The head stops at its end position.
    for (int i = 0; i < fakecam::kTiltLimit / kStepSize + 3; ++i)
        body("/cgi-bin/hi3510/ytup.cgi");
    EXPECT_EQ(camera.state().tilt, fakecam::kTiltLimit);
}

TEST_F(HeadTest, ContinuousMoveTravelsUntilStop)
{
    EXPECT_EQ(body(std::string(kPtz) + "0&-act=right&-speed=5"), "[Succeed]set ok.\r\n");
    EXPECT_EQ(camera.state().moving, "right");
    ASSERT_TRUE(waitUntil([&] { return camera.state().pan >= 3; }));
    EXPECT_EQ(camera.state().tilt, 0);

    body(std::string(kPtz) + "0&-act=stop");
    const fakecam::CameraState stopped = camera.state();
    EXPECT_TRUE(stopped.moving.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(4 * fakecam::kMoveIntervalMs));
    EXPECT_EQ(camera.state().pan, stopped.pan);

    // A new direction starts from where the head is.
    body(std::string(kPtz) + "0&-act=down&-speed=5");
    ASSERT_TRUE(waitUntil([&] { return camera.state().tilt <= -2; }));
    body(std::string(kPtz) + "0&-act=stop");
    EXPECT_EQ(camera.state().pan, stopped.pan);
}

TEST_F(HeadTest, PresetsStoreAndRecallThePosition)
{
    body("/cgi-bin/hi3510/ytright.cgi");
    body("/cgi-bin/hi3510/ytright.cgi");
    body("/cgi-bin/hi3510/ytdown.cgi");
    EXPECT_EQ(body("/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=3"), "[Succeed]set ok.\r\n");
    EXPECT_EQ(camera.state().presets.at(3), std::make_pair(2 * kStepSize, -kStepSize));

    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=3");
    EXPECT_EQ(camera.state().pan, 2 * kStepSize);
    EXPECT_EQ(camera.state().tilt, -kStepSize);

    // Recalling a preset never stored answers as usual and leaves the head alone.
    body("/cgi-bin/hi3510/ytup.cgi");
    EXPECT_EQ(body("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=8"), "[Succeed]set ok.\r\n");
    EXPECT_EQ(camera.state().pan, 2 * kStepSize);
    EXPECT_EQ(camera.state().tilt, 0);
    EXPECT_EQ(camera.state().presets.size(), 1u);
}

TEST_F(HeadTest, EveryCatalogueCommandHasItsPage)
{
    const char* const information[] = {
        "getserverinfo.cgi", "getnetinfo.cgi", "gethttpport.cgi", "getservertime.cgi", "getsetupflag.cgi",
        "param.cgi?cmd=getftpattr", "param.cgi?cmd=getsnaptimerattr", "param.cgi?cmd=getuserattr",
        "param.cgi?cmd=getimageattr", "param.cgi?cmd=getvideoattr", "param.cgi?cmd=getmdattr",
        "param.cgi?cmd=getptzcomattr", "param.cgi?cmd=getinfrared",
    };
    for (const char* command : information) {
        auto r = get(std::string("/cgi-bin/hi3510/") + command);
        ASSERT_TRUE(r) << command;
        EXPECT_EQ(r->status, 200) << command;
        EXPECT_EQ(r->get_header_value("Content-Type"), "text/html") << command;
        EXPECT_EQ(r->body.rfind("var ", 0), 0u) << command;
    }
    const std::string server = body("/cgi-bin/hi3510/getserverinfo.cgi");
    EXPECT_NE(server.find("var model=\"C6F0SgZ3N0PmL2\";"), std::string::npos);
    EXPECT_NE(server.find("var name=\"IPCAM\";"), std::string::npos);
    EXPECT_NE(body("/cgi-bin/hi3510/gethttpport.cgi").find("\"" + std::to_string(camera.port()) + "\""), std::string::npos);
    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=getuserattr").find("var at_password0=\"pelto\";"), std::string::npos);

    for (const char* command : {"sysreboot.cgi", "sdstop.cgi", "sdfrmt.cgi", "sysreboot.cgi"})
        EXPECT_EQ(body(std::string("/cgi-bin/hi3510/") + command), "[Succeed]set ok.\r\n") << command;
    EXPECT_EQ(camera.state().reboots, 2);

    auto unknown = get("/cgi-bin/hi3510/getsecrets.cgi");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
    EXPECT_NE(unknown->body.find("404"), std::string::npos);
    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=getsecrets").find("[Error]"), std::string::npos);
}
