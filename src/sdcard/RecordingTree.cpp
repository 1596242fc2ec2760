#include "sdcard/RecordingTree.h"

#include "camera/CameraRequest.h"
#include "platform/Desktop.h"
#include "sdcard/RecordingListing.h"

int RecordingTree::addItem(int parent, const QByteArray& name)
{
    std::lock_guard lock(m_mutex);
    const int id = static_cast<int>(m_items.size());
    std::vector<int>& siblings = parent == kNone ? m_topLevel : m_items[parent].children;
    m_items.push_back(Item{name, nameForDisplay(name), parent, static_cast<int>(siblings.size()), {}, false});
    siblings.push_back(id);
    return id;
}

int RecordingTree::count() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

QByteArray RecordingTree::name(int item) const
{
    std::lock_guard lock(m_mutex);
    return m_items.at(item).name;
}

QString RecordingTree::text(int item) const
{
    std::lock_guard lock(m_mutex);
    return m_items.at(item).text;
}

int RecordingTree::parent(int item) const
{
    std::lock_guard lock(m_mutex);
    return m_items.at(item).parent;
}

int RecordingTree::row(int item) const
{
    std::lock_guard lock(m_mutex);
    return m_items.at(item).row;
}

const std::vector<int>& RecordingTree::childrenOf(int parent) const
{
    return parent == kNone ? m_topLevel : m_items.at(parent).children;
}

int RecordingTree::childCount(int parent) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(childrenOf(parent).size());
}

int RecordingTree::child(int parent, int row) const
{
    std::lock_guard lock(m_mutex);
    const std::vector<int>& children = childrenOf(parent);
    return row >= 0 && row < static_cast<int>(children.size()) ? children[row] : kNone;
}

bool RecordingTree::isTicked(int item) const
{
    std::lock_guard lock(m_mutex);
    return m_items.at(item).ticked;
}

void RecordingTree::setTicked(int item, bool ticked)
{
    std::lock_guard lock(m_mutex);
    m_items.at(item).ticked = ticked;
}

namespace {

// Depth first through the children of item, down to the given level (top-level items are level 1).
int firstTickedBelow(const RecordingTree& tree, int item, int level)
{
    for (int row = 0, child; (child = tree.child(item, row)) != RecordingTree::kNone; ++row) {
        if (tree.isTicked(child))
            return child;
        if (level + 1 < 4) {
            const int found = firstTickedBelow(tree, child, level + 1);
            if (found != RecordingTree::kNone)
                return found;
        }
    }
    return RecordingTree::kNone;
}

} // namespace

int FindFirstTickedItem(const RecordingTree& tree)
{
    for (int row = 0, top; (top = tree.child(RecordingTree::kNone, row)) != RecordingTree::kNone; ++row) {
        const int found = firstTickedBelow(tree, top, 1);
        if (found != RecordingTree::kNone)
            return found;
        if (tree.isTicked(top))
            return top;
    }
    return RecordingTree::kNone;
}

FixedItems addFixedItems(RecordingTree& tree)
{
    FixedItems fixed;
    fixed.microSd = tree.addItem(RecordingTree::kNone, "Micro-SD");
    fixed.testFolder1 = tree.addItem(fixed.microSd, "Test folder 1");
    fixed.testFolder2 = tree.addItem(fixed.microSd, "Test folder 2");
    return fixed;
}

std::optional<std::vector<QByteArray>> cardFolders(const QString& programFolder)
{
    const std::optional<QString> cardListing = pathInFolder(programFolder, QStringLiteral("sd.html"));
    if (!cardListing) {
        platform::desktop().messageBox(
            QStringLiteral("Varnekjpg"),
            QStringLiteral("Error Varnekjpg an error occured appending /sd.html to the program's folder name.\n"
                           "Try moving the program somewhere where the path is shorter\n"
                           "so the total length of the path and filename is less than 500 bytes."));
        return std::nullopt;
    }
    return cardListingFolders(readListingFile(*cardListing));
}

void addFolderRecordings(RecordingTree& tree, const QString& programFolder, const QByteArray& folder)
{
    const int folderItem = tree.addItem(RecordingTree::kNone, folder);
    const QString folderListing = pathInFolder(programFolder, QStringLiteral("filelist.html")).value_or(QString());
    for (const QByteArray& file : folderListingFiles(readListingFile(folderListing)))
        tree.addItem(folderItem, file);
}
