#include "fakecam/FakeCamera.h"

#include "fakecam/CameraPages.h"
#include "fakecam/HttpAuth.h"
#include "fakecam/SnapshotRenderer.h"

#include <httplib.h>

#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>

namespace fakecam {

std::string RecordedRequest::header(const std::string& lowerCaseName) const
{
    const auto it = headers.find(lowerCaseName);
    return it == headers.end() ? std::string() : it->second;
}

bool RecordedRequest::hasHeader(const std::string& lowerCaseName) const
{
    return headers.count(lowerCaseName) > 0;
}

namespace {

using Clock = std::chrono::steady_clock;

// Bodies go out in pieces of this size, so a recording of any size never sits in memory.
constexpr std::size_t kChunk = 64 * 1024;
// Digest nonces the camera still accepts; older ones are answered as stale.
constexpr std::size_t kNonceMemory = 1024;
constexpr const char* kSdPrefix = "/sd/";
constexpr const char* kRecordFolder = "/record000";

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool contains(const std::vector<std::string>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::uint64_t fnv1a(const std::string& s)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

std::uint64_t splitmix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// A preset or move number of the CGI: one or two decimal digits.
int presetNumber(const std::string& text)
{
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(text);
}

constexpr int kPresetCount = 16;

std::string clockText()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &tm);
    return buffer;
}

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

Answer htmlAnswer(int status, std::string body)
{
    Answer a;
    a.status = status;
    a.body = std::move(body);
    return a;
}

} // namespace

struct FakeCamera::Impl {
    explicit Impl(Options o) : options(std::move(o)), opaque(auth::randomHex(16)) {}

    Options options; // written by the setters under `mutex`

    mutable std::mutex mutex;
    std::condition_variable wake; // ends stalls when the camera stops
    bool stopping = false;
    Fault fault = Fault::None;
    int stallSeconds = 0;
    std::map<std::string, Page> pages;
    std::vector<std::shared_ptr<RecordedRequest>> records;
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
    bool basicAccepted(const std::string& header) const;
    bool digestAccepted(const httplib::Request& req, const std::string& header, bool& stale) const;
    std::string newNonce();

    // These take the lock themselves.
    void handle(const httplib::Request& req, httplib::Response& res);
    void stall(std::unique_lock<std::mutex>& lock, int seconds);
    bool authenticate(const httplib::Request& req, Answer& refusal);
    Answer decide(const httplib::Request& req);
    Answer snapshot();
    Answer cgi(const std::string& script, const httplib::Request& req);
    Answer sd(const std::string& path);
    void send(const httplib::Request& req, httplib::Response& res, Answer answer,
              const std::shared_ptr<RecordedRequest>& record);
};

void FakeCamera::Impl::position(Clock::time_point now, int& pan, int& tilt) const
{
    pan = state.pan;
    tilt = state.tilt;
    if (moveDx == 0 && moveDy == 0)
        return;
    const auto units = std::chrono::duration_cast<std::chrono::milliseconds>(now - moveStart).count() / kMoveIntervalMs;
    pan = static_cast<int>(std::clamp<long long>(pan + moveDx * units, -kPanLimit, kPanLimit));
    tilt = static_cast<int>(std::clamp<long long>(tilt + moveDy * units, -kTiltLimit, kTiltLimit));
}

void FakeCamera::Impl::settle(Clock::time_point now)
{
    int pan = 0;
    int tilt = 0;
    position(now, pan, tilt);
    state.pan = pan;
    state.tilt = tilt;
    moveStart = now;
}

void FakeCamera::Impl::halt(Clock::time_point now)
{
    settle(now);
    moveDx = 0;
    moveDy = 0;
    state.moving.clear();
}

void FakeCamera::Impl::step(int dx, int dy)
{
    halt(Clock::now());
    state.pan = std::clamp(state.pan + dx * kStepSize, -kPanLimit, kPanLimit);
    state.tilt = std::clamp(state.tilt + dy * kStepSize, -kTiltLimit, kTiltLimit);
}

void FakeCamera::Impl::stall(std::unique_lock<std::mutex>& lock, int seconds)
{
    if (seconds <= 0)
        return;
    ++state.stalled;
    wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return stopping; });
    --state.stalled;
}

