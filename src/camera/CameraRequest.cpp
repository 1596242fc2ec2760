#include "camera/CameraRequest.h"

#include "camera/CommandCatalogue.h"
#include "camera/LinkCache.h"

#include <QFile>

#include <system_error>
#include <thread>

namespace {

// The caller's view of a request whose worker runs.
class Pending final : public PendingRequest {
public:
    explicit Pending(DownloadJob& job) : m_job(job) {}
    bool waitFor(int timeoutMs) override
    {
        std::unique_lock lock(m_job.mutex);
        return m_job.ended.wait_for(lock, std::chrono::milliseconds(std::max(0, timeoutMs)),
                                    [this] { return m_job.status.load() != 1; });
    }
    void abort() override { m_job.abort.store(true); }

private:
    DownloadJob& m_job;
};

int fetchSdInto(const CameraSettings& settings, const QString& folder, const QByteArray& url,
                const QByteArray& fileName, RequestVariant variant, bool recording, RequestOutcome* outcome,
                TransferProgress* progress = nullptr)
{
    if (outcome)
        *outcome = RequestOutcome{};
    if (!isPlainFileName(fileName))
        return -1;
    if (!pathInFolder(folder, nameForDisplay(fileName))) {
        reportMessage(kMessageCaption, pathRuleMessage(QString()));
        return -1;
    }
    CameraRequest request;
    request.variant = variant;
    request.url = url;
    request.targetPath = QFile::encodeName(folder) + '/' + fileName;
    request.settings = settings;
    request.requireSuccess = recording;
    request.recording = recording;
    request.progress = progress;
    return performCameraRequest(request, outcome);
}

} // namespace

int performCameraRequest(const CameraRequest& request, RequestOutcome* outcome)
{
    RequestOutcome local;
    RequestOutcome& out = outcome ? *outcome : local;
    out = RequestOutcome{};

    // Only http and https URLs are camera URLs; libcurl must not guess a scheme.
    const QByteArray lower = request.url.left(8).toLower();
    if (!lower.startsWith("http://") && !lower.startsWith("https://"))
        return -1;
    if (loopbackOnly()) {
        const QByteArray origin = originOf(request.url.constData());
        const QByteArray host = origin.mid(origin.indexOf("://") + 3, origin.lastIndexOf(':') - origin.indexOf("://") - 3);
        if (host != "127.0.0.1" && host != "localhost" && host != "[::1]")
            return -1;
    }
    initTransfers();

    DownloadJob job;
    job.request = &request;
    job.outcome = &out;
    try {
        std::thread worker(DownloadThreadProc, &job);
        Pending pending(job);
        waitForRequest(pending);
        worker.join();
    } catch (const std::system_error&) {
        return -1;
    }
    out.jobStatus = job.status.load();
    const bool statusOk = !request.requireSuccess || (out.httpStatus >= 200 && out.httpStatus <= 299);
    out.result = out.jobStatus == 0 && statusOk && !job.abort.load() ? 0 : -1;
    return out.result;
}

int requestSnapshot(const CameraSettings& settings, const QString& autoJpgPath, RequestOutcome* outcome)
{
    CameraRequest request;
    request.variant = RequestVariant::Snapshot;
    request.url = settings.snapshotUrl.toUtf8();
    request.targetPath = QFile::encodeName(autoJpgPath);
    request.settings = settings;
    request.requireSuccess = true;
    return performCameraRequest(request, outcome);
}

int SendCameraCommand(int code, const CameraSettings& settings, const QString& folder, RequestOutcome* outcome)
{
    if (outcome)
        *outcome = RequestOutcome{};
    const std::optional<CatalogueEntry> entry = catalogueEntry(code);
    if (!entry)
        return -1;
    const QString url = cameraBaseUrl(settings.snapshotUrl) + entry->cgiPath;
    // The command URL is formed in a field of 300 units with its terminator; a longer one would
    // reach the camera cut short, so it is not sent at all.
    if (url.size() + 1 > kSnapshotUrlUnits)
        return -1;
    // The answer's path is checked before anything is sent, so a reboot or a format never goes out
    // when its answer could not be kept.
    const std::optional<QString> target = pathInFolder(folder, entry->answerFile);
    if (!target) {
        reportMessage(kMessageCaption, pathRuleMessage(entry->answerFile));
        return -1;
    }
    CameraRequest request;
    request.variant = RequestVariant::Command;
    request.url = url.toUtf8();
    request.targetPath = QFile::encodeName(*target);
    request.settings = settings;
    return performCameraRequest(request, outcome);
}

int FetchSdListing(const CameraSettings& settings, const QString& folder, const QByteArray& relativePath,
                   const QByteArray& fileName, bool recording, RequestOutcome* outcome)
{
    const QByteArray url = cameraBaseUrl(settings.snapshotUrl).toUtf8() + "/sd/" + encodeUrlPathBytes(relativePath, true);
    return fetchSdInto(settings, folder, url, fileName, RequestVariant::SdListing, recording, outcome);
}

int FetchSdListing(const QByteArray& relativePath, const QByteArray& fileName, bool recording)
{
    return FetchSdListing(currentCameraSettings(), programFolder(), relativePath, fileName, recording);
}

int FetchSdFile(const CameraSettings& settings, const QString& folder, const QByteArray& url,
                const QByteArray& fileName, RequestOutcome* outcome, TransferProgress* progress)
{
    return fetchSdInto(settings, folder, url, fileName, RequestVariant::SdFile, true, outcome, progress);
}

int FetchSdFile(const QByteArray& url, const QByteArray& fileName)
{
    return FetchSdFile(currentCameraSettings(), programFolder(), url, fileName);
}
