// The Micro-SD card: listings, hostile listings and the recordings themselves.

#include "CameraClient.h"

using namespace fakecamtest;

namespace {

class SdCardTest : public CameraTest {
protected:
    std::string recordFolder(const std::string& date) { return body("/sd/" + encodePath(date) + "/record000"); }
};

std::string firstLine(const std::string& page)
{
    return page.substr(0, page.find('\n'));
}

} // namespace

TEST_F(SdCardTest, ListingsOfferTheDatesAndRecordings)
{
    const std::vector<std::string> dates = camera.dates();
    ASSERT_GE(dates.size(), 2u);
    for (const char* target : {"/sd", "/sd/"}) {
        const std::string card = body(target);
        EXPECT_EQ(linkedNames(card, false), dates) << target;
        // Header lines come before the table, as on a real camera.
        EXPECT_EQ(firstLine(card).find("<a href=\"/sd/"), std::string::npos);
        EXPECT_NE(card.find("<title>"), std::string::npos);
        EXPECT_NE(card.find("Parent Directory"), std::string::npos);
    }
    for (const std::string& date : dates) {
        const std::vector<std::string> names = camera.recordings(date);
        ASSERT_FALSE(names.empty()) << date;
        for (const std::string& name : names)
            EXPECT_TRUE(name.size() == std::string("P261201_120000_120500.264").size() && name[0] == 'P') << name;
        EXPECT_EQ(linkedNames(recordFolder(date), true), names) << date;
        EXPECT_EQ(linkedNames(body("/sd/" + date + "/record000/"), true), names) << date;
        EXPECT_EQ(linkedNames(recordFolder(date), false), std::vector<std::string>{}) << "no folder links in " << date;
    }
    EXPECT_EQ(get("/sd/19991231/record000")->status, 404);
    EXPECT_EQ(get("/sd/" + dates.front() + "/record000/P000000_000000_000000.264")->status, 404);
}

TEST_F(SdCardTest, HostileListingsHoldEveryKindOfBadName)
{
    camera.setFault(fakecam::Fault::HostileListing);
    const std::string card = body("/sd");
    const std::vector<std::string> folders = linkedNames(card, false);
    const auto has = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    for (const std::string& bad : {std::string(".."), std::string("."), std::string(), std::string("../../../tmp"),
                                   std::string("2026\\1201"), std::string("2026\x01\x1b")})
        EXPECT_TRUE(has(folders, bad)) << bad;
    EXPECT_NE(card.find("/sd/" + std::string(300, 'B') + "/\">"), std::string::npos) << "a name too long to keep";
    EXPECT_NE(card.find("<a href=\"/sd/20261299\">"), std::string::npos) << "a link without its end marker";
    EXPECT_EQ(firstLine(card).find("<a href=\"/sd/"), std::string::npos);

    const std::vector<std::string> kept = fakecam::FakeCamera::hostileDates();
    EXPECT_EQ(soundNames(folders), kept);
    EXPECT_TRUE(has(kept, "2026 12 04") && has(kept, "\xE9t\xE9-2026"));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), "20261201"), 2) << "a folder listed twice";
    for (const std::string& date : kept) {
        const std::string page = recordFolder(date);
        const std::vector<std::string> files = linkedNames(page, true);
        EXPECT_EQ(soundNames(files), fakecam::FakeCamera::hostileRecordings(date)) << date;
        EXPECT_TRUE(has(files, "../../../../tmp/evil.264") && has(files, "sub\\evil.264")) << date;
        EXPECT_EQ(page.find('\n') == std::string::npos, date == "20261202") << "one folder comes as one line";
        // Every name worth keeping can be fetched, escaped as the program escapes it.
        for (const std::string& name : fakecam::FakeCamera::hostileRecordings(date)) {
            auto r = get(encodePath("/sd/" + date + "/record000/" + name), {{"Range", "bytes=0-"}});
            ASSERT_TRUE(r);
            EXPECT_TRUE(r->status == 200 || r->status == 206) << date << "/" << name;
        }
    }

    camera.setFault(fakecam::Fault::None);
    EXPECT_EQ(linkedNames(body("/sd"), false), camera.dates());
    EXPECT_EQ(get("/sd/2026%2012%2004/record000")->status, 404) << "hostile folders go with the fault";
}

