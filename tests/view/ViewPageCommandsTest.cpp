// The information and set-up commands of the "F&unctions" menu, and "&Video" of the "&SD" menu.
#include "ViewFixture.h"

#include "camera/CameraRequest.h"
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
        {32784, "getserverinfo.cgi serverinfo.html"},
        {32785, "getnetinfo.cgi netinfo.html"},
        {32786, "gethttpport.cgi httpport.html"},
        {32787, "getservertime.cgi time.html"},
        {32789, "sysreboot.cgi reboot.html"},
        {32790, "sdstop.cgi stop.html"},
        {32791, "sdfrmt.cgi format.html"},
        {32792, "param.cgi?cmd=getftpattr ftp.html"},
        {32793, "param.cgi?cmd=getsnaptimerattr snap.html"},
        {32794, "getsetupflag.cgi flag.html"},
        {32795, "param.cgi?cmd=getuserattr users.html"},
        {32796, "param.cgi?cmd=getimageattr image.html"},
        {32797, "param.cgi?cmd=getvideoattr video.html"},
        {32798, "param.cgi?cmd=getmdattr motion.html"},
        {32799, "param.cgi?cmd=getptzcomattr ptz.html"},
        {32801, "param.cgi?cmd=getinfrared getinfrared.html"},
        {32802, "param.cgi?cmd=setinfrared&-infraredstat=auto setirauto.html"},
        {32803, "param.cgi?cmd=setinfrared&-infraredstat=open setiropen.html"},
        {32804, "param.cgi?cmd=setinfrared&-infraredstat=close setirclose.html"},
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
    view.OnCmdMsg(32784, nullptr);
    view.OnCmdMsg(32785, nullptr);
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
    view.OnCmdMsg(32800, nullptr);
    EXPECT_EQ(lastAuthenticatedTarget(), "/sd");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(listingThere) << "the listing is in place before the browser opens";
    camera->stop();
    view.OnCmdMsg(32800, nullptr);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(desktop.opened().isEmpty()) << "no page is opened";
}

} // namespace

