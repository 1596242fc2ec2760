#include "fakecam/CameraImpl.h"

#include "fakecam/CameraPages.h"
#include "fakecam/SnapshotRenderer.h"

#include <cctype>
#include <ctime>

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

namespace detail {

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

Answer htmlAnswer(int status, std::string body)
{
    Answer a;
    a.status = status;
    a.body = std::move(body);
    return a;
}

} // namespace detail

namespace {

using namespace detail;

constexpr const char* kSdPrefix = "/sd/";
constexpr const char* kRecordFolder = "/record000";

bool contains(const std::vector<std::string>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string clockText()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &tm);
    return buffer;
}

} // namespace

using namespace detail;

void FakeCamera::Impl::handle(const httplib::Request& req, httplib::Response& res)
{
    auto record = std::make_shared<RecordedRequest>();
    record->received = std::chrono::steady_clock::now();
    record->method = req.method;
    record->target = req.target;
    record->path = req.path;
    for (const auto& [name, value] : req.headers)
        record->headers.emplace(lower(name), value);
    {
        // A client keeps its port for as long as its connection lives.
        std::lock_guard lock(mutex);
        const std::string peer = req.remote_addr + ':' + std::to_string(req.remote_port);
        auto [it, added] = connectionOf.emplace(peer, static_cast<int>(connectionOf.size()) + 1);
        record->connection = it->second;
    }

    {
        std::unique_lock lock(mutex);
        if (fault == Fault::StallBeforeAnswer && stallSeconds > 0)
            stall(lock, stallSeconds);
    }

    Answer answer;
    record->authenticated = authenticate(req, answer);
    if (record->authenticated) {
        std::unique_lock lock(mutex);
        if (fault == Fault::NeverAnswer) {
            keepRecord(record);
            stall(lock, 0);
            return;
        }
    }
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
        const auto moved = redirects.find(req.target);
        if (moved != redirects.end()) {
            Answer a = htmlAnswer(302, "<html><body>Moved</body></html>\r\n");
            a.headers.emplace_back("Location", moved->second);
            return a;
        }
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
    const Answer ok = htmlAnswer(200, pages::setOk());
    bool handled = false;
    Answer head = headCommand(script, req, handled);
    if (handled)
        return head;
    if (script == "sdstop.cgi" || script == "sdfrmt.cgi")
        return ok;

    std::string command = script;
    if (script == "param.cgi") {
        command = req.get_param_value("cmd");
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

} // namespace fakecam
