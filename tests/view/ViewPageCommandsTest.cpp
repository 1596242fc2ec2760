// The information and set-up commands of the "F&unctions" menu, and "&Video" of the "&SD" menu.
#include "ViewFixture.h"

#include "camera/CameraRequest.h"
#include "view/VarnekJPGView.h"

namespace {

struct PageCase {
    int command;
    const char* target;
    const char* page;
};

const PageCase kPages[] = {
    {32784, "/cgi-bin/hi3510/getserverinfo.cgi", "serverinfo.html"},
    {32785, "/cgi-bin/hi3510/getnetinfo.cgi", "netinfo.html"},
    {32786, "/cgi-bin/hi3510/gethttpport.cgi", "httpport.html"},
    {32787, "/cgi-bin/hi3510/getservertime.cgi", "time.html"},
    {32789, "/cgi-bin/hi3510/sysreboot.cgi", "reboot.html"},
    {32790, "/cgi-bin/hi3510/sdstop.cgi", "stop.html"},
    {32791, "/cgi-bin/hi3510/sdfrmt.cgi", "format.html"},
    {32792, "/cgi-bin/hi3510/param.cgi?cmd=getftpattr", "ftp.html"},
    {32793, "/cgi-bin/hi3510/param.cgi?cmd=getsnaptimerattr", "snap.html"},
    {32794, "/cgi-bin/hi3510/getsetupflag.cgi", "flag.html"},
    {32795, "/cgi-bin/hi3510/param.cgi?cmd=getuserattr", "users.html"},
    {32796, "/cgi-bin/hi3510/param.cgi?cmd=getimageattr", "image.html"},
    {32797, "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr", "video.html"},
    {32798, "/cgi-bin/hi3510/param.cgi?cmd=getmdattr", "motion.html"},
    {32799, "/cgi-bin/hi3510/param.cgi?cmd=getptzcomattr", "ptz.html"},
    {32801, "/cgi-bin/hi3510/param.cgi?cmd=getinfrared", "getinfrared.html"},
    {32802, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=auto", "setirauto.html"},
    {32803, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=open", "setiropen.html"},
    {32804, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close", "setirclose.html"},
};

class ViewPageCommandsTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        m_savedTimeouts = requestTimeouts();
        RequestTimeouts quick = m_savedTimeouts;
        quick.otherRetryDelayMs = 0;
        setRequestTimeouts(quick);
    }
    void TearDown() override { setRequestTimeouts(m_savedTimeouts); }

    std::string lastAuthenticatedTarget() const
    {
        std::string target;
        for (const fakecam::RecordedRequest& request : camera->requests()) {
            if (request.authenticated)
                target = request.target;
        }
        return target;
    }

    RequestTimeouts m_savedTimeouts;
};

TEST_F(ViewPageCommandsTest, EachRequestsItsPathStoresItsPageAndOpensExactlyThatPage)
{
    CVarnekJPGView view;
    for (const PageCase& c : kPages) {
        SCOPED_TRACE(c.page);
        const QString page = QString::fromLatin1(c.page);
        const qsizetype openedBefore = desktop.opened().size();
        CCmdUI ui;
        ASSERT_TRUE(view.OnCmdMsg(c.command, &ui));
        EXPECT_TRUE(ui.enabled);
        EXPECT_FALSE(ui.checkable);

        ASSERT_TRUE(view.OnCmdMsg(c.command, nullptr));
        EXPECT_EQ(lastAuthenticatedTarget(), c.target);
        EXPECT_TRUE(folder.exists(page));
        EXPECT_FALSE(folder.read(page).isEmpty());
        ASSERT_EQ(desktop.opened().size(), openedBefore + 1);
        EXPECT_EQ(desktop.opened().last(), folder.file(page));
    }
    EXPECT_EQ(camera->state().reboots, 1);
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(ViewPageCommandsTest, ACameraThatIsDownShowsTheOlderPageOfThatName)
{
    CVarnekJPGView view;
    folder.write(QStringLiteral("serverinfo.html"), "<html>last week's answer</html>");
    camera->stop();

    view.OnCmdMsg(32784, nullptr);
    ASSERT_EQ(desktop.opened().size(), 1);
    EXPECT_EQ(desktop.opened().last(), folder.file(QStringLiteral("serverinfo.html")));
    EXPECT_EQ(folder.read(QStringLiteral("serverinfo.html")), QByteArray("<html>last week's answer</html>"));

    // With no older page the same page is asked for, and nothing is made up.
    view.OnCmdMsg(32785, nullptr);
    ASSERT_EQ(desktop.opened().size(), 2);
    EXPECT_EQ(desktop.opened().last(), folder.file(QStringLiteral("netinfo.html")));
    EXPECT_FALSE(folder.exists(QStringLiteral("netinfo.html")));
    EXPECT_TRUE(desktop.messages().empty()) << "camera failures are never shown in boxes";
}

TEST_F(ViewPageCommandsTest, SdVideoStoresTheCardListingOpensNoPageAndHandsOverToTheBrowser)
{
    CVarnekJPGView view;
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
    EXPECT_TRUE(desktop.opened().isEmpty());

    // The browser opens even when the camera is gone: it reads whatever listing there is.
    camera->stop();
    view.OnCmdMsg(32800, nullptr);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(desktop.opened().isEmpty());
}

} // namespace
