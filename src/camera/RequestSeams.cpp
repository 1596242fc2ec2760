#include "camera/RequestSeams.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_seamMutex;
MessageReporter g_reporter;
RequestWaiter g_waiter;
thread_local int t_waits = 0;

} // namespace

void setMessageReporter(MessageReporter reporter)
{
    std::lock_guard lock(g_seamMutex);
    g_reporter = std::move(reporter);
}

void reportMessage(const QString& caption, const QString& text)
{
    MessageReporter reporter;
    {
        std::lock_guard lock(g_seamMutex);
        reporter = g_reporter;
    }
    if (reporter)
        reporter(caption, text);
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

void setRequestWaiter(RequestWaiter waiter)
{
    std::lock_guard lock(g_seamMutex);
    g_waiter = std::move(waiter);
}

void waitForRequest(PendingRequest& request)
{
    RequestWaiter waiter;
    {
        std::lock_guard lock(g_seamMutex);
        waiter = g_waiter;
    }
    ++t_waits;
    if (waiter)
        waiter(request);
    while (!request.waitFor(1000)) {
    }
    --t_waits;
}

bool requestWaitInProgress()
{
    return t_waits > 0;
}
