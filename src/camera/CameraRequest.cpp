#include "camera/CameraRequest.h"

#include "camera/CommandCatalogue.h"
#include "platform/Desktop.h"

#include <QFile>

#include <curl/curl.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

const char* const kBrowserUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; WOW64; Trident/6.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; InfoPath.3; .NET4.0C; .NET4.0E)";
const char* const kApplicationUserAgent = "VarnekJPG";

std::mutex g_timeoutsMutex;
RequestTimeouts g_timeouts;
std::atomic<bool> g_loopbackOnly{false};

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isLoopbackHost(const QByteArray& host)
{
    return host == "127.0.0.1" || host == "localhost" || host == "[::1]" || host == "::1";
}

constexpr off_t kFlushStep = 8 << 20;

// State of one transfer inside the worker.
struct Transfer {
    const CameraRequest* request = nullptr;
    QByteArray tempPath;
    int fd = -1;
    bool sent = false;     // a response has begun to arrive
    off_t written = 0;     // bytes in the temporary file
    off_t flushed = 0;     // of those, handed to the disk already
    int fileStatus = 0;    // a negative job status when the file failed
};

void discardTemp(Transfer& t)
{
    if (t.fd >= 0) {
        ::close(t.fd);
        t.fd = -1;
    }
    if (!t.tempPath.isEmpty()) {
        ::unlink(t.tempPath.constData());
        t.tempPath.clear();
    }
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// The mode an ordinary new file gets: what the user's umask leaves of rw-rw-rw-.
mode_t ordinaryFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

bool createTemp(Transfer& t)
{
    QByteArray pattern = folderOf(t.request->targetPath) + "/.varnek-XXXXXX.part";
    const int fd = ::mkostemps(pattern.data(), 5, O_CLOEXEC);
    if (fd < 0)
        return false;
    // The temporary file starts private; the page or recording it becomes is an ordinary file.
    ::fchmod(fd, ordinaryFileMode());
    t.fd = fd;
    t.tempPath = pattern;
    return true;
}

// Called for every header line. A status line starts a response: the first one means the camera
// has taken the request, and each one (an authentication challenge or a redirect is followed by
// another) starts the file afresh, so that only the last response's body is kept.
size_t onHeader(char* buffer, size_t size, size_t count, void* userData)
{
    auto* t = static_cast<Transfer*>(userData);
    const size_t length = size * count;
    TransferProgress* progress = t->request->progress;
    if (progress && length > 15 && strncasecmp(buffer, "Content-Length:", 15) == 0)
        progress->expected.store(std::strtoll(buffer + 15, nullptr, 10));
    if (length < 5 || std::memcmp(buffer, "HTTP/", 5) != 0)
        return length;
    if (progress) {
        progress->received.store(0);
        progress->expected.store(-1);
    }
    if (!t->sent) {
        t->sent = true;
        // The old answer of a command or listing goes once the camera has answered; a request that
        // never got through leaves it in place.
        if (t->request->variant != RequestVariant::Snapshot)
            ::unlink(t->request->targetPath.constData());
    }
    if (t->fd < 0) {
        if (!createTemp(*t)) {
            t->fileStatus = -6;
            return 0;
        }
    } else if (::ftruncate(t->fd, 0) != 0 || ::lseek(t->fd, 0, SEEK_SET) != 0) {
        t->fileStatus = -7;
        return 0;
    }
    t->written = t->flushed = 0;
    return length;
}

size_t onBody(char* buffer, size_t size, size_t count, void* userData)
{
    auto* t = static_cast<Transfer*>(userData);
    const size_t length = size * count;
    if (t->fd < 0) {
        t->fileStatus = -6;
        return 0;
    }
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(t->fd, buffer + done, length - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            t->fileStatus = -7;
            return 0;
        }
        done += static_cast<size_t>(n);
    }
    // A big body goes to the disk while it arrives, so the flush before the rename has little left
    // to do and a recording is not held up at its end.
    t->written += static_cast<off_t>(length);
    if (t->written - t->flushed >= kFlushStep) {
        ::sync_file_range(t->fd, t->flushed, t->written - t->flushed, SYNC_FILE_RANGE_WRITE);
        t->flushed = t->written;
    }
    // Counted here: libcurl's own progress callback slowed big downloads by a fifth.
    if (t->request->progress)
        t->request->progress->received.fetch_add(static_cast<long long>(length), std::memory_order_relaxed);
    return length;
}

