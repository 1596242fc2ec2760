// The Micro-SD dialog against the simulated camera: the tree it fills, and Play, Replay, Clean up
// and Fetch as the user clicks them.
#include "app/AppFixture.h"
#include "camera/CameraRequest.h"
#include "sdcard/DialogSDVideo.h"
#include "sdcard/RecordingTreeModel.h"
#include "view/CommandIds.h"
#include "view/PageCommands.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeView>

#include <cmath>
#include <unistd.h>

namespace {

// What the tree shows, a line per item: "folder" or "folder/file".
QStringList treeLines(CDialogSDVideo& dialog)
{
    QStringList lines;
    RecordingTree& tree = dialog.recordings();
    for (int row = 0, top; (top = tree.child(RecordingTree::kNone, row)) != RecordingTree::kNone; ++row) {
        lines << tree.text(top);
        for (int r = 0, file; (file = tree.child(top, r)) != RecordingTree::kNone; ++r)
            lines << tree.text(top) + '/' + tree.text(file);
    }
    return lines;
}

const QStringList kCameraTree = {
    "Micro-SD", "Micro-SD/Test folder 1", "Micro-SD/Test folder 2",
    "20261130", "20261130/P261130_080000_080500.264", "20261130/P261130_181500_182000.264",
    "20261201", "20261201/P261201_120000_120500.264", "20261201/P261201_120500_121000.264",
    "20261201/P261201_121000_121500.264",
    "20261202", "20261202/P261202_000000_000500.264", "20261202/P261202_063000_063500.264",
    "20261202/P261202_120000_120500.264", "20261202/P261202_235500_235959.264"};

class DialogTest : public CameraTest {
protected:
    // SD > Video as the view does it: the card listing, then the dialog, shown (and so filled).
    std::unique_ptr<CDialogSDVideo> openDialog()
    {
        SendCameraCommand(kSdListingCode, currentCameraSettings(), folder.path());
        auto dialog = std::make_unique<CDialogSDVideo>(nullptr, &link);
        dialog->show();
        EXPECT_TRUE(settled(link));
        return dialog;
    }
    // Ticks "folder/file" (or a top-level "folder") as a click on its check box does.
    static void tick(CDialogSDVideo& dialog, const QString& line)
    {
        RecordingTree& tree = dialog.recordings();
        for (int id = 0; id < tree.count(); ++id) {
            const int parent = tree.parent(id);
            if ((parent == RecordingTree::kNone ? QString() : tree.text(parent) + '/') + tree.text(id) == line) {
                dialog.model().setData(dialog.model().indexOf(id), Qt::Checked, Qt::CheckStateRole);
                return;
            }
        }
        ADD_FAILURE() << "no item " << line.toStdString();
    }
    // Clicks a button and waits for the requests it made.
    void click(CDialogSDVideo& dialog, const char* button)
    {
        dialog.findChild<QPushButton*>(QLatin1String(button))->click();
        EXPECT_TRUE(settled(link));
    }
    QByteArray recording(const std::string& date, const std::string& name) const
    {
        return QByteArray::fromStdString(
            fakecam::FakeCamera::recordingBytes("/sd/" + date + "/record000/" + name, 0, 1 << 20));
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : desktop.messages())
            texts << m.caption + ": " + m.text;
        return texts;
    }

    CameraLink link;
};

} // namespace

TEST_F(AppTest, SdVideoShowsTheCardsFoldersAndRecordingsWithEachFolderOpen)
{
    ASSERT_TRUE(start());
    menuItem(QStringLiteral("&SD"), cmd::SdVideo)->trigger();
    ASSERT_TRUE(settled(*app->link()));
    auto* dialog = qobject_cast<CDialogSDVideo*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    const QStringList lines = treeLines(*dialog);
    std::vector<bool> expanded;
    for (int row = 0; row < 4; ++row)
        expanded.push_back(dialog->treeView()->isExpanded(dialog->model().index(row, 0)));
    dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    EXPECT_EQ(lines, kCameraTree);
    EXPECT_EQ(expanded, (std::vector<bool>{false, true, true, true}));
}

