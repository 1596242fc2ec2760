#pragma once
// The recent-file list of the File menu: at most cmd::RecentFileCount full paths, newest first.

#include "view/CommandIds.h"

#include <QString>
#include <QStringList>

// The list with path put first; an entry naming the same file moves instead of doubling.
QStringList withRecentFile(QStringList list, const QString& path);
QStringList withoutRecentFile(QStringList list, const QString& path);
// "&N NAME" for entry index (0-based): a file of the program folder by its name, any other by its
// full path; ampersands in the name are shown as such, not as mnemonics.
QString recentFileMenuText(int index, const QString& path, const QString& programFolder);
