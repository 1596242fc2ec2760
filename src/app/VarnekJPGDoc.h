#pragma once
// The document: it carries no data. It has a name (the title bar's "NAME - VarnekJPG"), is never
// modified, reads nothing when a file is opened and writes an empty file when saved under a name.

#include "view/CommandTarget.h"

#include <QObject>
#include <QString>

class CVarnekJPGDoc final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit CVarnekJPGDoc(QObject* parent = nullptr);

    bool OnCmdMsg(int id, CCmdUI* ui) override;

    // A fresh untitled document.
    bool OnNewDocument();
    // Opens a file as the document: true when it can be opened; nothing is read from it.
    bool OnOpenDocument(const QString& path);
    // Writes the document (nothing) into path: true when the empty file is in place.
    bool OnSaveDocument(const QString& path);
    // "Save &As...": asks for a name in the program folder and saves under it.
    void OnFileSaveAs();

    const QString& pathName() const { return m_pathName; }
    // Names the document after its file; an empty path makes it untitled again.
    void setPathName(const QString& path, bool addToRecentList = true);
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);

signals:
    void titleChanged(const QString& title);
    // The document now belongs to this file: it joins the recent-file list.
    void addToRecentFileList(const QString& path);

private:
    QString m_pathName;
    QString m_title;
    CommandMap m_commands;
};