// Refuses, under the test guard, any connection that would leave this machine.
int onPrereq(void*, char* primaryIp, char*, int, int)
{
    if (!g_loopbackOnly.load())
        return CURL_PREREQFUNC_OK;
    const QByteArray ip(primaryIp);
    return ip.startsWith("127.") || ip == "::1" ? CURL_PREREQFUNC_OK : CURL_PREREQFUNC_ABORT;
}

struct CurlUrl {
    CURLU* handle = curl_url();
    ~CurlUrl() { curl_url_cleanup(handle); }
    QByteArray get(CURLUPart part, unsigned flags = 0) const
    {
        char* value = nullptr;
        if (curl_url_get(handle, part, &value, flags) != CURLUE_OK || !value)
            return {};
        QByteArray result(value);
        curl_free(value);
        return result;
    }
};

struct CurlList {
    curl_slist* list = nullptr;
    void append(const char* line) { list = curl_slist_append(list, line); }
    ~CurlList() { curl_slist_free_all(list); }
};

// One attempt at the transfer. Returns the libcurl result; fills the HTTP status.
CURLcode attempt(Transfer& t, CURLU* url, long& httpStatus, QString& errorCause)
{
    const CameraRequest& req = *t.request;
    const RequestTimeouts limits = requestTimeouts();
    CURL* curl = curl_easy_init();
    if (!curl)
        return CURLE_FAILED_INIT;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CurlList headers;

    curl_easy_setopt(curl, CURLOPT_CURLU, url);
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onPrereq);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    // LAN cameras carry self-signed certificates: TLS protects the traffic, not the identity.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);

    const QByteArray user = req.settings.userName.toUtf8();
    const QByteArray password = req.settings.password.toUtf8();
    if (!user.isEmpty() || !password.isEmpty()) {
        // Offered only when the camera asks, in whichever scheme it asks for.
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    }

    if (req.variant == RequestVariant::Snapshot) {
        curl_easy_setopt(curl, CURLOPT_USERAGENT, kApplicationUserAgent);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.snapshotConnectMs);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.snapshotTotalMs);
    } else {
        // What the camera's own web pages send; some firmware answers nothing else.
        curl_easy_setopt(curl, CURLOPT_USERAGENT, kBrowserUserAgent);
        headers.append("Accept: */*");
        headers.append("Range: bytes=0-");
        headers.append("Content-Type: application/x-www-form-urlencoded;charset=UTF-8");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.otherConnectMs);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.otherStallSeconds);
        // Recordings run to hundreds of megabytes: larger reads mean fewer writes to the file.
        if (req.variant == RequestVariant::SdFile)
            curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 512L * 1024);
    }

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &httpStatus);
    if (result != CURLE_OK)
        errorCause = QStringLiteral("Error cause: ")
            + QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result)).left(254);
    curl_easy_cleanup(curl);
    return result;
}

bool isConnectFailure(CURLcode code)
{
    return code == CURLE_COULDNT_CONNECT || code == CURLE_OPERATION_TIMEDOUT;
}

int finishFile(Transfer& t)
{
    if (::fsync(t.fd) != 0) {
        discardTemp(t);
        return -8;
    }
    const int fd = t.fd;
    t.fd = -1;
    if (::close(fd) != 0) {
        discardTemp(t);
        return -9;
    }
    return 0;
}

} // namespace

