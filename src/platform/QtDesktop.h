#pragma once
#include "platform/Desktop.h"

namespace platform {

// The real desktop: xdg-open through QDesktopServices, QMessageBox, QFileDialog.
class QtDesktop final : public Desktop {
public:
    void openWithDefaultApp(const QString& absolutePath) override;
    void openFileWithDefaultApp(const QByteArray& absolutePath) override;
    void openFolder(const QString& absolutePath) override;
    void messageBox(const QString& caption, const QString& text, MessageIcon icon) override;
    void showNote(const QString& caption, const QString& text, std::function<void()> closed) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    QString chooseFileToOpen(const QString& startFolder, const QStringList& filters) override;
    QString chooseFileToSave(const QString& startFolder, const QStringList& filters) override;
};

} // namespace platform
