#pragma once
// A simulated camera of the hi3510 CGI family, for tests and for the demo. It listens on
// 127.0.0.1 only and answers the snapshot, the CGI commands, the Micro-SD listings and the
// recordings, with Basic or Digest authentication and switchable faults.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fakecam {

enum class AuthMode { None, Basic, Digest };

enum class Fault {
    None,
    WrongCredentials,  // every request is refused with 401, whatever it carries
    SnapshotNotFound,  // the snapshot answers 404 with a small HTML page
    DropMidBody,       // every answer body stops after about half and the connection closes
    StallBeforeAnswer, // the request is read, then nothing is sent for stallSeconds
    StallMidBody,      // the headers and part of the body go out, then nothing for stallSeconds
    TruncatedJpeg,     // the snapshot is a JPEG cut short (status 200, honest length)
    NotJpeg,           // the snapshot is an HTML page with status 200
    HostileListing,    // the listings hold hostile names and malformed lines
    NeverAnswer,       // a request that got past authentication is taken and never answered
    Trickle,           // every answer but a challenge goes out at two bytes a second
    DropAfterHeaders,  // every answer but a challenge sends its status line and headers, then closes
};

struct Options {
    std::string user = "admin";
    std::string password = "pelto";
    AuthMode auth = AuthMode::Basic;
    int width = 640; // 640x480, 1280x720 or 1920x1080
    int height = 480;
    int port = 0;    // 0: any free port
    // TLS when both are set: PEM file paths.
    std::string certFile;
    std::string keyFile;
    // Size of every recording in bytes.
    std::uint64_t recordingSize = 1 << 20;
    // Keep connections open for further requests, as most cameras do. Off, every answer closes
    // its connection, and stop() never waits for an idle client.
    bool keepAlive = false;
    // Requests remembered for requests(); 0 keeps every one, as tests want. The stand-alone camera
    // runs for hours and keeps a bounded number.
    std::size_t maxRecords = 0;
};

// Options of a camera that keeps its connections open, the others as by default.
Options keepingConnections();

struct RecordedRequest {
    std::string method;
    std::string target;                        // path and query as sent
    std::string path;                          // decoded path
    // Names in lower case; values as the server library hands them, with %XX escapes decoded.
    std::multimap<std::string, std::string> headers;
    bool authenticated = false;
    int status = 0;
    std::uint64_t bytesSent = 0;               // body bytes handed out
    int connection = 0;                        // 1 for the first TCP connection, and so on
    std::chrono::steady_clock::time_point received; // when the request had arrived

    std::string header(const std::string& lowerCaseName) const;
    bool hasHeader(const std::string& lowerCaseName) const;
};

struct CameraState {
    int pan = 0;           // position in steps; continuous moves change it over time
    int tilt = 0;
    std::string moving;    // "left", "right", "up", "down" or empty
    bool infraredOpen = false; // "open": the picture turns grey
    std::string infraredMode = "auto";
    std::map<int, std::pair<int, int>> presets; // number -> (pan, tilt)
    int reboots = 0;
    std::uint64_t snapshotsServed = 0;
    int stalled = 0;       // requests held by a stall fault right now
};

// How the camera head moves: a single step (ptzctrl.cgi with -step=1, or yt*.cgi) moves it by
// kStepSize; a continuous move (-step=0) advances one unit every kMoveIntervalMs until the stop.
// Pan stays within -kPanLimit..kPanLimit and tilt within -kTiltLimit..kTiltLimit.
inline constexpr int kStepSize = 10;
inline constexpr int kMoveIntervalMs = 50;
inline constexpr int kPanLimit = 300;
inline constexpr int kTiltLimit = 100;
// The realm of the authentication challenges.
inline constexpr const char* kRealm = "IPCAM";

class FakeCamera {
public:
    explicit FakeCamera(Options options = {});
    ~FakeCamera();
    FakeCamera(const FakeCamera&) = delete;
    FakeCamera& operator=(const FakeCamera&) = delete;

    // Starts listening on 127.0.0.1 and serving on a thread of its own. False when it cannot.
    // After stop() it starts again on the port it had. Only recordings honour a Range header (one range, answered 206); every other
    // answer is whole, with status 200 unless said otherwise.
    bool start();
    void stop();

    int port() const;
    bool tls() const;
    // "http://127.0.0.1:PORT" (https with TLS).
    std::string baseUrl() const;
    // baseUrl() + "/tmpfs/auto.jpg".
    std::string snapshotUrl() const;

    // Takes effect with the next request. StallBeforeAnswer holds every request, challenges
    // included, for stallSeconds; NeverAnswer holds an authenticated request until stop(); the body faults (DropMidBody, StallMidBody) cut every answer except a 401
    // challenge, so clients can still log in. A stall ends at once when the camera stops.
    void setFault(Fault fault, int stallSeconds = 0);
    // Every answer but a challenge waits this long before it goes out, as a slow camera does.
    void setAnswerDelay(std::chrono::milliseconds delay);
    void setCredentials(const std::string& user, const std::string& password);
    void setAuthMode(AuthMode mode);
    void setRecordingSize(std::uint64_t bytes);
    // Replaces the answer to one exact target (path with query) with a fixed body and status.
    void setPage(const std::string& target, const std::string& body, int status = 200,
                 const std::string& contentType = "text/html");
    // Forgets every page given to setPage().
    void clearPages();
    // Answers one exact target with a redirect (302) to location.
    void setRedirect(const std::string& target, const std::string& location);

    // TCP connections that carried a request, since the start or clearRequests().
    int connections() const;
    // Connections to the camera open right now, as the kernel lists them: for a client in this
    // same process, which holds the other end.
    int openConnections() const;
    std::vector<RecordedRequest> requests() const;
    void clearRequests();
    CameraState state() const;

    // Bytes [offset, offset + length) of the recording of the given path, `size` bytes long in all
    // (0: offset + length), deterministic: what a download must equal. A real recording of the
    // camera's scene at the given picture size, in the camera's block layout.
    static std::string recordingBytes(const std::string& path, std::uint64_t offset, std::uint64_t length,
                                      std::uint64_t size = 0, int width = 640, int height = 480);
    // The dates and file names the normal listings offer.
    std::vector<std::string> dates() const;
    std::vector<std::string> recordings(const std::string& date) const;
    // What the hostile listings offer that a careful reader keeps: the folder names and, per
    // folder, the file names that are sound (not empty, not "." or "..", no "/", "\" or control
    // characters, short enough), raw bytes in listing order, duplicates included. The folder
    // listings of these names exist while the fault is HostileListing, their recordings always.
    // The listing of folder "20261202" then comes as one line without any line break.
    static std::vector<std::string> hostileDates();
    static std::vector<std::string> hostileRecordings(const std::string& date);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace fakecam
