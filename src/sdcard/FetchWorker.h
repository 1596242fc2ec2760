#pragma once
// Fetch: downloads every ticked recording of the tree on a worker thread the camera link owns,
// while the dialog stays usable. The worker never touches a widget: it reads the shared recordings
// tree and hands its progress, its end and its closing note to the user-interface thread through
// the link. The link aborts and joins it when the program ends.

#include "camera/CameraLink.h"
#include "camera/CameraRequest.h"
#include "camera/CameraSettings.h"
#include "sdcard/RecordingTree.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// What one dialog shares with the worker it started. Either may outlive the other.
struct FetchJob {
    std::shared_ptr<RecordingTree> tree;
    CameraSettings settings;
    QString programFolder;

    CameraLink* link = nullptr;      // runs the worker, and outlives it
    // Run on the link's thread: progress (a few times a second at most) and the worker's end.
    std::function<void()> progressed;
    std::function<void()> ended;

    std::atomic<bool> stop{false};   // set by the dialog when it closes
    std::atomic<bool> running{true}; // cleared by the worker as its very last step
    std::atomic<int> file{0};        // the file being fetched, from 1
    std::atomic<int> files{0};       // how many ticked files the walk has in view
    TransferProgress transfer;       // of the current file
    std::atomic<bool> converting{false}; // the current file, downloaded, is being converted
    std::atomic<int> unconverted{0}; // recordings in the camera's layout that gave no MP4
};

struct FetchResult {
    int fetched = 0; // ticked files handed to the download
    int failed = 0;  // of those, the ones that did not arrive
    int unconverted = 0; // of those that arrived, the ones that could not be converted
    bool stopped = false;
};

// Counts the ticked children of the top-level items: the files a fetch will go through.
int countTickedFiles(const RecordingTree& tree);

// The walk of a fetch: every ticked child of every top-level item, in tree order, read as the walk
// reaches it. A top-level item without children is passed over. The stop flag is looked at before
// and after each file; fetchOne returns whether its file arrived.
FetchResult walkTickedFiles(const RecordingTree& tree, const std::atomic<bool>& stop,
                            const std::function<bool(int item)>& fetchOne);

// The closing note of a fetch that was not stopped.
QString fetchFinalMessage(const FetchResult& result);

// Downloads one ticked file into the program folder and converts it; false when it did not
// arrive. ending ends the transfer at once.
bool FetchTickedFile(FetchJob& job, int item, const std::atomic<bool>& ending);
// The worker's body: the walk, then the closing note.
void FetchThreadProc(const std::shared_ptr<FetchJob>& job, const std::atomic<bool>& ending);
// Starts FetchThreadProc on a thread of the job's link. False when no thread could be started.
bool startFetchWorker(const std::shared_ptr<FetchJob>& job);
