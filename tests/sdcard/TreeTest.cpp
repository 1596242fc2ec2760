// The recordings tree as plain data: which ticked item Play finds, what Fetch goes through.
#include "platform/RecordingDesktop.h"
#include "sdcard/FetchWorker.h"
#include "sdcard/RecordingLocation.h"
#include "sdcard/RecordingTree.h"
#include "sdcard/TreeImageList.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Micro-SD (Test folder 1, Test folder 2), F1 (a1 (a1x (a1xy (a1xyz))), a2), Empty, F2 (b1, b2).
struct Sample {
    RecordingTree tree;
    std::map<QString, int> ids;
    Sample()
    {
        const FixedItems fixed = addFixedItems(tree);
        ids = {{"Micro-SD", fixed.microSd}, {"Test folder 1", fixed.testFolder1}, {"Test folder 2", fixed.testFolder2}};
        add("F1", "");
        add("a1", "F1");
        add("a1x", "a1");
        add("a1xy", "a1x");
        add("a1xyz", "a1xy");
        add("a2", "F1");
        add("Empty", "");
        add("F2", "");
        add("b1", "F2");
        add("b2", "F2");
    }
    void add(const QString& name, const QString& parent)
    {
        ids[name] = tree.addItem(parent.isEmpty() ? RecordingTree::kNone : ids.at(parent), name.toUtf8());
    }
    void tick(const QStringList& names)
    {
        for (const QString& name : names)
            tree.setTicked(ids.at(name), true);
    }
};

} // namespace

TEST(TreeTest, FirstTickedItemSearchesEachSubtreeBeforeItsTopLevelItem)
{
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"Test folder 2", "Micro-SD"}, "Test folder 2"},
        {{"F1", "b1"}, "F1"},
        {{"a2", "F1"}, "a2"},
        {{"a1xy", "a2"}, "a1xy"},   // the fourth level is searched
        {{"a1xyz", "b2"}, "b2"},    // the fifth is not
        {{}, "none"},
    };
    for (const auto& [ticked, expected] : cases) {
        Sample s;
        s.tick(ticked);
        const int found = FindFirstTickedItem(s.tree);
        EXPECT_EQ(found == RecordingTree::kNone ? QStringLiteral("none") : s.tree.text(found), expected) << ticked.join(',').toStdString();
    }
}

TEST(TreeTest, FetchWalkGoesThroughTickedChildrenOfEveryTopLevelItemAndCountsFailures)
{
    struct Case {
        QStringList ticked;
        QStringList failing;
        QStringList expectedOrder;
        QString expectedMessage;
    };
    const std::vector<Case> cases = {
        {{"Test folder 1", "a2", "b2", "a1x", "F2"}, {}, {"Test folder 1", "a2", "b2"}, "Finished fetching the files"},
        {{"a1", "b1", "b2"}, {"b1", "a1"}, {"a1", "b1", "b2"},
         "Finished fetching the files, 2 of 3 could not be fetched."},
        {{"F1", "a1xy"}, {}, {}, "No files fetched, did you tick any items ?"},
    };
    for (const Case& c : cases) {
        Sample s;
        s.tick(c.ticked);
        QStringList order;
        std::atomic<bool> stop{false};
        const FetchResult result = walkTickedFiles(s.tree, stop, [&](int item) {
            order << s.tree.text(item);
            return !c.failing.contains(s.tree.text(item));
        });
        EXPECT_EQ(order, c.expectedOrder);
        EXPECT_EQ(fetchFinalMessage(result), c.expectedMessage);
        EXPECT_EQ(countTickedFiles(s.tree), c.expectedOrder.size());
    }

    Sample s;
    s.tick({"a1", "a2", "b1"});
    std::atomic<bool> stop{false};
    QStringList order;
    const FetchResult result = walkTickedFiles(s.tree, stop, [&](int item) {
        order << s.tree.text(item);
        stop = true; // the dialog closes during the first download
        return true;
    });
    EXPECT_EQ(order, QStringList{"a1"});
    EXPECT_TRUE(result.stopped);
}

TEST(TreeTest, TreeImagesAreFramedTilesWithoutTheSeeThroughColour)
{
    const QImage strip = drawTreeBoundsStrip();
    ASSERT_EQ(strip.size(), QSize(231, 15));
    struct Tile {
        int index;
        QRgb frame, fill, ink; // ink at the tile's middle row, left of centre
    };
    for (const Tile& t : {Tile{0, qRgb(200, 0, 0), qRgb(250, 250, 250), qRgb(0, 0, 0)},
                          Tile{1, qRgb(200, 0, 0), qRgb(255, 255, 0), qRgb(0, 140, 0)},
                          Tile{10, qRgb(0, 0, 200), qRgb(232, 240, 255), qRgb(0, 0, 0)},
                          Tile{11, qRgb(0, 0, 200), qRgb(255, 255, 0), qRgb(0, 140, 0)}}) {
        const int x = t.index * 15;
        EXPECT_EQ(strip.pixel(x, 0) & 0xFFFFFF, t.frame & 0xFFFFFF) << t.index;
        EXPECT_EQ(strip.pixel(x + 13, 13) & 0xFFFFFF, t.fill & 0xFFFFFF) << t.index;
        EXPECT_EQ(strip.pixel(x + 5, 7) & 0xFFFFFF, t.ink & 0xFFFFFF) << t.index;
        for (int y = 0; y < 15; ++y)
            for (int dx = 0; dx < 15; ++dx)
                ASSERT_NE(strip.pixel(x + dx, y) & 0xFFFFFF, qRgb(192, 192, 192) & 0xFFFFFF) << t.index;
    }
    EXPECT_EQ(cutTreeImages(strip).size(), 15);
}

TEST(RecordingLocation, EachPathFitsInFiveHundredUnitsWithItsTerminatorOrTheUserIsToldWhichPartDidNot)
{
    platform::RecordingDesktop desktop;
    const QString base = QStringLiteral("http://127.0.0.1:8765/") + QString(78, QLatin1Char('c')); // 100 units
    const QString folder = QStringLiteral("/") + QString(99, QLatin1Char('p'));                 // 100 units
    // The URL: base + "/sd/" + date + "/record000/" + name, 499 units at the most.
    const QByteArray fits(499 - 100 - 4 - 8 - 11, 'n');
    const std::optional<RecordingLocation> location = formRecordingLocation(base, "20261201", fits, QStringLiteral("/p"));
    ASSERT_TRUE(location);
    EXPECT_EQ(location->url.size(), 499);
    EXPECT_FALSE(formRecordingLocation(base, "20261201", fits + 'n', QStringLiteral("/p")));
    // The copy: folder + "/" + name, 499 units at the most.
    const QByteArray local(499 - 100 - 1, 'n');
    ASSERT_TRUE(formRecordingLocation(std::nullopt, "20261201", local, folder));
    EXPECT_FALSE(formRecordingLocation(std::nullopt, "20261201", local + 'n', folder));
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].text,
              QStringLiteral("An error occured appending the /sd/ part of the movie URL.\nNo help is available on this error."));
    EXPECT_EQ(desktop.messages()[1].text, QStringLiteral("An error occured appending the filename part of the movie file "
                                                         "location.\nNo help is available on this error."));
}