bool FakeCamera::Impl::basicAccepted(const std::string& header) const
{
    const auth::Authorization a = auth::parseAuthorization(header);
    if (a.scheme != "basic")
        return false;
    const std::optional<std::string> decoded = auth::decodeBase64(a.token);
    return decoded && *decoded == options.user + ':' + options.password;
}

bool FakeCamera::Impl::digestAccepted(const httplib::Request& req, const std::string& header, bool& stale) const
{
    const auth::Authorization a = auth::parseAuthorization(header);
    if (a.scheme != "digest")
        return false;
    auto param = [&a](const char* name) {
        const auto it = a.params.find(name);
        return it == a.params.end() ? std::string() : it->second;
    };
    const std::string nonce = param("nonce");
    const std::string uri = param("uri");
    const std::string qop = param("qop");
    const std::string nc = param("nc");
    const std::string cnonce = param("cnonce");
    const std::string algorithm = lower(param("algorithm"));
    // The server library hands header values percent-decoded, so the uri is compared decoded and
    // the hash is taken over the request target as sent, which is what the client hashed.
    if (param("username") != options.user || param("realm") != kRealm ||
        uri != httplib::detail::decode_url(req.target, false))
        return false;
    if (!algorithm.empty() && algorithm != "md5")
        return false;
    if (param("opaque") != opaque)
        return false;
    if (!qop.empty() && (qop != "auth" || nc.empty() || cnonce.empty()))
        return false;
    const std::string expected = auth::digestResponse(options.user, kRealm, options.password, req.method,
                                                      req.target, nonce, nc, cnonce, qop);
    if (lower(param("response")) != expected)
        return false;
    if (std::find(nonces.begin(), nonces.end(), nonce) == nonces.end()) {
        stale = true; // right password, but a nonce this camera no longer knows
        return false;
    }
    return true;
}

std::string FakeCamera::Impl::newNonce()
{
    std::string nonce = auth::randomHex(16);
    nonces.push_back(nonce);
    while (nonces.size() > kNonceMemory)
        nonces.pop_front();
    return nonce;
}

bool FakeCamera::Impl::authenticate(const httplib::Request& req, Answer& refusal)
{
    std::lock_guard lock(mutex);
    const bool refuseAll = fault == Fault::WrongCredentials;
    if (options.auth == AuthMode::None && !refuseAll)
        return true;
    bool stale = false;
    if (!refuseAll) {
        const std::string header = req.get_header_value("Authorization");
        if (options.auth == AuthMode::Basic && basicAccepted(header))
            return true;
        if (options.auth == AuthMode::Digest && digestAccepted(req, header, stale))
            return true;
    }
    refusal = htmlAnswer(401, pages::unauthorized());
    std::string challenge;
    if (options.auth == AuthMode::Digest) {
        challenge = std::string("Digest realm=\"") + kRealm + "\", qop=\"auth\", nonce=\"" + newNonce() +
                    "\", opaque=\"" + opaque + "\", algorithm=MD5";
        if (stale)
            challenge += ", stale=true";
    } else {
        challenge = std::string("Basic realm=\"") + kRealm + "\"";
    }
    refusal.headers.emplace_back("WWW-Authenticate", challenge);
    return false;
}

void FakeCamera::Impl::handle(const httplib::Request& req, httplib::Response& res)
{
    auto record = std::make_shared<RecordedRequest>();
    record->method = req.method;
    record->target = req.target;
    record->path = req.path;
    for (const auto& [name, value] : req.headers)
        record->headers.emplace(lower(name), value);

    {
        std::unique_lock lock(mutex);
        if (fault == Fault::StallBeforeAnswer)
            stall(lock, stallSeconds);
    }

    Answer answer;
    record->authenticated = authenticate(req, answer);
    if (record->authenticated)
        answer = decide(req);
    send(req, res, std::move(answer), record);
}

