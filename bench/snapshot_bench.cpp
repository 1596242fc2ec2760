// The snapshot cycle against the least any program could do: the view's whole cycle against one
// libjpeg-turbo decode of its picture, and the snapshot request against a plain libcurl fetch into
// memory plus a decode. All run against the simulated camera on loopback, so the ratios say what
// the program's own work (transfer thread, temporary file, fsync, rename, the hand-back to the
// window's thread, decode, paint) costs.
#include "CameraChild.h"
#include "camera/CameraLink.h"
#include "camera/CameraRequest.h"
#include "camera/CameraSettings.h"
#include "camera/LinkCache.h"
#include "fakecam/FakeCamera.h"
#include "fakecam/SnapshotRenderer.h"
#include "view/VarnekJPGView.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

namespace {

// One snapshot as the window takes it: through the link, continuing on this thread once it ended.
// The bench waits for that continuation in an event loop of its own.
// One snapshot cycle of the view's timer, waited for in the same way.
int refreshThroughView(CVarnekJPGView& view)
{
    int result = 1;
    bool ended = false;
    QEventLoop loop;
    view.snapshotTimer().RefreshSnapshot([&](int fetched) {
        result = fetched;
        ended = true;
        loop.quit();
    });
    if (!ended)
        loop.exec();
    return result;
}

int fetchThroughLink(CameraLink& link, const QString& autoJpg)
{
    int result = 1;
    QEventLoop loop;
    link.FetchSnapshot(autoJpg, nullptr, [&](const RequestOutcome& outcome) {
        result = outcome.result;
        loop.quit();
    });
    loop.exec();
    return result;
}

size_t toString(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

template <typename F>
double secondsFor(int rounds, F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Requests and new connections per picture in steady state: one picture first, so that the camera
// has asked for its scheme once, then `pictures` more.
void countPerPicture(fakecam::AuthMode mode, const char* name, int pictures)
{
    fakecam::Options options;
    options.auth = mode;
    options.keepAlive = true;
    fakecam::FakeCamera camera(options);
    if (!camera.start())
        std::abort();
    clearLinkCache();
    QTemporaryDir dir;
    const QString autoJpg = dir.filePath(QStringLiteral("auto.jpg"));
    CameraLink link;
    link.setSettings({QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"), QStringLiteral("pelto")});
    if (fetchThroughLink(link, autoJpg) != 0)
        std::abort();
    camera.clearRequests();
    for (int i = 0; i < pictures; ++i) {
        if (fetchThroughLink(link, autoJpg) != 0)
            std::abort();
    }
    // The connection kept from the first picture is not new; clearRequests() forgot it.
    const auto seen = camera.requests();
    const int connections = camera.connections() - (!seen.empty() && seen.front().connection == 1 ? 1 : 0);
    std::printf("  %-6s requests per picture %.2f, new connections per picture %.2f (%d pictures)\n", name,
                double(seen.size()) / pictures, double(connections) / pictures, pictures);
    clearLinkCache();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// The camera's picture at 1920 x 1080, as the simulated camera draws and encodes it.
QByteArray cameraPicture()
{
    fakecam::SnapshotView frame;
    frame.width = 1920;
    frame.height = 1080;
    frame.clock = QStringLiteral("2026-11-30 12:00:00");
    return fakecam::encodeJpeg(fakecam::renderSnapshot(frame));
}

// The view's whole snapshot cycle (the timer's fetch into auto.jpg, then the paint that decodes
// and draws it) for a 1920 x 1080 camera picture, against one libjpeg-turbo decode of the same
// bytes at full size into memory: the least a program showing that picture could do. Both are
// judged by this process's processor time, the camera's being in another process; the time the
// cycle waits (for the camera, for the disk to take auto.jpg) is shown beside it. The camera
// answers with the same bytes every time, but each answer is a new auto.jpg, so every cycle
// decodes; the counts printed say so.
void cycleAgainstDecode(int rounds, int port)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const fakecam::Options options;
    SettingsStore store;
    if (!store.write(kValueSnapshotUrl, QStringLiteral("http://127.0.0.1:%1/tmpfs/auto.jpg").arg(port))
        || !store.write(kValueUserName, QString::fromStdString(options.user))
        || !store.write(kValuePassword, QString::fromStdString(options.password)))
        std::abort();
    LoadCameraSettings();

    QObject document;
    CVarnekJPGView wide, narrow;
    QImage wideScreen(1250, 800, QImage::Format_RGB32), narrowScreen(900, 600, QImage::Format_RGB32);
    for (CVarnekJPGView* view : {&wide, &narrow}) {
        view->setDocument(&document);
        view->resize(view == &wide ? wideScreen.size() : narrowScreen.size());
    }
    tjhandle turbo = tjInitDecompress();
    std::vector<unsigned char> pixels(std::size_t(1920) * 1080 * 3);
    struct Cost {
        std::vector<double> processor, wall;
        void add(const std::function<void()>& work)
        {
            const double start = processorSeconds();
            wall.push_back(secondsFor(1, work));
            processor.push_back(processorSeconds() - start);
        }
    } wideCycle, narrowCycle, decode, threeQuarters, repaint, wideFetch, widePaint;
    const auto cycle = [](CVarnekJPGView& view, QImage& screen) {
        return [&view, &screen] {
            if (refreshThroughView(view) != 0)
                std::abort();
            view.render(&screen);
        };
    };
    QByteArray jpeg; // the camera's picture, as it arrived
    // At 3/4, the smallest eighth at least 1250 px wide, for comparison: libjpeg-turbo has vector
    // code for the full size and for 1/2, 1/4 and 1/8 only.
    const auto decodeTo = [&](int width, int height) {
        return [&, width, height] {
            if (tjDecompress2(turbo, reinterpret_cast<const unsigned char*>(jpeg.constData()), jpeg.size(),
                              pixels.data(), width, 0, height, TJPF_RGB, 0) != 0)
                std::abort();
        };
    };
    // The login and the kept connection, before anything is timed.
    cycle(wide, wideScreen)();
    cycle(narrow, narrowScreen)();
    QFile arrived(wide.autoJpgPath());
    if (!arrived.open(QIODevice::ReadOnly) || (jpeg = arrived.readAll()).isEmpty())
        std::abort();
    // Taken in turns and compared by their medians, so that other work on the machine weighs on
    // all three alike.
    for (int i = 0; i < rounds; ++i) {
        wideCycle.add(cycle(wide, wideScreen));
        narrowCycle.add(cycle(narrow, narrowScreen));
        decode.add(decodeTo(1920, 1080));
        threeQuarters.add(decodeTo(1440, 810));
        // The wide cycle once more, in its two halves.
        wideFetch.add([&] { refreshThroughView(wide); });
        widePaint.add([&] { wide.render(&wideScreen); });
    }
    const int wideDecodes = wide.pictureDecoder().decodes(), narrowDecodes = narrow.pictureDecoder().decodes();
    // What a menu, a state query or an expose costs once the picture is shown.
    for (int i = 0; i < rounds; ++i)
        repaint.add([&] { wide.render(&wideScreen); });
    tjDestroy(turbo);
    QDir::setCurrent(previous);
    clearLinkCache();

    const double wideMs = 1000.0 * median(wideCycle.processor), narrowMs = 1000.0 * median(narrowCycle.processor),
                 decodeMs = 1000.0 * median(decode.processor);
    std::printf("snapshot cycle in the view (fetch, store, decode, paint) of a 1920x1080 picture (%lld bytes), "
                "processor time, median of %d rounds (wall time in brackets)\n",
                static_cast<long long>(jpeg.size()), rounds);
    std::printf("  libjpeg-turbo full decode into memory: %6.2f ms (%.2f ms); at 3/4 size %.2f ms, %.2f per full decode\n",
                decodeMs, 1000.0 * median(decode.wall), 1000.0 * median(threeQuarters.processor),
                1000.0 * median(threeQuarters.processor) / decodeMs);
    std::printf("  view 1250 px wide: %6.2f ms (%.2f ms), %.2f per full decode (goal at most 1.10); %d decodes in %d "
                "cycles\n",
                wideMs, 1000.0 * median(wideCycle.wall), wideMs / decodeMs, wideDecodes, 2 * rounds + 1);
    std::printf("    of which fetch and store %.2f ms, decode and paint %.2f ms (the halves timed apart)\n",
                1000.0 * median(wideFetch.processor), 1000.0 * median(widePaint.processor));
    std::printf("  view  900 px wide: %6.2f ms (%.2f ms), %.2f per 1250 px cycle (goal at most 0.50); %d decodes in %d "
                "cycles\n",
                narrowMs, 1000.0 * median(narrowCycle.wall), narrowMs / wideMs, narrowDecodes, rounds + 1);
    std::printf("  repaint of the picture shown 1250 px wide: %6.2f ms, %.2f per full decode; %d decodes in %d repaints\n",
                1000.0 * median(repaint.processor), median(repaint.processor) / median(decode.processor),
                wide.pictureDecoder().decodes() - wideDecodes, rounds);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    // The camera process first, before this one starts any thread.
    fakecam::Options cameraOptions;
    cameraOptions.keepAlive = true;
    int stopCamera = -1;
    pid_t cameraProcess = 0;
    const int port = startCameraChild(cameraOptions, stopCamera, cameraProcess,
                                      [] { return cameraPicture().toStdString(); });
    if (port == 0) {
        std::fprintf(stderr, "the simulated camera did not start\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    cycleAgainstDecode(rounds, port);
    ::close(stopCamera);
    ::waitpid(cameraProcess, nullptr, 0);

    std::printf("steady state against the simulated camera, after one picture\n");
    countPerPicture(fakecam::AuthMode::Basic, "Basic", 100);
    countPerPicture(fakecam::AuthMode::Digest, "Digest", 100);

    fakecam::Options options;
    options.width = 1280;
    options.height = 720;
    options.auth = fakecam::AuthMode::Basic;
    options.keepAlive = true;
    fakecam::FakeCamera camera(options);
    if (!camera.start()) {
        std::fprintf(stderr, "the simulated camera did not start\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString autoJpg = dir.filePath(QStringLiteral("auto.jpg"));
    CameraLink link;
    link.setSettings({QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"), QStringLiteral("pelto")});

    const double ours = secondsFor(rounds, [&] {
        if (fetchThroughLink(link, autoJpg) != 0)
            std::abort();
        QImageReader reader(autoJpg);
        if (reader.read().isNull())
            std::abort();
    });

    // The least any program could do: one handle kept for every picture (its connection and its
    // authentication state with it), the body into memory.
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, camera.snapshotUrl().c_str());
    curl_easy_setopt(curl, CURLOPT_USERNAME, "admin");
    curl_easy_setopt(curl, CURLOPT_PASSWORD, "pelto");
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, toString);
    const double plain = secondsFor(rounds, [&] {
        std::string body;
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(curl) != CURLE_OK)
            std::abort();
        QImage image;
        if (!image.loadFromData(reinterpret_cast<const uchar*>(body.data()), static_cast<int>(body.size())))
            std::abort();
    });
    curl_easy_cleanup(curl);
    clearLinkCache();

    std::printf("snapshot cycle, %d rounds of a 1280x720 picture\n", rounds);
    std::printf("  request into auto.jpg + decode: %8.2f ms each\n", 1000.0 * ours / rounds);
    std::printf("  plain libcurl into memory + decode: %8.2f ms each\n", 1000.0 * plain / rounds);
    std::printf("  ratio: %.2f\n", ours / plain);
    return 0;
}
