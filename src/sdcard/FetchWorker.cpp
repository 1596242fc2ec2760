#include "sdcard/FetchWorker.h"

#include "camera/CommandCatalogue.h"
#include "platform/Desktop.h"
#include "sdcard/RecordingLocation.h"
#include "sdcard/RecordingPlayback.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

std::mutex g_workersMutex;
std::condition_variable g_workersEnded;
int g_liveWorkers = 0;

} // namespace

int countTickedFiles(const RecordingTree& tree)
{
    int count = 0;
    for (int row = 0, top; (top = tree.child(RecordingTree::kNone, row)) != RecordingTree::kNone; ++row) {
        for (int childRow = 0, child; (child = tree.child(top, childRow)) != RecordingTree::kNone; ++childRow)
            count += tree.isTicked(child) ? 1 : 0;
    }
    return count;
}

FetchResult walkTickedFiles(const RecordingTree& tree, const std::atomic<bool>& stop,
                            const std::function<bool(int item)>& fetchOne)
{
    FetchResult result;
    for (int row = 0, top; (top = tree.child(RecordingTree::kNone, row)) != RecordingTree::kNone; ++row) {
        for (int childRow = 0, child; (child = tree.child(top, childRow)) != RecordingTree::kNone; ++childRow) {
            if (stop.load())
                break;
            if (!tree.isTicked(child))
                continue;
            ++result.fetched;
            if (!fetchOne(child))
                ++result.failed;
            if (stop.load())
                break;
        }
        if (stop.load()) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

QString fetchFinalMessage(const FetchResult& result)
{
    if (result.fetched == 0)
        return QStringLiteral("No files fetched, did you tick any items ?");
    QString text = result.failed == 0 ? QStringLiteral("Finished fetching the files")
                                      : QStringLiteral("Finished fetching the files, %1 of %2 could not be fetched.")
                                            .arg(result.failed)
                                            .arg(result.fetched);
    if (result.unconverted > 0)
        text += QStringLiteral("\nRecordings that could not be converted to MP4 (kept as .264): %1").arg(result.unconverted);
    return text;
}

bool FetchTickedFile(FetchJob& job, int item)
{
    const RecordingTree& tree = *job.tree;
    const std::optional<RecordingLocation> location =
        formRecordingLocation(cameraBaseUrl(job.settings.snapshotUrl), tree.name(tree.parent(item)), tree.name(item),
                              job.programFolder);
    if (!location)
        return false;
    ::unlink(location->localPath.constData());
    deleteConvertedCopy(location->localPath);
    job.transfer.received.store(0);
    job.transfer.expected.store(-1);
    if (FetchSdFile(job.settings, job.programFolder, location->url, tree.name(item), nullptr, &job.transfer) != 0)
        return false;
    // The file that has arrived is converted whole, as its download was finished: closing the
    // dialog stops the fetch after it.
    job.converting.store(true);
    if (prepareDownloadedRecording(location->localPath).conversionFailed)
        ++job.unconverted;
    job.converting.store(false);
    return true;
}

void FetchThreadProc(std::shared_ptr<FetchJob> job)
{
    job->files.store(countTickedFiles(*job->tree));
    FetchResult result = walkTickedFiles(*job->tree, job->stop, [&](int item) {
        const int file = job->file.load() + 1;
        job->file.store(file);
        if (file > job->files.load())
            job->files.store(file);
        return FetchTickedFile(*job, item);
    });
    result.unconverted = job->unconverted.load();
    // A dialog that was closed wants no note about its fetch.
    if (!result.stopped && !job->stop.load())
        platform::desktop().messageBoxModeless(QStringLiteral("Varnekjpg"), fetchFinalMessage(result));
    job->running.store(false);
}

bool startFetchWorker(const std::shared_ptr<FetchJob>& job)
{
    {
        std::lock_guard lock(g_workersMutex);
        ++g_liveWorkers;
    }
    // The worker's share of the job goes with FetchThreadProc, before the worker counts as ended.
    const auto body = [job]() mutable {
        FetchThreadProc(std::move(job));
        std::lock_guard lock(g_workersMutex);
        --g_liveWorkers;
        g_workersEnded.notify_all();
    };
    try {
        // The worker is on its own: a dialog closed mid-download does not wait for the file.
        std::thread(body).detach();
        return true;
    } catch (const std::system_error&) {
        std::lock_guard lock(g_workersMutex);
        --g_liveWorkers;
        job->running.store(false);
        return false;
    }
}

int liveFetchWorkers()
{
    std::lock_guard lock(g_workersMutex);
    return g_liveWorkers;
}

bool waitForFetchWorkers(int timeoutMs)
{
    std::unique_lock lock(g_workersMutex);
    return g_workersEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return g_liveWorkers == 0; });
}
