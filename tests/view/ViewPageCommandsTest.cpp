// The information and set-up commands of the "F&unctions" menu, and "&Video" of the "&SD" menu.
#include "support/CameraFixture.h"

#include "view/CommandIds.h"
#include "view/VarnekJPGView.h"

namespace {

TEST_F(CameraTest, EachFunctionsCommandStoresItsPageAndOpensExactlyThatPage)
{
    CVarnekJPGView view;
    // What the camera answers to each is the camera link's tests' business; here: the right page.
    const std::pair<int, const char*> pages[] = {
        {cmd::ServerInfo, "serverinfo"}, {cmd::NetworkInfo, "netinfo"}, {cmd::HttpPort, "httpport"},
        {cmd::TimeAndTimezone, "time"}, {cmd::Reboot, "reboot"}, {cmd::StopSdCard, "stop"},
        {cmd::FormatSdCard, "format"}, {cmd::FtpConfiguration, "ftp"}, {cmd::SnapTimerConfiguration, "snap"},
        {cmd::AdminParameters, "flag"}, {cmd::UserNames, "users"}, {cmd::ImageAttributes, "image"},
        {cmd::VideoAttributes, "video"}, {cmd::MotionDetection, "motion"}, {cmd::PtzAttributes, "ptz"},
        {cmd::GetIrLed, "getinfrared"}, {cmd::IrLedAuto, "setirauto"}, {cmd::IrLedOpen, "setiropen"},
        {cmd::IrLedClose, "setirclose"},
    };
    for (const auto& [command, name] : pages) {
        const QString page = QLatin1String(name) + QStringLiteral(".html");
        SCOPED_TRACE(name);
        ASSERT_TRUE(view.OnCmdMsg(command, nullptr));
        ASSERT_TRUE(settled(view.link()));
        EXPECT_FALSE(folder.read(page).isEmpty()) << "the camera's answer, stored under the page's name";
        EXPECT_EQ(desktop.opened().last(), folder.file(page));
    }
    EXPECT_EQ(desktop.opened().size(), 19);
    EXPECT_EQ(camera->state().reboots, 1);
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(CameraTest, SdVideoStoresTheListingBeforeTheBrowserOpens)
{
    CVarnekJPGView view;
    int opened = 0;
    view.SetSdVideoDialogOpener([&] { opened += folder.exists(QStringLiteral("sd.html")) ? 1 : 100; });
    view.OnCmdMsg(cmd::SdVideo, nullptr);
    ASSERT_TRUE(settled(view.link()));
    EXPECT_EQ(camera->requests().back().target, "/sd");
    EXPECT_EQ(opened, 1) << "the listing is in place before the browser opens";
    EXPECT_TRUE(desktop.opened().isEmpty()) << "no page is opened";
}

} // namespace

