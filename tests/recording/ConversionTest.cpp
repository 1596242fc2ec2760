// Recordings in the camera's layout made from a known H.264 stream (encoded here), converted to
// MP4 and decoded again: the pictures, their times, the sound, and what damage leaves of them.
#include "fakecam/RecordingClip.h"
#include "recording/RecordingConverter.h"
#include "support/TempFolder.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct Decoded {
    std::vector<std::uint64_t> pictures; // a hash of each decoded picture
    std::vector<std::int64_t> timesMs;
    std::int64_t durationMs = 0;
    std::int64_t audioSamples = 0; // decoded
    std::int64_t audioTrack = 0;   // the sound track's length in samples, with its start
    std::string codecs; // "h264+aac"
};

// Decodes every stream of a file as a player would.
Decoded decode(const QString& path)
{
    Decoded out;
    AVFormatContext* fc = nullptr;
    if (avformat_open_input(&fc, path.toLocal8Bit().constData(), nullptr, nullptr) < 0)
        return out;
    avformat_find_stream_info(fc, nullptr);
    out.durationMs = fc->duration / 1000;
    std::vector<AVCodecContext*> decoders;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        AVCodecContext* c = avcodec_alloc_context3(avcodec_find_decoder(fc->streams[i]->codecpar->codec_id));
        avcodec_parameters_to_context(c, fc->streams[i]->codecpar);
        avcodec_open2(c, c->codec, nullptr);
        decoders.push_back(c);
        out.codecs += (i ? "+" : "") + std::string(avcodec_get_name(c->codec_id));
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](unsigned s) {
        while (avcodec_receive_frame(decoders[s], frame) >= 0) {
            if (decoders[s]->codec_type == AVMEDIA_TYPE_AUDIO) {
                out.audioSamples += frame->nb_samples;
                out.audioTrack = av_rescale_q(fc->streams[s]->duration, fc->streams[s]->time_base, {1, 8000});
                continue;
            }
            std::uint64_t h = 1469598103934665603ull;
            for (int plane = 0; plane < 3; ++plane)
                for (int y = 0; y < frame->height >> (plane ? 1 : 0); ++y)
                    for (int x = 0; x < frame->width >> (plane ? 1 : 0); ++x)
                        h = (h ^ frame->data[plane][y * frame->linesize[plane] + x]) * 1099511628211ull;
            out.pictures.push_back(h);
            const AVRational tb = fc->streams[s]->time_base;
            out.timesMs.push_back(frame->best_effort_timestamp == AV_NOPTS_VALUE ? -1 : av_rescale_q(frame->best_effort_timestamp, tb, {1, 1000}));
        }
    };
    while (av_read_frame(fc, packet) >= 0) {
        const unsigned s = unsigned(packet->stream_index);
        avcodec_send_packet(decoders[s], packet);
        av_packet_unref(packet);
        drain(s);
    }
    for (unsigned s = 0; s < decoders.size(); ++s) {
        avcodec_send_packet(decoders[s], nullptr);
        drain(s);
        avcodec_free_context(&decoders[s]);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&fc);
    return out;
}

constexpr int kPictures = 24;
constexpr int kSamplesPerBlock = 320;
// Irregular steps, as a camera's clock gives them: a converter that made up its own rate shows.
std::uint32_t timeOf(int picture) { return 70000 + std::uint32_t(picture) * 40 + std::uint32_t(picture % 3) * 7; }

class ConversionTest : public ::testing::Test {
protected:
    void SetUp() override { encode("libx264", "plain.264"); }

    // The test's stream, and what it decodes to as a plain stream.
    void encode(const char* encoder, const QString& plainName)
    {
        std::vector<QImage> images;
        for (int i = 0; i < kPictures; ++i) {
            QImage image(160, 96, QImage::Format_RGB32);
            image.fill(QColor(20, 90, 160));
            QPainter(&image).fillRect(8 + 5 * i, 20 + (i % 5) * 9, 30, 24, QColor(240, 200 - 6 * i, 40));
            images.push_back(image);
        }
        coded = fakecam::encodeVideo(images, 25, 8, encoder);
        ASSERT_EQ(coded.size(), std::size_t(kPictures));
        std::string plain;
        for (const auto& picture : coded)
            for (const std::string& nal : picture.nals)
                plain += nal;
        folder.write(plainName, QByteArray::fromStdString(plain));
        reference = decode(folder.file(plainName));
        ASSERT_EQ(reference.pictures.size(), std::size_t(kPictures));
    }

