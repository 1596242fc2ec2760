// Faults that a real camera shows now and then, fixed pages, the request record and the
// camera's own life cycle. Stalls are checked by the camera's state, never by the clock.

#include "CameraClient.h"

#include <future>

using namespace fakecamtest;

namespace {

const char* const kInfo = "/cgi-bin/hi3510/getserverinfo.cgi";

class FaultTest : public CameraTest {
protected:
    std::string recordingPath()
    {
        const std::string date = camera.dates().front();
        return "/sd/" + date + "/record000/" + camera.recordings(date).front();
    }

    // A download that keeps whatever arrives before the connection ends.
    struct Partial {
        bool complete = false;
        int status = 0;
        std::string announcedLength, body;
    };
    Partial download(const std::string& target)
    {
        Partial p;
        auto r = client->Get(
            target.c_str(), httplib::Headers{{"Range", "bytes=0-"}},
            [&](const httplib::Response& response) {
                p.status = response.status;
                p.announcedLength = response.get_header_value("Content-Length");
                return true;
            },
            [&](const char* data, std::size_t length) {
                p.body.append(data, length);
                return true;
            });
        p.complete = static_cast<bool>(r);
        return p;
    }
};

} // namespace

TEST_F(FaultTest, SnapshotFaults)
{
    const std::size_t whole = body("/tmpfs/auto.jpg").size();
    camera.setFault(fakecam::Fault::SnapshotNotFound);
    auto missing = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    EXPECT_EQ(missing->get_header_value("Content-Type"), "text/html");
    EXPECT_EQ(get(kInfo)->status, 200) << "only the picture is missing";

    camera.setFault(fakecam::Fault::NotJpeg);
    auto page = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html");
    EXPECT_TRUE(QImage::fromData(QByteArray::fromStdString(page->body), "JPG").isNull());

    camera.setFault(fakecam::Fault::TruncatedJpeg);
    auto cut = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->status, 200);
    EXPECT_EQ(cut->get_header_value("Content-Length"), std::to_string(cut->body.size()));
    ASSERT_GE(cut->body.size(), 4u);
    EXPECT_EQ(cut->body.substr(0, 2), "\xFF\xD8") << "it starts as a JPEG";
    EXPECT_NE(cut->body.substr(cut->body.size() - 2), "\xFF\xD9") << "but its end is missing";
    EXPECT_LT(cut->body.size(), whole * 3 / 4);
}

TEST_F(FaultTest, DropMidBodyClosesAfterHalfButNeverCutsAChallenge)
{
    const std::uint64_t size = 2 * 1024 * 1024;
    camera.setRecordingSize(size);
    camera.setFault(fakecam::Fault::DropMidBody);
    const Partial p = download(recordingPath());
    EXPECT_FALSE(p.complete);
    EXPECT_EQ(p.announcedLength, std::to_string(size));
    EXPECT_EQ(p.body, fakecam::FakeCamera::recordingBytes(recordingPath(), 0, size / 2));
    EXPECT_EQ(camera.requests().back().bytesSent, size / 2);

    const Partial page = download(kInfo);
    EXPECT_FALSE(page.complete);
    ASSERT_FALSE(page.announcedLength.empty());
    EXPECT_EQ(page.body.size(), std::stoul(page.announcedLength) / 2);

    client->set_basic_auth("admin", "wrong");
    auto refused = get("/tmpfs/auto.jpg");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 401);
}

TEST_F(FaultTest, StallsHoldTheRequestOrItsSecondHalfUntilTheyEnd)
{
    camera.setFault(fakecam::Fault::StallBeforeAnswer, 1);
    auto held = std::async(std::launch::async, [this] {
        auto other = clientFor(camera);
        other->set_basic_auth("admin", "pelto");
        auto result = other->Get(kInfo);
        return result ? result->status : -1;
    });
    ASSERT_TRUE(waitUntil([&] { return camera.state().stalled == 1; }));
    EXPECT_TRUE(camera.requests().empty()) << "nothing is answered while the request stalls";
    EXPECT_EQ(held.get(), 200);
    EXPECT_EQ(camera.state().stalled, 0);
    EXPECT_EQ(camera.requests().size(), 1u);

    const std::uint64_t size = 256 * 1024;
    camera.setRecordingSize(size);
    camera.setFault(fakecam::Fault::StallMidBody, 1);
    auto cut = std::async(std::launch::async, [this] { return download(recordingPath()); });
    ASSERT_TRUE(waitUntil([&] { return camera.state().stalled == 1; }));
    const Partial p = cut.get();
    EXPECT_FALSE(p.complete) << "dropped after the stall";
    EXPECT_EQ(p.status, 206);
    EXPECT_EQ(p.body.size(), size / 2);
}

TEST_F(FaultTest, StopEndsAStallAtOnceAndTheCameraComesBackOnItsPort)
{
    camera.setFault(fakecam::Fault::StallMidBody, 600);
    auto pending = std::async(std::launch::async, [this] { return download(recordingPath()); });
    ASSERT_TRUE(waitUntil([&] { return camera.state().stalled == 1; }));
    camera.stop();
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the stall still holds";
    EXPECT_FALSE(pending.get().complete);

    const int port = camera.port();
    camera.setFault(fakecam::Fault::None);
    ASSERT_TRUE(camera.start());
    EXPECT_EQ(camera.port(), port);
    EXPECT_EQ(body(kInfo).rfind("var ", 0), 0u);
}

