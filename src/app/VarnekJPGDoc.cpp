#include "app/VarnekJPGDoc.h"

#include "app/CommandTable.h"
#include "platform/Desktop.h"

#include <QFile>
#include <QFileInfo>

CVarnekJPGDoc::CVarnekJPGDoc(QObject* parent)
    : QObject(parent)
{
    m_commands.add(cmd::FileSaveAs, [this] { OnFileSaveAs(); });
}

bool CVarnekJPGDoc::OnCmdMsg(int id, CCmdUI* ui)
{
    return m_commands.dispatch(id, ui);
}

bool CVarnekJPGDoc::OnNewDocument()
{
    setPathName(QString(), false);
    setTitle(tr("Untitled"));
    return true;
}

bool CVarnekJPGDoc::OnOpenDocument(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

bool CVarnekJPGDoc::OnSaveDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.flush() && file.error() == QFileDevice::NoError;
}

void CVarnekJPGDoc::OnFileSaveAs()
{
    const QString path = platform::desktop().chooseFileToSave(platform::programFolder(),
                                                              {tr("All Files (*)")});
    if (path.isEmpty())
        return;
    if (!OnSaveDocument(path)) {
        platform::desktop().messageBox(QStringLiteral("VarnekJPG"), tr("Failed to save document."),
                                       platform::MessageIcon::Warning);
        return;
    }
    setPathName(path);
}

void CVarnekJPGDoc::setPathName(const QString& path, bool addToRecentList)
{
    if (path.isEmpty()) {
        m_pathName.clear();
        return;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    setTitle(QFileInfo(m_pathName).fileName());
    if (addToRecentList)
        emit addToRecentFileList(m_pathName);
}

void CVarnekJPGDoc::setTitle(const QString& title)
{
    m_title = title;
    emit titleChanged(m_title);
}
