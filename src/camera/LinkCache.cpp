#include "camera/LinkCache.h"

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// Small camera servers serve only a few clients: two idle handles (the window's requests and a
// recording fetch beside them), each holding at most one connection.
constexpr std::size_t kIdleHandles = 2;

struct IdleHandle {
    QByteArray key;
    CURL* handle = nullptr;
    Clock::time_point since;
};

// Idle handles, oldest first. They are closed when the program ends, so that nothing stays open
// behind it and no leak checker takes them for lost.
struct IdleHandles : std::deque<IdleHandle> {
    ~IdleHandles()
    {
        for (auto& entry : *this)
            curl_easy_cleanup(entry.handle);
    }
};

std::mutex g_cacheMutex;
IdleHandles g_idle;
std::map<QByteArray, long> g_schemes;

} // namespace

QByteArray originOf(const char* url)
{
    CURLU* parsed = curl_url();
    QByteArray origin;
    if (curl_url_set(parsed, CURLUPART_URL, url, 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        char* port = nullptr;
        if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK
            && curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK
            && curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK)
            origin = (QByteArray(scheme) + "://" + QByteArray(host) + ':' + QByteArray(port)).toLower();
        curl_free(scheme);
        curl_free(host);
        curl_free(port);
    }
    curl_url_cleanup(parsed);
    return origin;
}

CURL* takeLinkHandle(const QByteArray& key)
{
    {
        std::lock_guard lock(g_cacheMutex);
        for (auto it = g_idle.rbegin(); it != g_idle.rend(); ++it) {
            if (it->key == key) {
                CURL* handle = it->handle;
                g_idle.erase(std::next(it).base());
                return handle;
            }
        }
    }
    CURL* handle = curl_easy_init();
    // One kept connection per handle: a command's fresh connection replaces the older one
    // instead of joining it.
    if (handle)
        curl_easy_setopt(handle, CURLOPT_MAXCONNECTS, 1L);
    return handle;
}

void returnLinkHandle(const QByteArray& key, CURL* handle, bool keep)
{
    if (!handle)
        return;
    if (!keep) {
        curl_easy_cleanup(handle);
        return;
    }
    CURL* evicted = nullptr;
    {
        std::lock_guard lock(g_cacheMutex);
        g_idle.push_back({key, handle, Clock::now()});
        if (g_idle.size() > kIdleHandles) {
            evicted = g_idle.front().handle;
            g_idle.pop_front();
        }
    }
    if (evicted)
        curl_easy_cleanup(evicted);
}

int closeIdleHandles(std::chrono::milliseconds idleFor)
{
    IdleHandles aged;
    {
        std::lock_guard lock(g_cacheMutex);
        const Clock::time_point limit = Clock::now() - idleFor;
        while (!g_idle.empty() && g_idle.front().since <= limit) {
            aged.push_back(g_idle.front());
            g_idle.pop_front();
        }
    }
    return static_cast<int>(aged.size());
}

void clearLinkCache()
{
    IdleHandles idle;
    {
        std::lock_guard lock(g_cacheMutex);
        idle.swap(g_idle);
        g_schemes.clear();
    }
}

long rememberedAuthScheme(const QByteArray& origin)
{
    std::lock_guard lock(g_cacheMutex);
    const auto it = g_schemes.find(origin);
    return it == g_schemes.end() ? 0 : it->second;
}

void rememberAuthScheme(const QByteArray& origin, long scheme)
{
    std::lock_guard lock(g_cacheMutex);
    g_schemes[origin] = scheme;
}
