#include "sdcard/RecordingListing.h"

#include <QByteArrayView>
#include <QFile>

#include <algorithm>

namespace {

const QByteArrayView kMarker(kLinkMarker);

// Calls f with the bytes that follow each link marker, up to the end of the marker's line. Lines
// have no length limit, so a link is never cut in two by the way the file is read.
template <typename F>
void forEachLink(const QByteArray& listing, F f)
{
    const QByteArrayView all(listing);
    qsizetype lineStart = 0;
    while (lineStart < all.size()) {
        qsizetype lineEnd = all.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = all.size();
        const QByteArrayView line = all.sliced(lineStart, lineEnd - lineStart);
        // A later marker is looked for right after this one, so a broken link cannot hide the next.
        for (qsizetype at = line.indexOf(kMarker); at >= 0; at = line.indexOf(kMarker, at + 1))
            f(line.sliced(at + kMarker.size()));
        lineStart = lineEnd + 1;
    }
}

// The name in front of the first end marker within the scan, when that name is safe.
void takeName(QByteArrayView rest, QByteArrayView endMarker, std::vector<QByteArray>& names)
{
    const QByteArrayView scan = rest.first(std::min(rest.size(), kNameScanBytes));
    const qsizetype end = scan.indexOf(endMarker);
    if (end < 0)
        return;
    QByteArray name = scan.first(end).toByteArray();
    if (isSafeRecordingName(name))
        names.push_back(std::move(name));
}

} // namespace

bool isSafeRecordingName(const QByteArray& name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7F;
    });
}

std::vector<QByteArray> cardListingFolders(const QByteArray& listing)
{
    std::vector<QByteArray> names;
    forEachLink(listing, [&](QByteArrayView rest) { takeName(rest, "/\">", names); });
    return names;
}

std::vector<QByteArray> folderListingFiles(const QByteArray& listing)
{
    std::vector<QByteArray> names;
    forEachLink(listing, [&](QByteArrayView rest) {
        // "DATE/record000/NAME": the name follows the second "/"; what lies between is not checked.
        const qsizetype first = rest.indexOf('/');
        const qsizetype second = first < 0 ? -1 : rest.indexOf('/', first + 1);
        if (second >= 0)
            takeName(rest.sliced(second + 1), "\">", names);
    });
    return names;
}

QByteArray readListingFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
