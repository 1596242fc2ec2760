#include "camera/CommandCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

// Every code the camera has a command for, written out: a typo in the program's table fails here.
const std::map<int, std::pair<const char*, const char*>> kExpected{
    {0, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=stop", "cgi.html"}},
    {1, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=right&-speed=5", "cgi.html"}},
    {2, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=left&-speed=5", "cgi.html"}},
    {3, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=up&-speed=5", "cgi.html"}},
    {4, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=down&-speed=5", "cgi.html"}},
    {11, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=0", "cgi.html"}},
    {12, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=1", "cgi.html"}},
    {13, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=2", "cgi.html"}},
    {14, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=3", "cgi.html"}},
    {15, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=4", "cgi.html"}},
    {16, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=5", "cgi.html"}},
    {17, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=6", "cgi.html"}},
    {18, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=7", "cgi.html"}},
    {19, {"/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=8", "cgi.html"}},
    {31, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=right&-speed=5", "cgi.html"}},
    {32, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=left&-speed=5", "cgi.html"}},
    {33, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=up&-speed=5", "cgi.html"}},
    {34, {"/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=down&-speed=5", "cgi.html"}},
    {41, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=0", "cgi.html"}},
    {42, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=1", "cgi.html"}},
    {43, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=2", "cgi.html"}},
    {44, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=3", "cgi.html"}},
    {45, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=4", "cgi.html"}},
    {46, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=5", "cgi.html"}},
    {47, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=6", "cgi.html"}},
    {48, {"/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=7", "cgi.html"}},
    {50, {"/cgi-bin/hi3510/ytup.cgi", "cgi.html"}},
    {51, {"/cgi-bin/hi3510/ytdown.cgi", "cgi.html"}},
    {52, {"/cgi-bin/hi3510/ytleft.cgi", "cgi.html"}},
    {53, {"/cgi-bin/hi3510/ytright.cgi", "cgi.html"}},
    {60, {"/cgi-bin/hi3510/getserverinfo.cgi", "serverinfo.html"}},
    {61, {"/cgi-bin/hi3510/getnetinfo.cgi", "netinfo.html"}},
    {62, {"/cgi-bin/hi3510/gethttpport.cgi", "httpport.html"}},
    {63, {"/cgi-bin/hi3510/getservertime.cgi", "time.html"}},
    {64, {"/cgi-bin/hi3510/sysreboot.cgi", "reboot.html"}},
    {65, {"/cgi-bin/hi3510/sdstop.cgi", "stop.html"}},
    {66, {"/cgi-bin/hi3510/sdfrmt.cgi", "format.html"}},
    {67, {"/cgi-bin/hi3510/param.cgi?cmd=getftpattr", "ftp.html"}},
    {68, {"/cgi-bin/hi3510/param.cgi?cmd=getsnaptimerattr", "snap.html"}},
    {69, {"/cgi-bin/hi3510/getsetupflag.cgi", "flag.html"}},
    {70, {"/cgi-bin/hi3510/param.cgi?cmd=getuserattr", "users.html"}},
    {71, {"/cgi-bin/hi3510/param.cgi?cmd=getimageattr", "image.html"}},
    {72, {"/cgi-bin/hi3510/param.cgi?cmd=getvideoattr", "video.html"}},
    {73, {"/cgi-bin/hi3510/param.cgi?cmd=getmdattr", "motion.html"}},
    {74, {"/cgi-bin/hi3510/param.cgi?cmd=getptzcomattr", "ptz.html"}},
    {75, {"/cgi-bin/hi3510/param.cgi?cmd=getinfrared", "getinfrared.html"}},
    {76, {"/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=auto", "setirauto.html"}},
    {77, {"/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=open", "setiropen.html"}},
    {78, {"/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close", "setirclose.html"}},
    {79, {"/sd", "sd.html"}},
};

TEST(Catalogue, EveryCodeHasItsPathAndAnswerFileAndNoOtherCodeHasAny)
{
    for (int code = -2; code <= 100; ++code) {
        const auto entry = catalogueEntry(code);
        const auto expected = kExpected.find(code);
        ASSERT_EQ(entry.has_value(), expected != kExpected.end()) << code;
        if (!entry)
            continue;
        EXPECT_EQ(entry->cgiPath, QLatin1String(expected->second.first)) << code;
        EXPECT_EQ(entry->answerFile, QLatin1String(expected->second.second)) << code;
    }
}

TEST(CameraBaseUrl, IsTheSnapshotUrlCutAtItsFirstTmpfs)
{
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam:8080/tmpfs/auto.jpg")), QStringLiteral("http://cam:8080"));
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/a/tmpfs/b/tmpfs/auto.jpg")), QStringLiteral("http://cam/a"));
    // Without "/tmpfs" the whole URL is the base; the match is case-sensitive.
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/snap.jpg")), QStringLiteral("http://cam/snap.jpg"));
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/TMPFS/auto.jpg")), QStringLiteral("http://cam/TMPFS/auto.jpg"));
}

} // namespace
