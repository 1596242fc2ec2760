#pragma once
// A fresh program folder for one test: it becomes the current directory (where the program keeps
// its files) and the settings file lives beside it; both go away afterwards.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The program folder (the current directory while this object lives).
    QString path() const { return m_program; }
    QString file(const QString& name) const { return QDir(m_program).filePath(name); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("config/VarnekJPG/VarnekJPG.conf")); }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }
    QByteArray read(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    // Names of every file in the folder, hidden ones included.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
    QByteArray m_oldXdg;
    bool m_hadXdg;
    QString m_program;
};
