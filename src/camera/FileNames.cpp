#include "camera/FileNames.h"

#include <QDir>

QString programFolder()
{
    return QDir::currentPath();
}

std::optional<QString> pathInFolder(const QString& folder, const QString& fileName)
{
    if (folder.size() + 1 + fileName.size() + 1 > kPathUnits)
        return std::nullopt;
    return folder + QLatin1Char('/') + fileName;
}

QString pathRuleMessage(const QString& fileName)
{
    const QString what = fileName.isEmpty() ? QStringLiteral("the destination filename")
                                            : QStringLiteral("/") + fileName;
    return QStringLiteral("An error occured appending ") + what
        + QStringLiteral(" to the program's folder name.\nTry moving the program somewhere where the path is shorter\n"
                         "so the total length of the path and filename is less than 500 bytes.");
}

bool isPlainFileName(const QByteArray& name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

QByteArray encodeUrlPathBytes(const QByteArray& bytes, bool keepSlashes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-'
            || u == '.' || u == '_' || u == '~' || (keepSlashes && u == '/');
        if (plain) {
            out.append(c);
        } else {
            out.append('%');
            out.append(hex[u >> 4]);
            out.append(hex[u & 0x0F]);
        }
    }
    return out;
}

QString nameForDisplay(const QByteArray& bytes)
{
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
}
