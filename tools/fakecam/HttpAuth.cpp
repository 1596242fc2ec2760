#include "fakecam/HttpAuth.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cctype>
#include <vector>

namespace fakecam::auth {
namespace {

std::string toHex(const unsigned char* bytes, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        hex.push_back(digits[bytes[i] >> 4]);
        hex.push_back(digits[bytes[i] & 15]);
    }
    return hex;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string md5Hex(std::string_view data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr) != 1)
        return {};
    return toHex(digest, length);
}

std::string randomHex(std::size_t bytes)
{
    std::vector<unsigned char> buffer(bytes);
    if (RAND_bytes(buffer.data(), static_cast<int>(buffer.size())) != 1)
        return {};
    return toHex(buffer.data(), buffer.size());
}

std::optional<std::string> decodeBase64(std::string_view text)
{
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+')
            return 62;
        if (c == '/')
            return 63;
        return -1;
    };
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int v[4];
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && last && k >= 2) {
                v[k] = 0;
                ++pad;
                continue;
            }
            if (pad > 0)
                return std::nullopt; // data after padding
            v[k] = value(c);
            if (v[k] < 0)
                return std::nullopt;
        }
        const unsigned triple = (unsigned(v[0]) << 18) | (unsigned(v[1]) << 12) | (unsigned(v[2]) << 6) | unsigned(v[3]);
        out.push_back(static_cast<char>((triple >> 16) & 0xFF));
        if (pad < 2)
            out.push_back(static_cast<char>((triple >> 8) & 0xFF));
        if (pad < 1)
            out.push_back(static_cast<char>(triple & 0xFF));
    }
    return out;
}

Authorization parseAuthorization(std::string_view header)
{
    Authorization result;
    std::size_t i = 0;
    while (i < header.size() && isSpace(header[i]))
        ++i;
    const std::size_t schemeStart = i;
    while (i < header.size() && !isSpace(header[i]))
        ++i;
    result.scheme = lower(header.substr(schemeStart, i - schemeStart));
    while (i < header.size() && isSpace(header[i]))
        ++i;
    std::string_view rest = header.substr(i);
    if (result.scheme != "digest") {
        while (!rest.empty() && isSpace(rest.back()))
            rest.remove_suffix(1);
        result.token = std::string(rest);
        return result;
    }

    // name=value pairs, values as tokens or quoted strings with backslash escapes.
    std::size_t p = 0;
    while (p < rest.size()) {
        while (p < rest.size() && (isSpace(rest[p]) || rest[p] == ','))
            ++p;
        const std::size_t nameStart = p;
        while (p < rest.size() && rest[p] != '=' && rest[p] != ',' && !isSpace(rest[p]))
            ++p;
        std::string name = lower(rest.substr(nameStart, p - nameStart));
        while (p < rest.size() && isSpace(rest[p]))
            ++p;
        if (p >= rest.size() || rest[p] != '=') {
            if (!name.empty())
                result.params[name] = std::string();
            continue;
        }
        ++p; // '='
        while (p < rest.size() && isSpace(rest[p]))
            ++p;
        std::string value;
        if (p < rest.size() && rest[p] == '"') {
            ++p;
            while (p < rest.size() && rest[p] != '"') {
                if (rest[p] == '\\' && p + 1 < rest.size())
                    ++p;
                value.push_back(rest[p++]);
            }
            if (p < rest.size())
                ++p; // closing quote
        } else {
            const std::size_t valueStart = p;
            while (p < rest.size() && rest[p] != ',' && !isSpace(rest[p]))
                ++p;
            value = std::string(rest.substr(valueStart, p - valueStart));
        }
        if (!name.empty())
            result.params[name] = value;
    }
    return result;
}

std::string digestResponse(const std::string& user, const std::string& realm, const std::string& password,
                           const std::string& method, const std::string& uri, const std::string& nonce,
                           const std::string& nc, const std::string& cnonce, const std::string& qop)
{
    const std::string ha1 = md5Hex(user + ':' + realm + ':' + password);
    const std::string ha2 = md5Hex(method + ':' + uri);
    if (qop.empty())
        return md5Hex(ha1 + ':' + nonce + ':' + ha2);
    return md5Hex(ha1 + ':' + nonce + ':' + nc + ':' + cnonce + ':' + qop + ':' + ha2);
}

} // namespace fakecam::auth
