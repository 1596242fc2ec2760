#include "view/SnapshotCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <utility>

namespace {

// The texts of the view's file commands.
QString viewText(const char* text)
{
    return QCoreApplication::translate("CVarnekJPGView", text);
}

SnapshotCopyResult failed(const QString& targetPath, const QString& cause)
{
    return {false, viewText(QT_TRANSLATE_NOOP("CVarnekJPGView",
                                              "The snapshot could not be saved as %1.\n%2\n"
                                              "No file was changed."))
                       .arg(QDir::toNativeSeparators(targetPath), cause)};
}

QString readFailure(const QFile& snapshot)
{
    return viewText(QT_TRANSLATE_NOOP("CVarnekJPGView", "The snapshot file could not be read: %1"))
        .arg(snapshot.errorString());
}

// Where no temporary file can be made beside the target (a folder the user may not write to),
// an existing file the user may write is overwritten in place. Its old bytes are kept in memory
// and written back if the new ones do not all get there.
SnapshotCopyResult copyInPlace(QFile& snapshot, const QString& targetPath)
{
    const QByteArray bytes = snapshot.readAll();
    if (snapshot.error() != QFileDevice::NoError)
        return failed(targetPath, readFailure(snapshot));
    QFile target(targetPath);
    // Unbuffered, so a failed write leaves nothing behind in a buffer to spoil the restore.
    if (!target.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(targetPath, target.errorString());
    const QByteArray old = target.readAll();
    const auto replaceWith = [&target](const QByteArray& content) {
        return target.seek(0) && target.resize(0) && target.write(content) == content.size() && target.flush();
    };
    if (target.error() == QFileDevice::NoError && replaceWith(bytes))
        return {true, {}};
    const QString cause = target.errorString();
    target.unsetError();
    if (replaceWith(old))
        return failed(targetPath, cause);
    return {false, viewText(QT_TRANSLATE_NOOP("CVarnekJPGView",
                                              "The snapshot could not be saved as %1.\n%2\n"
                                              "The file may now be incomplete."))
                       .arg(QDir::toNativeSeparators(targetPath), cause)};
}

QString filter(const char* name, const char* patterns)
{
    return viewText(name) + QStringLiteral(" (") + QLatin1String(patterns) + QLatin1Char(')');
}

} // namespace

QStringList openFileFilters()
{
    return {filter(QT_TRANSLATE_NOOP("CVarnekJPGView", "jpg"), "*.jpg *.jpeg"),
            filter(QT_TRANSLATE_NOOP("CVarnekJPGView", ".264 video"), "*.264"),
            filter(QT_TRANSLATE_NOOP("CVarnekJPGView", "All"), "*")};
}

QStringList saveFileFilters()
{
    return {filter(QT_TRANSLATE_NOOP("CVarnekJPGView", "jpg"), "*.jpg *.jpeg"),
            filter(QT_TRANSLATE_NOOP("CVarnekJPGView", "All"), "*")};
}

SnapshotCopyResult copySnapshotFile(const QString& snapshotPath, const QString& targetPath)
{
    QFile snapshot(snapshotPath);
    if (!snapshot.open(QIODevice::ReadOnly)) {
        // Silence here would look like success: the chooser closed and the user expects a file.
        if (!snapshot.exists())
            return failed(targetPath, viewText(QT_TRANSLATE_NOOP(
                                          "CVarnekJPGView",
                                          "No snapshot has arrived from the camera yet.")));
        return failed(targetPath, snapshot.errorString());
    }
    // Writing beside the target and renaming also makes saving onto the snapshot itself safe:
    // the file being read is never truncated.
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly)) {
        const QFileInfo existing(targetPath);
        if (existing.isFile() && existing.isWritable())
            return copyInPlace(snapshot, targetPath);
        return failed(targetPath, target.errorString());
    }
    std::array<char, 64 * 1024> buffer;
    QString cause;
    for (;;) {
        const qint64 got = snapshot.read(buffer.data(), qint64(buffer.size()));
        if (got == 0)
            break;
        if (got < 0) {
            cause = readFailure(snapshot);
            break;
        }
        if (target.write(buffer.data(), got) != got) {
            cause = target.errorString();
            break;
        }
    }
    // The last buffered bytes are written here. commit() alone would not notice their failure
    // and would put a cut-off file in place.
    if (cause.isEmpty() && !target.flush())
        cause = target.errorString();
    if (!cause.isEmpty()) {
        target.cancelWriting(); // the temporary file goes with the object
        return failed(targetPath, cause);
    }
    // Syncs to disk, then renames onto the target.
    if (!target.commit())
        return failed(targetPath, target.errorString());
    return {true, {}};
}

FileCommandWait::FileCommandWait(int delayMs)
    : m_delayMs(delayMs)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { expire(); });
}

namespace {

// How soon a resume held back by a dialog or a request looks again.
constexpr int kResumeRetryMs = 200;

} // namespace

void FileCommandWait::expire()
{
    if (m_resumeAllowed && !m_resumeAllowed()) {
        m_timer.start(kResumeRetryMs);
        return;
    }
    // Resume first, so a command given from inside it is still refused.
    auto resume = std::exchange(m_resume, {});
    auto allowed = std::exchange(m_allowed, {});
    if (resume)
        resume();
    m_busy = false;
    if (allowed)
        allowed();
}

void FileCommandWait::expireNow()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    expire();
}

void FileCommandWait::dropResume()
{
    if (!m_busy || !m_resume)
        return;
    m_timer.stop();
    m_resume = {};
    expire();
}

bool FileCommandWait::begin()
{
    if (m_busy)
        return false;
    m_busy = true;
    return true;
}

void FileCommandWait::finish(std::function<void()> resume, std::function<void()> allowed)
{
    m_resume = std::move(resume);
    m_allowed = std::move(allowed);
    m_timer.start(m_delayMs);
}