Answer FakeCamera::Impl::decide(const httplib::Request& req)
{
    if (req.method != "GET" && req.method != "HEAD") {
        Answer a = htmlAnswer(405, pages::methodNotAllowed());
        a.headers.emplace_back("Allow", "GET, HEAD");
        return a;
    }
    {
        std::lock_guard lock(mutex);
        const auto it = pages.find(req.target);
        if (it != pages.end()) {
            Answer a = htmlAnswer(it->second.status, it->second.body);
            a.contentType = it->second.contentType;
            return a;
        }
    }
    const std::string& path = req.path;
    if (path == "/tmpfs/auto.jpg")
        return snapshot();
    const std::string cgiPrefix = "/cgi-bin/hi3510/";
    if (startsWith(path, cgiPrefix))
        return cgi(path.substr(cgiPrefix.size()), req);
    if (path == "/sd" || startsWith(path, kSdPrefix))
        return sd(path);
    return htmlAnswer(404, pages::notFound());
}

Answer FakeCamera::Impl::snapshot()
{
    SnapshotView view;
    Fault current = Fault::None;
    {
        std::lock_guard lock(mutex);
        current = fault;
        if (current == Fault::SnapshotNotFound)
            return htmlAnswer(404, pages::notFound());
        if (current == Fault::NotJpeg)
            return htmlAnswer(200, pages::notAPicture());
        position(Clock::now(), view.pan, view.tilt);
        view.grey = state.infraredOpen;
        view.frame = ++state.snapshotsServed;
        view.width = options.width;
        view.height = options.height;
    }
    view.clock = QString::fromStdString(clockText());
    const QByteArray jpeg = encodeJpeg(renderSnapshot(view));
    if (jpeg.isEmpty())
        return htmlAnswer(500, "<html><body><h1>500 Internal Server Error</h1></body></html>\r\n");
    Answer a;
    a.contentType = "image/jpeg";
    a.body.assign(jpeg.constData(), static_cast<std::size_t>(jpeg.size()));
    if (current == Fault::TruncatedJpeg)
        a.body.resize(a.body.size() / 2);
    return a;
}

Answer FakeCamera::Impl::cgi(const std::string& script, const httplib::Request& req)
{
    std::lock_guard lock(mutex);
    const auto now = Clock::now();
    const Answer ok = htmlAnswer(200, pages::setOk());
    struct Direction {
        const char* name;
        int dx;
        int dy;
    };
    static constexpr Direction kDirections[] = {{"left", -1, 0}, {"right", 1, 0}, {"up", 0, 1}, {"down", 0, -1}};

    if (script == "ptzctrl.cgi") {
        const std::string act = req.get_param_value("-act");
        if (act == "stop") {
            halt(now);
            return ok;
        }
        if (act == "home") {
            halt(now);
            state.pan = 0;
            state.tilt = 0;
            return ok;
        }
        for (const Direction& d : kDirections) {
            if (act != d.name)
                continue;
            if (req.get_param_value("-step") == "1") {
                step(d.dx, d.dy);
            } else {
                settle(now);
                moveDx = d.dx;
                moveDy = d.dy;
                state.moving = d.name;
            }
            return ok;
        }
        return htmlAnswer(200, pages::setError("-act"));
    }
    for (const Direction& d : kDirections) {
        if (script == std::string("yt") + d.name + ".cgi") {
            step(d.dx, d.dy);
            return ok;
        }
    }
    if (script == "preset.cgi") {
        const int number = presetNumber(req.get_param_value("-number"));
        const std::string status = req.get_param_value("-status");
        if (req.get_param_value("-act") != "set" || number < 0 || number >= kPresetCount)
            return htmlAnswer(200, pages::setError(number < 0 ? "-number" : "-act"));
        settle(now);
        if (status == "1")
            state.presets[number] = {state.pan, state.tilt};
        else if (status == "0")
            state.presets.erase(number);
        else
            return htmlAnswer(200, pages::setError("-status"));
        return ok;
    }
    if (script == "sysreboot.cgi") {
        halt(now);
        ++state.reboots;
        return ok;
    }
    if (script == "sdstop.cgi" || script == "sdfrmt.cgi")
        return ok;

    std::string command = script;
    if (script == "param.cgi") {
        command = req.get_param_value("cmd");
        if (command == "preset") {
            const int number = presetNumber(req.get_param_value("-number"));
            if (req.get_param_value("-act") != "goto" || number < 0 || number >= kPresetCount)
                return htmlAnswer(200, pages::setError(number < 0 ? "-number" : "-act"));
            halt(now);
            // A preset never stored leaves the head where it is, as the cameras do.
            const auto it = state.presets.find(number);
            if (it != state.presets.end()) {
                state.pan = it->second.first;
                state.tilt = it->second.second;
            }
            return ok;
        }
        if (command == "setinfrared") {
            const std::string mode = req.get_param_value("-infraredstat");
            if (mode != "auto" && mode != "open" && mode != "close")
                return htmlAnswer(200, pages::setError("-infraredstat"));
            state.infraredMode = mode;
            // "auto" switches the light on only in the dark, and the simulated scene is daylight.
            state.infraredOpen = mode == "open";
            return ok;
        }
    }
    pages::CameraFacts facts;
    facts.port = boundPort;
    facts.width = options.width;
    facts.height = options.height;
    facts.user = options.user;
    facts.password = options.password;
    facts.infraredMode = state.infraredMode;
    std::string page = pages::informationPage(command, facts);
    if (!page.empty())
        return htmlAnswer(200, std::move(page));
    if (script == "param.cgi")
        return htmlAnswer(200, pages::setError("cmd"));
    return htmlAnswer(404, pages::notFound());
}

