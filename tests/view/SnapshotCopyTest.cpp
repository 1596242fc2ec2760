// The byte-for-byte copy behind "&Save" and the wait after a file chooser.
#include "support/TempFolder.h"
#include "view/SnapshotCopy.h"

#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Copies as an ordinary user: root may write in any folder, so as root the copy runs in a child
// process that has given up root first.
bool savedAsUser(rlim_t limit, const QString& from, const QString& to)
{
    const auto copy = [&] { return copyWithSizeLimit(limit, from, to).saved; };
    if (geteuid() != 0)
        return copy();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && copy() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SnapshotCopy, InAFolderTheUserCannotWriteToAnExistingFileIsOverwrittenInPlaceOrKept)
{
    using P = QFileDevice::Permission;
    struct Row { const char* what; QString target; rlim_t limit; bool saved; };
    const Row rows[] = {
        {"over a writable file", kSaved, RLIM_INFINITY, true},
        {"disk full part-way", kSaved, 100 * 1024, false},
        {"a new name", QStringLiteral("new.jpg"), RLIM_INFINITY, false},
    };
    for (const Row& r : rows) {
        TempFolder folder;
        const QByteArray bytes = snapshotBytes(300 * 1024);
        folder.write(kAuto, bytes);
        folder.write(kSaved, kOld);
        QFile::setPermissions(folder.file(kSaved), P::ReadOwner | P::WriteOwner | P::ReadOther | P::WriteOther);
        QFile::setPermissions(folder.file(kAuto), P::ReadOwner | P::ReadOther);
        QFile::setPermissions(folder.file(QStringLiteral("..")), P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadOther | P::ExeOther);
        QFile::setPermissions(folder.path(), P::ReadOwner | P::ExeOwner | P::ReadOther | P::ExeOther);
        EXPECT_EQ(savedAsUser(r.limit, folder.file(kAuto), folder.file(r.target)), r.saved) << r.what;
        EXPECT_TRUE(folder.read(kSaved) == (r.saved ? bytes : kOld)) << r.what;
        EXPECT_EQ(folder.entries(), QStringList({kAuto, kSaved})) << r.what;
        QFile::setPermissions(folder.path(), P::ReadOwner | P::WriteOwner | P::ExeOwner);
    }
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

TEST(SnapshotCopy, AFailedCopySaysSoAndLeavesNoPartialFileAndTheOldOneAsItWas)
{
    const rlim_t any = RLIM_INFINITY;
    const QString noFile = QStringLiteral("/proc/self/mem"); // reading it fails with EIO
    struct Row { const char* what; QString from; int size; rlim_t limit; QString target; QString says; };
    const Row rows[] = {
        {"no snapshot yet", kAuto, 0, any, kSaved, QStringLiteral("No snapshot has arrived")},
        {"folder missing", kAuto, 1000, any, QStringLiteral("no/such/saved.jpg"), QStringLiteral("saved.jpg")},
        {"target is a folder", kAuto, 1000, any, QStringLiteral("pictures"), QStringLiteral("pictures")},
        {"disk full part-way", kAuto, 400 * 1024, 100 * 1024, kSaved, {}},
        {"disk full, no older file", kAuto, 400 * 1024, 100 * 1024, QStringLiteral("new.jpg"), {}},
        {"only the last flush fails", kAuto, 64 * 1024 + 1000, 64 * 1024 + 500, kSaved, {}},
        {"snapshot unreadable", noFile, 0, any, kSaved, QStringLiteral("could not be read")},
    };
    for (const Row& r : rows) {
        TempFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("pictures"));
        folder.write(kSaved, kOld);
        if (r.size > 0)
            folder.write(kAuto, snapshotBytes(r.size));
        const QStringList before = folder.entries();
        const QString from = r.from == kAuto ? folder.file(kAuto) : r.from;
        const auto result = r.limit == any ? copySnapshotFile(from, folder.file(r.target))
                                           : copyWithSizeLimit(r.limit, from, folder.file(r.target));
        EXPECT_FALSE(result.saved) << r.what;
        EXPECT_FALSE(result.errorText.isEmpty()) << r.what;
        EXPECT_TRUE(result.errorText.contains(r.says)) << r.what;
        EXPECT_TRUE(folder.read(kSaved) == kOld) << r.what;
        EXPECT_EQ(folder.entries(), before) << r.what;
        EXPECT_TRUE(QDir(folder.file(QStringLiteral("pictures"))).isEmpty()) << r.what;
    }
}

TEST(SnapshotCopy, TheWaitResumesOnceFromTheEventLoopAndNeverAfterItsOwnerWent)
{
    int resumed = 0, late = 0;
    {
        FileCommandWait wait(0);
        ASSERT_TRUE(wait.begin());
        wait.finish([&] {
            ++resumed;
            EXPECT_FALSE(wait.begin()) << "still refused while resuming";
        });
        EXPECT_TRUE(resumed == 0 && wait.busy()) << "finish() returns at once";
        EXPECT_TRUE(QTest::qWaitFor([&] { return resumed > 0; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(resumed, 1);
        EXPECT_TRUE(wait.begin());

        FileCommandWait closing(0);
        closing.begin();
        closing.finish([&] { ++late; });
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(late, 0);
}

} // namespace
