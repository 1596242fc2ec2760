#pragma once
// The keyboard's lock states for the status bar's indicators. Linux shows every keyboard's lock
// lights under /sys/class/leds (input<N>::capslock and so on), readable by any user, whatever the
// display server; where none is found the state is unknown and the indicator stays unlit.

#include <QString>

struct LockState {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;

    bool operator==(const LockState&) const = default;
};

inline const QString kLedsFolder = QStringLiteral("/sys/class/leds");

// A lock counts as on when any keyboard shows its light.
LockState readLockState(const QString& ledsFolder = kLedsFolder);
