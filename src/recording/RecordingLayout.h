#pragma once
// The camera's recording files (.264 / .265): a 16-byte file header ("HXVS" for H.264, "HXVT" for
// H.265), then blocks of a 16-byte header and `length` bytes of data: "HXVF" video (Annex-B, one
// NAL unit or slice per block, the pieces of one picture sharing a time stamp), "HXAF" audio (four
// bytes to skip, then 8 kHz mono A-law) and "HXFI", the index that closes a complete recording.
// All numbers are 32-bit little-endian.
//
// Recordings come from a card that may be pulled and over a network that may drop, so a reader
// must expect damage: the cursor below hands out blocks as views into the caller's buffer, never
// reads outside it, allocates nothing, and stops at the first block it cannot trust.

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace recording {

enum class VideoCodec { H264, H265 };

struct FileHeader {
    VideoCodec codec = VideoCodec::H264;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

inline constexpr qsizetype kFileHeaderSize = 16;
inline constexpr qsizetype kBlockHeaderSize = 16;
// No camera writes a NAL unit or an audio piece anywhere near this; a length above it is damage.
inline constexpr std::uint32_t kMaxBlockLength = 16u << 20;
// Time stamps of one kind that go back, or forward by more than this, are damage (a wrap, a
// clock reset, garbage): what follows cannot be placed in time.
inline constexpr std::uint32_t kMaxTimeStepMs = 5000;
// The bytes an audio block's data starts with that are not sound.
inline constexpr qsizetype kAudioPrefix = 4;

enum class BlockKind { Video, Audio };

struct Block {
    BlockKind kind = BlockKind::Video;
    std::uint32_t time = 0;  // ms
    std::uint32_t flags = 0; // video: 1 marks a random access point
    QByteArrayView data;     // inside the cursor's buffer
};

// Why a cursor stopped.
enum class Ending {
    Reading,     // not stopped yet
    Index,       // the index: a complete recording
    EndOfFile,   // the blocks ended cleanly without an index
    CutHeader,   // fewer bytes than a block header are left
    PastEnd,     // a block's length runs past the end of the file (a cut last block)
    TooLong,     // a block's length no camera writes
    UnknownTag,
    TimeJump,
};

// The file header, or nothing when the bytes are not in the camera's layout.
std::optional<FileHeader> readFileHeader(QByteArrayView file);

class BlockCursor {
public:
    // Walks the blocks of `file`, which must outlive the cursor; a file not in the layout gives
    // no block.
    explicit BlockCursor(QByteArrayView file);

    // The next video or audio block; false once the cursor has stopped (ending() says why).
    bool next(Block& block);
    Ending ending() const { return m_ending; }
    // Offset of the next block header: where the cursor stopped, once it has.
    qsizetype position() const { return m_pos; }

private:
    QByteArrayView m_file;
    qsizetype m_pos = kFileHeaderSize;
    Ending m_ending = Ending::Reading;
    std::optional<std::uint32_t> m_lastTime[2];
};

// True for a damaged recording's ending, false for the two clean ones.
bool isDamage(Ending ending);

} // namespace recording
