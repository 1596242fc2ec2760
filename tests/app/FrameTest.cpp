// The menu bar, toolbar and status bar as the user meets them, and the timer as the frame shows it.
#include "AppFixture.h"

namespace {

class FrameTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(start());
    }
    void clickButton(int command) { QTest::mouseClick(frame->toolBar()->widgetForAction(frame->action(command)), Qt::LeftButton); }
};

TEST_F(FrameTest, MenuBarAndToolbarInOrderWithTheEditCommandsDisabledEverywhere)
{
    QStringList titles;
    for (QAction* entry : frame->menuBar()->actions())
        titles << entry->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Options", "&Timer", "&Control", "F&unctions", "&SD", "&Help"}));
    EXPECT_EQ(menuItem("&File", cmd::FileSave)->text(), QStringLiteral("&Save\tCtrl+S"));
    const QList<QAction*> fileItems = menu("&File")->actions();
    const auto recent = std::find_if(fileItems.begin(), fileItems.end(), [](QAction* a) { return a->text() == "Recent File"; });
    ASSERT_NE(recent, fileItems.end());
    EXPECT_FALSE((*recent)->isEnabled()) << "greyed while no file is listed";
    for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste}) {
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
        EXPECT_FALSE(frame->routeCommand(id)) << id;
    }
    EXPECT_FALSE(frame->toolBar()->widgetForAction(frame->action(cmd::EditCopy))->isEnabled());

    QList<int> layout;
    for (QAction* item : frame->toolBar()->actions())
        layout << (item->isSeparator() ? 0 : item->data().toInt());
    using namespace cmd;
    EXPECT_EQ(layout, (QList<int>{FileNew, FileOpen, 0, FileSave, 0, EditCut, EditCopy, EditPaste, 0, FilePrint,
                                  AppAbout, 0, ToolbarTimerOff, 0, ToolbarTimer1s, ToolbarTimer100ms,
                                  ToolbarTimer200ms, 0, ToolbarTimer400ms, ToolbarTimer4s, FitWindowToImage}));
    EXPECT_EQ(frame->toolBar()->allowedAreas(), Qt::AllToolBarAreas);
    // The keyboard lights' panes keep room for their names, lit or not.
    frame->show();
    for (const char* light : {"CAP", "NUM", "SCRL"}) {
        const auto* pane = frame->statusBar()->findChild<QLabel*>(QLatin1String(light));
        EXPECT_GT(pane->width(), pane->fontMetrics().horizontalAdvance(QLatin1String(light))) << light;
    }
    menuItem("&View", cmd::ViewToolbar)->trigger();
    EXPECT_TRUE(frame->toolBar()->isHidden());
}

TEST_F(FrameTest, ThePadsMenuItemsAreTickedWhileTheirPadIsShown)
{
    const auto ticks = [&] {
        emit menu("&Control")->aboutToShow();
        return QList<bool>{menuItem("&Control", cmd::MoveToPreset)->isChecked(),
                           menuItem("&Control", cmd::SaveToPreset)->isChecked()};
    };
    EXPECT_EQ(ticks(), (QList<bool>{false, false}));
    menuItem("&Control", cmd::MoveToPreset)->trigger();
    EXPECT_EQ(ticks(), (QList<bool>{true, false}));
    menuItem("&Control", cmd::SaveToPreset)->trigger();
    EXPECT_EQ(ticks(), (QList<bool>{false, true}));
    menuItem("&Control", cmd::SaveToPreset)->trigger();
    EXPECT_EQ(ticks(), (QList<bool>{false, false}));
}

TEST_F(FrameTest, FitWindowSizesTheFrameForThePicture)
{
    view->snapshotTimer().OnGetOneImage();
    ASSERT_TRUE(settled(*app->link()));
    frame->showMaximized();
    ASSERT_TRUE(frame->routeCommand(cmd::FitWindowToImage));
    EXPECT_FALSE(frame->isMaximized());
    // For 640 x 480 the client rectangle (0, 40, 664, 670), grown by the borders, then put at (10, 40).
    const QRect outer = frame->frameGeometry(), inner = frame->geometry();
    EXPECT_EQ(outer, QRect(QPoint(10, 40), QPoint(663 + outer.right() - inner.right(), 669 + outer.bottom() - inner.bottom())));

    // A picture in another format is measured too: 320 x 200 gives a client (0, 40, 344, 390).
    QImage png(320, 200, QImage::Format_RGB32);
    ASSERT_TRUE(png.save(view->autoJpgPath(), "PNG"));
    ASSERT_TRUE(frame->routeCommand(cmd::FitWindowToImage));
    EXPECT_EQ(frame->geometry().bottomRight(), QPoint(343, 389));
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
        ASSERT_TRUE(settled(*app->link()));
        EXPECT_EQ(snapshotRequests(), before + 1) << "one picture at once";
        EXPECT_EQ(view->windowTimer().interval(), c.intervalMs);
        EXPECT_TRUE(view->windowTimer().isActive());
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running ") + QLatin1String(c.title));
    }
}

TEST_F(FrameTest, OpenAndSaveAreGreyedDuringTheirWaitAndEnabledAfterIt)
{
    for (const int command : {cmd::FileSave, cmd::FileOpen}) {
        // Actions (menu items and Ctrl+O / Ctrl+S) and toolbar buttons.
        const auto enabled = [&](int id) {
            return frame->action(id)->isEnabled() && frame->toolBar()->widgetForAction(frame->action(id))->isEnabled();
        };
        // Save by its shortcut, Open by its button; each chooser is cancelled.
        if (command == cmd::FileSave) {
            // Also with the toolbar hidden and the menus shown outside the window (a global menu bar).
            menuItem("&View", cmd::ViewToolbar)->trigger();
            frame->menuBar()->hide();
            frame->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
            QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        }
        else
            clickButton(command);
        ASSERT_FALSE(desktop.choosers().empty());
        EXPECT_EQ(desktop.choosers().back().save, command == cmd::FileSave);
        EXPECT_FALSE(enabled(cmd::FileOpen) || enabled(cmd::FileSave));
        view->fileCommandWait().expireNow();
        EXPECT_TRUE(enabled(cmd::FileOpen) && enabled(cmd::FileSave));
        ASSERT_TRUE(settled(*app->link()));
    }
}

} // namespace
