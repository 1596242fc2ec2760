#include "recording/RecordingConverter.h"

#include "camera/Transfer.h"


#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

using namespace recording;

namespace {

constexpr int kAudioRate = 8000;
constexpr int kSamplesPerMs = kAudioRate / 1000;
// Sound waiting for the encoder: 30 s.
constexpr std::size_t kMaxSoundBacklog = 30 * kAudioRate;
// How far the start is searched for the first picture's parameter sets and for audio.
constexpr int kLookaheadBlocks = 512;
// A stream's parameter sets take a few dozen bytes; more is not a camera's.
constexpr qsizetype kMaxParameterSetBytes = 64 << 10;
// A picture's pieces together; beyond this the recording is not a camera's.
constexpr qsizetype kMaxPictureBytes = 64 << 20;
// Pages of the recording already converted are handed back in steps of this size, so a long
// recording does not stay resident.
constexpr qsizetype kReleaseStep = 8 << 20;

// G.711 A-law to linear, as the standard gives it.
float alawSample(unsigned char a)
{
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    t += segment == 0 ? 8 : 0x108;
    if (segment > 1)
        t <<= segment - 1;
    return float((a & 0x80) ? t : -t) / 32768.0f;
}

// Calls f(type, nalWithStartCode) for every NAL unit of Annex-B data.
template <typename F>
void forEachNal(QByteArrayView data, VideoCodec codec, F&& f)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const qsizetype n = data.size();
    auto startAt = [&](qsizetype i) { return i + 2 < n && p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1; };
    qsizetype i = 0;
    while (i < n && !startAt(i))
        ++i;
    while (i < n) {
        qsizetype begin = i; // the start code, with a leading zero when there is one
        if (begin > 0 && p[begin - 1] == 0)
            --begin;
        qsizetype j = i + 3;
        while (j < n && !startAt(j))
            ++j;
        qsizetype end = j;
        if (j < n && end > i + 3 && p[end - 1] == 0)
            --end;
        if (i + 3 < n) {
            const int type = codec == VideoCodec::H264 ? (p[i + 3] & 0x1F) : ((p[i + 3] >> 1) & 0x3F);
            f(type, data.sliced(begin, end - begin));
        }
        i = j;
    }
}

bool isParameterSet(VideoCodec codec, int type)
{
    return codec == VideoCodec::H264 ? (type == 7 || type == 8) : (type >= 32 && type <= 34);
}

bool isSlice(VideoCodec codec, int type)
{
    return codec == VideoCodec::H264 ? (type >= 1 && type <= 5) : type <= 31;
}

bool isRandomAccess(VideoCodec codec, int type)
{
    return codec == VideoCodec::H264 ? type == 5 : (type >= 16 && type <= 23);
}

// What the first blocks tell before the MP4 can be started.
struct Start {
    std::optional<std::uint32_t> videoTime;
    std::optional<std::uint32_t> audioTime;
    QByteArray parameterSets; // of the first picture, Annex-B
};

Start lookAhead(QByteArrayView file, VideoCodec codec)
{
    Start start;
    BlockCursor cursor(file);
    Block block;
    for (int i = 0; i < kLookaheadBlocks && cursor.next(block); ++i) {
        if (block.kind == BlockKind::Audio) {
            if (!start.audioTime)
                start.audioTime = block.time;
        } else if (!start.videoTime || *start.videoTime == block.time) {
            start.videoTime = block.time;
            forEachNal(block.data, codec, [&](int type, QByteArrayView nal) {
                if (isParameterSet(codec, type) && start.parameterSets.size() + nal.size() <= kMaxParameterSetBytes)
                    start.parameterSets += nal.toByteArray();
            });
        } else if (start.audioTime) {
            break;
        }
    }
    return start;
}

QString avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

struct FormatDeleter {
    void operator()(AVFormatContext* oc) const
    {
        if (oc->pb)
            avio_closep(&oc->pb);
        avformat_free_context(oc);
    }
};
struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};

