// Damaged and hostile recordings: the block reader stays inside its buffer and the conversion
// either makes an MP4 or leaves nothing, whatever the bytes.
#include "recording/RecordingConverter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    recording::BlockCursor cursor(bytes);
    recording::Block block;
    while (cursor.next(block)) {
        if (block.data.data() < bytes.data() || block.data.data() + block.data.size() > bytes.data() + bytes.size())
            std::abort();
    }
    if (cursor.position() > bytes.size())
        std::abort();

    const QString path = folder.filePath(QStringLiteral("r.264"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || (size > 0 && file.write(bytes.data(), bytes.size()) != bytes.size()))
        std::abort();
    file.close();
    const ConversionResult result = convertRecording(QFile::encodeName(path));
    const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    const QStringList expected = result.status == ConversionResult::Converted ? QStringList{"r.264", "r.mp4"} : QStringList{"r.264"};
    if (left != expected)
        std::abort();
    return 0;
}
