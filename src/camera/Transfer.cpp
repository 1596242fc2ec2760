#include "camera/Transfer.h"

#include "camera/LinkCache.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <curl/curl.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

const char* const kBrowserUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; WOW64; Trident/6.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; InfoPath.3; .NET4.0C; .NET4.0E)";
const char* const kApplicationUserAgent = "VarnekJPG";

// Temporary files are hidden and carry a suffix no camera file has, so a leftover can be told
// from anything else in the program folder.
const char* const kTempPrefix = "/.varnek-";
const char* const kTempSuffix = ".part";

std::mutex g_timeoutsMutex;
RequestTimeouts g_timeouts;
std::atomic<bool> g_loopbackOnly{false};

using Clock = std::chrono::steady_clock;

// A big body goes to the disk while it arrives, in steps of this size, so the flush before the
// rename has little left to do and a recording is not held up at its end.
constexpr off_t kFlushStep = 8 << 20;

// State of one transfer inside the worker.
struct Transfer {
    const CameraRequest* request = nullptr;
    DownloadJob* job = nullptr;
    CURL* curl = nullptr;
    QByteArray tempPath;
    int fd = -1;
    long long cap = 0;        // bytes the body may have, 0 for no cap
    long long bodyBytes = 0;
    off_t flushed = 0;        // of the body's bytes, those already handed to the disk
    long status = 0;          // of the response whose headers are arriving
    bool connected = false;   // a connection to the camera was made
    bool sent = false;        // a response has begun to arrive
    bool oldTargetGone = false;
    long presentedScheme = 0; // the scheme presented at once, 0 when none was
    int fileStatus = 0;       // a negative job status when the file failed
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
    t.fd = createTemporaryBeside(t.request->targetPath, t.tempPath);
    return t.fd >= 0;
}

