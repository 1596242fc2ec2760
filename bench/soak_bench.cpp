// The soak: many snapshot cycles in one process, each the view's own (the timer's fetch into
// auto.jpg, then a paint that decodes it), against the simulated camera at 1280 x 720. Resident
// memory after the first 500 cycles and after the last must stay within 2 MB, and the cycles must
// leave no file descriptor or thread behind.
//
// The camera runs in a child process forked before anything else starts: its own memory (a
// 1280 x 720 picture drawn and encoded on a pool of server threads for every request) would
// otherwise be counted as the program's.
//
// Usage: bench_soak [cycles]   (10000 by default). With VARNEK_SOAK_UNDER_VALGRIND set, resident
// memory is not judged: it is valgrind's.
#include "CameraChild.h"
#include "camera/CameraSettings.h"
#include "camera/LinkCache.h"
#include "fakecam/FakeCamera.h"
#include "view/VarnekJPGView.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Entries of a /proc/self folder, without "." and "..".
int countEntries(const char* folder)
{
    return static_cast<int>(
        QDir(QString::fromLatin1(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

long long residentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    long long size = 0;
    long long resident = 0;
    if (!statm || std::fscanf(statm, "%lld %lld", &size, &resident) != 2)
        std::abort();
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

double mb(long long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int settle = std::min(500, cycles / 2);
    const bool judgeMemory = !qEnvironmentVariableIsSet("VARNEK_SOAK_UNDER_VALGRIND");

    fakecam::Options options;
    options.width = 1280;
    options.height = 720;
    options.keepAlive = true;
    int stopCamera = -1;
    pid_t cameraProcess = 0;
    const int port = startCameraChild(options, stopCamera, cameraProcess);
    if (port == 0) {
        std::fprintf(stderr, "the simulated camera did not start\n");
        return 1;
    }

    // A program folder and a settings file of its own, never the user's.
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("program")))
        return 1;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("no_proxy", "*");
    QDir::setCurrent(dir.filePath(QStringLiteral("program")));
    QApplication app(argc, argv);

    SettingsStore store;
    if (!store.write(kValueSnapshotUrl, QStringLiteral("http://127.0.0.1:%1/tmpfs/auto.jpg").arg(port))
        || !store.write(kValueUserName, QString::fromStdString(options.user))
        || !store.write(kValuePassword, QString::fromStdString(options.password)))
        return 1;

    int failures = 0;
    int fdsBefore = 0;
    int threadsBefore = 0;
    int fdsAfter = 0;
    int threadsAfter = 0;
    long long residentSettled = 0;
    long long residentLast = 0;
    {
        QObject document;
        CVarnekJPGView view;
        view.setDocument(&document);
        view.resize(1000, 620);
        QImage screen(view.size(), QImage::Format_RGB32);
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            // The timer's tick: fetch auto.jpg anew, ask for a repaint; then the paint, which
            // decodes the file.
            int fetched = 1;
            QEventLoop loop;
            view.snapshotTimer().RefreshSnapshot([&](int result) {
                fetched = result;
                loop.quit();
            });
            loop.exec();
            if (fetched != 0)
                ++failures;
            view.render(&screen);
            if (cycle == 1) {
                // Counted once the first picture has set up what stays for the whole run: the
                // kept connection to the camera, the fonts, libcurl.
                fdsBefore = countEntries("/proc/self/fd");
                threadsBefore = countEntries("/proc/self/task");
            }
            if (cycle == settle)
                residentSettled = residentBytes();
            if (cycle % 1000 == 0)
                std::fprintf(stderr, "  %d cycles, resident %.1f MB\n", cycle, mb(residentBytes()));
        }
        residentLast = residentBytes();
        fdsAfter = countEntries("/proc/self/fd");
        threadsAfter = countEntries("/proc/self/task");
    }
    clearLinkCache();
    ::close(stopCamera);
    int status = 0;
    ::waitpid(cameraProcess, &status, 0);

    const double growth = mb(residentLast - residentSettled);
    const bool memoryOk = !judgeMemory || (growth <= 2.0 && growth >= -2.0);
    const bool fdsOk = fdsAfter <= fdsBefore;
    const bool threadsOk = threadsAfter <= threadsBefore;
    std::printf("soak: %d snapshot cycles of a 1280x720 picture (fetch, store, decode, paint), %d failed (goal 0)\n",
                cycles, failures);
    if (judgeMemory)
        std::printf("  resident after %d cycles %.1f MB, after %d %.1f MB: %+.2f MB (goal within 2 MB) %s\n", settle,
                    mb(residentSettled), cycles, mb(residentLast), growth, memoryOk ? "ok" : "FAILED");
    std::printf("  file descriptors after the first cycle %d, after the last %d (goal none left over) %s\n", fdsBefore,
                fdsAfter, fdsOk ? "ok" : "FAILED");
    std::printf("  threads after the first cycle %d, after the last %d (goal none left over) %s\n", threadsBefore,
                threadsAfter, threadsOk ? "ok" : "FAILED");
    return failures == 0 && memoryOk && fdsOk && threadsOk ? 0 : 1;
}
