#include "sdcard/RecordingLocation.h"

#include "camera/CameraRequest.h"
#include "platform/Desktop.h"

#include <QFile>

namespace {

// Text appended piece by piece to a buffer of kPathUnits units with its terminator.
class Buffer {
public:
    explicit Buffer(qsizetype units) : m_units(units) {}
    bool append(qsizetype units)
    {
        if (m_units + units + 1 > kPathUnits)
            return false;
        m_units += units;
        return true;
    }

private:
    qsizetype m_units;
};

QString message(const char* part)
{
    return QStringLiteral("An error occured appending the %1.\nNo help is available on this error.")
        .arg(QLatin1String(part));
}

std::nullopt_t fail(const char* part)
{
    platform::desktop().messageBox(kMessageCaption, message(part));
    return std::nullopt;
}

const char* const kDatePart = "date directory part of the movie URL";
const char* const kRecordPart = "/record000/ part of the movie URL";
const char* const kSdPart = "/sd/ part of the movie URL";

} // namespace

std::optional<RecordingLocation> formRecordingLocation(const std::optional<QString>& baseUrl,
                                                       const QByteArray& folderName,
                                                       const QByteArray& fileName,
                                                       const QString& programFolder)
{
    const qsizetype folderUnits = nameForDisplay(folderName).size();
    const qsizetype fileUnits = nameForDisplay(fileName).size();
    RecordingLocation location;
    location.fileName = fileName;
    location.relativePath = folderName + "/record000/" + fileName;

    Buffer camera(baseUrl ? baseUrl->size() : 0);
    if (baseUrl && !camera.append(4))
        return fail(kSdPart);
    if (!camera.append(folderUnits))
        return fail(kDatePart);
    if (!camera.append(11))
        return fail(kRecordPart);
    // The URL has no message of its own for its file name; the one naming the "/sd/" part stands
    // in for it, so the user still learns that the camera's address grew too long.
    if (!camera.append(fileUnits))
        return fail(kSdPart);
    if (baseUrl)
        location.url = baseUrl->toUtf8() + "/sd/" + encodeUrlPathBytes(folderName, false) + "/record000/"
            + encodeUrlPathBytes(fileName, false);

    Buffer local(programFolder.size());
    if (!local.append(1))
        return fail("/ part of the movie file location");
    if (!local.append(fileUnits))
        return fail("filename part of the movie file location");
    location.localPath = QFile::encodeName(programFolder) + '/' + fileName;
    return location;
}
