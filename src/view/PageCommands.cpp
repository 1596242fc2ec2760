#include "view/PageCommands.h"

namespace {

const std::array<PageCommand, 19> kPages{{
    {32784, 60, "serverinfo.html"},
    {32785, 61, "netinfo.html"},
    {32786, 62, "httpport.html"},
    {32787, 63, "time.html"},
    {32789, 64, "reboot.html"},
    {32790, 65, "stop.html"},
    {32791, 66, "format.html"},
    {32792, 67, "ftp.html"},
    {32793, 68, "snap.html"},
    {32794, 69, "flag.html"},
    {32795, 70, "users.html"},
    {32796, 71, "image.html"},
    {32797, 72, "video.html"},
    {32798, 73, "motion.html"},
    {32799, 74, "ptz.html"},
    {32801, 75, "getinfrared.html"},
    {32802, 76, "setirauto.html"},
    {32803, 77, "setiropen.html"},
    {32804, 78, "setirclose.html"},
}};

} // namespace

const std::array<PageCommand, 19>& pageCommands()
{
    return kPages;
}

std::optional<PageCommand> pageCommand(int command)
{
    for (const PageCommand& page : kPages) {
        if (page.command == command)
            return page;
    }
    return std::nullopt;
}
