// The information and set-up commands of the "F&unctions" menu, and "&Video" of the "&SD" menu.
#include "support/CameraFixture.h"

#include "camera/CameraRequest.h"
#include "view/CommandIds.h"
#include "view/VarnekJPGView.h"

namespace {

class ViewPageCommandsTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        RequestTimeouts quick = m_savedTimeouts;
        quick.otherRetryDelayMs = 0;
        setRequestTimeouts(quick);
    }
    void TearDown() override { setRequestTimeouts(m_savedTimeouts); }

    std::string lastAuthenticatedTarget() const
    {
        std::string target;
        for (const fakecam::RecordedRequest& request : camera->requests())
            target = request.authenticated ? request.target : target;
        return target;
    }

    const RequestTimeouts m_savedTimeouts = requestTimeouts();
    CVarnekJPGView view;
};

TEST_F(ViewPageCommandsTest, EachRequestsItsPathStoresItsPageAndOpensExactlyThatPage)
{
    const std::pair<int, const char*> pages[] = {
        {cmd::ServerInfo, "getserverinfo.cgi serverinfo.html"},
        {cmd::NetworkInfo, "getnetinfo.cgi netinfo.html"},
        {cmd::HttpPort, "gethttpport.cgi httpport.html"},
        {cmd::TimeAndTimezone, "getservertime.cgi time.html"},
        {cmd::Reboot, "sysreboot.cgi reboot.html"},
        {cmd::StopSdCard, "sdstop.cgi stop.html"},
        {cmd::FormatSdCard, "sdfrmt.cgi format.html"},
        {cmd::FtpConfiguration, "param.cgi?cmd=getftpattr ftp.html"},
        {cmd::SnapTimerConfiguration, "param.cgi?cmd=getsnaptimerattr snap.html"},
        {cmd::AdminParameters, "getsetupflag.cgi flag.html"},
        {cmd::UserNames, "param.cgi?cmd=getuserattr users.html"},
        {cmd::ImageAttributes, "param.cgi?cmd=getimageattr image.html"},
        {cmd::VideoAttributes, "param.cgi?cmd=getvideoattr video.html"},
        {cmd::MotionDetection, "param.cgi?cmd=getmdattr motion.html"},
        {cmd::PtzAttributes, "param.cgi?cmd=getptzcomattr ptz.html"},
        {cmd::GetIrLed, "param.cgi?cmd=getinfrared getinfrared.html"},
        {cmd::IrLedAuto, "param.cgi?cmd=setinfrared&-infraredstat=auto setirauto.html"},
        {cmd::IrLedOpen, "param.cgi?cmd=setinfrared&-infraredstat=open setiropen.html"},
        {cmd::IrLedClose, "param.cgi?cmd=setinfrared&-infraredstat=close setirclose.html"},
    };
    for (const auto& [command, targetAndPage] : pages) {
        const QStringList parts = QString::fromLatin1(targetAndPage).split(QLatin1Char(' '));
        const QString page = parts[1];
        SCOPED_TRACE(targetAndPage);
        ASSERT_TRUE(view.OnCmdMsg(command, nullptr));
        EXPECT_EQ(lastAuthenticatedTarget(), "/cgi-bin/hi3510/" + parts[0].toStdString());
        EXPECT_FALSE(folder.read(page).isEmpty());
        EXPECT_EQ(desktop.opened().last(), folder.file(page));
    }
    EXPECT_EQ(desktop.opened().size(), 19);
    EXPECT_EQ(camera->state().reboots, 1);
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(ViewPageCommandsTest, ACameraThatIsDownShowsTheOlderPageOfThatNameAndMakesNoneUp)
{
    folder.write(QStringLiteral("serverinfo.html"), "<html>last week's answer</html>");
    camera->stop();
    view.OnCmdMsg(cmd::ServerInfo, nullptr);
    view.OnCmdMsg(cmd::NetworkInfo, nullptr);
    EXPECT_EQ(desktop.opened(), QStringList({folder.file(QStringLiteral("serverinfo.html")),
                                             folder.file(QStringLiteral("netinfo.html"))}));
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("<html>last week's answer</html>"));
    EXPECT_FALSE(folder.exists(QStringLiteral("netinfo.html")));
    EXPECT_TRUE(desktop.messages().empty()) << "camera failures are never shown in boxes";
}

TEST_F(ViewPageCommandsTest, SdVideoStoresTheCardListingThenOpensTheBrowserEvenWithTheCameraGone)
{
    int opened = 0;
    bool listingThere = false;
    view.SetSdVideoDialogOpener([&] {
        ++opened;
        listingThere = folder.exists(QStringLiteral("sd.html"));
    });
    view.OnCmdMsg(cmd::SdVideo, nullptr);
    EXPECT_EQ(lastAuthenticatedTarget(), "/sd");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(listingThere) << "the listing is in place before the browser opens";
    camera->stop();
    view.OnCmdMsg(cmd::SdVideo, nullptr);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(desktop.opened().isEmpty()) << "no page is opened";
}

} // namespace

