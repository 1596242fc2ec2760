// The Micro-SD browser on a big card and a big recording, against the simulated camera on
// loopback in the same process:
//  - a card of 30 date folders of 300 recordings, and big cards of 10,000 recordings (40 x 250 and
//    one folder of 10,000): time from the card listing request, and from the last folder listing's
//    arrival, to a filled, painted dialog, and the time a tick, an expand and a scroll to the end take;
//  - a 256 MB recording: the Fetch worker's throughput against `curl -o` of the same URL into the
//    same folder, and how much the process's resident memory grows during the fetch.
#include "ResidentMemory.h"
#include "camera/CameraRequest.h"
#include "fakecam/FakeCamera.h"
#include "platform/RecordingDesktop.h"
#include "sdcard/DialogSDVideo.h"
#include "sdcard/FetchWorker.h"
#include "sdcard/RecordingTreeModel.h"
#include "view/PageCommands.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string pageHead(const std::string& folder)
{
    return "<html>\n<head><title>Index of " + folder + "</title></head>\n<body>\n<h1>Index of " + folder +
        "</h1>\n<hr>\n<table>\n<tr><td><a href=\"../\">Parent Directory</a></td><td>-</td></tr>\n";
}

// A card of date folders from 1 November 2026 on, each with `files` recordings spread evenly
// through the day: P261101_000000_000500.264 and so on.
void fillCard(fakecam::FakeCamera& camera, int folders, int files)
{
    std::string card = pageHead("/sd/");
    const int step = 86400 / files;
    for (int d = 0; d < folders; ++d) {
        char date[16];
        std::snprintf(date, sizeof date, "2026%02d%02d", 11 + d / 30, 1 + d % 30);
        char line[256];
        std::snprintf(line, sizeof line, "<tr><td><a href=\"/sd/%s/\">%s/</a></td><td>-</td></tr>\n", date, date);
        card += line;
        std::string listing = pageHead(std::string("/sd/") + date + "/record000/");
        for (int f = 0; f < files; ++f) {
            const int start = f * step, end = start + step - 1;
            std::snprintf(line, sizeof line,
                          "<tr><td><a href=\"/sd/%s/record000/P%s_%02d%02d%02d_%02d%02d%02d.264\">%d</a></td>"
                          "<td>31457280</td></tr>\n",
                          date, date + 2, start / 3600, start / 60 % 60, start % 60, end / 3600, end / 60 % 60,
                          end % 60, f);
            listing += line;
        }
        camera.setPage(std::string("/sd/") + date + "/record000", listing + "</table></body></html>\n");
    }
    camera.setPage("/sd", card + "</table></body></html>\n");
}

// Opens the dialog on a card of `folders` x `files` recordings: the time from the first listing
// request to a filled, painted dialog, and the part of it after the last listing arrived.
void benchCard(fakecam::FakeCamera& camera, const CameraSettings& settings, const QString& folder, int folders,
               int files)
{
    fillCard(camera, folders, files);
    const Clock::time_point opened = Clock::now();
    SendCameraCommand(kSdListingCode, settings, folder);
    Clock::time_point lastListing;
    CDialogSDVideo dialog;
    dialog.SetFolderListingFetch([&](const QByteArray& relativePath, std::function<void()> done) {
        FetchSdListing(settings, folder, relativePath, "filelist.html");
        lastListing = Clock::now();
        done();
    });
    dialog.show();
    QApplication::processEvents();
    dialog.repaint();
    const double filled = msSince(lastListing);
    const double total = msSince(opened);
    std::printf("card of %d folders x %d recordings (%d items)\n", folders, files, dialog.recordings().count());
    std::printf("  opened: card listing, %d folder listings, dialog filled and painted: %8.1f ms%s\n", folders,
                total, folders * files >= 10000 ? " (goal < 2000 ms)" : "");
    std::printf("  of which after the last listing arrived:                           %8.1f ms (goal <= 1000 ms)\n",
                filled);
    if (folders == 1)
        return;
    QTreeView* tree = dialog.treeView();
    Clock::time_point t = Clock::now();
    const QModelIndex day = dialog.model().index(folders / 2, 0);
    dialog.model().setData(dialog.model().index(files / 2, 0, day), Qt::Checked, Qt::CheckStateRole);
    tree->viewport()->repaint();
    const double tick = msSince(t);
    t = Clock::now();
    tree->collapse(day);
    tree->viewport()->repaint();
    tree->expand(day);
    tree->viewport()->repaint();
    const double expand = msSince(t);
    t = Clock::now();
    tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum());
    tree->viewport()->repaint();
    const double scroll = msSince(t);
    std::printf("  tick %.2f ms, collapse+expand %.2f ms, scroll to end %.2f ms\n", tick, expand, scroll);
}