Answer FakeCamera::Impl::sd(const std::string& path)
{
    bool hostile = false;
    std::uint64_t size = 0;
    {
        std::lock_guard lock(mutex);
        hostile = fault == Fault::HostileListing;
        size = options.recordingSize;
    }
    if (path == "/sd" || path == kSdPrefix)
        return htmlAnswer(200, hostile ? pages::hostileCardListing() : pages::cardListing());

    const std::string rest = path.substr(std::string(kSdPrefix).size());
    const bool normalDate = [&] {
        const std::size_t end = rest.find('/');
        return contains(pages::dates(), rest.substr(0, end));
    }();
    const std::size_t folder = rest.rfind(kRecordFolder);
    if (folder == std::string::npos) {
        // "/sd/DATE" and "/sd/DATE/": the date folder holds the record folder only.
        std::string date = rest;
        if (!date.empty() && date.back() == '/')
            date.pop_back();
        if (contains(pages::dates(), date) || (hostile && contains(pages::hostileDates(), date)))
            return htmlAnswer(200, pages::dateFolderListing(date));
        return htmlAnswer(404, pages::notFound());
    }
    const std::string date = rest.substr(0, folder);
    const std::string tail = rest.substr(folder + std::string(kRecordFolder).size());
    if (tail.empty() || tail == "/") {
        if (hostile && (normalDate || contains(pages::hostileDates(), date)))
            return htmlAnswer(200, pages::hostileRecordFolderListing(date, size));
        if (contains(pages::dates(), date))
            return htmlAnswer(200, pages::recordFolderListing(date, size));
        return htmlAnswer(404, pages::notFound());
    }
    const std::string name = tail.substr(1);
    if (tail[0] != '/' || name.find('/') != std::string::npos ||
        (!contains(pages::recordings(date), name) && !contains(pages::hostileRecordings(date), name)))
        return htmlAnswer(404, pages::notFound());
    Answer a;
    a.contentType = "video/H264";
    a.recording = true;
    a.path = path;
    a.size = size;
    return a;
}

