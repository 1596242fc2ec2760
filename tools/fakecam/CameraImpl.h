#pragma once
// The simulated camera's insides, shared by the files that each do one part of its work:
// routing (CameraRouting.cpp), authentication (CameraAuth.cpp), the head (HeadMotion.cpp), the
// faults and the sending of bodies (CameraFaults.cpp) and the server's life (FakeCamera.cpp).

#include "fakecam/FakeCamera.h"
#include "fakecam/HttpAuth.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fakecam::detail {

using Clock = std::chrono::steady_clock;

// Bodies go out in pieces of this size, so a recording of any size never sits in memory.
inline constexpr std::size_t kChunk = 64 * 1024;
// Digest nonces the camera still accepts; older ones are answered as stale.
inline constexpr std::size_t kNonceMemory = 1024;
inline constexpr int kPresetCount = 16;

std::string lower(std::string s);
bool startsWith(const std::string& s, const std::string& prefix);

struct Page {
    std::string body;
    int status = 200;
    std::string contentType;
};

// What the camera answers to one request, before a fault cuts the body.
struct Answer {
    int status = 200;
    std::string contentType = "text/html";
    std::string body;
    bool recording = false; // the body is the recording at `path`, streamed
    std::string path;
    std::uint64_t size = 0;
    std::vector<std::pair<std::string, std::string>> headers;
};

Answer htmlAnswer(int status, std::string body);

} // namespace fakecam::detail

namespace fakecam {

struct FakeCamera::Impl {
    using Clock = detail::Clock;
    using Answer = detail::Answer;

    explicit Impl(Options o) : options(std::move(o)), opaque(auth::randomHex(16)) {}

    Options options; // written by the setters under `mutex`

    mutable std::mutex mutex;
    std::condition_variable wake; // ends stalls when the camera stops
    bool stopping = false;
    Fault fault = Fault::None;
    int stallSeconds = 0;
    std::chrono::milliseconds answerDelay{0};
    std::map<std::string, detail::Page> pages;
    std::map<std::string, std::string> redirects; // target -> Location
    std::vector<std::shared_ptr<RecordedRequest>> records;
    // Keeps a request's record; the caller holds `mutex`. A long-running camera drops its oldest
    // half once it holds more than options.maxRecords.
    void keepRecord(std::shared_ptr<RecordedRequest> record)
    {
        records.push_back(std::move(record));
        if (options.maxRecords > 0 && records.size() > options.maxRecords)
            records.erase(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(records.size() / 2));
    }
    std::map<std::string, int> connectionOf; // "address:port" of the client -> connection number
    std::deque<std::string> nonces;
    const std::string opaque;

    // The head: state.pan and state.tilt hold the position at moveStart, moveDx and moveDy the
    // direction of a continuous move in progress.
    CameraState state;
    int moveDx = 0;
    int moveDy = 0;
    Clock::time_point moveStart;

    std::mutex lifeMutex; // start() and stop()
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> listenEnded{false};
    int boundPort = 0;

    // Everything below expects `mutex` held unless it says otherwise.
    void position(Clock::time_point now, int& pan, int& tilt) const;
    void settle(Clock::time_point now);
    void halt(Clock::time_point now);
    void step(int dx, int dy);
    Answer headCommand(const std::string& script, const httplib::Request& req, bool& handled);
    bool basicAccepted(const std::string& header) const;
    bool digestAccepted(const httplib::Request& req, const std::string& header, bool& stale) const;
    std::string newNonce();
    // Holds the request for `seconds` (0: until the camera stops).
    void stall(std::unique_lock<std::mutex>& lock, int seconds);

    // These take the lock themselves.
    void handle(const httplib::Request& req, httplib::Response& res);
    bool authenticate(const httplib::Request& req, Answer& refusal);
    Answer decide(const httplib::Request& req);
    Answer snapshot();
    Answer cgi(const std::string& script, const httplib::Request& req);
    Answer sd(const std::string& path);
    void send(const httplib::Request& req, httplib::Response& res, Answer answer,
              const std::shared_ptr<RecordedRequest>& record);
};

} // namespace fakecam
