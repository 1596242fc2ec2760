#include "camera/LinkCache.h"

#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace {

// A few handles are enough: the snapshot and commands on the window's thread, a recording fetch
// beside them, and the handle of an earlier camera or password until it ages out.
constexpr std::size_t kIdleHandles = 4;

// Idle handles, oldest first. They are closed when the program ends, so that nothing stays open
// behind it and no leak checker takes them for lost.
struct IdleHandles : std::deque<std::pair<QByteArray, CURL*>> {
    ~IdleHandles()
    {
        for (auto& entry : *this)
            curl_easy_cleanup(entry.second);
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
            if (it->first == key) {
                CURL* handle = it->second;
                g_idle.erase(std::next(it).base());
                return handle;
            }
        }
    }
    return curl_easy_init();
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
        g_idle.emplace_back(key, handle);
        if (g_idle.size() > kIdleHandles) {
            evicted = g_idle.front().second;
            g_idle.pop_front();
        }
    }
    if (evicted)
        curl_easy_cleanup(evicted);
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