// One conversion: the mapped recording in, the temporary MP4 out.
class Converter {
public:
    Converter(QByteArrayView file, FileHeader header, const std::atomic<bool>* cancel)
        : m_file(file), m_header(header), m_cancel(cancel)
    {
    }

    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    ConversionResult run(const QByteArray& tempPath);

private:
    bool open(const QByteArray& tempPath, const Start& start);
    bool addPicture(std::uint32_t time);
    bool writeVideo(std::uint32_t duration);
    bool addAudio(QByteArrayView alaw);
    void encodeSound();
    bool encodeAudio(std::vector<float>& samples, bool flush, std::vector<AVPacket*>& packets);
    bool writeAudio(bool last);
    bool fail(const QString& what, int code = 0)
    {
        m_result.status = ConversionResult::Failed;
        m_result.error = code ? what + QStringLiteral(": ") + avError(code) : what;
        return false;
    }
    void releaseBefore(qsizetype offset);

    QByteArrayView m_file;
    FileHeader m_header;
    const std::atomic<bool>* m_cancel;
    ConversionResult m_result;

    std::unique_ptr<AVFormatContext, FormatDeleter> m_out;
    std::unique_ptr<AVCodecContext, CodecDeleter> m_aac;
    std::unique_ptr<AVPacket, PacketDeleter> m_pending{av_packet_alloc()}; // the last picture, held for its duration
    std::unique_ptr<AVPacket, PacketDeleter> m_packet{av_packet_alloc()};
    std::unique_ptr<AVFrame, FrameDeleter> m_frame{av_frame_alloc()};
    AVStream* m_video = nullptr;
    AVStream* m_audio = nullptr;
    std::uint32_t m_firstVideoTime = 0;
    std::optional<std::uint32_t> m_pendingTime;
    std::uint32_t m_lastDuration = 0;

    std::vector<QByteArrayView> m_pieces; // of the picture being gathered
    qsizetype m_pictureBytes = 0;
    bool m_pictureKey = false;
    bool m_pictureHasSlice = false;
    std::uint32_t m_pictureTime = 0;

    // The sound is encoded on a thread of its own while the video is copied, so a long
    // recording's sound costs no time beyond the copy's. The writer takes the finished frames.
    std::thread m_audioThread;
    std::mutex m_audioMutex;
    std::condition_variable m_audioWake;
    std::condition_variable m_audioRoom;
    std::vector<float> m_audioIn;
    std::vector<AVPacket*> m_audioOut;
    bool m_audioEnded = false;
    bool m_audioFailed = false;
    std::int64_t m_audioPts = 0; // the encoder thread's
    qsizetype m_released = 0;
};

bool Converter::open(const QByteArray& tempPath, const Start& start)
{
    AVFormatContext* oc = nullptr;
    int rc = avformat_alloc_output_context2(&oc, nullptr, "mp4", nullptr);
    if (rc < 0 || !oc)
        return fail(QStringLiteral("no MP4 writer"), rc);
    m_out.reset(oc);

    m_video = avformat_new_stream(oc, nullptr);
    if (!m_video)
        return fail(QStringLiteral("no video track"));
    AVCodecParameters* par = m_video->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = m_header.codec == VideoCodec::H264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_HEVC;
    // The header's size is only a hint for the track header; players take the stream's own.
    if (m_header.width > 0 && m_header.width <= 16384 && m_header.height > 0 && m_header.height <= 16384) {
        par->width = int(m_header.width);
        par->height = int(m_header.height);
    }
    par->extradata = static_cast<uint8_t*>(av_mallocz(size_t(start.parameterSets.size()) + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!par->extradata)
        return fail(QStringLiteral("out of memory"));
    std::memcpy(par->extradata, start.parameterSets.constData(), size_t(start.parameterSets.size()));
    par->extradata_size = int(start.parameterSets.size());
    m_video->time_base = AVRational{1, 1000};

    if (start.audioTime) {
        const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!aac)
            return fail(QStringLiteral("no AAC encoder"));
        m_aac.reset(avcodec_alloc_context3(aac));
        if (!m_aac)
            return fail(QStringLiteral("out of memory"));
        m_aac->sample_rate = kAudioRate;
        av_channel_layout_default(&m_aac->ch_layout, 1);
        m_aac->sample_fmt = AV_SAMPLE_FMT_FLTP;
        m_aac->bit_rate = 32000;
        m_aac->time_base = AVRational{1, kAudioRate};
        m_aac->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        // The fast coder: a camera's 8 kHz voice channel gains nothing from the slower searches,
        // and a long recording's sound would take longer to encode than its video to copy.
        av_opt_set(m_aac->priv_data, "aac_coder", "fast", 0);
        if ((rc = avcodec_open2(m_aac.get(), aac, nullptr)) < 0)
            return fail(QStringLiteral("AAC encoder"), rc);
        m_audio = avformat_new_stream(oc, nullptr);
        if (!m_audio || avcodec_parameters_from_context(m_audio->codecpar, m_aac.get()) < 0)
            return fail(QStringLiteral("no audio track"));
        m_audio->time_base = m_aac->time_base;
        // The sound starts where its first block stands against the first picture.
        if (*start.audioTime > *start.videoTime)
            m_audioPts = std::int64_t(std::min(*start.audioTime - *start.videoTime, kMaxTimeStepMs)) * kSamplesPerMs;
    }
    if (m_aac)
        m_audioThread = std::thread([this] { encodeSound(); });
    if ((rc = avio_open(&oc->pb, ("file:" + tempPath).constData(), AVIO_FLAG_WRITE)) < 0)
        return fail(QStringLiteral("cannot write the MP4"), rc);
    if ((rc = avformat_write_header(oc, nullptr)) < 0)
        return fail(QStringLiteral("cannot start the MP4"), rc);
    m_firstVideoTime = *start.videoTime;
    return true;
}

