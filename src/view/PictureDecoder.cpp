#include "view/PictureDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSysInfo>

#include <turbojpeg.h>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

// TurboJPEG's pixel format whose bytes are QImage::Format_RGB32 (0xffRRGGBB in native order); the
// decoder fills the padding byte with 0xff.
constexpr int kRgb32 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRX : TJPF_XRGB;

bool operator==(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Qt refuses to decode pictures larger than its allocation limit; so do we, so that a header
// claiming an enormous picture takes neither the memory nor the time to decode it, and such a
// file shows nothing, as it always did.
bool withinAllocationLimit(const QSize& size)
{
    const qint64 limitMb = QImageReader::allocationLimit();
    return limitMb <= 0 || qint64(size.width()) * size.height() * 4 <= limitMb * 1024 * 1024;
}

} // namespace

QSize jpegDecodeSize(int pictureWidth, int pictureHeight, int shownWidth)
{
    for (const int divisor : {8, 4, 2}) {
        const tjscalingfactor scale{1, divisor};
        if (TJSCALED(pictureWidth, scale) >= shownWidth)
            return QSize(TJSCALED(pictureWidth, scale), TJSCALED(pictureHeight, scale));
    }
    return QSize(pictureWidth, pictureHeight);
}

bool PictureDecoder::FileIdentity::operator==(const FileIdentity& other) const
{
    return device == other.device && inode == other.inode && size == other.size && modified == other.modified
        && changed == other.changed;
}

PictureDecoder::FileIdentity PictureDecoder::FileIdentity::of(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

PictureDecoder::PictureDecoder()
    : m_turbo(tjInitDecompress())
{
}

PictureDecoder::~PictureDecoder()
{
    if (m_turbo)
        tjDestroy(m_turbo);
}

const DecodedPicture& PictureDecoder::picture(const QString& path, int shownWidth)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        // Gone: nothing is shown, and a file that comes back is decoded anew.
        m_path.clear();
        m_file = {};
        m_picture = {};
        m_scalable = false;
        return m_picture;
    }
    const bool sameFile = path == m_path && FileIdentity::of(info) == m_file;
    if (!sameFile
        || (m_scalable && jpegDecodeSize(m_picture.size.width(), m_picture.size.height(), shownWidth) != m_rows.size()))
        decode(path, shownWidth);
    return m_picture;
}

bool PictureDecoder::readFile(const QString& path, FileIdentity& identity)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The identity of what is read, taken from the open file: a rename onto the path meanwhile
    // shows at the next paint.
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && info.st_size >= 0 && info.st_size < qint64(INT_MAX);
    if (ok) {
        identity = FileIdentity::of(info);
        m_bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < m_bytes.size()) {
            const ssize_t n = ::read(fd, m_bytes.data() + done, size_t(m_bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        // A file cut short since the stat is decoded as far as it goes.
        m_bytes.truncate(done);
    }
    ::close(fd);
    return ok;
}

void PictureDecoder::decode(const QString& path, int shownWidth)
{
    // Nothing else may hold the rows written below, or writing them would copy them first.
    m_picture = {};
    m_path = path;
    m_file = {};
    m_scalable = false;
    if (!readFile(path, m_file))
        return;
    if (decodeJpeg(shownWidth))
        return;

    // Not a JPEG TurboJPEG can read: Qt's reader decides, as it does for any picture file, and
    // the paint stretches what it gives.
    m_picture = {};
    QBuffer buffer(&m_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    ++m_decodes;
    m_picture.decoded = reader.read(&m_picture.image);
    m_picture.size = size.isValid() ? size : m_picture.image.size();
}

bool PictureDecoder::decodeJpeg(int shownWidth)
{
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const auto length = static_cast<unsigned long>(m_bytes.size());
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (!m_turbo || tjDecompressHeader3(m_turbo, data, length, &width, &height, &subsampling, &colourSpace) != 0
        || width <= 0 || height <= 0)
        return false;
    // Judged by the full size, as Qt's reader judges it, also where a reduced size would fit.
    if (!withinAllocationLimit(QSize(width, height)))
        return false;
    const QSize decodeSize = jpegDecodeSize(width, height, shownWidth);
    // The rows of the last picture are written over when the new one has the same size.
    if (m_rows.size() != decodeSize)
        m_rows = QImage(decodeSize, QImage::Format_RGB32);
    if (m_rows.isNull())
        return false;
    ++m_decodes;
    // A warning (data cut short, a corrupt segment) still leaves a picture, grey where data was
    // missing, as Qt's reader shows it too; only an error refuses the file.
    if (tjDecompress2(m_turbo, data, length, m_rows.bits(), decodeSize.width(), int(m_rows.bytesPerLine()),
                      decodeSize.height(), kRgb32, 0)
            != 0
        && tjGetErrorCode(m_turbo) != TJERR_WARNING)
        return false;
    // The paint stretches the rows into place in one pass (nearest pixel); a shrunk copy made here
    // would cost a second pass over the whole decoded picture for every new picture, to save a
    // fraction of that on the rarer repaints.
    m_picture.image = m_rows;
    m_picture.size = QSize(width, height);
    m_picture.decoded = true;
    m_scalable = true;
    return true;
}

QSize PictureDecoder::headerSize(const QString& path)
{
    FileIdentity identity;
    if (!readFile(path, identity))
        return {};
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (m_turbo
        && tjDecompressHeader3(m_turbo, reinterpret_cast<const unsigned char*>(m_bytes.constData()),
                               static_cast<unsigned long>(m_bytes.size()), &width, &height, &subsampling, &colourSpace)
            == 0)
        return QSize(width, height);
    QBuffer buffer(&m_bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    return size.isValid() ? size : QSize();
}