TEST_F(DialogTest, HostileListingsGiveOnlySoundNamesAndFetchWritesNothingOutsideTheProgramFolder)
{
    camera->setFault(fakecam::Fault::HostileListing);
    const QStringList around = QDir(folder.path() + "/..").entryList(QDir::AllEntries | QDir::Hidden);
    auto dialog = openDialog();
    RecordingTree& tree = dialog->recordings();
    for (int id = 3; id < tree.count(); ++id)
        dialog->model().setData(dialog->model().indexOf(id), Qt::Checked, Qt::CheckStateRole);
    click(*dialog, "fetchButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->fetchRunning(); }, 20000));
    EXPECT_EQ(QDir(folder.path() + "/..").entryList(QDir::AllEntries | QDir::Hidden), around);
    QStringList files = folder.entries();
    files.sort();
    // Each recording has its MP4 beside it, and nothing else is there.
    QStringList mp4s = files.filter(QRegularExpression("\\.mp4$"));
    files.removeIf([](const QString& name) { return name.endsWith(".mp4"); });
    mp4s.replaceInStrings(QRegularExpression("\\.mp4$"), ".264");
    EXPECT_EQ(mp4s, files.filter(QRegularExpression("\\.264$")));
    EXPECT_EQ(files, (QStringList{"P261201 130000 130500.264", "P261201_120000_120500.264",
                                  "P261201_120500_121000.264", "P261201_121000_121500.264",
                                  "P261201_140000_140500.264", "P261201_141000_141500.264", "P261201_caf\u00e9.264",
                                  "P261202_000000_000500.264", "P261202_063000_063500.264",
                                  "P261202_120000_120500.264", "P261202_235500_235959.264",
                                  "P261204_080000_080500.264", "filelist.html", "sd.html"}));
    // A name that is not UTF-8 is kept as the camera's bytes, which only the file system can show.
    const QByteArray latin1 = QFile::encodeName(folder.path()) + "/P261201_\xE9t\xE9.";
    EXPECT_EQ(::unlink(latin1 + "264"), 0);
    EXPECT_EQ(::unlink(latin1 + "mp4"), 0);
}

TEST_F(DialogTest, PlayDownloadsTheFirstTickedRecordingAfreshAndOpensItsMp4)
{
    auto dialog = openDialog();
    click(*dialog, "playButton");
    tick(*dialog, "20261201");
    tick(*dialog, "20261201/P261201_120500_121000.264");
    folder.write("P261201_120500_121000.264", "an old copy");
    click(*dialog, "playButton");
    click(*dialog, "playButton");
    const QString mp4 = folder.file("P261201_120500_121000.mp4");
    EXPECT_EQ(folder.read("P261201_120500_121000.264"), recording("20261201", "P261201_120500_121000.264"));
    EXPECT_EQ(requestsFor("/sd/20261201/record000/P261201_120500_121000.264"), 2);
    EXPECT_EQ(desktop.opened(), (QStringList{mp4, mp4}));
    // Replay converts first where the MP4 has gone.
    QFile::remove(mp4);
    click(*dialog, "replayButton");
    EXPECT_EQ(desktop.opened(), (QStringList{mp4, mp4, mp4}));
    for (const QFileInfo& open : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::Files | QDir::System))
        EXPECT_NE(open.symLinkTarget(), folder.file("P261201_120500_121000.264")) << "the recording is left open";
    EXPECT_TRUE(QFile::exists(mp4));
    // A recording too short to hold a picture cannot be converted: Play and Replay open it as it is.
    camera->setRecordingSize(60);
    click(*dialog, "playButton");
    click(*dialog, "replayButton");
    const QString copy = folder.file("P261201_120500_121000.264");
    EXPECT_EQ(desktop.opened().mid(3), (QStringList{copy, copy}));
    EXPECT_FALSE(QFile::exists(mp4));
    // Turned off in the settings file, Play keeps to the recording as it is.
    camera->setRecordingSize(1 << 20);
    QSettings(folder.settingsFile(), QSettings::IniFormat).setValue("Recordings/ConvertToMp4", false);
    click(*dialog, "playButton");
    EXPECT_EQ(desktop.opened().mid(5), QStringList{copy});
    EXPECT_FALSE(QFile::exists(mp4));
    EXPECT_EQ(messageTexts(), QStringList{"VarnekJPG: No items selected in the list,\n\nSelect (tick) an item before "
                                          "clicking the Play button"});
}

