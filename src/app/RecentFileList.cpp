#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString comparable(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QStringList withRecentFile(QStringList list, const QString& path)
{
    list = withoutRecentFile(std::move(list), path);
    list.prepend(comparable(path));
    while (list.size() > cmd::RecentFileCount)
        list.removeLast();
    return list;
}

QStringList withoutRecentFile(QStringList list, const QString& path)
{
    const QString wanted = comparable(path);
    list.removeIf([&](const QString& entry) { return entry.isEmpty() || comparable(entry) == wanted; });
    return list;
}

QString recentFileMenuText(int index, const QString& path, const QString& programFolder)
{
    const QFileInfo info(path);
    QString shown = QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(programFolder)
        ? info.fileName()
        : QDir::toNativeSeparators(info.absoluteFilePath());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