void DownloadThreadProc(DownloadJob* job)
{
    const CameraRequest& req = *job->request;
    RequestOutcome& outcome = *job->outcome;
    Transfer t;
    t.request = &req;

    CurlUrl url;
    if (curl_url_set(url.handle, CURLUPART_URL, req.url.constData(), 0) != CURLUE_OK) {
        job->status.store(-10);
        return;
    }
    // TLS on port 443 whatever the scheme says, and wherever the scheme is https.
    if (url.get(CURLUPART_PORT, CURLU_DEFAULT_PORT) == "443")
        curl_url_set(url.handle, CURLUPART_SCHEME, "https", 0);

    CURLcode result = attempt(t, url.handle, outcome.httpStatus, outcome.errorCause);
    if (req.variant != RequestVariant::Snapshot && !t.sent && t.fileStatus == 0 && isConnectFailure(result)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(requestTimeouts().otherRetryDelayMs));
        outcome.httpStatus = 0;
        result = attempt(t, url.handle, outcome.httpStatus, outcome.errorCause);
    }
    outcome.sent = t.sent;

    int status = 0;
    if (t.fileStatus != 0) {
        status = t.fileStatus;
        discardTemp(t);
    } else if (result != CURLE_OK || t.fd < 0) {
        status = -10;
        discardTemp(t);
    } else {
        status = finishFile(t);
    }
    if (status == 0) {
        const bool success = outcome.httpStatus >= 200 && outcome.httpStatus <= 299;
        if (req.requireSuccess && !success) {
            // An error page is not a picture or a recording: keep nothing under the target's name.
            discardTemp(t);
        } else if (::rename(t.tempPath.constData(), req.targetPath.constData()) != 0) {
            discardTemp(t);
            status = -9;
        } else {
            t.tempPath.clear();
        }
    }
    job->status.store(status);
}

int performCameraRequest(const CameraRequest& request, RequestOutcome* outcome)
{
    RequestOutcome local;
    RequestOutcome& out = outcome ? *outcome : local;
    out = RequestOutcome{};

    // Only http and https URLs are camera URLs; libcurl must not guess a scheme.
    const QByteArray lower = request.url.left(8).toLower();
    if (!lower.startsWith("http://") && !lower.startsWith("https://"))
        return -1;
    if (g_loopbackOnly.load()) {
        CurlUrl url;
        if (curl_url_set(url.handle, CURLUPART_URL, request.url.constData(), 0) != CURLUE_OK
            || !isLoopbackHost(url.get(CURLUPART_HOST)))
            return -1;
    }
    initCurlOnce();
    ordinaryFileMode();

    DownloadJob job;
    job.request = &request;
    job.outcome = &out;
    try {
        std::thread worker(DownloadThreadProc, &job);
        worker.join();
    } catch (const std::system_error&) {
        return -1;
    }
    out.jobStatus = job.status.load();
    const bool statusOk = !request.requireSuccess || (out.httpStatus >= 200 && out.httpStatus <= 299);
    out.result = out.jobStatus == 0 && statusOk ? 0 : -1;
    return out.result;
}

std::optional<QString> pathInFolder(const QString& folder, const QString& fileName)
{
    if (folder.size() + 1 + fileName.size() + 1 > kPathUnits)
        return std::nullopt;
    return folder + QLatin1Char('/') + fileName;
}

QString pathRuleMessage(const QString& fileName)
{
    const QString what = fileName.isEmpty() ? QStringLiteral("the destination filename")
                                            : QStringLiteral("/") + fileName;
    return QStringLiteral("An error occured appending ") + what
        + QStringLiteral(" to the program's folder name.\nTry moving the program somewhere where the path is shorter\n"
                         "so the total length of the path and filename is less than 500 bytes.");
}

QByteArray encodeUrlPathBytes(const QByteArray& bytes, bool keepSlashes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-'
            || u == '.' || u == '_' || u == '~' || (keepSlashes && u == '/');
        if (plain) {
            out.append(c);
        } else {
            out.append('%');
            out.append(hex[u >> 4]);
            out.append(hex[u & 0x0F]);
        }
    }
    return out;
}

QString nameForDisplay(const QByteArray& bytes)
{
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
}