void FakeCamera::Impl::send(const httplib::Request& req, httplib::Response& res, Answer answer,
                            const std::shared_ptr<RecordedRequest>& record)
{
    // The server parsed any Range header into req.ranges and applies them when it writes. Only the
    // recordings honour a range, as the camera's file server does; the CGI and the snapshot send
    // their whole answer. The request object is the server's own, not const (see process_request).
    auto& ranges = const_cast<httplib::Request&>(req).ranges;
    if (answer.recording && answer.size == 0) {
        answer.recording = false;
        answer.body.clear();
    }
    std::uint64_t begin = 0;
    std::uint64_t length = answer.recording ? answer.size : answer.body.size();
    if (answer.recording && ranges.size() == 1) {
        const auto [first, last] = ranges.front();
        const std::uint64_t size = answer.size;
        std::uint64_t end = size - 1;
        bool satisfiable = true;
        if (first < 0) {
            satisfiable = last > 0;
            begin = size - std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max<ssize_t>(last, 0)), size);
        } else {
            begin = static_cast<std::uint64_t>(first);
            satisfiable = begin < size;
            if (last >= 0)
                end = std::min<std::uint64_t>(end, static_cast<std::uint64_t>(last));
        }
        if (satisfiable) {
            ranges = {{static_cast<ssize_t>(begin), static_cast<ssize_t>(end)}};
            answer.status = 206;
            length = end - begin + 1;
        } else {
            const std::string contentRange = "bytes */" + std::to_string(size);
            answer = htmlAnswer(416, pages::rangeNotSatisfiable());
            answer.headers.emplace_back("Content-Range", contentRange);
            begin = 0;
            length = answer.body.size();
            ranges.clear();
        }
    } else {
        ranges.clear();
    }

    Fault current = Fault::None;
    int stallFor = 0;
    {
        std::lock_guard lock(mutex);
        current = fault;
        stallFor = stallSeconds;
    }
    for (const auto& [name, value] : answer.headers)
        res.set_header(name, value);
    res.status = answer.status;
    record->status = answer.status;
    const bool head = req.method == "HEAD";
    // A challenge is never cut: clients must still be able to log in while bodies break.
    const bool cut = (current == Fault::DropMidBody || current == Fault::StallMidBody) && answer.status != 401 &&
                     length > 0;

    if (!answer.recording && !cut) {
        record->bytesSent = head ? 0 : answer.body.size();
        {
            std::lock_guard lock(mutex);
            records.push_back(record);
        }
        res.set_content(std::move(answer.body), answer.contentType);
        return;
    }

    {
        std::lock_guard lock(mutex);
        records.push_back(record);
    }
    const std::uint64_t cutAt = cut ? length / 2 : length;
    const bool stallFirst = cut && current == Fault::StallMidBody;
    auto body = std::make_shared<const std::string>(std::move(answer.body));
    const bool recording = answer.recording;
    const std::string path = answer.path;
    const std::uint64_t total = recording ? answer.size : body->size();
    res.set_content_provider(
        static_cast<std::size_t>(total), answer.contentType,
        [this, body, recording, path, begin, cutAt, stallFirst, stallFor, record](std::size_t offset, std::size_t available,
                                                                           httplib::DataSink& sink) {
            const std::uint64_t sent = offset - begin;
            {
                std::unique_lock lock(mutex);
                if (stopping)
                    return false;
                if (sent >= cutAt) {
                    if (stallFirst)
                        stall(lock, stallFor);
                    return false; // the server closes the connection
                }
            }
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>({available, kChunk, cutAt - sent}));
            const std::string chunk = recording ? recordingBytes(path, offset, n) : body->substr(offset, n);
            // Counted before the write, so a client never holds more than the record says.
            {
                std::lock_guard lock(mutex);
                record->bytesSent += n;
            }
            if (!sink.write(chunk.data(), chunk.size())) {
                std::lock_guard lock(mutex);
                record->bytesSent -= n;
                return false;
            }
            return true;
        });
}

FakeCamera::FakeCamera(Options options) : m(std::make_unique<Impl>(std::move(options))) {}

FakeCamera::~FakeCamera()
{
    stop();
}

bool FakeCamera::start()
{
    std::lock_guard life(m->lifeMutex);
    if (m->server)
        return true;
    std::unique_ptr<httplib::Server> server;
    if (tls()) {
        auto secure = std::make_unique<httplib::SSLServer>(m->options.certFile.c_str(), m->options.keyFile.c_str());
        if (!secure->is_valid())
            return false;
        server = std::move(secure);
    } else {
        server = std::make_unique<httplib::Server>();
    }
    // Only SO_REUSEADDR: the library's default also sets SO_REUSEPORT, which would let a second
    // camera share the port silently.
    server->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server->set_tcp_nodelay(true);
    // One request per connection, as the cameras do; it also keeps stop() from waiting on idle
    // connections.
    server->set_keep_alive_max_count(1);
    server->set_keep_alive_timeout(2);
    server->new_task_queue = [] { return new httplib::ThreadPool(12); };
    Impl* impl = m.get();
    server->set_pre_routing_handler([impl](const httplib::Request& req, httplib::Response& res) {
        impl->handle(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });

    const char* host = "127.0.0.1";
    int port = m->options.port > 0 ? m->options.port : m->boundPort;
    if (port > 0 && !server->bind_to_port(host, port)) {
        if (m->options.port > 0)
            return false;
        port = 0; // the port of an earlier run is taken: any free one will do
    }
    if (port <= 0)
        port = server->bind_to_any_port(host);
    if (port <= 0)
        return false;

    {
        std::lock_guard lock(m->mutex);
        m->stopping = false;
        m->boundPort = port;
    }
    m->listenEnded = false;
    httplib::Server* raw = server.get();
    m->thread = std::thread([raw, impl] {
        raw->listen_after_bind();
        impl->listenEnded = true;
    });
    // stop() can only stop a server whose accept loop runs.
    while (!raw->is_running() && !m->listenEnded)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!raw->is_running()) {
        m->thread.join();
        return false;
    }
    m->server = std::move(server);
    return true;
}

