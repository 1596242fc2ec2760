#include "fakecam/CameraPages.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace fakecam::pages {
namespace {

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

std::string errorPage(const std::string& title, const std::string& text)
{
    return "<html><head><title>" + title + "</title></head>\r\n<body><h1>" + title + "</h1>\r\n<p>" + text +
           "</p></body></html>\r\n";
}

std::string now(const char* format)
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, format, &tm);
    return buffer;
}

// One line of a listing page and the names in it that a careful reader keeps.
struct Row {
    std::string html;
    std::vector<std::string> kept;
};

std::string pageHead(const std::string& folder)
{
    return "<html>\n<head><title>Index of " + folder + "</title></head>\n<body>\n<h1>Index of " + folder +
           "</h1>\n<hr>\n<table>\n<tr><th>Name</th><th>Size</th></tr>\n"
           "<tr><td><a href=\"../\">Parent Directory</a></td><td>-</td></tr>\n";
}

std::string pageFoot()
{
    return "</table>\n<hr>\n<address>hi3510 httpd</address>\n</body>\n</html>\n";
}

std::string folderRow(const std::string& name)
{
    return "<tr><td><a href=\"/sd/" + name + "/\">" + name + "/</a></td><td>-</td></tr>";
}

std::string fileRow(const std::string& date, const std::string& name, std::uint64_t size)
{
    return "<tr><td><a href=\"/sd/" + date + "/record000/" + name + "\">" + name + "</a></td><td>" +
           std::to_string(size) + "</td></tr>";
}

Row keep(std::string html, std::vector<std::string> names)
{
    return Row{std::move(html), std::move(names)};
}

Row drop(std::string html)
{
    return Row{std::move(html), {}};
}

// The header lines of a hostile page: a link to the card itself that names no folder, and a
// comment that holds the link marker with nothing behind it.
std::vector<Row> hostileHead(const std::string& folder)
{
    return {
        drop("<html>"),
        drop("<head><title>Index of " + folder + "</title></head>"),
        drop("<body>"),
        drop("<h1>Index of " + folder + "</h1>"),
        drop("<p>Card: <a href=\"/sd/\">refresh</a> 7580M total</p>"),
        drop("<!-- <a href=\"/sd/ -->"),
        drop("<hr>"),
        drop("<table>"),
        drop("<tr><td><a href=\"../\">Parent Directory</a></td><td>-</td></tr>"),
    };
}

std::vector<Row> hostileFoot()
{
    return {drop("</table>"), drop("<hr>"), drop("</body>"), drop("</html>")};
}

std::vector<Row> hostileCardRows()
{
    std::vector<Row> rows = hostileHead("/sd/");
    const std::vector<Row> body = {
        keep(folderRow("20261201"), {"20261201"}),
        drop(folderRow("../../../tmp")),
        drop(folderRow("..")),
        drop(folderRow(".")),
        drop(folderRow("")),
        drop(folderRow("2026\\1201")),
        drop(folderRow(std::string(300, 'B'))),
        keep(folderRow("2026 12 04"), {"2026 12 04"}),
        keep(folderRow("2026-12-05-\xC3\xA9t\xC3\xA9"), {"2026-12-05-\xC3\xA9t\xC3\xA9"}),
        keep(folderRow("\xE9t\xE9-2026"), {"\xE9t\xE9-2026"}),
        drop(folderRow("2026\x01\x1b")),
        drop(folderRow("2026\t1203")),
        keep(folderRow("20261201"), {"20261201"}),
        keep(folderRow(kOneLineFolder), {kOneLineFolder}),
        drop("<tr><td><a href=\"/sd/20261299\">20261299</a></td><td>-</td></tr>"),
        drop("<tr><td><a href=\"/sd/20261298/>broken</a></td><td>-</td></tr>"),
        keep("<tr><td><a href=\"/sd/20261206/\">20261206/</a> <a href=\"/sd/20261207/\">20261207/</a></td></tr>",
             {"20261206", "20261207"}),
    };
    rows.insert(rows.end(), body.begin(), body.end());
    const std::vector<Row> foot = hostileFoot();
    rows.insert(rows.end(), foot.begin(), foot.end());
    return rows;
}

