// Converting a long recording to MP4: a 1 GB recording at a camera's usual rate (4 Mbit/s: the
// scene's pictures at 10 a second, each padded to 50 kB with filler units, and 8 kHz A-law sound)
// against a plain copy of the same file into the same folder (read, write, flush to the disk).
// Both start with the recording out of the page cache. Prints both times, their ratio (goal: at
// most 1.5) and how much the resident memory grows during the conversion (goal: under 50 MB).
#include "ResidentMemory.h"
#include "fakecam/RecordingClip.h"
#include "fakecam/SnapshotRenderer.h"
#include "recording/RecordingConverter.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Flushes a file and drops it from the page cache, so the next reader finds it on the disk.
void evict(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY);
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

void setLe32(std::string& bytes, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = char(v >> (8 * i));
}

// One pass of the scene at 4 Mbit/s, laid out as blocks.
fakecam::RecordingWriter period(int width, int height)
{
    std::vector<QImage> pictures;
    for (int i = 0; i < fakecam::kClipPictures; ++i) {
        fakecam::SnapshotView view;
        view.width = width;
        view.height = height;
        view.pan = 8 * i;
        pictures.push_back(fakecam::renderSnapshot(view));
    }
    fakecam::RecordingWriter writer(width, height, "");
    const auto coded = fakecam::encodeVideo(pictures, fakecam::kClipFps, fakecam::kClipPictures);
    for (std::size_t i = 0; i < coded.size(); ++i) {
        const std::uint32_t time = std::uint32_t(i) * 100;
        std::size_t bytes = 0;
        for (const std::string& nal : coded[i].nals) {
            writer.video(nal, time, coded[i].key);
            bytes += nal.size();
        }
        if (bytes + 6 < 50000)
            writer.video(std::string("\0\0\0\1\x0C", 5) + std::string(50000 - bytes - 6, '\xFF') + '\x80', time, false);
        std::string alaw;
        for (int s = 0; s < 800; ++s)
            alaw.push_back(char(fakecam::alawFromLinear(int(4000 * std::sin(s * 0.3)))));
        writer.audio(alaw, time);
    }
    return writer;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // fonts for the scene
    const std::uint64_t target = argc > 1 ? std::stoull(argv[1]) << 20 : 1ull << 30;
    QTemporaryDir folder(QDir::currentPath() + "/recording-bench-XXXXXX");
    const QByteArray source = QFile::encodeName(folder.filePath("P261201_120000_120500.264"));
    const QByteArray copy = QFile::encodeName(folder.filePath("copy.264"));

    const fakecam::RecordingWriter pass = period(1280, 720);
    std::FILE* out = std::fopen(source.constData(), "wb");
    const std::string header = fakecam::RecordingWriter(1280, 720).bytes;
    std::fwrite(header.data(), 1, header.size(), out);
    std::uint64_t written = header.size();
    std::string bytes = pass.bytes;
    std::uint32_t passes = 0;
    for (; written + bytes.size() + 200016 <= target; ++passes) {
        for (std::size_t at : pass.blocks)
            setLe32(bytes, at + 8, passes * 2000 + (std::uint8_t(pass.bytes[at + 8]) | std::uint8_t(pass.bytes[at + 9]) << 8));
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        written += bytes.size();
    }
    fakecam::RecordingWriter index(0, 0, "");
    index.index(passes * 2000, {});
    std::fwrite(index.bytes.data(), 1, index.bytes.size(), out);
    std::fclose(out);
    const double megabytes = double(written + index.bytes.size()) / (1 << 20);
    std::printf("recording: %.0f MB, %u s of 1280x720 video at 10 pictures a second with 8 kHz sound\n", megabytes,
                passes * 2);

    evict(source);
    auto start = Clock::now();
    {
        const int in = ::open(source.constData(), O_RDONLY);
        const int to = ::open(copy.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char> buffer(1 << 20);
        for (ssize_t n; (n = ::read(in, buffer.data(), buffer.size())) > 0;)
            if (::write(to, buffer.data(), size_t(n)) != n)
                return 1;
        ::fsync(to);
        ::close(to);
        ::close(in);
    }
    const double copySeconds = std::chrono::duration<double>(Clock::now() - start).count();
    ::unlink(copy.constData());

    evict(source);
    const long before = residentKb();
    std::atomic<bool> done{false};
    long peak = before;
    std::thread sampler([&] {
        while (!done.load()) {
            peak = std::max(peak, residentKb());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    start = Clock::now();
    const ConversionResult result = convertRecording(source);
    const double convertSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    done.store(true);
    sampler.join();
    if (result.status != ConversionResult::Converted) {
        std::printf("conversion failed: %s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("plain copy:  %.2f s (%.0f MB/s)\n", copySeconds, megabytes / copySeconds);
    std::printf("conversion:  %.2f s, %d pictures, %lld sound samples\n", convertSeconds, result.videoFrames,
                static_cast<long long>(result.audioSamples));
    std::printf("ratio %.2f (goal: at most 1.5), resident memory grew by %.1f MB (goal: under 50 MB)\n",
                convertSeconds / copySeconds, double(peak - before) / 1024);
    return 0;
}