TEST_F(DialogTest, PlayOfARecordingTheCameraDoesNotHaveOpensNothingAndReplayHasNothingToOpen)
{
    auto dialog = openDialog();
    tick(*dialog, "Micro-SD/Test folder 1"); // the camera answers 404
    folder.write("Test folder 1", "an old copy");
    click(*dialog, "playButton");
    EXPECT_EQ(requestsFor("/sd/Micro-SD/record000/Test folder 1"), 1);
    EXPECT_FALSE(folder.exists("Test folder 1"));
    click(*dialog, "replayButton");
    EXPECT_TRUE(desktop.opened().isEmpty());
    EXPECT_EQ(messageTexts(), QStringList{"CVarnekJPG: Can't replay because the file has not been downloaded.\n"
                                          "Try clicking Play to download it."});
}

TEST_F(DialogTest, TheCardAndTheSecondTestFolderShowTheirOwnImagesAndEveryOtherItemImageZero)
{
    QList<QPixmap> images;
    for (int i = 0; i < 12; ++i) {
        images.append(QPixmap(16, 16));
        images.back().fill(QColor::fromHsv(i * 30, 255, 255));
    }
    SendCameraCommand(kSdListingCode, currentCameraSettings(), folder.path());
    CDialogSDVideo dialog(nullptr, &link);
    dialog.SetTreeImageList(&images);
    dialog.show();
    ASSERT_TRUE(settled(link));
    const auto shown = [&](const QString& line, QIcon::Mode mode) {
        RecordingTree& tree = dialog.recordings();
        for (int id = 0; id < tree.count(); ++id) {
            const int parent = tree.parent(id);
            if ((parent == RecordingTree::kNone ? QString() : tree.text(parent) + '/') + tree.text(id) == line) {
                const QIcon icon = dialog.model().data(dialog.model().indexOf(id), Qt::DecorationRole).value<QIcon>();
                return icon.pixmap(QSize(16, 16), mode).toImage().pixelColor(8, 8);
            }
        }
        return QColor();
    };
    const auto image = [&](int i) { return images[i].toImage().pixelColor(8, 8); };
    EXPECT_EQ(shown("Micro-SD", QIcon::Normal), image(0));
    EXPECT_EQ(shown("Micro-SD", QIcon::Selected), image(1));
    EXPECT_EQ(shown("Micro-SD/Test folder 2", QIcon::Normal), image(10));
    EXPECT_EQ(shown("Micro-SD/Test folder 2", QIcon::Selected), image(11));
    EXPECT_EQ(shown("20261201", QIcon::Selected), image(0));
    EXPECT_EQ(shown("20261201/P261201_120000_120500.264", QIcon::Normal), image(0));
}

TEST_F(DialogTest, CleanUpDeletesRecordingsAndPagesAndOpensTheFolderOnlyAfterPages)
{
    struct Case {
        bool yes;
        QStringList files;
        QStringList left;
        bool opened;
    };
    const std::vector<Case> cases = {
        {true, {"a.264", "b.HTML", "sd.html", "auto.jpg", "keep.txt", "a.264.txt"}, {"a.264.txt", "auto.jpg", "keep.txt"}, true},
        {true, {"a.264", "a.mp4", "B.264", "B.mp4", "c.mp4", "auto.jpg"}, {"auto.jpg", "c.mp4"}, false},
        {false, {"a.264", "sd.html"}, {"a.264", "sd.html"}, false},
    };
    auto dialog = std::make_unique<CDialogSDVideo>(nullptr, &link);
    for (const Case& c : cases) {
        for (const QString& name : folder.entries())
            QFile::remove(folder.file(name));
        for (const QString& name : c.files)
            folder.write(name, "x");
        QDir(folder.path()).mkdir("movies.264");
        const qsizetype openedBefore = desktop.foldersOpened().size();
        desktop.queueAnswer(c.yes);
        click(*dialog, "cleanUpButton");
        QStringList left = folder.entries();
        left.sort();
        EXPECT_EQ(left, c.left) << c.files.join(',').toStdString();
        EXPECT_TRUE(QDir(folder.file("movies.264")).exists());
        EXPECT_EQ(desktop.foldersOpened().size() - openedBefore, c.opened ? 1 : 0);
        QDir(folder.path()).rmdir("movies.264");
    }
    EXPECT_EQ(desktop.messages().front().text, "Delete all .264 movie and .html files in Varnekjpg's working folder ?");

    const qsizetype before = desktop.foldersOpened().size();
    click(*dialog, "openFolderButton");
    EXPECT_EQ(desktop.foldersOpened().mid(before), QStringList{folder.path()}) << "Open folder shows the program folder";
}

