#pragma once
// The pieces of HTTP authentication that the simulated camera checks: Basic credentials and
// RFC 7616 Digest with MD5.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace fakecam::auth {

std::string md5Hex(std::string_view data);
// Random bytes from OpenSSL, as lower-case hex: nonces and opaque values.
std::string randomHex(std::size_t bytes);
// Standard base64 with padding; nothing when the text is malformed.
std::optional<std::string> decodeBase64(std::string_view text);

// An Authorization header split into its scheme and its parts: the single token of Basic, or
// the name=value and name="value" pairs of Digest (names in lower case).
struct Authorization {
    std::string scheme; // lower case
    std::string token;
    std::map<std::string, std::string> params;
};
Authorization parseAuthorization(std::string_view header);

// The "response" value a client computes. With an empty qop it is the RFC 2069 form that
// leaves out nc and cnonce.
std::string digestResponse(const std::string& user, const std::string& realm, const std::string& password,
                           const std::string& method, const std::string& uri, const std::string& nonce,
                           const std::string& nc, const std::string& cnonce, const std::string& qop);

} // namespace fakecam::auth
