#pragma once
// One HTTP GET to the camera whose body lands, whole, in a file of the program folder.
//
// Each entry point blocks until the transfer is over and returns 0 when the whole body is in its
// file, -1 otherwise. The body is written into a temporary file beside the target and renamed onto
// it only once complete and flushed to disk, so a failed transfer never leaves a partial file under
// the target's name.

#include "camera/CameraSettings.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

enum class RequestVariant { Snapshot, Command, SdListing, SdFile };

// Longest target path, in UTF-16 units with the terminator: folder, separator and file name.
inline constexpr int kPathUnits = 500;

// The full path of a file in a folder, or nothing when it does not fit in kPathUnits.
std::optional<QString> pathInFolder(const QString& folder, const QString& fileName);

// The message shown when a file name does not fit after the program folder. With an empty
// fileName it speaks of "the destination filename", as for the Micro-SD requests.
QString pathRuleMessage(const QString& fileName);
inline const QString kMessageCaption = QStringLiteral("CVarnekJPG");

// Percent-encodes every byte outside A-Z a-z 0-9 - . _ ~ (and "/" when keepSlashes).
QByteArray encodeUrlPathBytes(const QByteArray& bytes, bool keepSlashes);

// Names of the files the program keeps are bytes on disk; a recording's name comes from the camera
// as bytes and is shown as UTF-8, or as Latin-1 where it is not valid UTF-8.
QString nameForDisplay(const QByteArray& bytes);

struct RequestOutcome {
    int result = -1;       // 0 or -1, as returned
    long httpStatus = 0;   // of the final response, 0 when none arrived
    int jobStatus = 1;     // the worker's last status
    bool sent = false;     // the camera answered the request
    QString errorCause;    // "Error cause: ..." after a network failure
};

// How far a transfer has come, for a progress display on another thread. expected is -1 while
// the length of the body is unknown.
struct TransferProgress {
    std::atomic<long long> received{0};
    std::atomic<long long> expected{-1};
};

struct CameraRequest {
    RequestVariant variant = RequestVariant::Command;
    QByteArray url;         // complete URL
    QByteArray targetPath;  // complete path of the file to write, as bytes on disk
    CameraSettings settings;
    // Fail, and store nothing, on an HTTP status outside 200-299 (snapshot and recordings).
    bool requireSuccess = false;
    TransferProgress* progress = nullptr; // optional
};

// What the download worker and the waiting caller share. The worker runs the whole transfer and
// writes the status last; the caller reads nothing else until the worker has ended.
struct DownloadJob {
    const CameraRequest* request = nullptr;
    RequestOutcome* outcome = nullptr;
    // 1 running; 0 done; -6 creating the file failed, -7 a write failed, -8 flushing failed,
    // -9 closing failed, -10 reading the response failed.
    std::atomic<int> status{1};
};

// The download worker: one per request, on a thread of its own.
void DownloadThreadProc(DownloadJob* job);

// Runs one request of any variant. The caller has formed the URL and the target path. The caller has formed the URL and the target path.
int performCameraRequest(const CameraRequest& request, RequestOutcome* outcome = nullptr);

// The snapshot: GET of the snapshot URL into autoJpgPath. The caller deletes the old file first.
int fetchSnapshot(const CameraSettings& settings, const QString& autoJpgPath,
                  RequestOutcome* outcome = nullptr);

// A camera command by catalogue code; its answer is stored in the program folder. A code without
// an entry, or an answer file whose path does not fit (the path message is shown), sends nothing.
int SendCameraCommand(int code, const CameraSettings& settings, const QString& programFolder,
                      RequestOutcome* outcome = nullptr);

// A Micro-SD listing: camera base URL + "/sd/" + relativePath (percent-encoded, slashes kept),
// stored as fileName in the program folder. With recording set it is a recording being played:
// a status outside 200-299 fails and stores nothing.
int FetchSdListing(const CameraSettings& settings, const QString& programFolder,
                   const QByteArray& relativePath, const QByteArray& fileName, bool recording = false,
                   RequestOutcome* outcome = nullptr);
int FetchSdListing(const QByteArray& relativePath, const QByteArray& fileName, bool recording = false);

// A recording: the URL as given, stored as fileName in the program folder; a status outside
// 200-299 fails and stores nothing.
int FetchSdFile(const CameraSettings& settings, const QString& programFolder, const QByteArray& url,
                const QByteArray& fileName, RequestOutcome* outcome = nullptr,
                TransferProgress* progress = nullptr);
int FetchSdFile(const QByteArray& url, const QByteArray& fileName);

// Time limits. The snapshot request must never hold the window for long; the command and
// Micro-SD requests connect within 30 s and retry once after 1 s.
struct RequestTimeouts {
    long snapshotConnectMs = 10000;
    long snapshotTotalMs = 25000;
    long otherConnectMs = 30000;
    long otherRetryDelayMs = 1000;
    // Command and Micro-SD transfers give up after this long without a byte arriving.
    long otherStallSeconds = 30;
};
RequestTimeouts requestTimeouts();
void setRequestTimeouts(const RequestTimeouts& timeouts);

// Test safety net: when set, any host other than 127.0.0.1 or localhost is refused before a
// connection is made.
void setLoopbackOnly(bool loopbackOnly);
