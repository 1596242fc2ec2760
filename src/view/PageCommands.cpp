#include "view/PageCommands.h"

#include "view/CommandIds.h"

namespace {

const std::array<PageCommand, 19> kPages{{
    {cmd::ServerInfo, 60},
    {cmd::NetworkInfo, 61},
    {cmd::HttpPort, 62},
    {cmd::TimeAndTimezone, 63},
    {cmd::Reboot, 64},
    {cmd::StopSdCard, 65},
    {cmd::FormatSdCard, 66},
    {cmd::FtpConfiguration, 67},
    {cmd::SnapTimerConfiguration, 68},
    {cmd::AdminParameters, 69},
    {cmd::UserNames, 70},
    {cmd::ImageAttributes, 71},
    {cmd::VideoAttributes, 72},
    {cmd::MotionDetection, 73},
    {cmd::PtzAttributes, 74},
    {cmd::GetIrLed, 75},
    {cmd::IrLedAuto, 76},
    {cmd::IrLedOpen, 77},
    {cmd::IrLedClose, 78},
}};

} // namespace

const std::array<PageCommand, 19>& pageCommands()
{
    return kPages;
}