    // The stream in the camera's layout, a block per NAL unit and a sound block per picture.
    fakecam::RecordingWriter layout(bool withIndex = true, const char* tag = "HXVS")
    {
        fakecam::RecordingWriter writer(160, 96, tag);
        firstBlock.clear();
        for (int i = 0; i < kPictures; ++i) {
            firstBlock.push_back(writer.blocks.size());
            for (const std::string& nal : coded[std::size_t(i)].nals)
                writer.video(nal, timeOf(i), coded[std::size_t(i)].key);
            writer.audio(std::string(kSamplesPerBlock, char(0xD5 ^ (i & 0x0F))), timeOf(i) + 5);
        }
        if (withIndex)
            writer.index(timeOf(kPictures - 1) - timeOf(0), {{16, 0}});
        return writer;
    }

    ConversionResult convert(const std::string& bytes)
    {
        folder.write("P261201_120000_120500.264", QByteArray::fromStdString(bytes));
        return convertRecording(QFile::encodeName(folder.file("P261201_120000_120500.264")));
    }

    TempFolder folder;
    std::vector<fakecam::CodedPicture> coded;
    std::vector<std::size_t> firstBlock; // of each picture
    Decoded reference;
};

TEST_F(ConversionTest, SoundRecordingBecomesAnMp4OfTheSamePicturesTimesAndSound)
{
    const std::string bytes = layout().bytes;
    const ConversionResult result = convert(bytes);
    ASSERT_EQ(result.status, ConversionResult::Converted) << result.error.toStdString();
    EXPECT_EQ(result.mp4Path, QFile::encodeName(folder.file("P261201_120000_120500.mp4")));
    const Decoded mp4 = decode(folder.file("P261201_120000_120500.mp4"));
    EXPECT_EQ(mp4.codecs, "h264+aac");
    EXPECT_EQ(mp4.pictures, reference.pictures);
    std::vector<std::int64_t> expectedTimes;
    for (int i = 0; i < kPictures; ++i)
        expectedTimes.push_back(timeOf(i) - timeOf(0));
    EXPECT_EQ(mp4.timesMs, expectedTimes);
    // The last picture lasts as long as the one before it.
    EXPECT_EQ(mp4.durationMs, 2 * timeOf(kPictures - 1) - timeOf(kPictures - 2) - timeOf(0));
    // Every sample of the sound, from 5 ms after the first picture, as its first block says; a
    // decoder adds the encoder's padding to what it hands out.
    EXPECT_EQ(mp4.audioTrack, 5 * 8 + kPictures * kSamplesPerBlock);
    EXPECT_GE(mp4.audioSamples, kPictures * kSamplesPerBlock);
    // The recording stays as downloaded, no longer mapped, and no temporary file is left.
    EXPECT_EQ(folder.read("P261201_120000_120500.264"), QByteArray::fromStdString(bytes));
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains(QFile::encodeName(folder.file("P261201_120000_120500.264"))));
    EXPECT_EQ(folder.entries().size(), 3) << folder.entries().join(' ').toStdString();
}

TEST_F(ConversionTest, H265RecordingBecomesAnMp4OfTheSamePictures)
{
    encode("libx265", "plain.265");
    const ConversionResult result = convert(layout(true, "HXVT").bytes);
    ASSERT_EQ(result.status, ConversionResult::Converted) << result.error.toStdString();
    const Decoded mp4 = decode(folder.file("P261201_120000_120500.mp4"));
    EXPECT_EQ(mp4.codecs, "hevc+aac");
    EXPECT_EQ(mp4.pictures, reference.pictures);
    EXPECT_EQ(mp4.timesMs.back(), timeOf(kPictures - 1) - timeOf(0));
}

