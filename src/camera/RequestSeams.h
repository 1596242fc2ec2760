#pragma once
// Where the camera requests meet whoever runs them, so that they need no widget: how a message
// reaches the user. The application puts its own in place at start-up; without it messages go to
// stderr.

#include <QString>

#include <functional>

using MessageReporter = std::function<void(const QString& caption, const QString& text)>;

// Replaces the reporter; an empty one restores the default. Called from any thread.
void setMessageReporter(MessageReporter reporter);
// Shows a message through the reporter in place, from any thread; returns when it was shown.
void reportMessage(const QString& caption, const QString& text);
