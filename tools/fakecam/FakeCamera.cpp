#include "fakecam/CameraImpl.h"

#include "fakecam/CameraPages.h"
#include "fakecam/RecordingClip.h"

#include <sys/socket.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace fakecam {

using namespace detail;

namespace {

std::uint64_t fnv1a(const std::string& s)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

} // namespace

Options keepingConnections()
{
    Options options;
    options.keepAlive = true;
    return options;
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
    // The recordings' clip is encoded now rather than in the middle of the first download.
    prepareClip(m->options.width, m->options.height);
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
    // Without keep-alive every answer closes its connection, which also keeps stop() from waiting
    // on an idle client; with it an idle connection stays open for five seconds.
    server->set_keep_alive_max_count(m->options.keepAlive ? 1000 : 1);
    server->set_keep_alive_timeout(m->options.keepAlive ? 5 : 2);
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

void FakeCamera::setAnswerDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(m->mutex);
    m->answerDelay = delay;
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

void FakeCamera::setRedirect(const std::string& target, const std::string& location)
{
    std::lock_guard lock(m->mutex);
    m->redirects[target] = location;
}

int FakeCamera::connections() const
{
    std::lock_guard lock(m->mutex);
    return static_cast<int>(m->connectionOf.size());
}

int FakeCamera::openConnections() const
{
    std::ifstream table("/proc/self/net/tcp");
    char remote[16];
    std::snprintf(remote, sizeof remote, ":%04X", port());
    int count = 0;
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, peer, state;
        fields >> slot >> local >> peer >> state;
        // The client's end of an established connection: its peer is the camera's port.
        count += peer.size() > 5 && peer.compare(peer.size() - 5, 5, remote) == 0 && state == "01" ? 1 : 0;
    }
    return count;
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
    m->connectionOf.clear();
}

CameraState FakeCamera::state() const
{
    std::lock_guard lock(m->mutex);
    CameraState copy = m->state;
    m->position(Clock::now(), copy.pan, copy.tilt);
    return copy;
}

std::string FakeCamera::recordingBytes(const std::string& path, std::uint64_t offset, std::uint64_t length,
                                       std::uint64_t size, int width, int height)
{
    return clipRecordingBytes(fnv1a(path), offset, length, size, width, height);
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
