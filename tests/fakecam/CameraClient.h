#pragma once
// What the simulated camera's tests share: a started camera with a plain HTTP client, and a
// reader of the Micro-SD pages that takes names the way the program's listing reader does.

#include "fakecam/FakeCamera.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fakecamtest {

inline fakecam::Options basicOptions()
{
    fakecam::Options o;
    o.user = "admin";
    o.password = "pelto";
    o.auth = fakecam::AuthMode::Basic;
    return o;
}

inline std::unique_ptr<httplib::Client> clientFor(const fakecam::FakeCamera& camera)
{
    auto client = std::make_unique<httplib::Client>(camera.baseUrl());
    client->set_connection_timeout(5);
    client->set_read_timeout(20);
    return client;
}

// A running camera with Basic authentication and a client that knows the password.
class CameraTest : public ::testing::Test {
protected:
    explicit CameraTest(fakecam::Options options = basicOptions()) : camera(std::move(options)) {}

    void SetUp() override
    {
        ASSERT_TRUE(camera.start());
        client = clientFor(camera);
        client->set_basic_auth("admin", "pelto");
    }

    httplib::Result get(const std::string& target, const httplib::Headers& headers = {})
    {
        return client->Get(target.c_str(), headers);
    }

    // The body of a request that must succeed.
    std::string body(const std::string& target)
    {
        auto r = get(target);
        EXPECT_TRUE(r && r->status == 200) << target << ": " << (r ? std::to_string(r->status) : httplib::to_string(r.error()));
        return r ? r->body : std::string();
    }

    QImage snapshot()
    {
        const std::string jpeg = body("/tmpfs/auto.jpg");
        return QImage::fromData(QByteArray::fromStdString(jpeg), "JPG");
    }

    fakecam::FakeCamera camera;
    std::unique_ptr<httplib::Client> client;
};

// Waits for a state to come about; false when it has not after the generous deadline.
inline bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = std::chrono::seconds(10))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The names behind every link marker `<a href="/sd/` of a listing, taken as the program takes
// them: a folder name ends at `/">`, a file name follows the second "/" after the marker and ends
// at `">`; either must end within 249 bytes, and a name never runs past its line.
inline std::vector<std::string> linkedNames(const std::string& page, bool files)
{
    const std::string marker = "<a href=\"/sd/";
    std::vector<std::string> names;
    for (std::size_t at = page.find(marker); at != std::string::npos; at = page.find(marker, at + 1)) {
        std::size_t from = at + marker.size();
        const std::size_t lineEnd = std::min(page.find('\n', from), page.size());
        if (files) {
            const std::size_t first = page.find('/', from);
            const std::size_t second = first < lineEnd ? page.find('/', first + 1) : std::string::npos;
            if (second >= lineEnd)
                continue;
            from = second + 1;
        }
        const std::string candidate = page.substr(from, std::min<std::size_t>(249, lineEnd - from));
        const std::size_t end = candidate.find(files ? "\">" : "/\">");
        if (end != std::string::npos)
            names.push_back(candidate.substr(0, end));
    }
    return names;
}

// A name that can safely become a file or folder name: not empty, "." or "..", and without "/",
// "\" or control characters.
inline bool soundName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F || c == '/' || c == '\\';
    });
}

inline std::vector<std::string> soundNames(std::vector<std::string> names)
{
    std::erase_if(names, [](const std::string& name) { return !soundName(name); });
    return names;
}

// Percent-encodes every byte outside A-Z a-z 0-9 - . _ ~ and "/".
inline std::string encodePath(const std::string& path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(digits[u >> 4]);
            out.push_back(digits[u & 15]);
        }
    }
    return out;
}

} // namespace fakecamtest
