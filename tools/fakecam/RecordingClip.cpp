#include "fakecam/RecordingClip.h"
#include "fakecam/SnapshotRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

namespace fakecam {

namespace {

void putLe32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void setLe32(char* out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::vector<std::string> splitAnnexB(const unsigned char* p, std::size_t n)
{
    // Each unit starts at its start code, with the leading zero of a four-byte one.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + 3 <= n; ++i) {
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1) {
            starts.push_back(i > 0 && p[i - 1] == 0 ? i - 1 : i);
            i += 2;
        }
    }
    std::vector<std::string> nals;
    for (std::size_t k = 0; k < starts.size(); ++k)
        nals.emplace_back(reinterpret_cast<const char*>(p + starts[k]), (k + 1 < starts.size() ? starts[k + 1] : n) - starts[k]);
    return nals;
}

struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};

} // namespace

std::vector<CodedPicture> encodeVideo(const std::vector<QImage>& pictures, int fps, int keyInterval, const char* encoder)
{
    std::vector<CodedPicture> out;
    if (pictures.empty())
        return out;
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
    if (!codec)
        return out;
    std::unique_ptr<AVCodecContext, CodecFree> ctx(avcodec_alloc_context3(codec));
    const int width = pictures.front().width() & ~1;
    const int height = pictures.front().height() & ~1;
    ctx->width = width;
    ctx->height = height;
    ctx->time_base = AVRational{1, fps};
    ctx->framerate = AVRational{fps, 1};
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->gop_size = keyInterval;
    ctx->max_b_frames = 0;
    ctx->thread_count = 1; // one slice per picture
    av_opt_set(ctx->priv_data, "preset", "veryfast", 0);
    av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
    av_opt_set(ctx->priv_data, "x264-params", "scenecut=0", 0);
    av_opt_set(ctx->priv_data, "x265-params", "bframes=0:scenecut=0:log-level=error", 0);
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return out;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    auto drain = [&] {
        while (avcodec_receive_packet(ctx.get(), packet) >= 0) {
            out.push_back({splitAnnexB(packet->data, std::size_t(packet->size)), (packet->flags & AV_PKT_FLAG_KEY) != 0});
            av_packet_unref(packet);
        }
    };
    std::int64_t pts = 0;
    for (const QImage& picture : pictures) {
        av_frame_make_writable(frame);
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
                frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>((66 * r + 129 * g + 25 * b + 128) / 256 + 16);
                if ((x | y) & 1)
                    continue;
                frame->data[1][y / 2 * frame->linesize[1] + x / 2] = static_cast<uint8_t>((-38 * r - 74 * g + 112 * b + 128) / 256 + 128);
                frame->data[2][y / 2 * frame->linesize[2] + x / 2] = static_cast<uint8_t>((112 * r - 94 * g - 18 * b + 128) / 256 + 128);
            }
        }
        frame->pts = pts++;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        if (avcodec_send_frame(ctx.get(), frame) >= 0)
            drain();
    }
    avcodec_send_frame(ctx.get(), nullptr);
    drain();
    av_packet_free(&packet);
    av_frame_free(&frame);
    return out;
}