bool contains(const std::vector<std::string>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::vector<Row> hostileFolderRows(const std::string& date, std::uint64_t size)
{
    std::vector<std::string> base = recordings(date);
    if (base.empty())
        base = {"P261204_080000_080500.264"};
    std::vector<Row> rows = hostileHead("/sd/" + date + "/record000/");
    for (const std::string& name : base)
        rows.push_back(keep(fileRow(date, name, size), {name}));
    const std::vector<Row> body = {
        drop(fileRow(date, "../../../../tmp/evil.264", size)),
        drop(fileRow(date, "..", size)),
        drop(fileRow(date, ".", size)),
        drop(fileRow(date, "", size)),
        drop(fileRow(date, "sub\\evil.264", size)),
        drop(fileRow(date, std::string(296, 'C') + ".264", size)),
        keep(fileRow(date, "P261201 130000 130500.264", size), {"P261201 130000 130500.264"}),
        keep(fileRow(date, "P261201_caf\xC3\xA9.264", size), {"P261201_caf\xC3\xA9.264"}),
        keep(fileRow(date, "P261201_\xE9t\xE9.264", size), {"P261201_\xE9t\xE9.264"}),
        drop(fileRow(date, "P261201\x01_\x1b.264", size)),
        drop(fileRow(date, "P261201\t.264", size)),
        keep(fileRow(date, base.front(), size), {base.front()}),
        drop("<tr><td><a href=\"/sd/" + date + "/record000/P261201_235900_235959.264>broken</a></td></tr>"),
        drop("<tr><td><a href=\"/sd/" + date + "\">" + date + "</a></td></tr>"),
        keep("<tr><td><a href=\"/sd/" + date + "/record000/P261201_140000_140500.264\">first</a> <a href=\"/sd/" +
                 date + "/record000/P261201_141000_141500.264\">second</a></td></tr>",
             {"P261201_140000_140500.264", "P261201_141000_141500.264"}),
    };
    rows.insert(rows.end(), body.begin(), body.end());
    const std::vector<Row> foot = hostileFoot();
    rows.insert(rows.end(), foot.begin(), foot.end());
    return rows;
}

std::string join(const std::vector<Row>& rows, const char* lineBreak)
{
    std::string page;
    for (const Row& row : rows)
        page += row.html + lineBreak;
    return page;
}

std::vector<std::string> keptNames(const std::vector<Row>& rows)
{
    std::vector<std::string> names;
    for (const Row& row : rows)
        names.insert(names.end(), row.kept.begin(), row.kept.end());
    return names;
}

} // namespace

std::string notFound()
{
    return errorPage("404 Not Found", "The requested URL was not found on this server.");
}

std::string unauthorized()
{
    return errorPage("401 Unauthorized", "Authorization required: the user name or the password is wrong.");
}

std::string methodNotAllowed()
{
    return errorPage("405 Method Not Allowed", "The camera answers GET requests only.");
}

std::string rangeNotSatisfiable()
{
    return errorPage("416 Range Not Satisfiable", "The requested range lies beyond the end of the file.");
}

std::string notAPicture()
{
    return "<html><head><title>IPCAM</title></head>\r\n<body><p>The video server is busy. "
           "Please try again later.</p></body></html>\r\n";
}

std::string setOk()
{
    return "[Succeed]set ok.\r\n";
}

std::string setError(const std::string& parameter)
{
    return "[Error]" + parameter + " param error.\r\n";
}

