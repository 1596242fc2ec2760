// The byte-for-byte copy behind "&Save".
#include "support/TempFolder.h"
#include "view/SnapshotCopy.h"

#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kAuto = QStringLiteral("auto.jpg");
const QString kSaved = QStringLiteral("saved.jpg");
const QByteArray kOld = "the picture saved last week";
constexpr rlim_t kAny = RLIM_INFINITY;

// Bytes of every value, zeros included, over several copy buffers.
QByteArray snapshotBytes(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(4);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// Copies under a limit on the size of files this process writes (EFBIG beyond it). As root, who
// may write in any folder, with a folder read-only it runs in a child that gave up root first.
SnapshotCopyResult copy(const QString& from, const QString& to, rlim_t limit = kAny, bool asUser = false)
{
    const auto run = [&] {
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lowered{limit, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
        const SnapshotCopyResult result = copySnapshotFile(from, to);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        return result;
    };
    if (!asUser || geteuid() != 0)
        return run();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && run().saved ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    const bool saved = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {saved, saved ? QString() : QStringLiteral("(told in the child)")};
}

TEST(SnapshotCopy, SavesTheSnapshotByteForByteOrSaysWhyAndLeavesTheOldFileAsItWas)
{
    struct Row { const char* what; int size; rlim_t limit; QString target; bool readOnly; bool saved; QString says; };
    const Row rows[] = {
        {"over an older file", 300 * 1024 + 17, kAny, kSaved, false, true, {}},
        {"onto the snapshot itself", 300 * 1024, kAny, kAuto, false, true, {}},
        {"no snapshot yet", 0, kAny, kSaved, false, false, QStringLiteral("No snapshot has arrived")},
        {"folder missing", 1000, kAny, QStringLiteral("no/such/saved.jpg"), false, false, QStringLiteral("saved.jpg")},
        {"disk full part-way", 400 * 1024, 100 * 1024, kSaved, false, false, {}},
        {"only the last flush fails", 64 * 1024 + 1000, 64 * 1024 + 500, kSaved, false, false, {}},
        {"read-only folder, writable file", 300 * 1024, kAny, kSaved, true, true, {}},
        {"read-only folder, disk full", 300 * 1024, 100 * 1024, kSaved, true, false, {}},
        {"read-only folder, new name", 300 * 1024, kAny, QStringLiteral("new.jpg"), true, false, {}},
        {"read-only folder, full before the old bytes are back", 1000, 10, kSaved, true, false, {}},
    };
    for (const Row& r : rows) {
        TempFolder folder;
        folder.write(kSaved, kOld);
        const QByteArray bytes = snapshotBytes(r.size);
        if (r.size > 0)
            folder.write(kAuto, bytes);
        const QStringList before = folder.entries();
        if (r.readOnly) { // the old file writable by anyone, the folder by no one
            for (const auto& [name, mode] : {std::pair{kSaved, 0666}, {kAuto, 0444}, {QStringLiteral(".."), 0711}, {QStringLiteral("."), 0555}})
                chmod(folder.file(name).toLocal8Bit().constData(), mode);
        }
        const SnapshotCopyResult result = copy(folder.file(kAuto), folder.file(r.target), r.limit, r.readOnly);
        chmod(folder.path().toLocal8Bit().constData(), 0700);
        EXPECT_EQ(result.saved, r.saved) << r.what;
        EXPECT_TRUE(result.errorText.contains(r.says)) << r.what;
        const QByteArray left = r.saved ? bytes : kOld.left(qsizetype(std::min<rlim_t>(r.limit, kOld.size())));
        EXPECT_TRUE(folder.read(r.target == kAuto ? kAuto : kSaved) == left) << r.what;
        EXPECT_EQ(folder.entries(), before) << r.what << ": no temporary file left";
    }
}

// An Open or Save given long after the last wait ended keeps the commands disabled until its
// own chooser has closed and its own wait is over.
TEST(SnapshotCopy, ALaterCommandIsHeldByItsOwnWaitOnly)
{
    FileCommandWait wait(40);
    int resumes = 0;
    ASSERT_TRUE(wait.begin());
    wait.finish([&] { ++resumes; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wait.busy(); }, 2000));
    EXPECT_EQ(resumes, 1);
    ASSERT_TRUE(wait.begin()); // its chooser stays up for a while
    QTest::qWait(200);
    EXPECT_TRUE(wait.busy());
    EXPECT_FALSE(wait.begin());
    EXPECT_EQ(resumes, 1);
}

} // namespace
