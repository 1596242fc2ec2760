// Hostile answers to the real request: a loopback server answers every connection with the input
// after its first byte, which picks snapshot, command or listing. Whatever comes, no temporary file
// stays beside the target, and a failed snapshot keeps nothing.
#include "camera/CameraRequest.h"
#include "camera/LinkCache.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

std::mutex g_mutex;
QByteArray g_answer;

int startServer()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener, 8) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        std::abort();
    std::thread([listener] {
        for (int client; (client = ::accept(listener, nullptr, nullptr)) >= 0; ::close(client)) {
            // The whole request is read first: closing on unread bytes would reset the connection.
            QByteArray request;
            char buffer[4096];
            for (ssize_t n = 1; n > 0 && !request.contains("\r\n\r\n");) {
                n = ::recv(client, buffer, sizeof buffer, 0);
                request.append(buffer, std::max<ssize_t>(n, 0));
            }
            std::lock_guard lock(g_mutex);
            ::send(client, g_answer.constData(), static_cast<size_t>(g_answer.size()), MSG_NOSIGNAL);
        }
    }).detach();
    return ntohs(address.sin_port);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int port = startServer();
    static QTemporaryDir folder;
    if (size == 0)
        return 0;
    {
        std::lock_guard lock(g_mutex);
        g_answer = QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
        // Redirects lead back to this server: no host name from the input is ever looked up.
        static const QRegularExpression location(QStringLiteral("(^|\\n)location:[^\\r\\n]*"),
                                                 QRegularExpression::CaseInsensitiveOption);
        g_answer = QString::fromLatin1(g_answer).replace(location, QStringLiteral("\\1Location: /again")).toLatin1();
    }
    setLoopbackOnly(true);
    RequestTimeouts limits;
    limits.snapshotTotalMs = limits.otherTotalMs = 3000;
    limits.answerCapBytes = 1024;
    setRequestTimeouts(limits);
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/x";
    CameraRequest request;
    const RequestVariant variants[] = {RequestVariant::Snapshot, RequestVariant::Command, RequestVariant::SdListing};
    request.variant = variants[data[0] % 3];
    request.requireSuccess = request.variant == RequestVariant::Snapshot;
    request.url = url;
    request.targetPath = QFile::encodeName(folder.filePath(QStringLiteral("answer")));
    request.settings = {QString::fromLatin1(url), QStringLiteral("admin"), QStringLiteral("pelto")};
    const int result = performCameraRequest(request);
    const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    if (left.size() > 1 || (!left.isEmpty() && left.front() != QStringLiteral("answer"))
        || (result != 0 && request.variant == RequestVariant::Snapshot && !left.isEmpty()))
        std::abort();
    QFile::remove(folder.filePath(QStringLiteral("answer")));
    clearLinkCache();
    return 0;
}
