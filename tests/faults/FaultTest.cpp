// Every fault of the simulated camera against every request that meets it in use: what the request
// returns, what the program folder holds afterwards, and that the next request works again.
#include "support/CameraFixture.h"

#include "camera/CameraRequest.h"
#include "sdcard/DialogSDVideo.h"
#include "sdcard/RecordingTreeModel.h"
#include "view/PageCommands.h"
#include "view/VarnekJPGView.h"

#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using fakecam::Fault;

// What the request's own file holds afterwards: nothing, the answer stored before the fault, or a
// new answer from the camera.
enum class Left { Nothing, Old, New };
struct Expect {
    int result; // 99: the fault does not meet this request in use
    Left left;
};
constexpr Expect kNotMet{99, Left::Nothing};

struct Row {
    const char* name;
    Fault fault;
    int pageStatus; // not 0: the request's target (other than the snapshot) answers pageBytes 'x' with it
    int pageBytes;
    long long capBytes; // 0: the usual cap
    Expect snapshot, command, cardListing, folderListing, play, fetch;
};

const Row kRows[] = {
    {"wrong credentials", Fault::WrongCredentials, 0, 0, 0,
     {-1, Left::Nothing}, {0, Left::New}, {0, Left::New}, {0, Left::New}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"404", Fault::SnapshotNotFound, 404, 200, 0,
     {-1, Left::Nothing}, {0, Left::New}, {0, Left::New}, {0, Left::New}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"dropped mid-body", Fault::DropMidBody, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"headers, then nothing", Fault::DropAfterHeaders, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"stall before the answer", Fault::StallBeforeAnswer, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Old}, {-1, Left::Old}, {-1, Left::Old}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"stall in the body", Fault::StallMidBody, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"trickle", Fault::Trickle, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"truncated picture", Fault::TruncatedJpeg, 0, 0, 0, {0, Left::New}, kNotMet, kNotMet, kNotMet, kNotMet, kNotMet},
    {"not a picture", Fault::NotJpeg, 0, 0, 0, {0, Left::New}, kNotMet, kNotMet, kNotMet, kNotMet, kNotMet},
    // Recordings have no cap: a long one is no fault.
    {"over the size cap", Fault::None, 200, 2000, 1000,
     {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {-1, Left::Nothing}, {0, Left::New}, {0, Left::New}},
    {"never answers", Fault::NeverAnswer, 0, 0, 0,
     {-1, Left::Nothing}, {-1, Left::Old}, {-1, Left::Old}, {-1, Left::Old}, {-1, Left::Nothing}, {-1, Left::Nothing}},
    {"hostile listing", Fault::HostileListing, 0, 0, 0, kNotMet, kNotMet, {0, Left::New}, {0, Left::New}, kNotMet, kNotMet},
};

const QString kRunningTitle = QStringLiteral("VarnekJPG timer running 1 second");
const QString kFailureTitle = QStringLiteral("VarnekJPG The timer is turned off because a picture could not be obtained "
                                             "from your camera.  Check your settings and restart the timer. ");
const char* const kRecording = "P261201_120500_121000.264";
const std::string kRecordingTarget = std::string("/sd/20261201/record000/") + kRecording;

class FaultTest : public CameraTest {
protected:
    // Short limits while the fault is on, so that each case takes at most a second or two.
    void injure(const Row& row, const std::string& target)
    {
        RequestTimeouts limits;
        limits.snapshotConnectMs = limits.snapshotTotalMs = limits.otherConnectMs = limits.otherTotalMs = 800;
        limits.otherRetryDelayMs = 50;
        limits.recordingSlowSeconds = 1;
        if (row.capBytes)
            limits.answerCapBytes = row.capBytes;
        setRequestTimeouts(limits);
        camera->setFault(row.fault, 3);
        if (row.pageStatus && !target.empty())
            camera->setPage(target, std::string(static_cast<std::size_t>(row.pageBytes), 'x'), row.pageStatus);
    }
    void heal()
    {
        camera->setFault(Fault::None);
        camera->clearPages();
        setRequestTimeouts(RequestTimeouts{});
    }
    void TearDown() override { heal(); }

    // The folder holds exactly `others` and the request's file as expected: no temporary file.
    void expectLeft(const QString& file, Left left, QStringList others = {})
    {
        if (left != Left::Nothing)
            others << file;
        others.sort();
        QStringList entries = folder.entries();
        entries.sort();
        EXPECT_EQ(entries.join(QLatin1Char(',')).toStdString(), others.join(QLatin1Char(',')).toStdString());
        if (left == Left::Old) {
            EXPECT_EQ(folder.read(file), QByteArray("old"));
        } else if (left == Left::New) {
            EXPECT_NE(folder.read(file), QByteArray("old"));
        }
    }

    // One request variant that stores its answer as `file`, the camera's page for it at `target`.
    void runTable(Expect Row::*column, const QString& file, const std::string& target, const std::function<int()>& request)
    {
        for (const Row& row : kRows) {
            const Expect expect = row.*column;
            if (expect.result == kNotMet.result)
                continue;
            SCOPED_TRACE(row.name);
            folder.write(file, "old");
            injure(row, target);
            EXPECT_EQ(request(), expect.result);
            heal();
            expectLeft(file, expect.left);
            EXPECT_EQ(request(), 0) << "the next request";
            expectLeft(file, Left::New);
            QFile::remove(folder.file(file));
        }
    }

