#include "view/PageCommands.h"

#include "view/CommandIds.h"

namespace {

const std::array<PageCommand, 19> kPages{{
    {cmd::ServerInfo, 60, "serverinfo.html"},
    {cmd::NetworkInfo, 61, "netinfo.html"},
    {cmd::HttpPort, 62, "httpport.html"},
    {cmd::TimeAndTimezone, 63, "time.html"},
    {cmd::Reboot, 64, "reboot.html"},
    {cmd::StopSdCard, 65, "stop.html"},
    {cmd::FormatSdCard, 66, "format.html"},
    {cmd::FtpConfiguration, 67, "ftp.html"},
    {cmd::SnapTimerConfiguration, 68, "snap.html"},
    {cmd::AdminParameters, 69, "flag.html"},
    {cmd::UserNames, 70, "users.html"},
    {cmd::ImageAttributes, 71, "image.html"},
    {cmd::VideoAttributes, 72, "video.html"},
    {cmd::MotionDetection, 73, "motion.html"},
    {cmd::PtzAttributes, 74, "ptz.html"},
    {cmd::GetIrLed, 75, "getinfrared.html"},
    {cmd::IrLedAuto, 76, "setirauto.html"},
    {cmd::IrLedOpen, 77, "setiropen.html"},
    {cmd::IrLedClose, 78, "setirclose.html"},
}};

} // namespace

const std::array<PageCommand, 19>& pageCommands()
{
    return kPages;
}