std::string informationPage(const std::string& command, const CameraFacts& f)
{
    if (command == "getserverinfo.cgi") {
        return var("model", "C6F0SgZ3N0PmL2") + var("hardVersion", "V1.0.0.0") +
               var("softVersion", "V9.1.4.1.14-20170724") + var("webVersion", "V1.0.1") + var("name", "IPCAM") +
               var("startdate", "2026-12-01 08:00:00") + var("upnpstatus", "on") + var("sdstatus", "Ready") +
               var("sdfreespace", "7412M") + var("sdtotalspace", "7580M");
    }
    if (command == "getnetinfo.cgi") {
        return var("dhcpflag", "off") + var("ip", "127.0.0.1") + var("netmask", "255.0.0.0") +
               var("gateway", "127.0.0.1") + var("dnsstat", "0") + var("fdnsip", "127.0.0.1") +
               var("sdnsip", "0.0.0.0") + var("macaddress", "00:E0:4C:12:34:56") + var("networktype", "LAN");
    }
    if (command == "gethttpport.cgi")
        return var("httpport", std::to_string(f.port)) + var("rtspport", "554") + var("rtpport", "6600");
    if (command == "getservertime.cgi") {
        return var("time", now("%Y%m%d%H%M%S")) + var("timeZone", "Europe/Helsinki") + var("dstmode", "off") +
               var("ntpenable", "1") + var("ntpserver", "pool.ntp.org") + var("ntpinterval", "1");
    }
    if (command == "getsetupflag.cgi")
        return var("setupflag", "1") + var("isadmin", "1");
    if (command == "getftpattr") {
        return var("ft_server", "") + var("ft_port", "21") + var("ft_username", "") + var("ft_password", "") +
               var("ft_mode", "0") + var("ft_dirname", "./") + var("ft_autocreatedir", "1");
    }
    if (command == "getsnaptimerattr") {
        return var("as_enable", "0") + var("as_interval", "60") + var("as_type", "0") + var("as_ftp", "0") +
               var("as_email", "0");
    }
    if (command == "getuserattr") {
        return var("at_username0", f.user) + var("at_password0", f.password) + var("at_authlevel0", "255") +
               var("at_username1", "user") + var("at_password1", "user") + var("at_authlevel1", "3") +
               var("at_username2", "guest") + var("at_password2", "guest") + var("at_authlevel2", "1");
    }
    if (command == "getimageattr") {
        return var("display_mode", "0") + var("brightness", "50") + var("saturation", "50") +
               var("sharpness", "50") + var("contrast", "50") + var("hue", "50") + var("wdr", "off") +
               var("night", "off") + var("shutter", "65535") + var("flip", "off") + var("mirror", "off") +
               var("gc", "2") + var("ae", "2") + var("targety", "50") + var("noise", "0") + var("gamma", "1") +
               var("aemode", "0") + var("imgmode", "0");
    }
    if (command == "getvideoattr") {
        return var("videomode", "43") + var("vinorm", "P") + var("profile", "1") + var("maxchn", "3") +
               var("width_1", std::to_string(f.width)) + var("height_1", std::to_string(f.height)) +
               var("fps_1", "25") + var("bps_1", "2048") + var("width_2", "640") + var("height_2", "352") +
               var("fps_2", "25") + var("bps_2", "512");
    }
    if (command == "getmdattr") {
        std::string page;
        for (int area = 1; area <= 4; ++area) {
            const std::string m = "m" + std::to_string(area) + "_";
            page += var(m + "enable", area == 1 ? "1" : "0") + var(m + "x", "0") + var(m + "y", "0") +
                    var(m + "w", "60") + var(m + "h", "60") + var(m + "sensitivity", "50");
        }
        return page;
    }
    if (command == "getptzcomattr") {
        return var("comaddress", "1") + var("protocol", "pelcod") + var("baudrate", "9600") + var("databit", "8") +
               var("stopbit", "1") + var("parity", "none");
    }
    if (command == "getinfrared")
        return var("infraredstat", f.infraredMode);
    return {};
}

std::vector<std::string> dates()
{
    return {"20261130", "20261201", "20261202"};
}

std::vector<std::string> recordings(const std::string& date)
{
    static const std::map<std::string, std::vector<std::string>> names = {
        {"20261130", {"P261130_080000_080500.264", "P261130_181500_182000.264"}},
        {"20261201", {"P261201_120000_120500.264", "P261201_120500_121000.264", "P261201_121000_121500.264"}},
        {"20261202",
         {"P261202_000000_000500.264", "P261202_063000_063500.264", "P261202_120000_120500.264",
          "P261202_235500_235959.264"}},
    };
    const auto it = names.find(date);
    return it == names.end() ? std::vector<std::string>{} : it->second;
}

std::string cardListing()
{
    std::string page = pageHead("/sd/");
    for (const std::string& date : dates())
        page += folderRow(date) + "\n";
    return page + pageFoot();
}

std::string dateFolderListing(const std::string& date)
{
    return pageHead("/sd/" + date + "/") + "<tr><td><a href=\"/sd/" + date + "/record000/\">record000/</a></td><td>-</td></tr>\n" +
           pageFoot();
}

std::string recordFolderListing(const std::string& date, std::uint64_t recordingSize)
{
    std::string page = pageHead("/sd/" + date + "/record000/");
    for (const std::string& name : recordings(date))
        page += fileRow(date, name, recordingSize) + "\n";
    return page + pageFoot();
}

std::string hostileCardListing()
{
    return join(hostileCardRows(), "\n");
}

std::string hostileRecordFolderListing(const std::string& date, std::uint64_t recordingSize)
{
    return join(hostileFolderRows(date, recordingSize), date == kOneLineFolder ? "" : "\n");
}

std::vector<std::string> hostileDates()
{
    return keptNames(hostileCardRows());
}

std::vector<std::string> hostileRecordings(const std::string& date)
{
    if (!contains(hostileDates(), date) && !contains(dates(), date))
        return {};
    return keptNames(hostileFolderRows(date, 0));
}

} // namespace fakecam::pages
