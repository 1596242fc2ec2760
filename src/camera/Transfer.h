#pragma once
// The transfer of one camera request: libcurl moves the body into a temporary file beside the
// target, which is renamed onto the target only once the whole body has arrived and is on disk.

#include "camera/CameraSettings.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

enum class RequestVariant { Snapshot, Command, SdListing, SdFile };

// How far a transfer has come, for a progress display on another thread. expected is -1 while
// the length of the body is unknown.
struct TransferProgress {
    std::atomic<long long> received{0};
    std::atomic<long long> expected{-1};
    // Called on the transfer's thread whenever received has grown, and about once a second while
    // it does not; optional.
    std::function<void()> changed;
};

struct CameraRequest {
    RequestVariant variant = RequestVariant::Command;
    QByteArray url;         // complete URL
    QByteArray targetPath;  // complete path of the file to write, as bytes on disk
    CameraSettings settings;
    // Fail, and store nothing, on an HTTP status outside 200-299 (snapshot and recordings).
    bool requireSuccess = false;
    // A recording: no size cap and no total time limit, only a minimum speed.
    bool recording = false;
    TransferProgress* progress = nullptr; // optional
    // Set by whoever owns the request to end it early (a closing program); optional.
    const std::atomic<bool>* cancel = nullptr;
};

struct RequestOutcome {
    int result = -1;       // 0 or -1, as returned
    long httpStatus = 0;   // of the final response, 0 when none arrived
    int jobStatus = 1;     // the worker's last status
    bool sent = false;     // the camera answered the request
    QString errorCause;    // "Error cause: ..." after a network failure
};

// Time and size limits. Every request has a bound that a camera trickling its answer cannot beat.
struct RequestTimeouts {
    // The snapshot must never hold the window for long.
    long snapshotConnectMs = 10000;
    long snapshotTotalMs = 25000;
    // Commands and Micro-SD requests connect within this, and try once more after the delay when
    // no connection was made at all.
    long otherConnectMs = 30000;
    long otherRetryDelayMs = 1000;
    // Command answers and listings end after this long in all, the retry included.
    long otherTotalMs = 60000;
    // Recordings may be long and slow; they end when slower than this over the window.
    long recordingMinBytesPerSecond = 1024;
    long recordingSlowSeconds = 30;
    // A snapshot, command answer or listing larger than this fails and keeps nothing.
    long long answerCapBytes = 64LL * 1024 * 1024;
};
RequestTimeouts requestTimeouts();
void setRequestTimeouts(const RequestTimeouts& timeouts);

// Test safety net: when set, any host other than 127.0.0.1 or localhost is refused before a
// connection is made.
void setLoopbackOnly(bool loopbackOnly);
bool loopbackOnly();

// What the download worker and its caller share. The worker runs the whole transfer and writes
// the status last.
struct DownloadJob {
    const CameraRequest* request = nullptr;
    RequestOutcome* outcome = nullptr;
    // 1 running; 0 done; -6 creating the file failed, -7 a write failed (or the answer was over
    // its cap), -8 flushing failed, -9 closing failed, -10 reading the response failed.
    std::atomic<int> status{1};
    // Set by the caller to end the transfer early.
    std::atomic<bool> abort{false};
    std::mutex mutex;
    std::condition_variable ended;
};

// Sets up libcurl and what the workers share; called before the first worker starts.
void initTransfers();

// The download worker: runs one request to its end on the calling thread (a transfer thread of
// the camera link, or a background fetch).
void DownloadThreadProc(DownloadJob* job);

// Creates a temporary file of the program's own name pattern (hidden, taken by the sweep below)
// in the folder of targetPath, with an ordinary file's mode. Its descriptor and path, or -1.
int createTemporaryBeside(const QByteArray& targetPath, QByteArray& tempPath);

// Removes the temporary download files a killed program left in a folder: the program's own name
// pattern only. Returns how many went.
int removeLeftoverDownloads(const QString& folder);
