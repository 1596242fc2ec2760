#pragma once
// Holds the keyboard and mouse input of a window whose request runs, and of the windows it is
// modal for, and hands it back in its order when the hold ends: a handler's steps then run after
// the one that waits, never in the middle of it. Every other window (a message box, a note of a
// background fetch) works as usual meanwhile. Auto-repeats of a held key are merged, so at most one
// repeat waits behind the running request and the camera stops within one command of the key's
// release. After half a second the busy cursor shows, once.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEvent;

namespace platform {

class InputHold final : public QObject {
public:
    explicit InputHold(QWidget* waiting);
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool heldWindow(const QObject* window) const;
    bool holds(const QObject* receiver, const QEvent* event) const;
    // A repeat of a key whose earlier repeat is already held.
    bool mergedRepeat(const QEvent* event) const;

    std::vector<QPointer<QWidget>> m_windows;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
    QTimer m_busyTimer;
    bool m_busy = false;
};

// The requests a window waits for: each continuation holds the window's input until it has run,
// and while any is outstanding the window counts as waiting.
class WindowWaits final {
public:
    explicit WindowWaits(QWidget* window) : m_window(window) {}
    bool waiting() const { return m_count > 0; }

    // Wraps the next steps after a request. The window must outlive the continuation's run (a
    // continuation whose window has gone is dropped before it runs).
    template <typename Outcome>
    std::function<void(const Outcome&)> after(std::function<void(const Outcome&)> next)
    {
        ++m_count;
        auto hold = std::make_shared<InputHold>(m_window);
        return [this, hold, next = std::move(next)](const Outcome& outcome) {
            --m_count;
            if (next)
                next(outcome);
        };
    }

private:
    QWidget* m_window;
    int m_count = 0;
};

} // namespace platform