TEST_F(DialogTest, FetchGetsTickedRecordingsPastAFolderWithoutFilesAndSaysHowItWent)
{
    camera->setPage("/sd", "<a href=\"/sd/20261130/\">\n<a href=\"/sd/20261999/\">\n<a href=\"/sd/20261202/\">\n");
    struct Case {
        QStringList ticked;
        QString message;
        int recordingSize = 1 << 20;
    };
    const std::vector<Case> cases = {
        {{"20261130/P261130_181500_182000.264", "20261202/P261202_063000_063500.264"}, "Finished fetching the files"},
        {{"20261202/P261202_120000_120500.264", "Micro-SD/Test folder 2"},
         "Finished fetching the files, 1 of 2 could not be fetched."},
        {{"20261999"}, "No files fetched, did you tick any items ?"},
        {{"20261130/P261130_080000_080500.264", "20261202/P261202_000000_000500.264"},
         "Finished fetching the files\nRecordings that could not be converted to MP4 (kept as .264): 2", 60},
    };
    for (const Case& c : cases) {
        camera->setRecordingSize(std::uint64_t(c.recordingSize));
        auto dialog = openDialog();
        for (const QString& line : c.ticked)
            tick(*dialog, line);
        click(*dialog, "fetchButton");
        EXPECT_FALSE(dialog->findChild<QPushButton*>("fetchButton")->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->fetchRunning(); }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->findChild<QPushButton*>("fetchButton")->isEnabled(); }));
        EXPECT_FALSE(dialog->findChild<QProgressBar*>("fetchProgress")->isVisible());
        EXPECT_FALSE(dialog->findChild<QLabel*>("fetchProgressText")->isVisible());
        EXPECT_EQ(messageTexts().last(), "Varnekjpg: " + c.message);
    }
    EXPECT_EQ(folder.read("P261130_181500_182000.264"), recording("20261130", "P261130_181500_182000.264"));
    EXPECT_EQ(folder.read("P261202_063000_063500.264"), recording("20261202", "P261202_063000_063500.264"));
    EXPECT_EQ(folder.read("P261202_120000_120500.264"), recording("20261202", "P261202_120000_120500.264"));
    EXPECT_FALSE(folder.exists("Test folder 2"));
    EXPECT_TRUE(folder.exists("P261130_181500_182000.mp4"));
    EXPECT_TRUE(folder.exists("P261202_120000_120500.mp4"));
    EXPECT_TRUE(folder.exists("P261130_080000_080500.264"));
    EXPECT_FALSE(folder.exists("P261130_080000_080500.mp4"));
    EXPECT_EQ(messageTexts().size(), 4);
}

