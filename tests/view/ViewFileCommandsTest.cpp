// "&Open..." and "&Save" of a real view: the chooser, the copy, and the timer paused around them.
#include "support/CameraFixture.h"

#include "view/CommandIds.h"
#include "view/VarnekJPGView.h"

#include <QMainWindow>

namespace {

const QString kAuto = QStringLiteral("auto.jpg");
const QString kKept = QStringLiteral("kept.jpg");

class ViewFileCommandsTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        frame.setCentralWidget(view);
        view->setDocument(&document);
        view->OnInitialUpdate();
    }

    // The four seconds after the chooser, brought forward; the window kept running meanwhile.
    void endWait()
    {
        ASSERT_TRUE(view->fileCommandWait().busy());
        EXPECT_EQ(view->fileCommandWait().timer().interval(), 4000);
        view->fileCommandWait().expireNow();
        EXPECT_FALSE(view->fileCommandWait().busy());
    }

    void expectTimer(bool running, int intervalMs, const char* title)
    {
        EXPECT_EQ(view->windowTimer().isActive(), running);
        if (running) {
            EXPECT_EQ(view->windowTimer().interval(), intervalMs);
        }
        EXPECT_EQ(frame.windowTitle(), QString::fromLatin1(title));
    }

    QObject document;
    QMainWindow frame;
    CVarnekJPGView* view = new CVarnekJPGView;
};

TEST_F(ViewFileCommandsTest, SaveCopiesAutoJpgByteForBytePausedUntilTheWaitEnds)
{
    view->snapshotTimer().SetTimerInterval(8);
    const QByteArray snapshot = folder.read(kAuto);
    ASSERT_FALSE(snapshot.isEmpty());
    desktop.queueChoice(folder.file(kKept));
    const int before = snapshotRequests();

    view->OnFileSave();
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_TRUE(desktop.choosers()[0].save);
    EXPECT_EQ(desktop.choosers()[0].startFolder, folder.path());
    EXPECT_EQ(desktop.choosers()[0].filters, QStringList({"jpg (*.jpg *.jpeg)", "All (*)"}));
    EXPECT_EQ(folder.read(kKept), snapshot);
    expectTimer(false, 0, "VarnekJPG timer paused");
    // Open and Save are refused until the wait is over (the frame's test sees them greyed).
    view->OnFileOpen();
    EXPECT_EQ(desktop.choosers().size(), 1u) << "no second chooser";

    endWait();
    expectTimer(true, 60000, "VarnekJPG timer running 1 minute");
    EXPECT_EQ(snapshotRequests(), before + 1) << "the resume fetches at once";
}

TEST_F(ViewFileCommandsTest, CancelChangesNoFileAndATimerSwitchedOffStaysOff)
{
    view->snapshotTimer().OnGetOneImage();
    folder.write(kKept, "older");
    view->snapshotTimer().OnTimerOff();
    const QStringList before = folder.entries();
    view->OnFileSave();
    EXPECT_EQ(folder.entries(), before);
    EXPECT_EQ(folder.read(kKept), QByteArray("older"));
    endWait();
    expectTimer(false, 0, "VarnekJPG timer paused");
}

TEST_F(ViewFileCommandsTest, OpenHandsTheFileToItsProgramAndAfterGetOneImageTheTimerRunsAgain)
{
    view->snapshotTimer().SetTimerInterval(5);
    view->snapshotTimer().OnGetOneImage();
    ASSERT_FALSE(view->windowTimer().isActive());
    const QByteArray snapshot = folder.read(kAuto);
    const QString recording = folder.file(QStringLiteral("P261201_120000_120500.264"));
    folder.write(QStringLiteral("P261201_120000_120500.264"), "video");
    desktop.queueChoice(recording);

    view->OnFileOpen();
    EXPECT_EQ(desktop.opened(), QStringList{recording});
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_FALSE(desktop.choosers()[0].save);
    EXPECT_EQ(desktop.choosers()[0].filters, QStringList({"jpg (*.jpg *.jpeg)", ".264 video (*.264)", "All (*)"}));
    EXPECT_EQ(folder.read(kAuto), snapshot);
    EXPECT_EQ(view->autoJpgPath(), folder.file(kAuto));
    endWait();
    expectTimer(true, 2000, "VarnekJPG timer running 2 seconds");
}

TEST_F(ViewFileCommandsTest, ASaveWithoutASnapshotTellsTheUserAndWritesNothing)
{
    desktop.queueChoice(folder.file(kKept));
    ASSERT_FALSE(folder.exists(kAuto));
    view->OnFileSave();
    EXPECT_FALSE(folder.exists(kKept));
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_FALSE(desktop.messages()[0].text.isEmpty());
    endWait();
}

} // namespace
