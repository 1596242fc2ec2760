#pragma once
// Turns a recording in the camera's layout into an MP4 beside it that every common player plays:
// the video copied as it is (not re-encoded) with the time stamps of its blocks, the A-law audio
// encoded to AAC. The .264 stays as it is. The MP4 is written as a hidden temporary file that is
// flushed and renamed into place only when whole, so a failed or cancelled conversion leaves
// nothing; a damaged recording converts up to its damage.

#include "recording/RecordingLayout.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>

struct ConversionResult {
    enum Status {
        Converted,    // the MP4 is in place
        NotRecording, // not in the camera's layout (a plain stream, an error page): nothing to do
        Failed,       // in the layout but no MP4 could be made: error says why
        Cancelled,
    };
    Status status = Failed;
    QByteArray mp4Path;             // where the MP4 is (or would have been)
    QString error;
    recording::Ending ending = recording::Ending::Reading; // where reading stopped
    int videoFrames = 0;
    std::int64_t audioSamples = 0;  // 8 kHz samples put into the AAC track
};

// The MP4's path for a recording: a ".264" or ".265" suffix becomes ".mp4", any other name gets
// ".mp4" added.
QByteArray mp4PathFor(const QByteArray& path264);

// Converts the recording at path264 (bytes of a local path). Any MP4 left by an earlier copy of
// the recording is removed first, so the MP4 beside a .264 always shows that .264. `cancel`, when
// given, is looked at between blocks.
ConversionResult convertRecording(const QByteArray& path264, const std::atomic<bool>* cancel = nullptr);
