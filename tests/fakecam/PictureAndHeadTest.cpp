// The picture and the head: what the snapshot shows, and how the CGI commands move the camera.

#include "CameraClient.h"

#include "fakecam/SnapshotRenderer.h"

#include <cmath>

using namespace fakecamtest;
using fakecam::kStepSize;

namespace {

const std::string kPtz = "/cgi-bin/hi3510/ptzctrl.cgi?-step=";
const std::string kOk = "[Succeed]set ok.\r\n";

// Mean difference per channel of two pictures over rows 40 to 440 (the scene, without the
// display text), the second one read `shift` columns to the left.
double sceneDifference(const QImage& a, const QImage& b, int shift)
{
    double sum = 0;
    long count = 0;
    for (int y = 40; y < 440; ++y) {
        for (int x = shift; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x - shift, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            count += 3;
        }
    }
    return sum / count;
}

class PictureTest : public CameraTest {};
class HeadTest : public CameraTest {
protected:
    std::pair<int, int> position() { return {camera.state().pan, camera.state().tilt}; }
};

} // namespace

TEST(PictureSizes, EachSnapshotIsAFreshJpegOfTheConfiguredSize)
{
    for (const QSize size : {QSize(640, 480), QSize(1280, 720), QSize(1920, 1080)}) {
        fakecam::Options o;
        o.auth = fakecam::AuthMode::None;
        o.width = size.width();
        o.height = size.height();
        fakecam::FakeCamera camera(o);
        ASSERT_TRUE(camera.start());
        auto first = clientFor(camera)->Get("/tmpfs/auto.jpg");
        auto second = clientFor(camera)->Get("/tmpfs/auto.jpg");
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->get_header_value("Content-Type"), "image/jpeg");
        const QImage image = QImage::fromData(QByteArray::fromStdString(first->body), "JPG");
        EXPECT_EQ(image.size(), size);
        EXPECT_FALSE(image.allGray());
        EXPECT_NE(first->body, second->body) << "each picture carries its own frame number";
        EXPECT_EQ(camera.state().snapshotsServed, 2u);
    }
}

TEST_F(PictureTest, TheSceneMovesWithThePan)
{
    const QImage before = snapshot();
    EXPECT_LT(sceneDifference(before, snapshot(), 0), 1.0);
    body(kPtz + "1&-act=right&-speed=5");
    body(kPtz + "1&-act=right&-speed=5");
    const QImage panned = snapshot();
    EXPECT_GT(sceneDifference(before, panned, 0), 8.0);
    EXPECT_LT(sceneDifference(before, panned, 2 * kStepSize * fakecam::kScenePerStep), 3.0)
        << "the scene moved left by the pan";
}

TEST_F(PictureTest, InfraredOpenTurnsThePictureGrey)
{
    const std::string set = "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=";
    EXPECT_EQ(body(set + "open"), kOk);
    EXPECT_TRUE(camera.state().infraredOpen);
    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=getinfrared").find("var infraredstat=\"open\";"), std::string::npos);
    EXPECT_TRUE(snapshot().allGray());
    body(set + "close");
    EXPECT_FALSE(snapshot().allGray());
    body(set + "auto");
    EXPECT_FALSE(snapshot().allGray());
    EXPECT_EQ(camera.state().infraredMode, "auto");
    EXPECT_NE(body(set + "bright").find("[Error]"), std::string::npos);
    EXPECT_EQ(camera.state().infraredMode, "auto");
}

TEST_F(HeadTest, SingleStepsMoveByTheStepSizeUpToTheEnd)
{
    body(kPtz + "1&-act=right&-speed=5");
    body(kPtz + "1&-act=down&-speed=5");
    EXPECT_EQ(position(), std::make_pair(kStepSize, -kStepSize));
    for (const char* command : {"ytleft", "ytleft", "ytup", "ytright", "ytdown"})
        body("/cgi-bin/hi3510/" + std::string(command) + ".cgi");
    EXPECT_EQ(position(), std::make_pair(0, -kStepSize));
    EXPECT_TRUE(camera.state().moving.empty());
    for (int i = 0; i < fakecam::kTiltLimit / kStepSize + 3; ++i)
        body("/cgi-bin/hi3510/ytup.cgi");
    EXPECT_EQ(camera.state().tilt, fakecam::kTiltLimit);
}

TEST_F(HeadTest, AContinuousMoveTravelsUntilItsStop)
{
    EXPECT_EQ(body(kPtz + "0&-act=right&-speed=5"), kOk);
    EXPECT_EQ(camera.state().moving, "right");
    ASSERT_TRUE(waitUntil([&] { return camera.state().pan >= 3; }));
    body(kPtz + "0&-act=stop");
    const int stoppedAt = camera.state().pan;
    EXPECT_TRUE(camera.state().moving.empty());
    // While the head then travels down, the pan stays where the stop left it.
    body(kPtz + "0&-act=down&-speed=5");
    ASSERT_TRUE(waitUntil([&] { return camera.state().tilt <= -2; }));
    body(kPtz + "0&-act=stop");
    EXPECT_EQ(camera.state().pan, stoppedAt);
}

TEST_F(HeadTest, PresetsStoreAndRecallThePosition)
{
    body("/cgi-bin/hi3510/ytright.cgi");
    body("/cgi-bin/hi3510/ytdown.cgi");
    EXPECT_EQ(body("/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=3"), kOk);
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/ytleft.cgi");
    body("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=3");
    EXPECT_EQ(position(), std::make_pair(kStepSize, -kStepSize));
    // Recalling a preset never stored answers as usual and leaves the head alone.
    body("/cgi-bin/hi3510/ytup.cgi");
    EXPECT_EQ(body("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=8"), kOk);
    EXPECT_EQ(position(), std::make_pair(kStepSize, 0));
}

TEST_F(HeadTest, InformationPagesAnswerAsScriptsAndUnknownCommandsAreRefused)
{
    for (const char* command : {"getserverinfo.cgi", "getnetinfo.cgi", "gethttpport.cgi", "getservertime.cgi",
                                "getsetupflag.cgi", "param.cgi?cmd=getftpattr", "param.cgi?cmd=getsnaptimerattr",
                                "param.cgi?cmd=getuserattr", "param.cgi?cmd=getimageattr", "param.cgi?cmd=getvideoattr",
                                "param.cgi?cmd=getmdattr", "param.cgi?cmd=getptzcomattr", "param.cgi?cmd=getinfrared"}) {
        auto r = get(std::string("/cgi-bin/hi3510/") + command);
        ASSERT_TRUE(r) << command;
        EXPECT_EQ(r->status, 200) << command;
        EXPECT_EQ(r->get_header_value("Content-Type"), "text/html") << command;
        EXPECT_EQ(r->body.rfind("var ", 0), 0u) << command;
    }
    EXPECT_NE(body("/cgi-bin/hi3510/gethttpport.cgi").find("\"" + std::to_string(camera.port()) + "\""), std::string::npos);
    auto unknown = get("/cgi-bin/hi3510/getsecrets.cgi");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
    EXPECT_NE(body("/cgi-bin/hi3510/param.cgi?cmd=getsecrets").find("[Error]"), std::string::npos);
}
