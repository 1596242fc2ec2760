#pragma once
// Where a recording comes from and where its copy goes. The names are item names of the recordings
// tree (bytes); each part of the camera path, the URL and the local path must fit in 500 units, the
// longest path the program forms, or the user is told which part did not fit.

#include <QByteArray>
#include <QString>

#include <optional>

struct RecordingLocation {
    QByteArray fileName;     // the local copy's name in the program folder
    QByteArray relativePath; // "DATE/record000/NAME" below the card's "/sd/", unencoded
    QByteArray url;          // the full recording URL, names percent-encoded; empty without a base
    QByteArray localPath;    // program folder + "/" + file name, as bytes on disk
};

// Forms the location of the recording fileName in folderName. With a camera base URL it forms
// the full URL (as Fetch does), without one only the path below "/sd/" (as Play does). On a part
// that does not fit it shows that part's message and returns nothing.
std::optional<RecordingLocation> formRecordingLocation(const std::optional<QString>& baseUrl,
                                                       const QByteArray& folderName,
                                                       const QByteArray& fileName,
                                                       const QString& programFolder);
