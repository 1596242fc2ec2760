#pragma once
// The texts the simulated camera answers with: the CGI answer pages in the style of the hi3510
// firmware (lines of `var name="value";`), the error pages, and the Micro-SD directory pages.

#include <cstdint>
#include <string>
#include <vector>

namespace fakecam::pages {

std::string notFound();
std::string unauthorized();
std::string methodNotAllowed();
std::string rangeNotSatisfiable();
// What a camera that is busy or misconfigured sends instead of its picture.
std::string notAPicture();

std::string setOk();                       // "[Succeed]set ok."
std::string setError(const std::string& parameter);

struct CameraFacts {
    int port = 0;
    int width = 640;
    int height = 480;
    std::string user;
    std::string password;
    std::string infraredMode;
};

// The answer of an information command by the script name ("getserverinfo.cgi") or by the cmd of
// param.cgi ("getvideoattr"); empty when the camera knows no such command.
std::string informationPage(const std::string& command, const CameraFacts& facts);

// The card and its recordings as the normal listings show them.
std::vector<std::string> dates();
std::vector<std::string> recordings(const std::string& date);

std::string cardListing();
std::string dateFolderListing(const std::string& date);
std::string recordFolderListing(const std::string& date, std::uint64_t recordingSize);

std::string hostileCardListing();
std::string hostileRecordFolderListing(const std::string& date, std::uint64_t recordingSize);
std::vector<std::string> hostileDates();
std::vector<std::string> hostileRecordings(const std::string& date);

// The folder whose hostile listing comes as one single line without any line break.
inline constexpr const char* kOneLineFolder = "20261202";

} // namespace fakecam::pages
