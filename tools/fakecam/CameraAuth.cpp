#include "fakecam/CameraImpl.h"

#include "fakecam/CameraPages.h"

namespace fakecam {

using namespace detail;

bool FakeCamera::Impl::basicAccepted(const std::string& header) const
{
    const auth::Authorization a = auth::parseAuthorization(header);
    if (a.scheme != "basic")
        return false;
    const std::optional<std::string> decoded = auth::decodeBase64(a.token);
    return decoded && *decoded == options.user + ':' + options.password;
}

bool FakeCamera::Impl::digestAccepted(const httplib::Request& req, const std::string& header, bool& stale) const
{
    const auth::Authorization a = auth::parseAuthorization(header);
    if (a.scheme != "digest")
        return false;
    auto param = [&a](const char* name) {
        const auto it = a.params.find(name);
        return it == a.params.end() ? std::string() : it->second;
    };
    const std::string nonce = param("nonce");
    const std::string uri = param("uri");
    const std::string qop = param("qop");
    const std::string nc = param("nc");
    const std::string cnonce = param("cnonce");
    const std::string algorithm = lower(param("algorithm"));
    // The server library hands header values percent-decoded, so the uri is compared decoded and
    // the hash is taken over the request target as sent, which is what the client hashed.
    if (param("username") != options.user || param("realm") != kRealm ||
        uri != httplib::detail::decode_url(req.target, false))
        return false;
    if (!algorithm.empty() && algorithm != "md5")
        return false;
    if (param("opaque") != opaque)
        return false;
    if (!qop.empty() && (qop != "auth" || nc.empty() || cnonce.empty()))
        return false;
    const std::string expected = auth::digestResponse(options.user, kRealm, options.password, req.method,
                                                      req.target, nonce, nc, cnonce, qop);
    if (lower(param("response")) != expected)
        return false;
    if (std::find(nonces.begin(), nonces.end(), nonce) == nonces.end()) {
        stale = true; // right password, but a nonce this camera no longer knows
        return false;
    }
    return true;
}

std::string FakeCamera::Impl::newNonce()
{
    std::string nonce = auth::randomHex(16);
    nonces.push_back(nonce);
    while (nonces.size() > kNonceMemory)
        nonces.pop_front();
    return nonce;
}

bool FakeCamera::Impl::authenticate(const httplib::Request& req, Answer& refusal)
{
    std::lock_guard lock(mutex);
    const bool refuseAll = fault == Fault::WrongCredentials;
    if (options.auth == AuthMode::None && !refuseAll)
        return true;
    bool stale = false;
    if (!refuseAll) {
        const std::string header = req.get_header_value("Authorization");
        if (options.auth == AuthMode::Basic && basicAccepted(header))
            return true;
        if (options.auth == AuthMode::Digest && digestAccepted(req, header, stale))
            return true;
    }
    refusal = htmlAnswer(401, pages::unauthorized());
    std::string challenge;
    if (options.auth == AuthMode::Digest) {
        challenge = std::string("Digest realm=\"") + kRealm + "\", qop=\"auth\", nonce=\"" + newNonce() +
                    "\", opaque=\"" + opaque + "\", algorithm=MD5";
        if (stale)
            challenge += ", stale=true";
    } else {
        challenge = std::string("Basic realm=\"") + kRealm + "\"";
    }
    refusal.headers.emplace_back("WWW-Authenticate", challenge);
    return false;
}

} // namespace fakecam
