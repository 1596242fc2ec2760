#pragma once
// The three settings by which the program knows its camera, and the per-user file that keeps them.

#include <QString>
#include <QStringList>

#include <optional>

// Field sizes in UTF-16 units, terminator included. A stored value that does not fit its field is
// not used, its default takes its place: a damaged or hand-edited file cannot hand the requests an
// address or password longer than they are built for.
inline constexpr int kSnapshotUrlUnits = 300;
inline constexpr int kCredentialUnits = 30;
// The settings dialog reads at most this many characters from each of its fields.
inline constexpr int kDialogFieldChars = 499;

// Names of the stored values.
inline const QString kValueSnapshotUrl = QStringLiteral("HTML");
inline const QString kValueUserName = QStringLiteral("UserName");
inline const QString kValuePassword = QStringLiteral("Password");

QString defaultSnapshotUrl();
QString defaultUserName();
QString defaultPassword();

struct CameraSettings {
    QString snapshotUrl;
    QString userName;
    QString password;

    bool operator==(const CameraSettings&) const = default;
};

// The per-user settings file: an INI file, created readable and writable by its owner only.
// Keys HTML, UserName and Password in [General]; the recent-file list in [Recent File List].
class SettingsStore {
public:
    // $XDG_CONFIG_HOME/VarnekJPG/VarnekJPG.conf, or ~/.config/VarnekJPG/VarnekJPG.conf.
    static QString defaultFilePath();

    explicit SettingsStore(QString filePath = defaultFilePath());

    const QString& filePath() const { return m_filePath; }

    // The stored text, or nothing when the value is missing or, with its terminator, does not fit
    // in bufferUnits UTF-16 units.
    std::optional<QString> read(const QString& valueName, int bufferUnits) const;
    // Stores a value, creating the file (mode 0600) and its folder when missing.
    // Returns false when the file cannot be written.
    bool write(const QString& valueName, const QString& text);

    // The recent-file list, newest first, at most eight entries.
    QStringList recentFiles() const;
    bool setRecentFiles(const QStringList& files);

private:
    QString m_filePath;
};

// Fills a record from the store: each field separately, the default where the value is missing
// or too long, an empty text where an empty text is stored.
CameraSettings readCameraSettings(const SettingsStore& store);

// The program-wide record that every camera request reads.
CameraSettings currentCameraSettings();
void setCurrentCameraSettings(const CameraSettings& settings);
// Reloads the program-wide record from the user's settings file.
void LoadCameraSettings();
