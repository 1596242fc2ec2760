#pragma once
// Where the program's files go and what they may be called: the program folder, the path rule
// and its message, the checks on names that come from the camera, and names inside URLs.

#include <QByteArray>
#include <QString>

#include <optional>

// Longest target path, in UTF-16 units with the terminator: folder, separator and file name.
inline constexpr int kPathUnits = 500;

// The folder the program keeps its files in: the current directory.
QString programFolder();

// The full path of a file in a folder, or nothing when it does not fit in kPathUnits.
std::optional<QString> pathInFolder(const QString& folder, const QString& fileName);

// The message shown when a file name does not fit after the program folder. With an empty
// fileName it speaks of "the destination filename", as for the Micro-SD requests.
QString pathRuleMessage(const QString& fileName);
inline const QString kMessageCaption = QStringLiteral("CVarnekJPG");

// A name from the camera may name nothing but a file in the program folder: not empty, not "."
// or "..", no separator and no control character.
bool isPlainFileName(const QByteArray& name);

// Percent-encodes every byte outside A-Z a-z 0-9 - . _ ~ (and "/" when keepSlashes).
QByteArray encodeUrlPathBytes(const QByteArray& bytes, bool keepSlashes);

// Names of the files the program keeps are bytes on disk; a recording's name comes from the camera
// as bytes and is shown as UTF-8, or as Latin-1 where it is not valid UTF-8.
QString nameForDisplay(const QByteArray& bytes);
