#pragma once
// What the link keeps between requests to a camera: open connections (inside idle libcurl
// handles, one set per camera and credentials) and the authentication scheme each camera asked
// for, so that later requests present the credentials at once instead of waiting for a challenge.

#include <QByteArray>

#include <curl/curl.h>

#include <chrono>

// "scheme://host:port" of a URL, lower case, with the scheme's port when none is given; empty
// when the URL cannot be parsed.
QByteArray originOf(const char* url);

// A handle for a request to this key (origin and credentials): an idle one that talked to the
// same camera before, with its connection and its authentication state, or a new one. Nullptr
// when libcurl has none to give.
CURL* takeLinkHandle(const QByteArray& key);
// Hands a handle back after its request; it stays for the next request to the same key. A handle
// whose transfer failed is closed instead, so no broken connection is kept.
void returnLinkHandle(const QByteArray& key, CURL* handle, bool keep);
// Closes the handles idle for at least idleFor, with their connections; returns how many.
int closeIdleHandles(std::chrono::milliseconds idleFor);
// Closes every idle handle and forgets every scheme.
void clearLinkCache();

// CURLAUTH_BASIC or CURLAUTH_DIGEST once a camera at this origin asked for that scheme, else 0.
long rememberedAuthScheme(const QByteArray& origin);
void rememberAuthScheme(const QByteArray& origin, long scheme);
