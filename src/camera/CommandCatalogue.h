#pragma once
// The camera's CGI commands by command code, and the file each answer is stored in.

#include <QString>

#include <optional>

struct CatalogueEntry {
    QString cgiPath;    // appended to the camera base URL
    QString answerFile; // stored in the program folder
};

// The command behind "&Video" of the "&SD" menu: stores the card listing for the recordings
// browser.
inline constexpr int kSdListingCode = 79;

// The entry of a command code, or nothing for a code the camera has no command for.
std::optional<CatalogueEntry> catalogueEntry(int code);

// The snapshot URL cut at its first "/tmpfs"; the whole URL when it holds none.
QString cameraBaseUrl(const QString& snapshotUrl);