void FakeCamera::stop()
{
    std::lock_guard life(m->lifeMutex);
    if (!m->server)
        return;
    {
        std::lock_guard lock(m->mutex);
        m->stopping = true;
    }
    m->wake.notify_all();
    m->server->stop();
    if (m->thread.joinable())
        m->thread.join();
    m->server.reset();
    std::lock_guard lock(m->mutex);
    m->stopping = false;
}

int FakeCamera::port() const
{
    std::lock_guard lock(m->mutex);
    return m->boundPort > 0 ? m->boundPort : m->options.port;
}

bool FakeCamera::tls() const
{
    return !m->options.certFile.empty() && !m->options.keyFile.empty();
}

std::string FakeCamera::baseUrl() const
{
    return std::string(tls() ? "https" : "http") + "://127.0.0.1:" + std::to_string(port());
}

std::string FakeCamera::snapshotUrl() const
{
    return baseUrl() + "/tmpfs/auto.jpg";
}

void FakeCamera::setFault(Fault fault, int stallSeconds)
{
    std::lock_guard lock(m->mutex);
    m->fault = fault;
    m->stallSeconds = std::max(0, stallSeconds);
}

void FakeCamera::setCredentials(const std::string& user, const std::string& password)
{
    std::lock_guard lock(m->mutex);
    m->options.user = user;
    m->options.password = password;
}

void FakeCamera::setAuthMode(AuthMode mode)
{
    std::lock_guard lock(m->mutex);
    m->options.auth = mode;
}

void FakeCamera::setRecordingSize(std::uint64_t bytes)
{
    std::lock_guard lock(m->mutex);
    m->options.recordingSize = bytes;
}

void FakeCamera::setPage(const std::string& target, const std::string& body, int status, const std::string& contentType)
{
    std::lock_guard lock(m->mutex);
    m->pages[target] = Page{body, status, contentType};
}

void FakeCamera::clearPages()
{
    std::lock_guard lock(m->mutex);
    m->pages.clear();
}

std::vector<RecordedRequest> FakeCamera::requests() const
{
    std::lock_guard lock(m->mutex);
    std::vector<RecordedRequest> copy;
    copy.reserve(m->records.size());
    for (const auto& r : m->records)
        copy.push_back(*r);
    return copy;
}

void FakeCamera::clearRequests()
{
    std::lock_guard lock(m->mutex);
    m->records.clear();
}

CameraState FakeCamera::state() const
{
    std::lock_guard lock(m->mutex);
    CameraState copy = m->state;
    m->position(Clock::now(), copy.pan, copy.tilt);
    return copy;
}

std::string FakeCamera::recordingBytes(const std::string& path, std::uint64_t offset, std::uint64_t length)
{
    std::string out(static_cast<std::size_t>(length), '\0');
    const std::uint64_t seed = fnv1a(path);
    std::uint64_t pos = offset;
    std::size_t i = 0;
    while (i < out.size()) {
        std::uint64_t word = splitmix(seed + pos / 8);
        unsigned byte = static_cast<unsigned>(pos % 8);
        word >>= 8 * byte;
        for (; byte < 8 && i < out.size(); ++byte, ++i, ++pos) {
            out[i] = static_cast<char>(word & 0xFF);
            word >>= 8;
        }
    }
    return out;
}

std::vector<std::string> FakeCamera::dates() const
{
    return pages::dates();
}

std::vector<std::string> FakeCamera::recordings(const std::string& date) const
{
    return pages::recordings(date);
}

std::vector<std::string> FakeCamera::hostileDates()
{
    return pages::hostileDates();
}

std::vector<std::string> FakeCamera::hostileRecordings(const std::string& date)
{
    return pages::hostileRecordings(date);
}

} // namespace fakecam
