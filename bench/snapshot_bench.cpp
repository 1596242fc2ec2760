// The snapshot request against the least any program could do: a plain libcurl fetch into memory
// plus a decode. Both run against the simulated camera on loopback in the same process, so the
// ratio says what the request's own work (worker thread, temporary file, fsync, rename) costs.
#include "camera/CameraRequest.h"
#include "camera/LinkCache.h"
#include "fakecam/FakeCamera.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

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
    const CameraSettings settings{QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"),
                                  QStringLiteral("pelto")};
    if (requestSnapshot(settings, autoJpg) != 0)
        std::abort();
    camera.clearRequests();
    for (int i = 0; i < pictures; ++i) {
        QFile::remove(autoJpg);
        if (requestSnapshot(settings, autoJpg) != 0)
            std::abort();
    }
    // The connection kept from the first picture is not new; clearRequests() forgot it.
    const auto seen = camera.requests();
    const int connections = camera.connections() - (!seen.empty() && seen.front().connection == 1 ? 1 : 0);
    std::printf("  %-6s requests per picture %.2f, new connections per picture %.2f (%d pictures)\n", name,
                double(seen.size()) / pictures, double(connections) / pictures, pictures);
    clearLinkCache();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;

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
    const CameraSettings settings{QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"),
                                  QStringLiteral("pelto")};

    const double ours = secondsFor(rounds, [&] {
        QFile::remove(autoJpg);
        if (requestSnapshot(settings, autoJpg) != 0)
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