TEST_F(ConversionTest, DamagedRecordingsConvertUpToTheDamage)
{
    auto setLe32 = [](std::string& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = char(v >> (8 * i));
    };
    struct Case {
        const char* name;
        std::function<void(std::string&, const std::vector<std::size_t>&)> damage;
        int pictures; // kept; 0: no MP4 at all
    };
    // x264 writes a note of its own (an SEI unit) between the parameter sets and the first slice.
    std::size_t firstSlice = 0;
    const auto typeOf = [](const std::string& nal) { return nal[nal.find(std::string("\0\0\1", 3)) + 3] & 0x1F; };
    while (typeOf(coded[0].nals[firstSlice]) != 5)
        ++firstSlice;
    ASSERT_EQ(typeOf(coded[0].nals[firstSlice - 1]), 6);
    const std::vector<Case> cases = {
        {"no index", [](std::string&, const auto&) {}, kPictures},
        {"parameter sets at a time of their own", [&](std::string& b, const auto& at) {
             for (std::size_t i = 0; i < firstSlice; ++i)
                 setLe32(b, at[i] + 8, timeOf(0) - 10);
         }, kPictures},
        {"cut last block", [&](std::string& b, const auto& at) { b.resize(at[firstBlock[20]] + 20); }, 20},
        {"length past the end", [&](std::string& b, const auto& at) { setLe32(b, at[firstBlock[12]] + 4, 0x7FFFFFF0); }, 12},
        {"length past a short end", [&](std::string& b, const auto& at) { setLe32(b, at[firstBlock[17]] + 4, std::uint32_t(b.size())); }, 17},
        {"unknown tag", [&](std::string& b, const auto& at) { b.replace(at[firstBlock[15]], 4, "HXQQ"); }, 15},
        {"time jumps back", [&](std::string& b, const auto& at) { setLe32(b, at[firstBlock[9]] + 8, 12); }, 9},
        {"time jumps ahead", [&](std::string& b, const auto& at) { setLe32(b, at[firstBlock[6]] + 8, timeOf(5) + 60000); }, 6},
        {"a step of exactly the most allowed, then back", [&](std::string& b, const auto& at) { setLe32(b, at[firstBlock[6]] + 8, timeOf(5) + 5000); }, 7},
        {"cut inside the first picture", [](std::string& b, const auto& at) { b.resize(at[0] + 30); }, 0},
        {"cut block header", [&](std::string& b, const auto& at) { b.resize(at[firstBlock[3]] + 9); }, 3},
        {"parameter sets only", [](std::string& b, const auto& at) { b.resize(at[2]); }, 0},
        {"no parameter sets", [](std::string& b, const auto& at) { b.erase(at[0], at[2] - at[0]); }, 0},
        {"parameter sets and the encoder's note", [&](std::string& b, const auto& at) { b.resize(at[firstSlice]); }, 0},
        {"sound but no picture", [](std::string& b, const auto& at) {
             std::string sound = b.substr(0, 16);
             for (std::size_t i = 0; i < at.size(); ++i)
                 if (b.compare(at[i], 4, "HXAF") == 0)
                     sound += b.substr(at[i], (i + 1 < at.size() ? at[i + 1] : b.size()) - at[i]);
             b = sound;
         }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakecam::RecordingWriter writer = layout(false);
        c.damage(writer.bytes, writer.blocks);
        const ConversionResult result = convert(writer.bytes);
        EXPECT_EQ(folder.exists("P261201_120000_120500.mp4"), c.pictures > 0);
        EXPECT_EQ(folder.entries().size(), c.pictures > 0 ? 3 : 2);
        if (c.pictures == 0) {
            EXPECT_EQ(result.status, ConversionResult::Failed);
            continue;
        }
        const std::vector<std::uint64_t> kept(reference.pictures.begin(), reference.pictures.begin() + c.pictures);
        EXPECT_EQ(decode(folder.file("P261201_120000_120500.mp4")).pictures, kept);
    }
}

TEST_F(ConversionTest, PlainStreamsAndCancelledConversionsGiveNoMp4)
{
    // An MP4 of an earlier download of that name does not outlive it.
    folder.write("plain.mp4", "old");
    EXPECT_EQ(convertRecording(QFile::encodeName(folder.file("plain.264"))).status, ConversionResult::NotRecording);
    EXPECT_FALSE(folder.exists("plain.mp4"));

    folder.write("P261201_120000_120500.264", QByteArray::fromStdString(layout().bytes));
    const std::atomic<bool> cancel{true};
    EXPECT_EQ(convertRecording(QFile::encodeName(folder.file("P261201_120000_120500.264")), &cancel).status,
              ConversionResult::Cancelled);
    EXPECT_EQ(folder.entries(), QStringList({"P261201_120000_120500.264", "plain.264"}));
}

} // namespace
