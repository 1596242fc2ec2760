#include "camera/CameraRequest.h"

#include "camera/CommandCatalogue.h"
#include "camera/LinkCache.h"

#include <QFile>


namespace {

std::optional<CameraRequest> sdRequest(const CameraSettings& settings, const QString& folder, const QByteArray& url,
                                       const QByteArray& fileName, RequestVariant variant, bool recording,
                                       TransferProgress* progress = nullptr)
{
    if (!isPlainFileName(fileName))
        return std::nullopt;
    if (!pathInFolder(folder, nameForDisplay(fileName))) {
        reportMessage(kMessageCaption, pathRuleMessage(QString()));
        return std::nullopt;
    }
    CameraRequest request;
    request.variant = variant;
    request.url = url;
    request.targetPath = QFile::encodeName(folder) + '/' + fileName;
    request.settings = settings;
    request.requireSuccess = recording;
    request.recording = recording;
    request.progress = progress;
    return request;
}

int perform(const std::optional<CameraRequest>& request, RequestOutcome* outcome)
{
    if (outcome)
        *outcome = RequestOutcome{};
    return request ? performCameraRequest(*request, outcome) : -1;
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
    DownloadThreadProc(&job);
    out.jobStatus = job.status.load();
    const bool statusOk = !request.requireSuccess || (out.httpStatus >= 200 && out.httpStatus <= 299);
    const bool cancelled = job.abort.load() || (request.cancel && request.cancel->load());
    out.result = out.jobStatus == 0 && statusOk && !cancelled ? 0 : -1;
    return out.result;
}

CameraRequest snapshotRequest(const CameraSettings& settings, const QString& autoJpgPath)
{
    CameraRequest request;
    request.variant = RequestVariant::Snapshot;
    request.url = settings.snapshotUrl.toUtf8();
    request.targetPath = QFile::encodeName(autoJpgPath);
    request.settings = settings;
    request.requireSuccess = true;
    return request;
}

int requestSnapshot(const CameraSettings& settings, const QString& autoJpgPath, RequestOutcome* outcome)
{
    return performCameraRequest(snapshotRequest(settings, autoJpgPath), outcome);
}

std::optional<CameraRequest> commandRequest(int code, const CameraSettings& settings, const QString& folder)
{
    const std::optional<CatalogueEntry> entry = catalogueEntry(code);
    if (!entry)
        return std::nullopt;
    const QString url = cameraBaseUrl(settings.snapshotUrl) + entry->cgiPath;
    // The command URL is formed in a field of 300 units with its terminator; a longer one would
    // reach the camera cut short, so it is not sent at all.
    if (url.size() + 1 > kSnapshotUrlUnits)
        return std::nullopt;
    // The answer's path is checked before anything is sent, so a reboot or a format never goes out
    // when its answer could not be kept.
    const std::optional<QString> target = pathInFolder(folder, entry->answerFile);
    if (!target) {
        reportMessage(kMessageCaption, pathRuleMessage(entry->answerFile));
        return std::nullopt;
    }
    CameraRequest request;
    request.variant = RequestVariant::Command;
    request.url = url.toUtf8();
    request.targetPath = QFile::encodeName(*target);
    request.settings = settings;
    return request;
}

int SendCameraCommand(int code, const CameraSettings& settings, const QString& folder, RequestOutcome* outcome)
{
    return perform(commandRequest(code, settings, folder), outcome);
}

std::optional<CameraRequest> sdListingRequest(const CameraSettings& settings, const QString& folder,
                                              const QByteArray& relativePath, const QByteArray& fileName,
                                              bool recording)
{
    const QByteArray url = cameraBaseUrl(settings.snapshotUrl).toUtf8() + "/sd/" + encodeUrlPathBytes(relativePath, true);
    return sdRequest(settings, folder, url, fileName, RequestVariant::SdListing, recording);
}

int FetchSdListing(const CameraSettings& settings, const QString& folder, const QByteArray& relativePath,
                   const QByteArray& fileName, bool recording, RequestOutcome* outcome)
{
    return perform(sdListingRequest(settings, folder, relativePath, fileName, recording), outcome);
}

int FetchSdListing(const QByteArray& relativePath, const QByteArray& fileName, bool recording)
{
    return FetchSdListing(currentCameraSettings(), programFolder(), relativePath, fileName, recording);
}

int FetchSdFile(const CameraSettings& settings, const QString& programFolder, const QByteArray& url,
                const QByteArray& fileName, RequestOutcome* outcome, TransferProgress* progress,
                const std::atomic<bool>* cancel)
{
    std::optional<CameraRequest> request =
        sdRequest(settings, programFolder, url, fileName, RequestVariant::SdFile, true, progress);
    if (request)
        request->cancel = cancel;
    return perform(request, outcome);
}

int FetchSdFile(const QByteArray& url, const QByteArray& fileName)
{
    return FetchSdFile(currentCameraSettings(), programFolder(), url, fileName);
}
