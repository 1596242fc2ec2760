// The snapshot request against the least any program could do: a plain libcurl fetch into memory
// plus a decode. Both run against the simulated camera on loopback in the same process, so the
// ratio says what the request's own work (worker thread, temporary file, fsync, rename) costs.
#include "camera/CameraRequest.h"
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    fakecam::Options options;
    options.width = 1280;
    options.height = 720;
    options.auth = fakecam::AuthMode::Basic;
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
        if (fetchSnapshot(settings, autoJpg) != 0)
            std::abort();
        QImageReader reader(autoJpg);
        if (reader.read().isNull())
            std::abort();
    });

    curl_global_init(CURL_GLOBAL_DEFAULT);
    const double plain = secondsFor(rounds, [&] {
        std::string body;
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, camera.snapshotUrl().c_str());
        curl_easy_setopt(curl, CURLOPT_USERNAME, "admin");
        curl_easy_setopt(curl, CURLOPT_PASSWORD, "pelto");
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, toString);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(curl) != CURLE_OK)
            std::abort();
        curl_easy_cleanup(curl);
        QImage image;
        if (!image.loadFromData(reinterpret_cast<const uchar*>(body.data()), static_cast<int>(body.size())))
            std::abort();
    });

    std::printf("snapshot cycle, %d rounds of a 1280x720 picture\n", rounds);
    std::printf("  request into auto.jpg + decode: %8.2f ms each\n", 1000.0 * ours / rounds);
    std::printf("  plain libcurl into memory + decode: %8.2f ms each\n", 1000.0 * plain / rounds);
    std::printf("  ratio: %.2f\n", ours / plain);
    return 0;
}
