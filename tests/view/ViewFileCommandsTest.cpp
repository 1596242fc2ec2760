// "&Open..." and "&Save" of a real view: the chooser, the copy, and the timer paused around them.
#include "ViewFixture.h"

#include "view/VarnekJPGView.h"

#include <QFileInfo>
#include <QMainWindow>

namespace {

class ViewFileCommandsTest : public CameraTest {
protected:
    void SetUp() override
    {
        CameraTest::SetUp();
        frame.setCentralWidget(view);
        view->SetDocument(&document);
        view->OnInitialUpdate();
    }

    // The four seconds after the chooser, brought forward.
    void endWait()
    {
        ASSERT_TRUE(view->fileCommandWaiting());
        EXPECT_TRUE(view->fileCommandWait().timer().isActive());
        EXPECT_EQ(view->fileCommandWait().timer().interval(), 4000);
        view->fileCommandWait().expireNow();
        EXPECT_FALSE(view->fileCommandWaiting());
    }

    QObject document;
    QMainWindow frame;
    CVarnekJPGView* view = new CVarnekJPGView;
};

TEST_F(ViewFileCommandsTest, SaveCopiesAutoJpgByteForByteAndResumesAfterTheWait)
{
    view->SetTimerInterval(8);
    const QByteArray snapshot = folder.read(QStringLiteral("auto.jpg"));
    ASSERT_FALSE(snapshot.isEmpty());
    const QString target = folder.file(QStringLiteral("kept.jpg"));
    desktop.queueChoice(target);
    const int before = snapshotRequests();

    view->OnFileSave();
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_TRUE(desktop.choosers()[0].save);
    EXPECT_EQ(desktop.choosers()[0].startFolder, folder.path());
    EXPECT_EQ(desktop.choosers()[0].filters, QStringList({QStringLiteral("jpg (*.jpg *.jpeg)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(folder.read(QStringLiteral("kept.jpg")), snapshot);
    // Paused while the chooser was up and for the wait after it.
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer paused"));

    endWait();
    EXPECT_EQ(view->windowTimer().interval(), 60000);
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer running 1 minute"));
    EXPECT_EQ(snapshotRequests(), before + 1) << "the resume fetches at once";
}

TEST_F(ViewFileCommandsTest, CancelChangesNoFileAndATimerSwitchedOffStaysOff)
{
    view->OnGetOneImage();
    folder.write(QStringLiteral("kept.jpg"), "older");
    view->OnTimerOff();
    const QStringList before = folder.entries();
    view->OnFileSave();
    EXPECT_EQ(folder.entries(), before);
    EXPECT_EQ(folder.read(QStringLiteral("kept.jpg")), QByteArray("older"));
    endWait();
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer paused"));
}

TEST_F(ViewFileCommandsTest, AfterGetOneImageTheTimerRunsAgainAtTheKeptSetting)
{
    view->SetTimerInterval(5);
    view->OnGetOneImage();
    ASSERT_FALSE(view->windowTimer().isActive());
    view->OnFileOpen();
    endWait();
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 2000);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("VarnekJPG timer running 2 seconds"));
}

TEST_F(ViewFileCommandsTest, OpenHandsTheChosenFileToItsProgramAndLeavesTheViewAlone)
{
    view->OnGetOneImage();
    const QByteArray snapshot = folder.read(QStringLiteral("auto.jpg"));
    const QString recording = folder.file(QStringLiteral("P261201_120000_120500.264"));
    folder.write(QStringLiteral("P261201_120000_120500.264"), "video");
    desktop.queueChoice(recording);
    view->OnFileOpen();
    EXPECT_EQ(desktop.opened(), QStringList{recording});
    ASSERT_EQ(desktop.choosers().size(), 1u);
    EXPECT_FALSE(desktop.choosers()[0].save);
    EXPECT_EQ(desktop.choosers()[0].filters,
              QStringList({QStringLiteral("jpg (*.jpg *.jpeg)"), QStringLiteral(".264 video (*.264)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(folder.read(QStringLiteral("auto.jpg")), snapshot);
    EXPECT_EQ(view->autoJpgPath(), folder.file(QStringLiteral("auto.jpg")));
}

TEST_F(ViewFileCommandsTest, OpenAndSaveAreRefusedUntilTheirWaitIsOver)
{
    view->OnFileOpen();
    CCmdUI ui;
    ASSERT_TRUE(view->OnCmdMsg(57603, &ui));
    EXPECT_FALSE(ui.enabled);
    view->OnFileSave();
    view->OnFileOpen();
    EXPECT_EQ(desktop.choosers().size(), 1u) << "no second chooser while the first one's wait runs";
    // Everything else still works meanwhile.
    CCmdUI other;
    ASSERT_TRUE(view->OnCmdMsg(32775, &other));
    EXPECT_TRUE(other.enabled);
    endWait();
    CCmdUI after;
    view->OnCmdMsg(57601, &after);
    EXPECT_TRUE(after.enabled);
}

TEST_F(ViewFileCommandsTest, ASaveWithoutASnapshotTellsTheUserAndWritesNothing)
{
    const QString target = folder.file(QStringLiteral("kept.jpg"));
    desktop.queueChoice(target);
    ASSERT_FALSE(folder.exists(QStringLiteral("auto.jpg")));
    view->OnFileSave();
    EXPECT_FALSE(QFileInfo::exists(target));
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_FALSE(desktop.messages()[0].text.isEmpty());
    endWait();
}

} // namespace
