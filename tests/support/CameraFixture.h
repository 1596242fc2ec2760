#pragma once
// A program folder, a recording desktop and a simulated camera on loopback, with the user's
// settings file pointing at that camera: what a view or the whole program needs in a test.

#include "support/TempFolder.h"
#include "camera/CameraLink.h"
#include "camera/CameraSettings.h"
#include "fakecam/FakeCamera.h"
#include "platform/RecordingDesktop.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class CameraTest : public ::testing::Test {
protected:
    // Starts a camera and points the settings file at it.
    void SetUp() override
    {
        const fakecam::Options options;
        camera = std::make_unique<fakecam::FakeCamera>(options);
        ASSERT_TRUE(camera->start());
        SettingsStore store;
        ASSERT_TRUE(store.write(kValueSnapshotUrl, QString::fromStdString(camera->snapshotUrl())));
        ASSERT_TRUE(store.write(kValueUserName, QString::fromStdString(options.user)));
        ASSERT_TRUE(store.write(kValuePassword, QString::fromStdString(options.password)));
        LoadCameraSettings();
    }

    // Requests for a path, e.g. "/tmpfs/auto.jpg", that carried the credentials: one per
    // exchange, however many challenges came before.
    int requestsFor(const std::string& path) const
    {
        int count = 0;
        for (const fakecam::RecordedRequest& request : camera->requests())
            count += request.path == path && request.authenticated ? 1 : 0;
        return count;
    }
    int snapshotRequests() const { return requestsFor("/tmpfs/auto.jpg"); }

    TempFolder folder;
    platform::RecordingDesktop desktop;
    std::unique_ptr<fakecam::FakeCamera> camera;
};

// Waits until every request of the link has ended and its next steps have run.
inline bool settled(const CameraLink& link, int timeoutMs = 30000)
{
    return QTest::qWaitFor([&] { return link.running() == 0; }, timeoutMs);
}

// Acts on the modal widget of type Dialog once it is up in its modal loop. The action is expected
// to close it; a dialog left open is a failure, and is closed so the test goes on.
template <typename Dialog>
void whenModalOpen(std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        }
    });
    poll->start(5);
}
