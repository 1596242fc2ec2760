#include "app/KeyboardLocks.h"

#include <QDir>
#include <QFile>

namespace {

bool lit(const QString& ledFolder)
{
    QFile file(ledFolder + QStringLiteral("/brightness"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int brightness = file.readLine(16).trimmed().toInt(&ok);
    return ok && brightness > 0;
}

} // namespace

LockState readLockState(const QString& ledsFolder)
{
    LockState state;
    const QDir leds(ledsFolder);
    const QStringList names = leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : names) {
        const QString path = leds.filePath(name);
        if (name.endsWith(QStringLiteral("::capslock")))
            state.capsLock = state.capsLock || lit(path);
        else if (name.endsWith(QStringLiteral("::numlock")))
            state.numLock = state.numLock || lit(path);
        else if (name.endsWith(QStringLiteral("::scrolllock")))
            state.scrollLock = state.scrollLock || lit(path);
    }
    return state;
}
