// A hostile settings file: whatever it holds, the record read from it keeps to its field sizes and
// the recent-file list to its eight entries.
#include "camera/CameraSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static int round = 0;
    // A new name each time: the settings reader may keep a file it has read before.
    const QString path = folder.filePath(QStringLiteral("VarnekJPG-%1.conf").arg(++round));
    QFile file(path);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const SettingsStore store(path);
    const CameraSettings record = readCameraSettings(store);
    if (record.snapshotUrl.size() >= kSnapshotUrlUnits || record.userName.size() >= kCredentialUnits
        || record.password.size() >= kCredentialUnits || store.recentFiles().size() > 8)
        std::abort();
    QFile::remove(path);
    return 0;
}
