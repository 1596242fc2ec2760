#pragma once
// The whole program started as from a desktop, in a fresh program folder with its settings file
// pointing at a simulated camera on loopback.

#include "support/CameraFixture.h"

#include "app/VarnekJPGApp.h"
#include "view/CommandIds.h"
#include "view/VarnekJPGView.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

class AppTest : public CameraTest {
protected:
    // InitInstance with the program's name and any further arguments.
    bool start(const QStringList& arguments = {})
    {
        app = std::make_unique<CVarnekJPGApp>();
        const bool started = app->InitInstance(QStringList{QStringLiteral("varnekjpg")} + arguments);
        frame = app->mainFrame();
        view = app->view();
        return started;
    }

    QMenu* menu(const QString& title) const
    {
        for (QAction* entry : frame->menuBar()->actions()) {
            if (entry->text() == title)
                return entry->menu();
        }
        return nullptr;
    }
    // The menu item of a command, found in the menu as the user sees it.
    QAction* menuItem(const QString& title, int id) const
    {
        for (QAction* item : menu(title)->actions()) {
            if (!item->isSeparator() && item->data().toInt() == id)
                return item;
        }
        return nullptr;
    }

    std::unique_ptr<CVarnekJPGApp> app;
    CMainFrame* frame = nullptr;
    CVarnekJPGView* view = nullptr;
};