void benchRecording(fakecam::FakeCamera& camera, const CameraSettings& settings, const QString& folder, int rounds)
{
    const std::uint64_t size = 256ull << 20;
    camera.setRecordingSize(size);
    const std::string date = "20261201", name = "P261201_120000_120500.264";
    const std::string url = camera.baseUrl() + "/sd/" + date + "/record000/" + name;
    const QString target = QDir(folder).filePath(QString::fromStdString(name));

    auto tree = std::make_shared<RecordingTree>();
    tree->setTicked(tree->addItem(tree->addItem(RecordingTree::kNone, date.c_str()), name.c_str()), true);
    platform::RecordingDesktop desktop;

    CameraLink link;
    const std::atomic<bool> ending{false};
    double bestOurs = 1e9, bestCurl = 1e9;
    long growthKb = 0;
    for (int round = 0; round < rounds; ++round) {
        auto job = std::make_shared<FetchJob>();
        job->tree = tree;
        job->settings = settings;
        job->programFolder = folder;
        job->link = &link;
        const long before = residentKb();
        std::atomic<long> peak{before};
        std::atomic<bool> done{false};
        std::thread sampler([&] {
            while (!done.load()) {
                peak.store(std::max(peak.load(), residentKb()));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        // Each side starts with nothing of the other still on its way to the disk.
        ::sync();
        Clock::time_point t = Clock::now();
        FetchThreadProc(job, ending);
        bestOurs = std::min(bestOurs, msSince(t));
        QCoreApplication::processEvents(); // the closing note, handed to this thread
        done.store(true);
        sampler.join();
        growthKb = std::max(growthKb, peak.load() - before);
        if (QFileInfo(target).size() != static_cast<qint64>(size) || desktop.messages().back().text != "Finished fetching the files") {
            std::fprintf(stderr, "the fetch did not bring the whole recording\n");
            std::exit(1);
        }
        QFile::remove(target);

        const std::string command = "curl -s -f -u admin:pelto -o '" + target.toStdString() + "' '" + url + "'";
        ::sync();
        t = Clock::now();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "curl failed\n");
            std::exit(1);
        }
        bestCurl = std::min(bestCurl, msSince(t));
        QFile::remove(target);
    }
    const double mb = static_cast<double>(size) / (1 << 20);
    std::printf("256 MB recording, best of %d\n", rounds);
    std::printf("  Fetch worker: %8.1f ms = %7.1f MB/s\n", bestOurs, mb / bestOurs * 1000);
    std::printf("  curl -o:      %8.1f ms = %7.1f MB/s\n", bestCurl, mb / bestCurl * 1000);
    std::printf("  throughput ratio Fetch / curl: %.2f (goal >= 0.9)\n", bestCurl / bestOurs);
    std::printf("  resident memory growth during the fetch: %.1f MB (goal < 20 MB)\n", growthKb / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    fakecam::FakeCamera camera;
    if (!camera.start()) {
        std::fprintf(stderr, "the simulated camera did not start\n");
        return 1;
    }
    // The program folder beside the build, on the same disk as the user's would be.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/sdcard-bench-XXXXXX"));
    const QString folder = dir.path();
    QDir::setCurrent(folder);
    const CameraSettings settings{QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"),
                                  QStringLiteral("pelto")};
    setCurrentCameraSettings(settings);
    benchCard(camera, settings, folder, 30, 300);
    // A big card: 10,000 recordings, spread over 40 days or all in one day's listing.
    benchCard(camera, settings, folder, 40, 250);
    benchCard(camera, settings, folder, 1, 10000);
    benchRecording(camera, settings, folder, rounds);
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
