#pragma once
// Draws the simulated camera's picture: the part of a wide landscape that the head points at,
// with the on-screen display of a real camera (clock, name, position, frame number). Safe to call
// from any thread at once: it draws into its own QImage and needs no fonts and no application.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace fakecam {

struct SnapshotView {
    int width = 640;
    int height = 480;
    int pan = 0;
    int tilt = 0;
    bool grey = false;           // infra-red light on: the sensor sees no colour
    std::uint64_t frame = 0;
    QString clock;               // "yyyy-MM-dd HH:mm:ss"
};

// Scene units the view shifts by per pan or tilt unit, on the 480-line scale.
inline constexpr int kScenePerStep = 4;

QImage renderSnapshot(const SnapshotView& view);
// The picture as a JPEG file; empty when encoding fails.
QByteArray encodeJpeg(const QImage& image, int quality = 80);

} // namespace fakecam
