#include "camera/CommandCatalogue.h"

#include <array>

namespace {

struct Row {
    int code;
    const char* path;
    const char* file;
};

// Fixed commands. The preset codes 11-19 and 41-48 are formed from their numbers below.
constexpr std::array kRows{
    Row{0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=stop", "cgi.html"},
    Row{1, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=right&-speed=5", "cgi.html"},
    Row{2, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=left&-speed=5", "cgi.html"},
    Row{3, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=up&-speed=5", "cgi.html"},
    Row{4, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=down&-speed=5", "cgi.html"},
    Row{31, "/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=right&-speed=5", "cgi.html"},
    Row{32, "/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=left&-speed=5", "cgi.html"},
    Row{33, "/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=up&-speed=5", "cgi.html"},
    Row{34, "/cgi-bin/hi3510/ptzctrl.cgi?-step=1&-act=down&-speed=5", "cgi.html"},
    Row{50, "/cgi-bin/hi3510/ytup.cgi", "cgi.html"},
    Row{51, "/cgi-bin/hi3510/ytdown.cgi", "cgi.html"},
    Row{52, "/cgi-bin/hi3510/ytleft.cgi", "cgi.html"},
    Row{53, "/cgi-bin/hi3510/ytright.cgi", "cgi.html"},
    Row{60, "/cgi-bin/hi3510/getserverinfo.cgi", "serverinfo.html"},
    Row{61, "/cgi-bin/hi3510/getnetinfo.cgi", "netinfo.html"},
    Row{62, "/cgi-bin/hi3510/gethttpport.cgi", "httpport.html"},
    Row{63, "/cgi-bin/hi3510/getservertime.cgi", "time.html"},
    Row{64, "/cgi-bin/hi3510/sysreboot.cgi", "reboot.html"},
    Row{65, "/cgi-bin/hi3510/sdstop.cgi", "stop.html"},
    Row{66, "/cgi-bin/hi3510/sdfrmt.cgi", "format.html"},
    Row{67, "/cgi-bin/hi3510/param.cgi?cmd=getftpattr", "ftp.html"},
    Row{68, "/cgi-bin/hi3510/param.cgi?cmd=getsnaptimerattr", "snap.html"},
    Row{69, "/cgi-bin/hi3510/getsetupflag.cgi", "flag.html"},
    Row{70, "/cgi-bin/hi3510/param.cgi?cmd=getuserattr", "users.html"},
    Row{71, "/cgi-bin/hi3510/param.cgi?cmd=getimageattr", "image.html"},
    Row{72, "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr", "video.html"},
    Row{73, "/cgi-bin/hi3510/param.cgi?cmd=getmdattr", "motion.html"},
    Row{74, "/cgi-bin/hi3510/param.cgi?cmd=getptzcomattr", "ptz.html"},
    Row{75, "/cgi-bin/hi3510/param.cgi?cmd=getinfrared", "getinfrared.html"},
    Row{76, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=auto", "setirauto.html"},
    Row{77, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=open", "setiropen.html"},
    Row{78, "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close", "setirclose.html"},
    Row{79, "/sd", "sd.html"},
};

const QString kAnswerFile = QStringLiteral("cgi.html");

} // namespace

std::optional<CatalogueEntry> catalogueEntry(int code)
{
    // Go to presets 0-8; store presets 0-7 (the camera has no command to store preset 8).
    if (code >= 11 && code <= 19)
        return CatalogueEntry{QStringLiteral("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=%1").arg(code - 11),
                              kAnswerFile};
    if (code >= 41 && code <= 48)
        return CatalogueEntry{QStringLiteral("/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=%1").arg(code - 41),
                              kAnswerFile};
    for (const Row& row : kRows) {
        if (row.code == code)
            return CatalogueEntry{QString::fromLatin1(row.path), QString::fromLatin1(row.file)};
    }
    return std::nullopt;
}

QString cameraBaseUrl(const QString& snapshotUrl)
{
    const qsizetype cut = snapshotUrl.indexOf(QStringLiteral("/tmpfs"));
    return cut < 0 ? snapshotUrl : snapshotUrl.left(cut);
}
