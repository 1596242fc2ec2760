#include "TempFolder.h"

#include <QFile>

TempFolder::TempFolder()
    : m_oldCurrent(QDir::currentPath())
    , m_oldXdg(qgetenv("XDG_CONFIG_HOME"))
    , m_hadXdg(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    // The program folder is a subfolder so the settings never lie among the program's files.
    m_program = m_dir.filePath(QStringLiteral("program"));
    QDir::setCurrent(m_program);
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(m_oldCurrent);
    if (m_hadXdg)
        qputenv("XDG_CONFIG_HOME", m_oldXdg);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QByteArray TempFolder::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TempFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QStringList TempFolder::entries() const
{
    return QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