// The picture gathered so far becomes the pending packet; the one pending before it is written
// with its duration up to this one.
bool Converter::addPicture(std::uint32_t time)
{
    if (!m_pictureHasSlice) { // parameter sets alone are no picture
        m_pieces.clear();
        m_pictureBytes = 0;
        return true;
    }
    if (m_pendingTime && !writeVideo(time - *m_pendingTime))
        return false;
    av_packet_unref(m_pending.get());
    if (av_new_packet(m_pending.get(), int(m_pictureBytes)) < 0)
        return fail(QStringLiteral("out of memory"));
    uint8_t* out = m_pending->data;
    for (QByteArrayView piece : m_pieces) {
        std::memcpy(out, piece.data(), size_t(piece.size()));
        out += piece.size();
    }
    m_pending->pts = m_pending->dts = m_pictureTime - m_firstVideoTime;
    if (m_pictureKey)
        m_pending->flags |= AV_PKT_FLAG_KEY;
    m_pendingTime = m_pictureTime;
    m_pieces.clear();
    m_pictureBytes = 0;
    m_pictureKey = false;
    m_pictureHasSlice = false;
    return true;
}

bool Converter::writeVideo(std::uint32_t duration)
{
    m_lastDuration = duration;
    m_pending->duration = duration;
    m_pending->stream_index = m_video->index;
    av_packet_rescale_ts(m_pending.get(), AVRational{1, 1000}, m_video->time_base);
    const int rc = av_interleaved_write_frame(m_out.get(), m_pending.get());
    ++m_result.videoFrames;
    m_pendingTime.reset();
    return rc >= 0 || fail(QStringLiteral("cannot write the MP4"), rc);
}

bool Converter::addAudio(QByteArrayView alaw)
{
    if (!m_aac || alaw.size() <= kAudioPrefix)
        return true;
    std::vector<float> samples;
    samples.reserve(std::size_t(alaw.size() - kAudioPrefix));
    for (char c : alaw.sliced(kAudioPrefix))
        samples.push_back(alawSample(static_cast<unsigned char>(c)));
    m_result.audioSamples += alaw.size() - kAudioPrefix;
    std::unique_lock lock(m_audioMutex);
    // A bounded backlog: the reader waits for the encoder rather than hold a long recording's sound.
    m_audioRoom.wait(lock, [&] { return m_audioIn.size() < kMaxSoundBacklog || m_audioFailed; });
    m_audioIn.insert(m_audioIn.end(), samples.begin(), samples.end());
    m_audioWake.notify_one();
    return !m_audioFailed || fail(QStringLiteral("AAC encoder"));
}

