#include "camera/CameraSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

namespace {

const QString kRecentGroup = QStringLiteral("Recent File List");
constexpr int kRecentFiles = 8;

// The settings file holds the camera's password: it is created for its owner's eyes only, and put
// back to that mode after every write in case something widened it.
bool ensurePrivateFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

std::mutex g_recordMutex;
CameraSettings g_record;

} // namespace

QString defaultSnapshotUrl()
{
    return QStringLiteral("http://192.168.1.88/tmpfs/auto.jpg");
}

QString defaultUserName()
{
    return QStringLiteral("admin");
}

QString defaultPassword()
{
    return QStringLiteral("pelto");
}

QString SettingsStore::defaultFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/VarnekJPG/VarnekJPG.conf");
}

SettingsStore::SettingsStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

std::optional<QString> SettingsStore::read(const QString& valueName, int bufferUnits) const
{
    if (!QFileInfo::exists(m_filePath))
        return std::nullopt;
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.contains(valueName))
        return std::nullopt;
    const QVariant value = settings.value(valueName);
    // A hand-edited file may hold an unquoted text with commas, which reads back as a list.
    const QString text = value.typeId() == QMetaType::QStringList
        ? value.toStringList().join(QLatin1Char(','))
        : value.toString();
    if (text.size() + 1 > bufferUnits)
        return std::nullopt;
    return text;
}

bool SettingsStore::write(const QString& valueName, const QString& text)
{
    if (!ensurePrivateFile(m_filePath))
        return false;
    {
        QSettings settings(m_filePath, QSettings::IniFormat);
        settings.setValue(valueName, text);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return false;
    }
    QFile::setPermissions(m_filePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

QStringList SettingsStore::recentFiles() const
{
    QStringList files;
    if (!QFileInfo::exists(m_filePath))
        return files;
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.beginGroup(kRecentGroup);
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty())
            files.append(file);
    }
    return files;
}

bool SettingsStore::setRecentFiles(const QStringList& files)
{
    if (!ensurePrivateFile(m_filePath))
        return false;
    {
        QSettings settings(m_filePath, QSettings::IniFormat);
        settings.beginGroup(kRecentGroup);
        for (int i = 1; i <= kRecentFiles; ++i) {
            const QString key = QStringLiteral("File%1").arg(i);
            if (i <= files.size())
                settings.setValue(key, files.at(i - 1));
            else
                settings.remove(key);
        }
        settings.endGroup();
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return false;
    }
    QFile::setPermissions(m_filePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

CameraSettings readCameraSettings(const SettingsStore& store)
{
    CameraSettings record;
    record.snapshotUrl = store.read(kValueSnapshotUrl, kSnapshotUrlUnits).value_or(defaultSnapshotUrl());
    record.userName = store.read(kValueUserName, kCredentialUnits).value_or(defaultUserName());
    record.password = store.read(kValuePassword, kCredentialUnits).value_or(defaultPassword());
    return record;
}

CameraSettings currentCameraSettings()
{
    std::lock_guard lock(g_recordMutex);
    return g_record;
}

void setCurrentCameraSettings(const CameraSettings& settings)
{
    std::lock_guard lock(g_recordMutex);
    g_record = settings;
}

void LoadCameraSettings()
{
    setCurrentCameraSettings(readCameraSettings(SettingsStore()));
}
