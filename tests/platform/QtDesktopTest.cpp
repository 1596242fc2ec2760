// The real desktop's message box: it must come up modal and hold the caller until it is closed.
#include "platform/QtDesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

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

} // namespace
