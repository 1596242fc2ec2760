// Starting the program: title, first picture, focus, command line, Exit and the About box.
#include "AppFixture.h"

#include <QDialog>
#include <QPushButton>

namespace {

TEST_F(AppTest, StartsUntitledTheFirstTickAtOneSecondFetchesThePictureAndExitAsksNothing)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"));
    EXPECT_TRUE(frame->readyPane()->isVisible());
    EXPECT_EQ(frame->readyPane()->text(), QStringLiteral("Ready"));
    EXPECT_EQ(frame->toolBarArea(frame->toolBar()), Qt::TopToolBarArea);

    // Nothing is fetched before the first tick, one second in.
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(snapshotRequests(), 0);
    view->snapshotTimer().SnapshotTimerProc();
    EXPECT_EQ(snapshotRequests(), 1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"))
        << "the title stays the document's until an interval is chosen";
    // The view in the frame draws it under its caption band; ViewPaintTest measures the drawing.
    QImage image(view->size(), QImage::Format_RGB32);
    view->render(&image);
    EXPECT_EQ(image.pixelColor(15, 11), QColor(50, 50, 50));
    int lit = 0;
    for (int x = 0; x < image.width(); ++x)
        lit += image.pixelColor(x, 130) == QColor(Qt::black) ? 0 : 1;
    EXPECT_GT(lit, image.width() / 2);

    ASSERT_TRUE(frame->routeCommand(cmd::AppExit));
    EXPECT_FALSE(frame->isVisible()) << "Exit closes the window";
    EXPECT_TRUE(desktop.messages().empty()) << "without asking anything";
}

TEST_F(AppTest, TheViewHasTheKeyboardFocusAndKeepsItWhenToolbarButtonsAreUsed)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(frame->focusWidget(), view);
    EXPECT_EQ(frame->focusProxy(), view);

    QTest::mouseClick(frame->toolBar()->widgetForAction(frame->action(cmd::ToolbarTimer1s)), Qt::LeftButton);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VarnekJPG timer running 1 second"));
    EXPECT_EQ(frame->focusWidget(), view);
}

TEST_F(AppTest, AFileNamedOnTheCommandLineNamesTheWindowAndIsNotRead)
{
    folder.write(QStringLiteral("evening.vjp"), "whatever the file holds");
    ASSERT_TRUE(start({folder.file(QStringLiteral("evening.vjp"))}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("evening.vjp - VarnekJPG"));
    EXPECT_EQ(folder.read(QStringLiteral("evening.vjp")), QByteArray("whatever the file holds"));
    EXPECT_TRUE(view->windowTimer().isActive());
    EXPECT_EQ(view->windowTimer().interval(), 1000);
    EXPECT_EQ(app->recentFiles(), QStringList{folder.file(QStringLiteral("evening.vjp"))});
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(AppTest, AFileThatCannotBeOpenedEndsTheStartWithAMessage)
{
    EXPECT_FALSE(start({folder.file(QStringLiteral("missing.vjp"))}));
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, QStringLiteral("Failed to open document."));
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(snapshotRequests(), 0);
}

TEST_F(AppTest, TheAboutBoxShowsItsTextsAndClosesWithOk)
{
    ASSERT_TRUE(start());
    QString title;
    QStringList texts;
    QRect ok;
    whenModalOpen<QDialog>([&](QDialog& box) {
        title = box.windowTitle();
        for (const QLabel* label : box.findChildren<QLabel*>())
            texts << label->text();
        auto* button = box.findChild<QPushButton*>(QStringLiteral("ok"));
        ASSERT_NE(button, nullptr);
        ok = button->geometry();
        QTest::mouseClick(button, Qt::LeftButton);
    });
    ASSERT_TRUE(frame->routeCommand(cmd::AppAbout));

    EXPECT_EQ(title, QStringLiteral("About VarnekJPG"));
    EXPECT_TRUE(texts.contains(QStringLiteral("VarnekJPG, Version 1.0 for Windows 10 x32 and x64")));
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "By default the program gets a new image from the IP Cam every second.  This allows you to "
        "monitor the view from the IP camera.")));
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "720P IP cameras are most likely to work with this program.  Older VGA ones tend to use a "
        "different CGI script.")));
    // (462, 145, 50, 14) in dialog units.
    EXPECT_EQ(ok, QRect(693, 236, 75, 23));
}

} // namespace