void noteChallenge(Transfer& t, const char* line, size_t length)
{
    static const char kHeader[] = "www-authenticate:";
    const size_t n = sizeof kHeader - 1;
    if (length <= n || qstrnicmp(line, kHeader, n) != 0)
        return;
    const QByteArray value = QByteArray(line + n, static_cast<qsizetype>(length - n)).trimmed().toLower();
    const long scheme = value.startsWith("digest") ? CURLAUTH_DIGEST : value.startsWith("basic") ? CURLAUTH_BASIC : 0;
    char* url = nullptr;
    // The origin that asked, which after a redirect is not the one the request was made to.
    if (scheme && curl_easy_getinfo(t.curl, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
        rememberAuthScheme(originOf(url), scheme);
}

// The old answer of a command or listing stays until the camera's answer begins, so a request
// that fails before that leaves the older page to look at. The snapshot keeps its picture until
// the new one replaces it: the window may repaint while the next one comes.
void removeOldTarget(Transfer& t)
{
    if (t.oldTargetGone || t.request->variant == RequestVariant::Snapshot)
        return;
    t.oldTargetGone = true;
    ::unlink(t.request->targetPath.constData());
}

// Called for every header line. A status line starts a response: each one (an authentication
// challenge or a redirect is followed by another) starts the file afresh, so that only the last
// response's body is kept.
size_t onHeader(char* buffer, size_t size, size_t count, void* userData)
{
    auto* t = static_cast<Transfer*>(userData);
    const size_t length = size * count;
    TransferProgress* progress = t->request->progress;
    if (length <= 2 && (buffer[0] == '\r' || buffer[0] == '\n')) {
        // The headers of a response are in. Unless libcurl answers it itself (a challenge or a
        // redirect), it is the camera's answer: the older page goes now, so a camera that drops
        // from here on leaves neither the old page nor part of a new one.
        if (t->status != 401 && (t->status < 300 || t->status > 399))
            removeOldTarget(*t);
        return length;
    }
    if (length < 5 || std::memcmp(buffer, "HTTP/", 5) != 0) {
        if (t->status == 401)
            noteChallenge(*t, buffer, length);
        else if (progress && length > 15 && qstrnicmp(buffer, "Content-Length:", 15) == 0)
            progress->expected.store(std::strtoll(buffer + 15, nullptr, 10));
        return length;
    }
    if (progress) {
        progress->received.store(0);
        progress->expected.store(-1);
    }
    t->sent = true;
    const QByteArray line(buffer, static_cast<qsizetype>(length));
    const QList<QByteArray> parts = line.simplified().split(' ');
    t->status = parts.size() > 1 ? parts.at(1).toLong() : 0;
    t->bodyBytes = 0;
    t->flushed = 0;
    if (t->fd < 0) {
        if (!createTemp(*t)) {
            t->fileStatus = -6;
            return 0;
        }
    } else if (::ftruncate(t->fd, 0) != 0 || ::lseek(t->fd, 0, SEEK_SET) != 0) {
        t->fileStatus = -7;
        return 0;
    }
    return length;
}

// Only the final response's body reaches here: libcurl skips the bodies of challenges and
// redirects it answers itself.
size_t onBody(char* buffer, size_t size, size_t count, void* userData)
{
    auto* t = static_cast<Transfer*>(userData);
    const size_t length = size * count;
    if (t->fd < 0) {
        t->fileStatus = -6;
        return 0;
    }
    t->bodyBytes += static_cast<long long>(length);
    if (t->cap > 0 && t->bodyBytes > t->cap) {
        t->fileStatus = -7;
        return 0;
    }
    removeOldTarget(*t);
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
    if (t->bodyBytes - t->flushed >= kFlushStep) {
        ::sync_file_range(t->fd, t->flushed, t->bodyBytes - t->flushed, SYNC_FILE_RANGE_WRITE);
        t->flushed = t->bodyBytes;
    }
    // Counted here rather than in libcurl's progress callback, which runs far less often.
    if (TransferProgress* progress = t->request->progress) {
        progress->received.fetch_add(static_cast<long long>(length), std::memory_order_relaxed);
        if (progress->changed)
            progress->changed();
    }
    return length;
}

// Called once a connection stands, before the request goes out on it. Refuses, under the test
// guard, any connection that would leave this machine.
int onConnected(void* userData, char* primaryIp, char*, int, int)
{
    auto* t = static_cast<Transfer*>(userData);
    if (g_loopbackOnly.load()) {
        const QByteArray ip(primaryIp);
        if (!ip.startsWith("127.") && ip != "::1")
            return CURL_PREREQFUNC_ABORT;
    }
    t->connected = true;
    return CURL_PREREQFUNC_OK;
}

bool cancelled(const DownloadJob& job)
{
    return job.abort.load() || (job.request->cancel && job.request->cancel->load());
}

int onProgress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* t = static_cast<Transfer*>(userData);
    // libcurl calls this about once a second even while no data comes, so a count the caller held
    // back to pace its display still reaches it when the camera stalls.
    if (TransferProgress* progress = t->request->progress; progress && progress->changed)
        progress->changed();
    return cancelled(*t->job) ? 1 : 0;
}

struct CurlList {
    curl_slist* list = nullptr;
    void append(const char* line) { list = curl_slist_append(list, line); }
    ~CurlList() { curl_slist_free_all(list); }
};

// One attempt at the transfer on a handle that may have served earlier requests: every option
// a request depends on is set anew. Returns the libcurl result; fills the HTTP status.
CURLcode attempt(Transfer& t, const QByteArray& url, const QByteArray& origin, Clock::time_point deadline,
                 long& httpStatus, QString& errorCause)
{
    const CameraRequest& req = *t.request;
    const RequestTimeouts limits = requestTimeouts();
    CURL* curl = t.curl;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CurlList headers;

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    // LAN cameras carry self-signed certificates: TLS protects the traffic, not the identity.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);

    const QByteArray user = req.settings.userName.toUtf8();
    const QByteArray password = req.settings.password.toUtf8();
    // The credentials never follow a redirect to another host or port.
    curl_easy_setopt(curl, CURLOPT_UNRESTRICTED_AUTH, 0L);
    if (!user.isEmpty() || !password.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        // Once this camera has asked for a scheme, that scheme alone: Basic then goes out with the
        // request itself, and Digest with the nonce of the last answer, saving a round trip.
        // Otherwise the credentials go only when asked for, in whichever scheme is asked for.
        t.presentedScheme = rememberedAuthScheme(origin);
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, t.presentedScheme ? t.presentedScheme : static_cast<long>(CURLAUTH_ANY));
    } else {
        curl_easy_setopt(curl, CURLOPT_USERNAME, nullptr);
        curl_easy_setopt(curl, CURLOPT_PASSWORD, nullptr);
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    }

    const long remainingMs = std::max<long>(
        1, static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
    t.cap = req.recording ? 0 : limits.answerCapBytes;
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.cap));
    // A command is never sent twice: libcurl would repeat a request on a kept connection that the
    // camera closed without answering, so commands take a connection of their own.
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, req.variant == RequestVariant::Command ? 1L : 0L);
    if (req.variant == RequestVariant::Snapshot) {
        curl_easy_setopt(curl, CURLOPT_USERAGENT, kApplicationUserAgent);
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.snapshotConnectMs);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, remainingMs);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 0L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 0L);
    } else {
        // What the camera's own web pages send; some firmware answers nothing else.
        curl_easy_setopt(curl, CURLOPT_USERAGENT, kBrowserUserAgent);
        headers.append("Accept: */*");
        headers.append("Range: bytes=0-");
        headers.append("Content-Type: application/x-www-form-urlencoded;charset=UTF-8");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, std::min(limits.otherConnectMs, remainingMs));
        // Recordings run to hundreds of megabytes: larger reads mean fewer writes to the file.
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, req.recording ? 512L * 1024 : long{CURL_MAX_WRITE_SIZE});
        if (req.recording) {
            curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 0L);
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.recordingMinBytesPerSecond);
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.recordingSlowSeconds);
        } else {
            curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, remainingMs);
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 0L);
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 0L);
        }
    }

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &httpStatus);
    if (result != CURLE_OK)
        errorCause = QStringLiteral("Error cause: ")
            + QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result)).left(254);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    return result;
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

