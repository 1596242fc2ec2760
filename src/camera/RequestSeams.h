#pragma once
// The two places where the camera link meets whoever runs it, so that it needs no widget: how a
// message reaches the user, and how a thread waits while its request runs. The application puts
// its own in place at start-up; without them messages go to stderr and a wait simply blocks.

#include <QString>

#include <functional>

using MessageReporter = std::function<void(const QString& caption, const QString& text)>;

// Replaces the reporter; an empty one restores the default. Called from any thread.
void setMessageReporter(MessageReporter reporter);
// Shows a message through the reporter in place, from any thread; returns when it was shown.
void reportMessage(const QString& caption, const QString& text);

// A request whose transfer runs on its worker while the calling thread waits.
class PendingRequest {
public:
    virtual ~PendingRequest() = default;
    // Waits up to timeoutMs; true once the transfer has ended.
    virtual bool waitFor(int timeoutMs) = 0;
    // Ends the transfer early (within about a second); the request then fails and keeps nothing.
    virtual void abort() = 0;
};

// Waits for a request. It must not return before waitFor() has returned true.
using RequestWaiter = std::function<void(PendingRequest& request)>;

// Replaces the waiter; an empty one restores the plain blocking wait.
void setRequestWaiter(RequestWaiter waiter);
// Runs the waiter in place (the library's own use).
void waitForRequest(PendingRequest& request);
// True while the calling thread is inside a request's wait: work that would start another request
// from inside it (a timer tick) does nothing then.
bool requestWaitInProgress();
