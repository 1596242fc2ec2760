#include "view/SnapshotCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
    if (!target.open(QIODevice::WriteOnly))
        return failed(targetPath, target.errorString());
    std::array<char, 64 * 1024> buffer;
    QString cause;
    for (;;) {
        const qint64 got = snapshot.read(buffer.data(), qint64(buffer.size()));
        if (got == 0)
            break;
        if (got < 0) {
            cause = viewText(QT_TRANSLATE_NOOP("CVarnekJPGView",
                                               "The snapshot file could not be read: %1"))
                        .arg(snapshot.errorString());
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
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { expire(); });
}

void FileCommandWait::expire()
{
    // Resume first, so a command given from inside it is still refused.
    auto resume = std::exchange(m_resume, {});
    if (resume)
        resume();
    m_busy = false;
}

void FileCommandWait::expireNow()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    expire();
}

bool FileCommandWait::begin()
{
    if (m_busy)
        return false;
    m_busy = true;
    return true;
}

void FileCommandWait::finish(std::function<void()> resume)
{
    m_resume = std::move(resume);
    m_timer.start();
}
