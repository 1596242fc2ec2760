#pragma once
// The seams where the program meets the desktop: the program folder, opening a file or folder
// with the user's own programs, message boxes and the file choosers. Widgets and the camera link
// reach the desktop only through here, so tests can put a recording double in its place.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

enum class MessageIcon { None, Information, Warning, Critical, Question };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens a file with the program the desktop associates with its type. Failures stay silent.
    virtual void openWithDefaultApp(const QString& absolutePath) = 0;
    // The same for a path held as the bytes of the file system: a recording's name comes from the
    // camera and need not be valid UTF-8, and only the bytes name that file.
    virtual void openFileWithDefaultApp(const QByteArray& absolutePath)
    {
        openWithDefaultApp(QString::fromUtf8(absolutePath));
    }
    // Shows a folder in the file manager. Failures stay silent.
    virtual void openFolder(const QString& absolutePath) = 0;
    // A box with an OK button and no owner window. Callable from any thread; returns when closed.
    virtual void messageBox(const QString& caption, const QString& text,
                            MessageIcon icon = MessageIcon::None) = 0;
    // The same box without blocking any window, on the user-interface thread: it returns at once,
    // and closed (when given) runs once the user has closed the box.
    virtual void showNote(const QString& caption, const QString& text, std::function<void()> closed = {})
    {
        messageBox(caption, text);
        if (closed)
            closed();
    }
    // A question with Yes and No buttons and the question icon; true for Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // Returns the chosen full path, or an empty string when the user cancels.
    // Filters are in the chooser's "name (*.a *.b)" form.
    virtual QString chooseFileToOpen(const QString& startFolder, const QStringList& filters) = 0;
    virtual QString chooseFileToSave(const QString& startFolder, const QStringList& filters) = 0;
};

// The desktop in use: the Qt one unless a test has put another in its place.
Desktop& desktop();
// Puts a desktop in place (not owned); nullptr restores the Qt one.
void setDesktop(Desktop* replacement);

// The process's current directory, where every file of the program lies.
QString programFolder();

} // namespace platform
