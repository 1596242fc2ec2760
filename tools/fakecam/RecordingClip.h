#pragma once
// The simulated camera's recordings: short clips of its moving scene, H.264 encoded with
// libavcodec, with a tone in A-law, wrapped in the camera's block layout. Tests use the same
// pieces to build recordings of their own (sound or damaged).

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fakecam {

// One coded picture: its NAL units in Annex-B form, start codes included.
struct CodedPicture {
    std::vector<std::string> nals;
    bool key = false;
};

// Encodes the pictures with libavcodec's H.264 encoder (or H.265 with "libx265"), one slice a
// picture and no B-frames (as a camera does), a key picture every keyInterval pictures. Empty when
// the encoder is not available.
std::vector<CodedPicture> encodeVideo(const std::vector<QImage>& pictures, int fps, int keyInterval,
                                      const char* encoder = "libx264");

// G.711 A-law of one 16-bit sample.
unsigned char alawFromLinear(int sample);

// Writes blocks in the camera's layout and remembers where each one starts.
class RecordingWriter {
public:
    // Starts with the file header; an empty tag writes none.
    RecordingWriter(int width, int height, const char* tag = "HXVS");

    void video(const std::string& nal, std::uint32_t time, bool key);
    void audio(const std::string& alaw, std::uint32_t time); // adds the four-byte prefix itself
    // The closing index: (offset, time) pairs of key pictures, zeros up to tableBytes.
    void index(std::uint32_t durationMs, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& keys,
               std::size_t tableBytes = 200000);
    void block(const char* tag, const std::string& data, std::uint32_t time, std::uint32_t flags);

    std::string bytes;
    std::vector<std::size_t> blocks; // offset of each block header
};

// Bytes [offset, offset + length) of a recording of `size` bytes (0: offset + length) at the
// given picture size: the clip's blocks repeated as often as they fit, then the index. The time
// stamps start at a point that depends on `seed`, so recordings of different names differ.
std::string clipRecordingBytes(std::uint64_t seed, std::uint64_t offset, std::uint64_t length,
                               std::uint64_t size, int width, int height);
// Encodes the clip of that picture size now, if not done yet (it is kept for the process).
void prepareClip(int width, int height);

// How the clip goes: kClipPictures pictures at kClipFps, one key picture at its start.
inline constexpr int kClipFps = 10;
inline constexpr int kClipPictures = 20;

} // namespace fakecam
