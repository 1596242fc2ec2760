// "&Open..." and "&Save" of a real view: the chooser, the copy, and the timer paused around them.
#include "support/CameraFixture.h"

#include "view/VarnekJPGView.h"

#include <QDialog>
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

    // The four seconds after the chooser, brought forward, then the timer as it runs on.
    void endWaitAndExpect(int intervalMs, const char* title)
    {
        EXPECT_FALSE(view->windowTimer().isActive());
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer paused"));
        ASSERT_TRUE(view->fileCommandWait().busy());
        EXPECT_EQ(view->fileCommandWait().timer().interval(), 4000);
        view->fileCommandWait().expireNow();
        ASSERT_TRUE(settled(view->link()));
        EXPECT_EQ(view->windowTimer().isActive() ? view->windowTimer().interval() : 0, intervalMs);
        EXPECT_EQ(frame.windowTitle(), QString::fromLatin1(title));
    }

    QObject document;
    QMainWindow frame;
    CVarnekJPGView* view = new CVarnekJPGView;
};

TEST_F(ViewFileCommandsTest, SaveCopiesAutoJpgByteForBytePausedUntilTheWaitEnds)
{
    view->snapshotTimer().SetTimerInterval(8);
    ASSERT_TRUE(settled(view->link()));
    const QByteArray snapshot = folder.read(kAuto);
    desktop.queueChoice(folder.file(kKept));
    const int before = snapshotRequests();
    view->OnFileSave();
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_EQ(desktop.choosers()[0].startFolder, folder.path());
    EXPECT_EQ(desktop.choosers()[0].filters, QStringList({"jpg (*.jpg *.jpeg)", "All (*)"}));
    EXPECT_EQ(folder.read(kKept), snapshot);
    view->OnFileOpen();
    EXPECT_EQ(desktop.choosers().size(), 1u) << "no second chooser during the wait";
    endWaitAndExpect(60000, "VarnekJPG timer running 1 minute");
    EXPECT_EQ(snapshotRequests(), before + 1) << "the resume fetches at once";
}

TEST_F(ViewFileCommandsTest, CancelOrNoSnapshotChangesNoFileAndATimerSwitchedOffStaysOff)
{
    view->snapshotTimer().OnTimerOff();
    folder.write(kKept, "older");
    const QStringList before = folder.entries();
    view->OnFileSave();
    EXPECT_EQ(folder.entries(), before);
    endWaitAndExpect(0, "VarnekJPG timer paused");

    QFile::remove(folder.file(kAuto));
    desktop.queueChoice(folder.file(kKept));
    view->OnFileSave();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_TRUE(desktop.messages()[0].text.contains(QStringLiteral("No snapshot has arrived")));
    endWaitAndExpect(0, "VarnekJPG timer paused");
}

TEST_F(ViewFileCommandsTest, OpenHandsTheFileToItsProgramAndAfterGetOneImageTheTimerRunsAgain)
{
    view->snapshotTimer().SetTimerInterval(5);
    ASSERT_TRUE(settled(view->link()));
    view->snapshotTimer().OnGetOneImage();
    ASSERT_TRUE(settled(view->link()));
    const QString recording = folder.file(QStringLiteral("P261201_120000_120500.264"));
    desktop.queueChoice(recording);
    view->OnFileOpen();
    EXPECT_EQ(desktop.opened(), QStringList{recording});
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_EQ(desktop.choosers()[0].filters, QStringList({"jpg (*.jpg *.jpeg)", ".264 video (*.264)", "All (*)"}));
    endWaitAndExpect(2000, "VarnekJPG timer running 2 seconds");
}

TEST_F(ViewFileCommandsTest, TheResumeWaitsForAnOpenDialogAndNewDropsIt)
{
    view->snapshotTimer().SetTimerInterval(8);
    ASSERT_TRUE(settled(view->link()));
    view->OnFileSave(); // cancelled
    QDialog other(&frame);
    other.open();
    view->fileCommandWait().expireNow();
    QTest::qWait(300);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer paused")) << "not inside the other dialog";
    other.reject();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->windowTimer().isActive(); }, 1000)) << "but soon after";

    view->OnFileSave();
    view->OnInitialUpdate(); // New restarts polling at 1 second
    EXPECT_FALSE(view->fileCommandWait().timer().isActive() || view->fileCommandWait().busy()) << "no resume after that";
}

} // namespace
