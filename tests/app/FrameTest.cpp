// The menu bar, toolbar and status bar as the user meets them, and the timer as the frame shows it.
#include "AppFixture.h"

#include <QDir>

namespace {

const QString kFailureTitle = QStringLiteral(
    "VarnekJPG The timer is turned off because a picture could not be obtained from your camera.  "
    "Check your settings and restart the timer. ");

QStringList itemTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* item : menu->actions()) {
        if (item->isVisible())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

class FrameTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(start());
    }
    void clickButton(int command) { QTest::mouseClick(frame->toolBar()->widgetForAction(frame->action(command)), Qt::LeftButton); }
};

TEST_F(FrameTest, MenuBarTextsAndEditCommandsDisabledEverywhere)
{
    QStringList titles;
    for (QAction* entry : frame->menuBar()->actions())
        titles << entry->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Options", "&Timer", "&Control", "F&unctions", "&SD", "&Help"}));
    EXPECT_EQ(itemTexts(menu("&File")),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-", "&Print...\tCtrl+P",
                           "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(itemTexts(menu("F&unctions")).size(), 19);
    for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste}) {
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
        EXPECT_FALSE(frame->routeCommand(id)) << id;
    }
    EXPECT_TRUE(frame->action(cmd::EditPaste)->shortcuts().contains(QKeySequence(QStringLiteral("Shift+Ins"))));
    EXPECT_FALSE(frame->toolBar()->widgetForAction(frame->action(cmd::EditCopy))->isEnabled());
}

TEST_F(FrameTest, TheToolbarHoldsItsButtonsInOrderAndDocksAnywhere)
{
    QToolBar* bar = frame->toolBar();
    QList<int> layout;
    for (QAction* item : bar->actions())
        layout << (item->isSeparator() ? 0 : item->data().toInt());
    using namespace cmd;
    EXPECT_EQ(layout, (QList<int>{FileNew, FileOpen, 0, FileSave, 0, EditCut, EditCopy, EditPaste, 0, FilePrint,
                                  AppAbout, 0, ToolbarTimerOff, 0, ToolbarTimer1s, ToolbarTimer100ms,
                                  ToolbarTimer200ms, 0, ToolbarTimer400ms, ToolbarTimer4s, FitWindowToImage}));
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(frame->action(FitWindowToImage)->toolTip(), QStringLiteral("Resize the window frame to fit the image."));
    frame->addToolBar(Qt::LeftToolBarArea, bar);
    clickButton(ToolbarTimerOff);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG The timer is off"));
}

TEST_F(FrameTest, EachIntervalAndItsToolbarTwinFetchOnceRunTheTimerAndSetTheTitle)
{
    using namespace cmd;
    struct Case { int command; bool toolbar; int intervalMs; const char* title; };
    const Case cases[] = {
        {Timer100ms, false, 100, "100ms"},        {Timer200ms, false, 200, "200ms"},
        {Timer400ms, false, 400, "400ms"},        {Timer1s, false, 1000, "1 second"},
        {Timer2s, false, 2000, "2 seconds"},      {Timer4s, false, 4000, "4 seconds"},
        {Timer10s, false, 10000, "10 seconds"},   {Timer1min, false, 60000, "1 minute"},
        {ToolbarTimer100ms, true, 100, "100ms"},  {ToolbarTimer200ms, true, 200, "200ms"},
        {ToolbarTimer400ms, true, 400, "400ms"},  {ToolbarTimer1s, true, 1000, "1 second"},
        {ToolbarTimer4s, true, 4000, "4 seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        // From the timer switched off, by the menu and by the Stop button in turn.
        c.toolbar ? clickButton(ToolbarTimerOff) : menuItem("&Timer", TimerOff)->trigger();
        EXPECT_FALSE(view->windowTimer().isActive());
        EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));
        const int before = snapshotRequests();
        c.toolbar ? clickButton(c.command) : menuItem("&Timer", c.command)->trigger();
        EXPECT_EQ(snapshotRequests(), before + 1) << "one picture at once";
        EXPECT_EQ(view->windowTimer().interval(), c.intervalMs);
        EXPECT_TRUE(view->windowTimer().isActive());
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running ") + QLatin1String(c.title));
    }
}

TEST_F(FrameTest, AFailedFetchTurnsTheTimerOffUnlessTheOverrideIsChecked)
{
    QAction* overrideItem = menuItem("&Timer", cmd::DisableAutoDisableTimer);
    menuItem("&Timer", cmd::Timer10s)->trigger();
    camera->setFault(fakecam::Fault::WrongCredentials);
    overrideItem->trigger();
    menu("&Timer")->aboutToShow();
    EXPECT_TRUE(overrideItem->isChecked());
    view->snapshotTimer().SnapshotTimerProc();
    EXPECT_TRUE(view->windowTimer().isActive());
    overrideItem->trigger();
    view->snapshotTimer().SnapshotTimerProc();
    EXPECT_FALSE(view->windowTimer().isActive());
    EXPECT_EQ(frame->windowTitle(), kFailureTitle);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("The timer is off"));
    EXPECT_FALSE(folder.exists(QStringLiteral("auto.jpg"))) << "the answer is no picture";
}

TEST_F(FrameTest, OpenAndSaveAreGreyedDuringTheirWaitAndEnabledAfterIt)
{
    for (const int command : {cmd::FileSave, cmd::FileOpen}) {
        clickButton(command); // the chooser is cancelled
        for (const int id : {cmd::FileOpen, cmd::FileSave}) {
            EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
            EXPECT_FALSE(frame->toolBar()->widgetForAction(frame->action(id))->isEnabled()) << id;
        }
        EXPECT_TRUE(frame->action(cmd::FileNew)->isEnabled());
        view->fileCommandWait().expireNow();
        for (const int id : {cmd::FileOpen, cmd::FileSave}) {
            EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
            EXPECT_TRUE(frame->toolBar()->widgetForAction(frame->action(id))->isEnabled()) << id;
        }
    }
    EXPECT_EQ(desktop.choosers().size(), 2u);
}

TEST_F(FrameTest, APromptShowsWhileItsItemIsHighlightedThenReady)
{
    QMenu* timerMenu = menu("&Timer");
    timerMenu->popup(QPoint(10, 10));
    timerMenu->setActiveAction(menuItem("&Timer", cmd::Timer10s));
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("Sets the timer to get a new image from the IP Cam every ten seconds."));
    timerMenu->hide();
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(frame->readyPane()->isVisible());
}

TEST_F(FrameTest, ToolbarAndStatusBarShowAndHideWithACheckMark)
{
    for (const auto& [id, bar] : {std::pair<int, QWidget*>{cmd::ViewToolbar, frame->toolBar()},
                                  std::pair<int, QWidget*>{cmd::ViewStatusBar, frame->statusBar()}}) {
        for (const bool shown : {true, false, true}) {
            menu("&View")->aboutToShow();
            EXPECT_EQ(bar->isVisible(), shown);
            EXPECT_EQ(menuItem("&View", id)->isChecked(), shown);
            menuItem("&View", id)->trigger();
        }
    }
}

TEST_F(FrameTest, TheCapsLockIndicatorLightsWithTheKeyboardsLight)
{
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("leds/input3::capslock"))));
    folder.write(QStringLiteral("leds/input3::capslock/brightness"), "1\n");
    frame->setIndicatorSource(folder.file(QStringLiteral("leds")));
    EXPECT_EQ(frame->indicatorPane(0)->text(), QStringLiteral("CAP"));
    EXPECT_TRUE(frame->indicatorPane(1)->text().isEmpty());
}

} // namespace
