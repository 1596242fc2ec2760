#include "sdcard/RecordingPlayback.h"

#include "camera/CameraSettings.h"
#include "recording/RecordingConverter.h"

#include <QFile>
#include <QSettings>

#include <unistd.h>

bool recordingConversionEnabled()
{
    return QSettings(SettingsStore::defaultFilePath(), QSettings::IniFormat)
        .value(QStringLiteral("Recordings/ConvertToMp4"), true)
        .toBool();
}

PlayableRecording prepareDownloadedRecording(const QByteArray& localPath, const std::atomic<bool>* cancel)
{
    if (!recordingConversionEnabled())
        return {localPath};
    const ConversionResult result = convertRecording(localPath, cancel);
    if (result.status == ConversionResult::Converted)
        return {result.mp4Path};
    return {localPath, result.status == ConversionResult::Failed};
}

QByteArray replayableRecording(const QByteArray& localPath)
{
    if (!recordingConversionEnabled())
        return localPath;
    const QByteArray mp4 = mp4PathFor(localPath);
    return ::access(mp4.constData(), F_OK) == 0 ? mp4 : prepareDownloadedRecording(localPath).path;
}

void deleteConvertedCopy(const QByteArray& recordingPath)
{
    ::unlink(mp4PathFor(recordingPath).constData());
}
