#pragma once
// Reading the camera's Micro-SD listings: the card listing names the date folders, each folder's
// listing names its recordings. Names stay bytes, exactly as the camera sent them.

#include <QByteArray>
#include <QString>

#include <vector>

// What a link must start with to name something on the card.
inline constexpr char kLinkMarker[] = "<a href=\"/sd/";
// A name is looked for in at most this many bytes after its start.
inline constexpr qsizetype kNameScanBytes = 249;

// A name that can only ever mean a file or folder of its own: not empty, not "." or "..", and
// without "/", "\" or control characters.
bool isSafeRecordingName(const QByteArray& name);

// The date folders of a card listing, in listing order, duplicates kept. Every link on every line
// counts; a link whose name is unsafe or does not end within the scan is passed over.
std::vector<QByteArray> cardListingFolders(const QByteArray& listing);
// The recordings of a folder listing ("/sd/DATE/record000/NAME" links), in listing order.
std::vector<QByteArray> folderListingFiles(const QByteArray& listing);

// The whole of a listing file; empty when it is missing or unreadable.
QByteArray readListingFile(const QString& path);
