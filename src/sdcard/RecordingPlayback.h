#pragma once
// What Play, Replay, Fetch and Clean up do with a recording in the camera's own layout, which
// common players cannot play: each download is converted to an MP4 beside it, and the MP4 is the
// file that gets opened. Turned off with ConvertToMp4=false in [Recordings] of the settings file.

#include <QByteArray>

#include <atomic>

bool recordingConversionEnabled();

struct PlayableRecording {
    QByteArray path;               // the file to open
    bool conversionFailed = false; // in the camera's layout, yet no MP4 could be made
};

// After localPath has arrived: converts it when it is in the camera's layout. The file to open is
// the MP4 when there is one, else the recording as it is.
PlayableRecording prepareDownloadedRecording(const QByteArray& localPath, const std::atomic<bool>* cancel = nullptr);
// For Replay: the MP4 when there is one, after converting where the recording has none yet.
QByteArray replayableRecording(const QByteArray& localPath);
// The MP4 that belongs to a recording Clean up deletes.
void deleteConvertedCopy(const QByteArray& recordingPath);