TEST_F(DialogTest, ClosingTheDialogEndsItsWorkerAfterTheStalledDownloadWithoutAWord)
{
    auto first = openDialog();
    tick(*first, "20261130/P261130_080000_080500.264");
    tick(*first, "20261201/P261201_120000_120500.264");
    camera->setFault(fakecam::Fault::StallMidBody, 3);
    click(*first, "fetchButton");
    EXPECT_EQ(first->findChild<QProgressBar*>("fetchProgress")->maximum(), 0)
        << "no length known yet: the bar only shows that work goes on";
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera->state().stalled == 1; }, 5000));
    camera->setFault(fakecam::Fault::None);
    // Progress shows while the download hangs: the line and the bar stand at half of the file.
    const auto* bar = first->findChild<QProgressBar*>("fetchProgress");
    const auto* line = first->findChild<QLabel*>("fetchProgressText");
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return bar->isVisible() && line->text().startsWith("File 1 of 2: 0.5 of ") && bar->maximum() > 0
            && std::abs(double(bar->value() - bar->minimum()) / (bar->maximum() - bar->minimum()) - 0.5) < 0.02;
    })) << line->text().toStdString() << ", bar at " << bar->value() << " of " << bar->maximum();

    auto second = openDialog();
    click(*first, "cancelButton");
    first.reset();
    tick(*second, "20261202/P261202_235500_235959.264");
    click(*second, "fetchButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.liveWorkers() == 0; }, 15000));
    EXPECT_EQ(requestsFor("/sd/20261201/record000/P261201_120000_120500.264"), 0);
    EXPECT_FALSE(folder.exists("P261130_080000_080500.264"));
    EXPECT_EQ(folder.read("P261202_235500_235959.264"), recording("20261202", "P261202_235500_235959.264"));
    EXPECT_EQ(messageTexts(), QStringList{"Varnekjpg: Finished fetching the files"});
}

QMessageBox* shownNote()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("note") && widget->isVisible())
            return qobject_cast<QMessageBox*>(widget);
    }
    return nullptr;
}

TEST_F(DialogTest, TheFetchsClosingNoteCanBeAnsweredWhilePlayDownloadsAndPlayThenOpensItsRecording)
{
    desktop.showRealNotes(true);
    auto dialog = openDialog();
    tick(*dialog, "20261130/P261130_080000_080500.264");
    camera->setAnswerDelay(std::chrono::milliseconds(2000));
    for (const bool byKey : {false, true}) {
        const QStringList openedBefore = desktop.opened();
        dialog->findChild<QPushButton*>("fetchButton")->click();
        QTest::qWait(700);
        dialog->findChild<QPushButton*>("playButton")->click();
        ASSERT_TRUE(QTest::qWaitFor([] { return shownNote() != nullptr; }, 5000));
        QMessageBox* note = shownNote();
        EXPECT_EQ(note->text(), QStringLiteral("Finished fetching the files"));
        EXPECT_TRUE(dialog->requestWaiting()) << "Play still downloads";
        // As the user answers it: through the note's window, as the window system delivers.
        if (byKey) {
            QTest::keyClick(note->windowHandle(), Qt::Key_Return);
        } else {
            QWidget* ok = note->button(QMessageBox::Ok);
            QTest::mouseClick(note->windowHandle(), Qt::LeftButton, {}, ok->mapTo(note, ok->rect().center()));
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return shownNote() == nullptr; }, 500)) << "the note closes at once";
        ASSERT_TRUE(settled(link));
        EXPECT_EQ(desktop.opened(), openedBefore + QStringList{folder.file("P261130_080000_080500.mp4")});
    }
}

TEST_F(DialogTest, QuittingDuringABackgroundFetchAbortsItAtOnceAndLeavesNoTemporaryFile)
{
    auto programLink = std::make_unique<CameraLink>();
    auto dialog = std::make_unique<CDialogSDVideo>(nullptr, programLink.get());
    SendCameraCommand(kSdListingCode, currentCameraSettings(), folder.path());
    dialog->show();
    ASSERT_TRUE(settled(*programLink));
    tick(*dialog, "20261130/P261130_080000_080500.264");
    camera->setFault(fakecam::Fault::StallMidBody, 20);
    dialog->findChild<QPushButton*>("fetchButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera->state().stalled == 1; }, 5000));
    // The program ends: its windows go, then the link with what runs for it.
    QElapsedTimer clock;
    clock.start();
    dialog.reset();
    programLink.reset();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(folder.entries().filter(".part").isEmpty());
    EXPECT_TRUE(desktop.messages().empty()) << "no note about a fetch the program ended";
}
