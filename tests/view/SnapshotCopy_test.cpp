#include "support/TempFolder.h"
#include "view/SnapshotCopy.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString kAuto = QStringLiteral("auto.jpg");
const QString kSaved = QStringLiteral("saved.jpg");
const QByteArray kOld = "the picture saved last week";

// Bytes of every value, zeros included, over several copy buffers.
QByteArray snapshotBytes(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(4);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// Copies under a lowered limit on the size of files this process writes (EFBIG beyond it).
SnapshotCopyResult copyWithSizeLimit(rlim_t limit, const QString& from, const QString& to)
{
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lowered = old;
    lowered.rlim_cur = limit;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const SnapshotCopyResult result = copySnapshotFile(from, to);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

TEST(SnapshotCopy, SavesTheSnapshotByteForByteEvenOntoItself)
{
    TempFolder folder;
    const QByteArray bytes = snapshotBytes(300 * 1024 + 17);
    folder.write(kAuto, bytes);
    folder.write(kSaved, kOld);
    const SnapshotCopyResult result = copySnapshotFile(folder.file(kAuto), folder.file(kSaved));
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(folder.read(kSaved) == bytes);
    EXPECT_EQ(folder.entries(), QStringList({kAuto, kSaved})); // no temporary file left
    // Saving onto auto.jpg itself must not truncate what is being read.
    EXPECT_TRUE(copySnapshotFile(folder.file(kAuto), folder.file(kAuto)).saved);
    EXPECT_TRUE(folder.read(kAuto) == bytes);
}

TEST(SnapshotCopy, FailuresSaveNothingAndSaySo)
{
    struct Row { const char* what; bool snapshot; QString target; QString says; };
    const Row rows[] = {
        {"no snapshot yet", false, kSaved, QStringLiteral("No snapshot has arrived")},
        {"folder missing", true, QStringLiteral("no/such/saved.jpg"), QStringLiteral("saved.jpg")},
        {"target is a folder", true, QStringLiteral("pictures"), QStringLiteral("pictures")},
    };
    for (const Row& r : rows) {
        TempFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("pictures"));
        if (r.snapshot)
            folder.write(kAuto, snapshotBytes(1000));
        const QStringList before = folder.entries();
        const auto result = copySnapshotFile(folder.file(kAuto), folder.file(r.target));
        EXPECT_FALSE(result.saved) << r.what;
        EXPECT_TRUE(result.errorText.contains(r.says)) << r.what;
        EXPECT_EQ(folder.entries(), before) << r.what;
        EXPECT_TRUE(QDir(folder.file(QStringLiteral("pictures"))).isEmpty()) << r.what;
    }
}

TEST(SnapshotCopy, CopyFailingPartWayLeavesTheOldFileAndNoPartialOne)
{
    TempFolder folder;
    folder.write(kSaved, kOld);
    struct Row { const char* what; int size; rlim_t limit; QString target; };
    const Row rows[] = {
        {"disk full part-way", 400 * 1024, 100 * 1024, kSaved},
        {"disk full, no older file", 400 * 1024, 100 * 1024, QStringLiteral("new.jpg")},
        {"only the last flush fails", 64 * 1024 + 1000, 64 * 1024 + 500, kSaved},
    };
    for (const Row& r : rows) {
        folder.write(kAuto, snapshotBytes(r.size));
        const auto result = copyWithSizeLimit(r.limit, folder.file(kAuto), folder.file(r.target));
        EXPECT_FALSE(result.saved) << r.what;
        EXPECT_FALSE(result.errorText.isEmpty()) << r.what;
        EXPECT_TRUE(folder.read(kSaved) == kOld) << r.what;
        EXPECT_EQ(folder.entries(), QStringList({kAuto, kSaved})) << r.what;
    }
    // A snapshot that cannot be read (reading this file fails with EIO).
    const auto result = copySnapshotFile(QStringLiteral("/proc/self/mem"), folder.file(kSaved));
    EXPECT_FALSE(result.saved);
    EXPECT_TRUE(result.errorText.contains(QStringLiteral("could not be read")));
    EXPECT_TRUE(folder.read(kSaved) == kOld);
    EXPECT_EQ(folder.entries(), QStringList({kAuto, kSaved}));
}

TEST(SnapshotCopy, ChooserFileTypes)
{
    EXPECT_EQ(openFileFilters().join('|'),
              QStringLiteral("jpg (*.jpg *.jpeg)|.264 video (*.264)|All (*)"));
    EXPECT_EQ(saveFileFilters().join('|'), QStringLiteral("jpg (*.jpg *.jpeg)|All (*)"));
}

TEST(SnapshotCopy, FileCommandsWaitWithoutBlockingAndResumeOnce)
{
    FileCommandWait wait(30);
    int resumed = 0;
    ASSERT_TRUE(wait.begin());
    EXPECT_FALSE(wait.begin()); // a second Open or Save while the chooser is up
    wait.finish([&] {
        ++resumed;
        EXPECT_FALSE(wait.begin()); // and while resuming
    });
    EXPECT_TRUE(resumed == 0 && wait.busy()); // finish() returns at once; events flow meanwhile
    QElapsedTimer clock;
    clock.start();
    while (resumed == 0 && clock.elapsed() < 5000)
        QTest::qWait(5);
    QTest::qWait(100);
    EXPECT_EQ(resumed, 1);
    EXPECT_FALSE(wait.busy());
    EXPECT_TRUE(wait.begin());

    int late = 0; // a view closed during the wait is never called back
    {
        FileCommandWait closing(30);
        closing.begin();
        closing.finish([&] { ++late; });
    }
    QTest::qWait(100);
    EXPECT_EQ(late, 0);
}

} // namespace
