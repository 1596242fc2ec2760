#pragma once
// One HTTP GET to the camera whose body lands, whole, in a file of the program folder.
//
// Each function here blocks until the transfer is over and returns 0 when the whole body is in its
// file, -1 otherwise: for background threads and tools. The window's thread never waits; it goes
// through CameraLink, which runs the same requests and continues when they end. The body is
// written into a temporary file beside the target and renamed onto it only once complete and
// flushed to disk, so a failed transfer never leaves a partial file under the target's name.

#include "camera/CameraSettings.h"
#include "camera/FileNames.h"
#include "camera/RequestSeams.h"
#include "camera/Transfer.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Runs one request of any variant. The caller has formed the URL and the target path.
int performCameraRequest(const CameraRequest& request, RequestOutcome* outcome = nullptr);

// The requests the entry points below run, formed and checked. Nothing when the request must not be
// sent (the path message, where there is one, has been shown).
CameraRequest snapshotRequest(const CameraSettings& settings, const QString& autoJpgPath);
std::optional<CameraRequest> commandRequest(int code, const CameraSettings& settings, const QString& programFolder);
std::optional<CameraRequest> sdListingRequest(const CameraSettings& settings, const QString& programFolder,
                                              const QByteArray& relativePath, const QByteArray& fileName,
                                              bool recording);

// The snapshot: GET of the snapshot URL into autoJpgPath, which keeps the older picture until the
// new one replaces it.
int requestSnapshot(const CameraSettings& settings, const QString& autoJpgPath,
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
// 200-299 fails and stores nothing. cancel, when given and set, ends the transfer early.
int FetchSdFile(const CameraSettings& settings, const QString& programFolder, const QByteArray& url,
                const QByteArray& fileName, RequestOutcome* outcome = nullptr,
                TransferProgress* progress = nullptr, const std::atomic<bool>* cancel = nullptr);
int FetchSdFile(const QByteArray& url, const QByteArray& fileName);
