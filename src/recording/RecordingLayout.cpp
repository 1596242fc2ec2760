#include "recording/RecordingLayout.h"

#include <cstring>

namespace recording {

namespace {

std::uint32_t le32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 | std::uint32_t(u[3]) << 24;
}

bool tagIs(const char* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}

} // namespace

std::optional<FileHeader> readFileHeader(QByteArrayView file)
{
    if (file.size() < kFileHeaderSize)
        return std::nullopt;
    const char* p = file.data();
    FileHeader header;
    if (tagIs(p, "HXVS"))
        header.codec = VideoCodec::H264;
    else if (tagIs(p, "HXVT"))
        header.codec = VideoCodec::H265;
    else
        return std::nullopt;
    header.width = le32(p + 4);
    header.height = le32(p + 8);
    return header;
}

BlockCursor::BlockCursor(QByteArrayView file) : m_file(file)
{
    if (!readFileHeader(file)) {
        m_ending = Ending::EndOfFile;
        m_pos = 0;
    }
}

bool BlockCursor::next(Block& block)
{
    if (m_ending != Ending::Reading)
        return false;
    const qsizetype left = m_file.size() - m_pos;
    if (left == 0) {
        m_ending = Ending::EndOfFile;
        return false;
    }
    if (left < kBlockHeaderSize) {
        m_ending = Ending::CutHeader;
        return false;
    }
    const char* p = m_file.data() + m_pos;
    const std::uint32_t length = le32(p + 4);
    if (tagIs(p, "HXFI")) {
        m_ending = Ending::Index;
        return false;
    }
    if (tagIs(p, "HXVF"))
        block.kind = BlockKind::Video;
    else if (tagIs(p, "HXAF"))
        block.kind = BlockKind::Audio;
    else {
        m_ending = Ending::UnknownTag;
        return false;
    }
    if (length > kMaxBlockLength) {
        m_ending = Ending::TooLong;
        return false;
    }
    if (length > std::uint64_t(left - kBlockHeaderSize)) {
        m_ending = Ending::PastEnd;
        return false;
    }
    const std::uint32_t time = le32(p + 8);
    std::optional<std::uint32_t>& last = m_lastTime[block.kind == BlockKind::Video ? 0 : 1];
    if (last && (time < *last || time - *last > kMaxTimeStepMs)) {
        m_ending = Ending::TimeJump;
        return false;
    }
    last = time;
    block.time = time;
    block.flags = le32(p + 12);
    block.data = m_file.sliced(m_pos + kBlockHeaderSize, length);
    m_pos += kBlockHeaderSize + length;
    return true;
}

bool isDamage(Ending ending)
{
    return ending != Ending::Reading && ending != Ending::Index && ending != Ending::EndOfFile;
}

} // namespace recording
