// Hostile Micro-SD listings, as the card listing and as every folder's listing: the tree gets only
// names that can be used as one file or folder name, each found in the listing.
#include "sdcard/RecordingListing.h"
#include "sdcard/RecordingTree.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QByteArray listing(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* name : {"sd.html", "filelist.html"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(listing) != listing.size())
            std::abort();
    }
    RecordingTree tree;
    const std::optional<std::vector<QByteArray>> folders = cardFolders(folder.path());
    if (!folders)
        std::abort();
    for (const QByteArray& name : *folders)
        addFolderRecordings(tree, folder.path(), name);
    for (int item = 0; item < tree.count(); ++item) {
        const QByteArray name = tree.name(item);
        if (!isSafeRecordingName(name) || name.size() >= kNameScanBytes || !listing.contains(name))
            std::abort();
    }
    return 0;
}