// The encoder's thread: whole AAC frames of what has come in, the rest at the end.
void Converter::encodeSound()
{
    std::vector<float> samples;
    std::vector<AVPacket*> packets;
    std::unique_lock lock(m_audioMutex);
    for (bool ok = true; ok;) {
        m_audioWake.wait(lock, [&] { return !m_audioIn.empty() || m_audioEnded; });
        const bool last = m_audioEnded;
        samples.insert(samples.end(), m_audioIn.begin(), m_audioIn.end());
        m_audioIn.clear();
        m_audioRoom.notify_one();
        lock.unlock();
        ok = encodeAudio(samples, last, packets);
        lock.lock();
        m_audioOut.insert(m_audioOut.end(), packets.begin(), packets.end());
        packets.clear();
        m_audioFailed = m_audioFailed || !ok;
        m_audioRoom.notify_one();
        if (last)
            break;
    }
}

bool Converter::encodeAudio(std::vector<float>& samples, bool flush, std::vector<AVPacket*>& packets)
{
    const std::size_t frameSize = std::size_t(m_aac->frame_size);
    std::size_t used = 0;
    auto drain = [&] {
        int rc;
        while ((rc = avcodec_receive_packet(m_aac.get(), m_packet.get())) >= 0) {
            packets.push_back(av_packet_alloc());
            av_packet_move_ref(packets.back(), m_packet.get());
        }
        return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF;
    };
    while (samples.size() - used >= frameSize || (flush && used < samples.size())) {
        const std::size_t n = std::min(frameSize, samples.size() - used);
        av_frame_unref(m_frame.get());
        m_frame->nb_samples = int(n);
        m_frame->format = AV_SAMPLE_FMT_FLTP;
        m_frame->sample_rate = kAudioRate;
        av_channel_layout_copy(&m_frame->ch_layout, &m_aac->ch_layout);
        if (av_frame_get_buffer(m_frame.get(), 0) < 0)
            return false;
        std::memcpy(m_frame->data[0], samples.data() + used, n * sizeof(float));
        m_frame->pts = m_audioPts;
        m_audioPts += std::int64_t(n);
        used += n;
        if (avcodec_send_frame(m_aac.get(), m_frame.get()) < 0 || !drain())
            return false;
    }
    samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(used));
    return !flush || (avcodec_send_frame(m_aac.get(), nullptr) >= 0 && drain());
}

// Writes the AAC frames the encoder has finished; with `last`, waits for the encoder to end first.
bool Converter::writeAudio(bool last)
{
    if (!m_aac)
        return true;
    if (last) {
        {
            std::lock_guard lock(m_audioMutex);
            m_audioEnded = true;
        }
        m_audioWake.notify_one();
        m_audioThread.join();
    }
    std::vector<AVPacket*> packets;
    {
        std::lock_guard lock(m_audioMutex);
        packets.swap(m_audioOut);
        if (m_audioFailed)
            return fail(QStringLiteral("AAC encoder"));
    }
    int rc = 0;
    for (AVPacket* packet : packets) {
        packet->stream_index = m_audio->index;
        av_packet_rescale_ts(packet, m_aac->time_base, m_audio->time_base);
        if (rc >= 0)
            rc = av_interleaved_write_frame(m_out.get(), packet);
        av_packet_free(&packet);
    }
    return rc >= 0 || fail(QStringLiteral("cannot write the MP4"), rc);
}

Converter::~Converter()
{
    if (m_audioThread.joinable()) {
        {
            std::lock_guard lock(m_audioMutex);
            m_audioEnded = true;
        }
        m_audioWake.notify_one();
        m_audioThread.join();
    }
    for (AVPacket* packet : m_audioOut)
        av_packet_free(&packet);
}

void Converter::releaseBefore(qsizetype offset)
{
    const qsizetype page = qsizetype(::sysconf(_SC_PAGESIZE));
    const qsizetype end = offset / page * page;
    if (end - m_released < kReleaseStep)
        return;
    ::madvise(const_cast<char*>(m_file.data()) + m_released, size_t(end - m_released), MADV_DONTNEED);
    m_released = end;
}

