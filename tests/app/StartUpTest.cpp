// Starting the program: title, first picture, focus, command line, Exit and the About box.
#include "AppFixture.h"

#include "app/VarnekJPGDoc.h"
#include "view/PictureLayout.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

int blackInRow(const QImage& image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += isBlack(image, x, y) ? 1 : 0;
    return count;
}

TEST_F(AppTest, StartsUntitledPollsEverySecondAndShowsThePictureStretchedBelowItsCaption)
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
    EXPECT_EQ(view->snapshotTimer().timerId(), 100u);
    EXPECT_EQ(snapshotRequests(), 0);
    view->SnapshotTimerProc();
    EXPECT_EQ(snapshotRequests(), 1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - VarnekJPG"))
        << "the title stays the document's until an interval is chosen";

    // Make the view 1280 wide: the 640 x 480 picture fills it at 200 %.
    frame->resize(frame->width() + 1280 - view->width(), 1300);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->width(), 1280);
    ASSERT_GT(view->height(), 990);
    QImage image(view->size(), QImage::Format_RGB32);
    view->render(&image);
    EXPECT_EQ(blackInRow(image, 29), image.width());
    EXPECT_LT(blackInRow(image, 30), image.width() / 4);
    EXPECT_LT(blackInRow(image, 989), image.width() / 4);
    EXPECT_EQ(blackInRow(image, 990), image.width());
    EXPECT_TRUE(isBlack(image, 0, 500));
    EXPECT_FALSE(isBlack(image, 1, 500) && isBlack(image, 2, 500) && isBlack(image, 3, 500));
    // The caption band starts at (15, 10).
    EXPECT_TRUE(isBlack(image, 14, 12));
    EXPECT_EQ(image.pixelColor(15, 11), QColor(50, 50, 50));
}

TEST_F(AppTest, TheViewHasTheKeyboardFocusAndKeepsItWhenToolbarButtonsAreUsed)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(frame->focusWidget(), view);
    EXPECT_EQ(frame->focusProxy(), view);

    auto* button = qobject_cast<QToolButton*>(frame->toolBar()->widgetForAction(frame->action(32806)));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
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

TEST_F(AppTest, ExitClosesTheWindowWithoutAskingAnything)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(frame->RouteCommand(57665));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(desktop.messages().empty());
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
        auto* button = box.findChild<QPushButton*>(QStringLiteral("1"));
        ASSERT_NE(button, nullptr);
        ok = button->geometry();
        QTest::mouseClick(button, Qt::LeftButton);
    });
    ASSERT_TRUE(frame->RouteCommand(57664));

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
