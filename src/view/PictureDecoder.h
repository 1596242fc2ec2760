#pragma once
// The live picture decoded for the view. A camera sends a new auto.jpg up to ten times a second,
// while the view may paint far more often (menus, state queries, exposes): a picture is decoded
// once, at the smallest scale at least as large as it is shown, and kept until the file changes
// or it is wanted at another scale.
// The file stays the truth: every paint asks for the picture again, and a file that is gone or
// replaced is noticed then.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <sys/stat.h>

// The size a JPEG of pictureWidth x pictureHeight is decoded at to be shown shownWidth pixels
// wide: the smallest of an eighth, a quarter, a half and the whole that is at least as wide as
// that, so a reduced picture is only ever shrunk. libjpeg-turbo's other scales (3/4, 5/4, ...)
// run without its vector code and cost more than a full decode; a picture shown larger than it
// is is decoded whole and enlarged by the paint.
QSize jpegDecodeSize(int pictureWidth, int pictureHeight, int shownWidth);

struct DecodedPicture {
    QImage image;   // null when the file gave no picture; a JPEG comes at its decoded size, the
                    // smallest at least as wide as it is shown, for the paint to stretch
    QSize size;     // the picture's own size, also when decoded smaller
    bool decoded = false; // false: the decoder failed, even where it left a picture
};

class PictureDecoder final {
public:
    PictureDecoder();
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // The picture in the file at path, decoded for a drawing shownWidth device pixels wide. The
    // same file (device, inode, size, modification and change times) at the same decode size
    // gives the picture decoded before; anything else decodes afresh. JPEGs go through
    // TurboJPEG straight into 32-bit rows; what it refuses goes through Qt's reader, full size.
    // The picture returned stays valid until the next call.
    const DecodedPicture& picture(const QString& path, int shownWidth);

    // The picture's size from the file's header, without decoding it; an empty size when
    // neither decoder can read the header.
    QSize headerSize(const QString& path);

    // Decodes done so far, by either decoder.
    int decodes() const { return m_decodes; }

private:
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        timespec modified{};
        timespec changed{};
        static FileIdentity of(const struct stat& info);
        bool operator==(const FileIdentity& other) const;
    };
    // Reads the file into m_bytes; false when it cannot be opened or read.
    bool readFile(const QString& path, FileIdentity& identity);
    void decode(const QString& path, int shownWidth);
    bool decodeJpeg(int shownWidth);

    void* m_turbo = nullptr;
    QByteArray m_bytes;
    FileIdentity m_file;
    QString m_path;
    bool m_scalable = false; // the kept picture came from TurboJPEG and can be decoded at another size
    QImage m_rows;           // as TurboJPEG decoded it
    DecodedPicture m_picture;
    int m_decodes = 0;
};