ConversionResult Converter::run(const QByteArray& tempPath)
{
    const Start start = lookAhead(m_file, m_header.codec);
    if (!start.videoTime) {
        fail(QStringLiteral("no video in the recording"));
        return m_result;
    }
    if (start.parameterSets.isEmpty()) {
        fail(QStringLiteral("the first picture has no parameter sets"));
        return m_result;
    }
    if (!open(tempPath, start))
        return m_result;

    BlockCursor cursor(m_file);
    Block block;
    bool ok = true;
    while (ok && cursor.next(block)) {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
            m_result.status = ConversionResult::Cancelled;
            return m_result;
        }
        if (block.kind == BlockKind::Audio) {
            ok = addAudio(block.data);
            continue;
        }
        if (block.time < m_firstVideoTime)
            continue; // before the first picture: nothing to show it with
        if (!m_pieces.empty() && block.time != m_pictureTime) {
            ok = addPicture(block.time) && writeAudio(false);
            if (ok)
                releaseBefore(block.data.data() - m_file.data());
        }
        if (m_pictureBytes + block.data.size() > kMaxPictureBytes) {
            m_result.ending = Ending::TooLong;
            break;
        }
        m_pictureTime = block.time;
        m_pictureKey = m_pictureKey || (block.flags & 1);
        forEachNal(block.data, m_header.codec, [&](int type, QByteArrayView) {
            m_pictureKey = m_pictureKey || isRandomAccess(m_header.codec, type);
            m_pictureHasSlice = m_pictureHasSlice || isSlice(m_header.codec, type);
        });
        m_pieces.push_back(block.data);
        m_pictureBytes += block.data.size();
    }
    if (m_result.ending == Ending::Reading)
        m_result.ending = cursor.ending();
    // The last picture lasts as long as the one before it.
    ok = ok && addPicture(m_pictureTime);
    ok = ok && (!m_pendingTime || writeVideo(m_lastDuration));
    ok = ok && writeAudio(true);
    if (!ok)
        return m_result;
    if (m_result.videoFrames == 0) {
        fail(QStringLiteral("no whole picture in the recording"));
        return m_result;
    }
    int rc = av_write_trailer(m_out.get());
    if (rc < 0) {
        fail(QStringLiteral("cannot finish the MP4"), rc);
        return m_result;
    }
    rc = avio_closep(&m_out->pb);
    if (rc < 0) {
        fail(QStringLiteral("cannot write the MP4"), rc);
        return m_result;
    }
    m_result.status = ConversionResult::Converted;
    return m_result;
}

} // namespace

QByteArray mp4PathFor(const QByteArray& path264)
{
    const QByteArray lower = path264.right(4).toLower();
    const QByteArray stem = lower == ".264" || lower == ".265" ? path264.chopped(4) : path264;
    return stem + ".mp4";
}

ConversionResult convertRecording(const QByteArray& path264, const std::atomic<bool>* cancel)
{
    // The libraries' notes about their work are of no use to the user of a desktop program.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    ConversionResult result;
    result.mp4Path = mp4PathFor(path264);
    ::unlink(result.mp4Path.constData());

    // By the bytes of its name: a recording whose name is not UTF-8 is still its own file.
    const int sourceFd = ::open(path264.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (sourceFd < 0 || ::fstat(sourceFd, &info) != 0) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        if (sourceFd >= 0)
            ::close(sourceFd);
        return result;
    }
    const qint64 size = info.st_size;
    void* mapping = size >= kFileHeaderSize ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, sourceFd, 0) : MAP_FAILED;
    ::close(sourceFd);
    const std::unique_ptr<void, std::function<void(void*)>> unmap(mapping == MAP_FAILED ? nullptr : mapping,
                                                                  [size](void* p) { ::munmap(p, size_t(size)); });
    const auto* mapped = static_cast<const char*>(unmap.get());
    const QByteArrayView file(mapped, mapped ? size : 0);
    const std::optional<FileHeader> header = readFileHeader(file);
    if (!header) {
        result.status = ConversionResult::NotRecording;
        return result;
    }
    ::madvise(unmap.get(), size_t(size), MADV_SEQUENTIAL);

    // Named as the program's downloads are, so the start-up sweep of what a killed program left
    // behind takes a conversion's temporary file as well.
    QByteArray tempPath;
    const int fd = createTemporaryBeside(result.mp4Path, tempPath);
    if (fd < 0) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    Converter converter(file, *header, cancel);
    result = converter.run(tempPath);
    result.mp4Path = mp4PathFor(path264);
    // The MP4 takes its name only once it is whole on the disk.
    if (result.status == ConversionResult::Converted && (::fsync(fd) != 0 || ::rename(tempPath.constData(), result.mp4Path.constData()) != 0)) {
        result.status = ConversionResult::Failed;
        result.error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ::close(fd);
    if (result.status != ConversionResult::Converted)
        ::unlink(tempPath.constData());
    return result;
}
