// varnek-fakecam: the simulated camera as a program of its own, for the demo and for trying the
// program by hand. It serves on 127.0.0.1 until SIGINT or SIGTERM.

#include "fakecam/FakeCamera.h"

#include <QGuiApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void usage(std::FILE* out)
{
    std::fprintf(out,
                 "Usage: varnek-fakecam [options]\n"
                 "  --port N                  port on 127.0.0.1 (default 8765, 0 for any free port)\n"
                 "  --user NAME               user name (default admin)\n"
                 "  --password TEXT           password (default pelto)\n"
                 "  --digest                  Digest authentication instead of Basic\n"
                 "  --no-auth                 no authentication at all\n"
                 "  --size WxH                640x480, 1280x720 or 1920x1080 (default 640x480)\n"
                 "  --fault NAME              none, wrong-credentials, snapshot-404, drop, stall-before,\n"
                 "                            stall-mid, truncated-jpeg, not-jpeg, hostile-listing,\n"
                 "                            never-answer, trickle, drop-after-headers\n"
                 "  --stall-seconds N         length of the stall faults (default 10)\n"
                 "  --recording-size BYTES    size of every recording, a clip of the scene in the camera's\n"
                 "                            layout repeated to fill it (default 1048576)\n"
                 "  --cert FILE --key FILE    serve HTTPS with this PEM certificate and key\n");
}

bool parseNumber(const char* text, unsigned long long max, unsigned long long& value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || text[0] == '-' || v > max)
        return false;
    value = v;
    return true;
}

bool parseFault(const std::string& name, fakecam::Fault& fault)
{
    using fakecam::Fault;
    static const std::pair<const char*, Fault> names[] = {
        {"none", Fault::None},
        {"wrong-credentials", Fault::WrongCredentials},
        {"snapshot-404", Fault::SnapshotNotFound},
        {"drop", Fault::DropMidBody},
        {"stall-before", Fault::StallBeforeAnswer},
        {"stall-mid", Fault::StallMidBody},
        {"truncated-jpeg", Fault::TruncatedJpeg},
        {"not-jpeg", Fault::NotJpeg},
        {"hostile-listing", Fault::HostileListing},
        {"never-answer", Fault::NeverAnswer},
        {"trickle", Fault::Trickle},
        {"drop-after-headers", Fault::DropAfterHeaders},
    };
    for (const auto& [text, value] : names) {
        if (name == text) {
            fault = value;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    fakecam::Options options;
    options.port = 8765;
    // Like a real camera, the stand-alone one keeps connections open between requests.
    options.keepAlive = true;
    options.maxRecords = 1000;
    fakecam::Fault fault = fakecam::Fault::None;
    unsigned long long stallSeconds = 10;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (!value) {
                std::fprintf(stderr, "varnek-fakecam: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            ++i;
            return std::string(value);
        };
        unsigned long long number = 0;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--port") {
            if (!parseNumber(needValue().c_str(), 65535, number)) {
                std::fprintf(stderr, "varnek-fakecam: --port wants a number from 0 to 65535\n");
                return 2;
            }
            options.port = static_cast<int>(number);
        } else if (arg == "--user") {
            options.user = needValue();
        } else if (arg == "--password") {
            options.password = needValue();
        } else if (arg == "--digest") {
            options.auth = fakecam::AuthMode::Digest;
        } else if (arg == "--no-auth") {
            options.auth = fakecam::AuthMode::None;
        } else if (arg == "--size") {
            const std::string size = needValue();
            if (size == "640x480") {
                options.width = 640;
                options.height = 480;
            } else if (size == "1280x720") {
                options.width = 1280;
                options.height = 720;
            } else if (size == "1920x1080") {
                options.width = 1920;
                options.height = 1080;
            } else {
                std::fprintf(stderr, "varnek-fakecam: --size is 640x480, 1280x720 or 1920x1080\n");
                return 2;
            }
        } else if (arg == "--fault") {
            if (!parseFault(needValue(), fault)) {
                std::fprintf(stderr, "varnek-fakecam: unknown fault (see --help)\n");
                return 2;
            }
        } else if (arg == "--stall-seconds") {
            if (!parseNumber(needValue().c_str(), 86400, stallSeconds)) {
                std::fprintf(stderr, "varnek-fakecam: --stall-seconds wants a number of seconds\n");
                return 2;
            }
        } else if (arg == "--recording-size") {
            if (!parseNumber(needValue().c_str(), 1ULL << 40, number)) {
                std::fprintf(stderr, "varnek-fakecam: --recording-size wants a number of bytes\n");
                return 2;
            }
            options.recordingSize = number;
        } else if (arg == "--cert") {
            options.certFile = needValue();
        } else if (arg == "--key") {
            options.keyFile = needValue();
        } else {
            std::fprintf(stderr, "varnek-fakecam: unknown option %s\n", arg.c_str());
            usage(stderr);
            return 2;
        }
    }
    if (options.certFile.empty() != options.keyFile.empty()) {
        std::fprintf(stderr, "varnek-fakecam: --cert and --key go together\n");
        return 2;
    }

    // Every thread started from here on inherits the blocked signals, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The picture is drawn off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    fakecam::FakeCamera camera(options);
    camera.setFault(fault, static_cast<int>(stallSeconds));
    if (!camera.start()) {
        std::fprintf(stderr, "varnek-fakecam: cannot serve on 127.0.0.1 port %d%s\n", options.port,
                     camera.tls() ? " (or the certificate and key cannot be loaded)" : "");
        return 1;
    }
    std::printf("%s\n", camera.snapshotUrl().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    camera.stop();
    return 0;
}