    // The recordings browser as SD > Video opens it, filled while the camera is sound, with the
    // recording ticked.
    std::unique_ptr<CDialogSDVideo> openDialogWithRecordingTicked()
    {
        SendCameraCommand(kSdListingCode, currentCameraSettings(), folder.path());
        auto dialog = std::make_unique<CDialogSDVideo>();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->requestWaiting(); }, 10000));
        RecordingTree& tree = dialog->recordings();
        for (int id = 0; id < tree.count(); ++id) {
            if (tree.text(id) == QLatin1String(kRecording))
                dialog->model().setData(dialog->model().indexOf(id), Qt::Checked, Qt::CheckStateRole);
        }
        return dialog;
    }
    QByteArray recordingBytes() const
    {
        return QByteArray::fromStdString(fakecam::FakeCamera::recordingBytes(kRecordingTarget, 0, 1 << 20));
    }
    const QStringList kListings{QStringLiteral("filelist.html"), QStringLiteral("sd.html")};
};

TEST_F(FaultTest, SnapshotTimerTick)
{
    QObject document;
    CVarnekJPGView view;
    view.setDocument(&document);
    view.resize(800, 600);
    SnapshotTimer& timer = view.snapshotTimer();
    for (const Row& row : kRows) {
        if (row.snapshot.result == kNotMet.result)
            continue;
        SCOPED_TRACE(row.name);
        timer.SetTimerInterval(4);
        ASSERT_TRUE(settled(view.link()));
        injure(row, {});
        int fetched = 1;
        timer.RefreshSnapshot([&](int result) { fetched = result; });
        EXPECT_TRUE(settled(view.link()));
        EXPECT_EQ(fetched, row.snapshot.result);
        heal();
        expectLeft(QStringLiteral("auto.jpg"), row.snapshot.left);
        EXPECT_EQ(timer.running(), row.snapshot.result == 0);
        EXPECT_EQ(view.windowTitle(), row.snapshot.result == 0 ? kRunningTitle : kFailureTitle);
        view.grab(); // whatever arrived is painted, or its absence shown, without harm

        // The user starts the timer again and pictures come.
        timer.SetTimerInterval(4);
        EXPECT_TRUE(settled(view.link()));
        EXPECT_TRUE(timer.running());
        EXPECT_EQ(view.windowTitle(), kRunningTitle);
        EXPECT_EQ(QImage(view.autoJpgPath()).size(), QSize(640, 480));
    }
}

TEST_F(FaultTest, FunctionsCommand)
{
    runTable(&Row::command, QStringLiteral("serverinfo.html"), "/cgi-bin/hi3510/getserverinfo.cgi",
             [this] { return SendCameraCommand(60, currentCameraSettings(), folder.path()); });
}

TEST_F(FaultTest, CardListing)
{
    runTable(&Row::cardListing, QStringLiteral("sd.html"), "/sd",
             [this] { return SendCameraCommand(kSdListingCode, currentCameraSettings(), folder.path()); });
}

TEST_F(FaultTest, FolderListing)
{
    runTable(&Row::folderListing, QStringLiteral("filelist.html"), "/sd/20261202/record000",
             [] { return FetchSdListing("20261202/record000", "filelist.html"); });
}

TEST_F(FaultTest, PlayOpensOnlyAWholeRecording)
{
    auto dialog = openDialogWithRecordingTicked();
    QPushButton* play = dialog->findChild<QPushButton*>(QStringLiteral("playButton"));
    for (const Row& row : kRows) {
        if (row.play.result == kNotMet.result)
            continue;
        SCOPED_TRACE(row.name);
        folder.write(kRecording, "old");
        const qsizetype opened = desktop.opened().size();
        injure(row, kRecordingTarget);
        play->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->requestWaiting(); }, 10000));
        heal();
        expectLeft(kRecording, row.play.left, kListings);
        EXPECT_EQ(desktop.opened().size() - opened, row.play.result == 0 ? 1 : 0);
        play->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->requestWaiting(); }, 10000));
        EXPECT_EQ(folder.read(kRecording), recordingBytes()) << "the next Play";
        EXPECT_EQ(desktop.opened().size() - opened, row.play.result == 0 ? 2 : 1);
    }
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(FaultTest, FetchSaysWhatFailed)
{
    auto dialog = openDialogWithRecordingTicked();
    QPushButton* fetch = dialog->findChild<QPushButton*>(QStringLiteral("fetchButton"));
    const auto fetchAndWait = [&] {
        fetch->click();
        // Over once the button is back for the next click.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->fetchRunning() && fetch->isEnabled(); }, 10000));
        return desktop.messages().empty() ? QString() : desktop.messages().back().text;
    };
    for (const Row& row : kRows) {
        if (row.fetch.result == kNotMet.result)
            continue;
        SCOPED_TRACE(row.name);
        folder.write(kRecording, "old");
        injure(row, kRecordingTarget);
        EXPECT_EQ(fetchAndWait(), row.fetch.result == 0 ? QStringLiteral("Finished fetching the files")
                                                        : QStringLiteral("Finished fetching the files, 1 of 1 could not be fetched."));
        heal();
        expectLeft(kRecording, row.fetch.left, kListings);
        EXPECT_EQ(fetchAndWait(), QStringLiteral("Finished fetching the files")) << "the next Fetch";
        EXPECT_EQ(folder.read(kRecording), recordingBytes());
    }
}

} // namespace