int fetchSnapshot(const CameraSettings& settings, const QString& autoJpgPath, RequestOutcome* outcome)
{
    CameraRequest request;
    request.variant = RequestVariant::Snapshot;
    request.url = settings.snapshotUrl.toUtf8();
    request.targetPath = QFile::encodeName(autoJpgPath);
    request.settings = settings;
    request.requireSuccess = true;
    return performCameraRequest(request, outcome);
}

int SendCameraCommand(int code, const CameraSettings& settings, const QString& programFolder, RequestOutcome* outcome)
{
    if (outcome)
        *outcome = RequestOutcome{};
    const std::optional<CatalogueEntry> entry = catalogueEntry(code);
    if (!entry)
        return -1;
    const QString url = cameraBaseUrl(settings.snapshotUrl) + entry->cgiPath;
    // The command URL has always had 300 units with its terminator; a longer one is not sent.
    if (url.size() + 1 > kSnapshotUrlUnits)
        return -1;
    // The answer's path is checked before anything is sent, so a reboot or a format never goes out
    // when its answer could not be kept.
    const std::optional<QString> target = pathInFolder(programFolder, entry->answerFile);
    if (!target) {
        platform::desktop().messageBox(kMessageCaption, pathRuleMessage(entry->answerFile));
        return -1;
    }
    CameraRequest request;
    request.variant = RequestVariant::Command;
    request.url = url.toUtf8();
    request.targetPath = QFile::encodeName(*target);
    request.settings = settings;
    return performCameraRequest(request, outcome);
}

namespace {

// A file name from the camera may name nothing but a file in the program folder.
bool isPlainFileName(const QByteArray& name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

int fetchSdInto(RequestVariant variant, const CameraSettings& settings, const QString& programFolder,
                const QByteArray& url, const QByteArray& fileName, bool requireSuccess, RequestOutcome* outcome,
                TransferProgress* progress = nullptr)
{
    if (outcome)
        *outcome = RequestOutcome{};
    if (!isPlainFileName(fileName))
        return -1;
    if (!pathInFolder(programFolder, nameForDisplay(fileName))) {
        platform::desktop().messageBox(kMessageCaption, pathRuleMessage(QString()));
        return -1;
    }
    CameraRequest request;
    request.variant = variant;
    request.url = url;
    request.targetPath = QFile::encodeName(programFolder) + '/' + fileName;
    request.settings = settings;
    request.requireSuccess = requireSuccess;
    request.progress = progress;
    return performCameraRequest(request, outcome);
}

} // namespace

int FetchSdListing(const CameraSettings& settings, const QString& programFolder, const QByteArray& relativePath,
                   const QByteArray& fileName, bool recording, RequestOutcome* outcome)
{
    const QByteArray url = cameraBaseUrl(settings.snapshotUrl).toUtf8() + "/sd/" + encodeUrlPathBytes(relativePath, true);
    return fetchSdInto(RequestVariant::SdListing, settings, programFolder, url, fileName, recording, outcome);
}

int FetchSdListing(const QByteArray& relativePath, const QByteArray& fileName, bool recording)
{
    return FetchSdListing(currentCameraSettings(), platform::programFolder(), relativePath, fileName, recording);
}

int FetchSdFile(const CameraSettings& settings, const QString& programFolder, const QByteArray& url,
                const QByteArray& fileName, RequestOutcome* outcome, TransferProgress* progress)
{
    return fetchSdInto(RequestVariant::SdFile, settings, programFolder, url, fileName, true, outcome, progress);
}

int FetchSdFile(const QByteArray& url, const QByteArray& fileName)
{
    return FetchSdFile(currentCameraSettings(), platform::programFolder(), url, fileName);
}

RequestTimeouts requestTimeouts()
{
    std::lock_guard lock(g_timeoutsMutex);
    return g_timeouts;
}

void setRequestTimeouts(const RequestTimeouts& timeouts)
{
    std::lock_guard lock(g_timeoutsMutex);
    g_timeouts = timeouts;
}

void setLoopbackOnly(bool loopbackOnly)
{
    g_loopbackOnly.store(loopbackOnly);
}
