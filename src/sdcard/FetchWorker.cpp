#include "sdcard/FetchWorker.h"

#include "camera/CommandCatalogue.h"
#include "platform/Desktop.h"
#include "sdcard/RecordingLocation.h"
#include "sdcard/RecordingPlayback.h"

#include <unistd.h>

#include <chrono>

namespace {

// Progress reaches the dialog at most this often: enough for a bar, cheap for the transfer.
constexpr std::chrono::milliseconds kProgressEvery{100};

void postTo(FetchJob& job, const std::function<void()>& f)
{
    if (f)
        job.link->post(f);
}

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

bool FetchTickedFile(FetchJob& job, int item, const std::atomic<bool>& ending)
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
    if (FetchSdFile(job.settings, job.programFolder, location->url, tree.name(item), nullptr, &job.transfer, &ending)
        != 0)
        return false;
    // The file that has arrived is converted whole, as its download was finished: closing the
    // dialog stops the fetch after it. Only the program's end cuts the conversion short.
    job.converting.store(true);
    postTo(job, job.progressed);
    if (prepareDownloadedRecording(location->localPath, &ending).conversionFailed && !ending.load())
        ++job.unconverted;
    job.converting.store(false);
    return true;
}

void FetchThreadProc(const std::shared_ptr<FetchJob>& job, const std::atomic<bool>& ending)
{
    using Clock = std::chrono::steady_clock;
    auto lastPosted = Clock::now();
    job->transfer.changed = [&job, &lastPosted] {
        if (Clock::now() - lastPosted < kProgressEvery)
            return;
        lastPosted = Clock::now();
        postTo(*job, job->progressed);
    };
    job->files.store(countTickedFiles(*job->tree));
    FetchResult result = walkTickedFiles(*job->tree, job->stop, [&](int item) {
        const int file = job->file.load() + 1;
        job->file.store(file);
        if (file > job->files.load())
            job->files.store(file);
        postTo(*job, job->progressed);
        const bool fetched = FetchTickedFile(*job, item, ending);
        // The program is ending: the walk goes no further.
        if (ending.load())
            job->stop.store(true);
        return fetched;
    });
    result.unconverted = job->unconverted.load();
    job->transfer.changed = nullptr;
    // A dialog that was closed wants no note about its fetch. The note stands on its own: the
    // worker does not wait for it.
    if (!result.stopped && !job->stop.load()) {
        const QString note = fetchFinalMessage(result);
        job->link->post([note] { platform::desktop().showNote(QStringLiteral("Varnekjpg"), note); });
    }
    job->running.store(false);
    postTo(*job, job->ended);
}

bool startFetchWorker(const std::shared_ptr<FetchJob>& job)
{
    if (!job->link->startWorker([job](const std::atomic<bool>& ending) { FetchThreadProc(job, ending); })) {
        job->running.store(false);
        return false;
    }
    return true;
}
