// Reading the card and folder listings: which names a listing gives, in which order.
#include "fakecam/CameraPages.h"
#include "sdcard/RecordingListing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<QByteArray>;

QByteArray link(const QByteArray& rest)
{
    return "<tr><td><a href=\"/sd/" + rest + "</a></td></tr>";
}

struct Case {
    const char* what;
    QByteArray listing;
    Names expected;
};

} // namespace

TEST(ListingTest, CardListingGivesEveryFolderLinkThatNamesAFolderOfItsOwn)
{
    const std::vector<Case> cases = {
        {"page of the camera, header lines first", QByteArray::fromStdString(fakecam::pages::cardListing()),
         {"20261130", "20261201", "20261202"}},
        {"two links to one folder", link("A/\">A/") + "\n" + link("A/\">A/") + "\n", {"A", "A"}},
        {"no end marker within 249 bytes, then a good line",
         link(QByteArray(247, 'x') + "/\">x") + "\n" + link(QByteArray(246, 'y') + "/\">y") + "\n" + link("B/\">B"),
         {QByteArray(246, 'y'), "B"}},
        {"a 300-byte name", link(QByteArray(300, 'B') + "/\">B") + "\n" + link("C/\">C"), {"C"}},
        {"names that leave the folder or hide a path",
         link("../../tmp/\">x") + "\n" + link("../\">x") + "\n" + link("./\">x") + "\n" + link("a\\b/\">x") + "\n" +
             link("/\">x") + "\n" + link("a\tb/\">x") + "\n" + link("D/\">D"),
         {"D"}},
        {"a broken link does not hide the next one on its line",
         "<a href=\"/sd/X\">X</a> <a href=\"/sd/Y/\">Y</a> <a href=\"/sd/Z/\">Z</a>", {"Y", "Z"}},
        {"no line break at all", link("E/\">E") + link("F/\">F") + link("G/\">G"), {"E", "F", "G"}},
        {"bytes that are not UTF-8 stay as they came", link("\xE9t\xE9/\">x"), {"\xE9t\xE9"}},
        {"nothing", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cardListingFolders(c.listing), c.expected) << c.what;
}

TEST(ListingTest, FolderListingGivesTheNameAfterTheSecondSlash)
{
    const std::vector<Case> cases = {
        {"page of the camera",
         QByteArray::fromStdString(fakecam::pages::recordFolderListing("20261201", 1024)),
         {"P261201_120000_120500.264", "P261201_120500_121000.264", "P261201_121000_121500.264"}},
        {"fewer than two slashes, then a good line",
         "<a href=\"/sd/A.264\">\n<a href=\"/sd/D/A.264\">\n<a href=\"/sd/D/r/A.264\">", {"A.264"}},
        {"what lies between the slashes is not looked at, even nothing",
         link("x/y/B.264\">B") + "\n" + link("/y/F.264\">F"), {"B.264", "F.264"}},
        {"no end marker within 249 bytes after the second slash",
         link("D/r/" + QByteArray(248, 'n') + "\">x") + "\n" + link("D/r/" + QByteArray(247, 'm') + "\">x"),
         {QByteArray(247, 'm')}},
        {"names that leave the folder",
         link("D/r/../../x.264\">x") + "\n" + link("D/r/..\">x") + "\n" + link("D/r/.\">x") + "\n" +
             link("D/r/\">x") + "\n" + link("D/r/s\\x.264\">x") + "\n" + link("D/r/x\x01.264\">x"),
         {}},
        {"two recordings on one line", link("D/r/C.264\">C</a> <a href=\"/sd/D/r/E.264\">E"), {"C.264", "E.264"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(folderListingFiles(c.listing), c.expected) << c.what;
}

TEST(ListingTest, HostileListingsOfTheCameraGiveOnlySoundNames)
{
    EXPECT_EQ(cardListingFolders(QByteArray::fromStdString(fakecam::pages::hostileCardListing())),
              (Names{"20261201", "2026 12 04", "2026-12-05-\xC3\xA9t\xC3\xA9", "\xE9t\xE9-2026", "20261201",
                     "20261202", "20261206", "20261207"}));
    // This folder's listing comes as one line without any line break.
    EXPECT_EQ(folderListingFiles(QByteArray::fromStdString(fakecam::pages::hostileRecordFolderListing("20261202", 9))),
              (Names{"P261202_000000_000500.264", "P261202_063000_063500.264", "P261202_120000_120500.264",
                     "P261202_235500_235959.264", "P261201 130000 130500.264", "P261201_caf\xC3\xA9.264",
                     "P261201_\xE9t\xE9.264", "P261202_000000_000500.264", "P261201_140000_140500.264",
                     "P261201_141000_141500.264"}));
}

TEST(ListingTest, MissingFileReadsAsAnEmptyListing)
{
    EXPECT_TRUE(readListingFile(QStringLiteral("/nonexistent/sd.html")).isEmpty());
}
