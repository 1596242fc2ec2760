#pragma once
// A throw-away TLS identity for the simulated camera: a self-signed certificate for 127.0.0.1
// (and localhost), valid from an hour ago for thirty days, with its private key.

#include <string>

namespace fakecam {

// Writes both files in PEM form (the key readable by its owner only). False when anything fails;
// a client may trust the certificate file itself as its CA.
bool writeSelfSignedCertificate(const std::string& certPath, const std::string& keyPath);

} // namespace fakecam
