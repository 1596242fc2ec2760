// The real desktop's message box: it must come up modal and hold the caller until it is closed.
#include "platform/QtDesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(QtDesktop, AMessageBoxShowsItsTextsAndReturnsWhenClosed)
{
    QString caption, text;
    int icon = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(5);
    platform::QtDesktop().messageBox(QStringLiteral("CVarnekJPG"), QStringLiteral("Nothing was saved."),
                                     platform::MessageIcon::Warning);
    EXPECT_EQ(caption, QStringLiteral("CVarnekJPG"));
    EXPECT_EQ(text, QStringLiteral("Nothing was saved."));
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtDesktop, AQuestionAnswersWhatWasClicked)
{
    QString text;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->button(answer)->click();
        }
    });
    poll.start(5);
    EXPECT_TRUE(platform::QtDesktop().askYesNo(QStringLiteral("VarnekJPG"), QStringLiteral("Format the card?")));
    EXPECT_EQ(text, QStringLiteral("Format the card?"));
    answer = QMessageBox::No;
    EXPECT_FALSE(platform::QtDesktop().askYesNo(QStringLiteral("VarnekJPG"), QStringLiteral("Reboot?")));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened.push_back(url.toEncoded()); }

public:
    QList<QByteArray> opened;
};

// Files and folders go to the desktop's opener as file URLs. A recording's name is bytes from
// the camera: one that is not UTF-8 must still name its file.
TEST(QtDesktop, FilesAndFoldersAreHandedToTheDesktopsOpener)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    platform::QtDesktop().openFileWithDefaultApp(QByteArray("/tmp/rec ord/P\xe9_080000.264"));
    platform::QtDesktop().openFolder(QStringLiteral("/tmp/rec ord"));
    platform::QtDesktop().openWithDefaultApp(QStringLiteral("/tmp/kept.jpg"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.opened, (QList<QByteArray>{"file:///tmp/rec%20ord/P%E9_080000.264", "file:///tmp/rec%20ord",
                                                 "file:///tmp/kept.jpg"}));
}

} // namespace

#include "QtDesktopTest.moc"
