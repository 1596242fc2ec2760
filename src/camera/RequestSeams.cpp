#include "camera/RequestSeams.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_seamMutex;
MessageReporter g_reporter;

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
