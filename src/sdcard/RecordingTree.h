#pragma once
// The recordings tree of the Micro-SD dialog as plain data: item names (bytes), parents, children
// and check marks. The dialog shows it and the fetch worker reads it at the same time, so every
// call takes the tree's lock; items are only ever added, so an item id stays valid for good.

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>
#include <mutex>
#include <vector>

class RecordingTree {
public:
    static constexpr int kNone = -1;

    // Appends an item as the last child of parent (kNone: at the top level) and returns its id.
    int addItem(int parent, const QByteArray& name);

    int count() const;
    QByteArray name(int item) const;
    // The name as shown: UTF-8, or Latin-1 where the bytes are not valid UTF-8.
    QString text(int item) const;
    int parent(int item) const;
    // The item's place among its parent's children.
    int row(int item) const;
    // Children of parent, or top-level items for kNone.
    int childCount(int parent) const;
    int child(int parent, int row) const; // kNone when out of range

    bool isTicked(int item) const;
    void setTicked(int item, bool ticked);

private:
    struct Item {
        QByteArray name;
        QString text;
        int parent = kNone;
        int row = 0;
        std::vector<int> children;
        bool ticked = false;
    };
    const std::vector<int>& childrenOf(int parent) const;

    mutable std::mutex m_mutex;
    std::deque<Item> m_items;
    std::vector<int> m_topLevel;
};

// The ticked item that Play and Replay act on: for each top-level item in turn, the first ticked
// item of its subtree down to the fourth level (depth first), then the item itself. kNone if none.
int FindFirstTickedItem(const RecordingTree& tree);

// The items every fill starts with: "Micro-SD" with "Test folder 1" and "Test folder 2".
struct FixedItems {
    int microSd = RecordingTree::kNone;
    int testFolder1 = RecordingTree::kNone;
    int testFolder2 = RecordingTree::kNone;
};
FixedItems addFixedItems(RecordingTree& tree);

// Fetches the listing of one date folder ("DATE/record000") into "filelist.html", then runs done.
using FolderListingFetch = std::function<void(const QByteArray& relativePath, std::function<void()> done)>;

// The date folders of "sd.html" in the program folder, in listing order; nothing (after telling
// the user) when the card listing's path does not fit.
std::optional<std::vector<QByteArray>> cardFolders(const QString& programFolder);
// Adds a top-level item for folder and, under it, the recordings of "filelist.html" as it lies in
// the program folder now (the folder's listing, fetched just before).
void addFolderRecordings(RecordingTree& tree, const QString& programFolder, const QByteArray& folder);