unsigned char alawFromLinear(int sample)
{
    static const int segmentEnd[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
    int value = std::clamp(sample, -32768, 32767) >> 3;
    int mask = 0xD5;
    if (value < 0) {
        mask = 0x55;
        value = -value - 1;
    }
    int segment = 0;
    while (segment < 8 && value > segmentEnd[segment])
        ++segment;
    if (segment >= 8)
        return static_cast<unsigned char>(0x7F ^ mask);
    int a = segment << 4;
    a |= (segment < 2 ? value >> 1 : value >> segment) & 0x0F;
    return static_cast<unsigned char>(a ^ mask);
}

RecordingWriter::RecordingWriter(int width, int height, const char* tag)
{
    if (!*tag)
        return;
    bytes.append(tag, 4);
    putLe32(bytes, std::uint32_t(width));
    putLe32(bytes, std::uint32_t(height));
    putLe32(bytes, 0);
}

void RecordingWriter::block(const char* tag, const std::string& data, std::uint32_t time, std::uint32_t flags)
{
    blocks.push_back(bytes.size());
    bytes.append(tag, 4);
    putLe32(bytes, std::uint32_t(data.size()));
    putLe32(bytes, time);
    putLe32(bytes, flags);
    bytes += data;
}

void RecordingWriter::video(const std::string& nal, std::uint32_t time, bool key)
{
    block("HXVF", nal, time, key ? 1 : 0);
}

void RecordingWriter::audio(const std::string& alaw, std::uint32_t time)
{
    block("HXAF", std::string("\x00\x00\x01\xC0", 4) + alaw, time, 0);
}

void RecordingWriter::index(std::uint32_t durationMs, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& keys,
                            std::size_t tableBytes)
{
    std::string table;
    for (const auto& [offset, time] : keys) {
        putLe32(table, offset);
        putLe32(table, time);
    }
    table.resize(std::max(tableBytes, table.size() + 8), '\0');
    block("HXFI", table, durationMs, 0);
}

namespace {

// One pass of the scene, laid out as blocks without the file header, ready to be repeated.
struct Clip {
    std::string header;
    std::string period;
    std::vector<std::pair<std::size_t, std::uint32_t>> times; // time field in the period, its time
    std::vector<std::pair<std::size_t, std::uint32_t>> keys;  // key picture's first block, its time
    std::uint32_t periodMs = 0;
};

Clip makeClip(int width, int height)
{
    std::vector<QImage> pictures;
    for (int i = 0; i < kClipPictures; ++i) {
        SnapshotView view;
        view.width = width;
        view.height = height;
        // There and back, so that the clip repeats without a jump.
        const int half = kClipPictures / 2;
        view.pan = 8 * (i < half ? i : kClipPictures - i) - 40;
        view.frame = std::uint64_t(i);
        view.clock = QStringLiteral("2026-12-01 12:00:%1").arg(i / kClipFps, 2, 10, QLatin1Char('0'));
        pictures.push_back(renderSnapshot(view));
    }
    const std::vector<CodedPicture> coded = encodeVideo(pictures, kClipFps, kClipPictures);
    Clip clip;
    clip.header = RecordingWriter(width, height).bytes;
    RecordingWriter writer(width, height, "");
    const std::uint32_t stepMs = 1000 / kClipFps;
    const int samples = 8000 / kClipFps;
    for (std::size_t i = 0; i < coded.size(); ++i) {
        const std::uint32_t time = std::uint32_t(i) * stepMs;
        if (coded[i].key)
            clip.keys.emplace_back(writer.bytes.size(), time);
        for (const std::string& nal : coded[i].nals)
            writer.video(nal, time, coded[i].key);
        // A quiet 440 Hz tone: a whole number of cycles per clip, so it repeats without a click.
        std::string alaw;
        for (int s = 0; s < samples; ++s)
            alaw.push_back(char(alawFromLinear(int(3000 * std::sin(2 * M_PI * 440 * (int(i) * samples + s) / 8000.0)))));
        writer.audio(alaw, time);
    }
    for (std::size_t offset : writer.blocks) {
        const auto* stamp = reinterpret_cast<const unsigned char*>(writer.bytes.data() + offset + 8);
        clip.times.emplace_back(offset + 8, std::uint32_t(stamp[0] | stamp[1] << 8 | stamp[2] << 16 | std::uint32_t(stamp[3]) << 24));
    }
    clip.period = std::move(writer.bytes);
    clip.periodMs = std::uint32_t(coded.size()) * stepMs;
    return clip;
}

const Clip& clipFor(int width, int height)
{
    static std::mutex mutex;
    static std::map<std::pair<int, int>, std::unique_ptr<Clip>> clips;
    std::lock_guard lock(mutex);
    auto& clip = clips[{width, height}];
    if (!clip)
        clip = std::make_unique<Clip>(makeClip(width, height));
    return *clip;
}

} // namespace

void prepareClip(int width, int height)
{
    clipFor(width, height);
}

std::string clipRecordingBytes(std::uint64_t seed, std::uint64_t offset, std::uint64_t length, std::uint64_t size,
                               int width, int height)
{
    const Clip& clip = clipFor(width, height);
    if (size == 0)
        size = offset + length;
    std::string out(static_cast<std::size_t>(length), '\0');
    const std::uint64_t headerBytes = clip.header.size();
    const std::uint64_t periodBytes = clip.period.size();
    const std::uint64_t keysPerPeriod = clip.keys.size();
    // As many passes as leave room for the index and its table; a recording too small for one
    // pass is the scene cut short, without an index, as a camera that lost power leaves it.
    std::uint64_t passes = 0;
    if (periodBytes > 0 && size >= headerBytes + 16 + 8)
        passes = (size - headerBytes - 16 - 8) / (periodBytes + 8 * keysPerPeriod);
    const std::uint64_t streamEnd = passes > 0 ? headerBytes + passes * periodBytes : size;
    const std::uint32_t base = std::uint32_t(seed % 1000000000u);

    const std::uint64_t end = offset + length;
    std::uint64_t pos = offset;
    while (pos < std::min(end, streamEnd)) {
        char* dest = out.data() + (pos - offset);
        if (pos < headerBytes) {
            const std::uint64_t n = std::min(headerBytes, std::min(end, streamEnd)) - pos;
            std::memcpy(dest, clip.header.data() + pos, n);
            pos += n;
            continue;
        }
        if (periodBytes == 0)
            break;
        const std::uint64_t pass = (pos - headerBytes) / periodBytes;
        const std::uint64_t in = (pos - headerBytes) % periodBytes;
        const std::uint64_t n = std::min(periodBytes - in, std::min(end, streamEnd) - pos);
        std::memcpy(dest, clip.period.data() + in, n);
        for (const auto& [field, time] : clip.times) {
            if (field + 4 <= in || field >= in + n)
                continue;
            char stamp[4];
            setLe32(stamp, base + std::uint32_t(pass) * clip.periodMs + time);
            for (std::uint64_t b = 0; b < 4; ++b) {
                if (field + b >= in && field + b < in + n)
                    dest[field + b - in] = stamp[b];
            }
        }
        pos += n;
    }
    if (passes > 0 && end > streamEnd) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> keys;
        for (std::uint64_t pass = 0; pass < passes; ++pass) {
            for (const auto& [at, time] : clip.keys)
                keys.emplace_back(std::uint32_t(headerBytes + pass * periodBytes + at), std::uint32_t(pass) * clip.periodMs + time);
        }
        RecordingWriter writer(0, 0, "");
        writer.index(std::uint32_t(passes) * clip.periodMs, keys, std::size_t(size - streamEnd - 16));
        const std::uint64_t from = std::max(offset, streamEnd);
        std::memcpy(out.data() + (from - offset), writer.bytes.data() + (from - streamEnd), end - from);
    }
    return out;
}

} // namespace fakecam