// Waits before the retry, but no longer than the caller wants the request at all.
void pause(const DownloadJob& job, long ms)
{
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until && !cancelled(job))
        std::this_thread::sleep_for(std::min<Clock::duration>(until - Clock::now(), std::chrono::milliseconds(20)));
}

void finish(DownloadJob* job, int status)
{
    std::lock_guard lock(job->mutex);
    job->status.store(status);
    job->ended.notify_all();
}

} // namespace

void DownloadThreadProc(DownloadJob* job)
{
    const CameraRequest& req = *job->request;
    RequestOutcome& outcome = *job->outcome;
    const RequestTimeouts limits = requestTimeouts();
    const auto start = Clock::now();
    const long totalMs = req.variant == RequestVariant::Snapshot ? limits.snapshotTotalMs
        : req.recording                                          ? 0
                                                                 : limits.otherTotalMs;
    const auto deadline = totalMs > 0 ? start + std::chrono::milliseconds(totalMs) : Clock::time_point::max();

    // TLS on port 443 whatever the scheme says, and wherever the scheme is https.
    QByteArray url = req.url;
    {
        CURLU* parsed = curl_url();
        char* port = nullptr;
        char* full = nullptr;
        const bool ok = curl_url_set(parsed, CURLUPART_URL, req.url.constData(), 0) == CURLUE_OK;
        if (ok && curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK && qstrcmp(port, "443") == 0
            && curl_url_set(parsed, CURLUPART_SCHEME, "https", 0) == CURLUE_OK
            && curl_url_get(parsed, CURLUPART_URL, &full, 0) == CURLUE_OK)
            url = full;
        curl_free(port);
        curl_free(full);
        curl_url_cleanup(parsed);
        if (!ok) {
            finish(job, -10);
            return;
        }
    }
    const QByteArray origin = originOf(url.constData());
    const QByteArray key = origin + '\n' + req.settings.userName.toUtf8() + '\n' + req.settings.password.toUtf8();

    Transfer t;
    t.request = &req;
    t.job = job;
    t.curl = takeLinkHandle(key);
    if (!t.curl) {
        finish(job, -10);
        return;
    }
    CURLcode result = attempt(t, url, origin, deadline, outcome.httpStatus, outcome.errorCause);
    // One more try, but only when the request cannot have reached the camera.
    if (req.variant != RequestVariant::Snapshot && !t.connected && !t.sent && t.fileStatus == 0
        && (result == CURLE_COULDNT_CONNECT || result == CURLE_OPERATION_TIMEDOUT) && Clock::now() < deadline) {
        const long leftMs = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        pause(*job, std::min(limits.otherRetryDelayMs, leftMs));
        if (!cancelled(*job) && Clock::now() < deadline) {
            outcome.httpStatus = 0;
            result = attempt(t, url, origin, deadline, outcome.httpStatus, outcome.errorCause);
        }
    }
    // A camera that now asks for another scheme than the one presented refused the request
    // unread: it is asked once more, in the scheme it wants.
    if (result == CURLE_OK && outcome.httpStatus == 401 && t.presentedScheme != 0 && t.fileStatus == 0
        && rememberedAuthScheme(origin) != t.presentedScheme && Clock::now() < deadline)
        result = attempt(t, url, origin, deadline, outcome.httpStatus, outcome.errorCause);
    // An answer refused by its headers (longer than the cap allows) has begun all the same.
    if (result == CURLE_FILESIZE_EXCEEDED)
        removeOldTarget(t);
    returnLinkHandle(key, t.curl, result == CURLE_OK);
    t.curl = nullptr;
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
    finish(job, status);
}

void initTransfers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        ordinaryFileMode();
    });
}

int createTemporaryBeside(const QByteArray& targetPath, QByteArray& tempPath)
{
    QByteArray pattern = folderOf(targetPath) + kTempPrefix + "XXXXXX" + kTempSuffix;
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(std::strlen(kTempSuffix)), O_CLOEXEC);
    if (fd < 0)
        return -1;
    // The temporary file starts private; the page or recording it becomes is an ordinary file.
    ::fchmod(fd, ordinaryFileMode());
    tempPath = pattern;
    return fd;
}

int removeLeftoverDownloads(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.varnek-[A-Za-z0-9]{6}\\.part$"));
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (pattern.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
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

void setLoopbackOnly(bool on)
{
    g_loopbackOnly.store(on);
}

bool loopbackOnly()
{
    return g_loopbackOnly.load();
}
