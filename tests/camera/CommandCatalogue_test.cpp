#include "camera/CommandCatalogue.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(CameraBaseUrl, IsTheSnapshotUrlCutAtItsFirstTmpfs)
{
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/tmpfs/auto.jpg")), QStringLiteral("http://cam"));
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam:8080/tmpfs/auto.jpg")), QStringLiteral("http://cam:8080"));
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/a/tmpfs/b/tmpfs/auto.jpg")), QStringLiteral("http://cam/a"));
    // Without "/tmpfs" the whole URL is the base; the match is case-sensitive.
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/snap.jpg")), QStringLiteral("http://cam/snap.jpg"));
    EXPECT_EQ(cameraBaseUrl(QStringLiteral("http://cam/TMPFS/auto.jpg")), QStringLiteral("http://cam/TMPFS/auto.jpg"));
    EXPECT_EQ(cameraBaseUrl(QString()), QString());
}

TEST(Catalogue, CodesOutsideTheTableHaveNoEntry)
{
    for (int code : {-1, 5, 10, 20, 30, 35, 40, 49, 54, 59, 80, 1000})
        EXPECT_FALSE(catalogueEntry(code).has_value()) << code;
}

TEST(Catalogue, PresetsAreFormedFromTheirNumbers)
{
    EXPECT_EQ(catalogueEntry(11)->cgiPath, QStringLiteral("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=0"));
    EXPECT_EQ(catalogueEntry(19)->cgiPath, QStringLiteral("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-number=8"));
    EXPECT_EQ(catalogueEntry(41)->cgiPath, QStringLiteral("/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=0"));
    EXPECT_EQ(catalogueEntry(48)->cgiPath, QStringLiteral("/cgi-bin/hi3510/preset.cgi?-act=set&-status=1&-number=7"));
}

TEST(Catalogue, MovesAndPresetsShareOneAnswerFileAndPagesHaveTheirOwn)
{
    int codes = 0;
    QStringList pages;
    for (int code = 0; code <= 79; ++code) {
        const auto entry = catalogueEntry(code);
        if (!entry)
            continue;
        ++codes;
        if (code <= 53) {
            EXPECT_EQ(entry->answerFile, QStringLiteral("cgi.html")) << code;
        } else {
            EXPECT_FALSE(pages.contains(entry->answerFile)) << code;
            pages << entry->answerFile;
        }
        EXPECT_TRUE(entry->cgiPath.startsWith(QStringLiteral("/cgi-bin/hi3510/")) || code == 79) << code;
    }
    // 0-4, 11-19, 31-34, 41-48, 50-53 and 60-79.
    EXPECT_EQ(codes, 5 + 9 + 4 + 8 + 4 + 20);
    EXPECT_EQ(catalogueEntry(79)->cgiPath, QStringLiteral("/sd"));
    EXPECT_EQ(catalogueEntry(79)->answerFile, QStringLiteral("sd.html"));
}

} // namespace
