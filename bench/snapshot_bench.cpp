// The snapshot request against the least any program could do: a plain libcurl fetch into memory
// plus a decode. Both run against the simulated camera on loopback in the same process, so the
// ratio says what the request's own work (transfer thread, temporary file, fsync, rename, the
// hand-back to the window's thread) costs.
#include "camera/CameraLink.h"
#include "camera/CameraRequest.h"
#include "camera/LinkCache.h"
#include "fakecam/FakeCamera.h"
#include "fakecam/SnapshotRenderer.h"
#include "view/VarnekJPGView.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// One snapshot as the window takes it: through the link, continuing on this thread once it ended.
// The bench waits for that continuation in an event loop of its own.
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

// One run of `djpeg -outfile /dev/null file`, the whole decode of a frame by libjpeg's own tool.
void runDjpeg(const QByteArray& file)
{
    const char* argv[] = {"djpeg", "-outfile", "/dev/null", file.constData(), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0
        || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "djpeg failed (is libjpeg-turbo-progs installed?)\n");
        std::exit(1);
    }
}

// One paint of the view (decode of auto.jpg, stretch, caption) for a 1920 x 1080 frame in a view
// 1000 pixels wide, against djpeg of the same bytes.
void paintAgainstDjpeg(int rounds)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    fakecam::SnapshotView frame;
    frame.width = 1920;
    frame.height = 1080;
    frame.clock = QStringLiteral("2026-11-30 12:00:00");
    const QByteArray jpeg = fakecam::encodeJpeg(fakecam::renderSnapshot(frame));
    QFile file(dir.filePath(QStringLiteral("auto.jpg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
        std::abort();
    file.close();
    // A frame as small as a JPEG gets: what djpeg costs before it decodes anything.
    QFile tiny(dir.filePath(QStringLiteral("tiny.jpg")));
    const QByteArray tinyJpeg = fakecam::encodeJpeg(QImage(8, 8, QImage::Format_RGB32));
    if (!tiny.open(QIODevice::WriteOnly) || tiny.write(tinyJpeg) != tinyJpeg.size())
        std::abort();
    tiny.close();

    QObject document;
    CVarnekJPGView view;
    view.setDocument(&document);
    QImage canvas(1000, 800, QImage::Format_RGB32);
    const auto paint = [&] {
        QPainter painter(&canvas);
        view.OnDraw(painter, canvas.width());
    };
    const QByteArray path = QFile::encodeName(file.fileName());
    const QByteArray tinyPath = QFile::encodeName(tiny.fileName());
    // Taken in turns and compared by their medians, so that other work on the machine weighs on
    // both sides alike.
    std::vector<double> ours, djpeg, startUp;
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(secondsFor(1, paint));
        djpeg.push_back(secondsFor(1, [&] { runDjpeg(path); }));
        startUp.push_back(secondsFor(1, [&] { runDjpeg(tinyPath); }));
    }
    QDir::setCurrent(previous);

    const double paintMs = 1000.0 * median(ours), djpegMs = 1000.0 * median(djpeg), startUpMs = 1000.0 * median(startUp);
    std::printf("paint of a 1920x1080 picture (%lld bytes) in a view 1000 pixels wide, median of %d rounds\n",
                static_cast<long long>(jpeg.size()), rounds);
    std::printf("  view paint: %8.2f ms\n", paintMs);
    std::printf("  djpeg of the same file: %8.2f ms (of which %.2f ms start-up, as for an 8x8 file)\n", djpegMs,
                startUpMs);
    std::printf("  paint per full decode: %.2f (goal at most 0.40); against djpeg without its start-up %.2f\n",
                paintMs / djpegMs, paintMs / (djpegMs - startUpMs));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;

    paintAgainstDjpeg(rounds);

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
