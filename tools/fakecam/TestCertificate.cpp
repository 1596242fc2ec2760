#include "fakecam/TestCertificate.h"

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace fakecam {
namespace {

struct Deleter {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(X509* p) const { X509_free(p); }
    void operator()(X509_EXTENSION* p) const { X509_EXTENSION_free(p); }
    void operator()(std::FILE* f) const { std::fclose(f); }
};
template <typename T>
using Owned = std::unique_ptr<T, Deleter>;

bool addExtension(X509* cert, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    Owned<X509_EXTENSION> ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value));
    return ext && X509_add_ext(cert, ext.get(), -1) == 1;
}

} // namespace

bool writeSelfSignedCertificate(const std::string& certPath, const std::string& keyPath)
{
    Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
    Owned<X509> cert(X509_new());
    if (!key || !cert)
        return false;

    unsigned char serial[8];
    if (RAND_bytes(serial, sizeof serial) != 1)
        return false;
    serial[0] &= 0x7F; // a positive serial number
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    const bool serialSet = bn && BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
    BN_free(bn);
    if (!serialSet)
        return false;

    X509_NAME* name = X509_get_subject_name(cert.get());
    const bool ok =
        X509_set_version(cert.get(), 2) == 1 &&
        X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) &&
        X509_gmtime_adj(X509_getm_notAfter(cert.get()), 30L * 24 * 3600) &&
        X509_set_pubkey(cert.get(), key.get()) == 1 &&
        X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("VarnekJPG simulated camera"), -1, -1, 0) == 1 &&
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                                   -1, -1, 0) == 1 &&
        X509_set_issuer_name(cert.get(), name) == 1 &&
        addExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE") &&
        addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign") &&
        addExtension(cert.get(), NID_ext_key_usage, "serverAuth") &&
        addExtension(cert.get(), NID_subject_key_identifier, "hash") &&
        addExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
        X509_sign(cert.get(), key.get(), EVP_sha256()) > 0;
    if (!ok)
        return false;

    Owned<std::FILE> keyFile(std::fopen(keyPath.c_str(), "wb"));
    if (!keyFile || fchmod(fileno(keyFile.get()), S_IRUSR | S_IWUSR) != 0 ||
        PEM_write_PrivateKey(keyFile.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1)
        return false;
    Owned<std::FILE> certFile(std::fopen(certPath.c_str(), "wb"));
    if (!certFile || PEM_write_X509(certFile.get(), cert.get()) != 1)
        return false;
    return std::fclose(keyFile.release()) == 0 && std::fclose(certFile.release()) == 0;
}

} // namespace fakecam
