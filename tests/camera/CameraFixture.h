#pragma once
// A program folder and a simulated camera on loopback with quick time limits, and the messages
// the camera link would show.

#include "camera/CameraRequest.h"
#include "camera/LinkCache.h"
#include "fakecam/FakeCamera.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>


class CameraFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearLinkCache();
        ASSERT_TRUE(camera.start());
        settings = {QString::fromStdString(camera.snapshotUrl()), QStringLiteral("admin"), QStringLiteral("pelto")};
        limits.snapshotConnectMs = limits.snapshotTotalMs = limits.otherConnectMs = limits.otherTotalMs = 1500;
        limits.otherRetryDelayMs = 100;
        limits.recordingSlowSeconds = 1;
        setRequestTimeouts(limits);
        setMessageReporter([this](const QString& caption, const QString& text) { messages << caption << text; });
    }
    void TearDown() override
    {
        setRequestTimeouts(RequestTimeouts{});
        setMessageReporter({});
        clearLinkCache(); // closes the kept connections, so the camera stops at once
    }
    QString autoJpg() const { return folder.file(QStringLiteral("auto.jpg")); }
    // Every file in the folder, hidden ones included: no temporary file may be left behind.
    QStringList files() const { return folder.entries(); }
    using Clock = std::chrono::steady_clock;
    static double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }
    // The first recording of the card: its name, and its URL on the camera.
    std::pair<QByteArray, QByteArray> recording() const
    {
        const std::string date = camera.dates().front();
        const std::string name = camera.recordings(date).front();
        return {QByteArray::fromStdString(name), QByteArray::fromStdString(camera.baseUrl() + "/sd/" + date + "/record000/" + name)};
    }

    TempFolder folder;
    fakecam::FakeCamera camera{fakecam::keepingConnections()};
    CameraSettings settings;
    RequestTimeouts limits;
    QStringList messages;
};
