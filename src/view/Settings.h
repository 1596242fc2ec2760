#pragma once
// The settings dialog: the camera's snapshot URL, user name and password, edited straight in the
// user's settings file. The program-wide record follows the file only when it is reloaded, which
// the view does each time this dialog closes.

#include "camera/CameraSettings.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QShowEvent;

class CSettings final : public QDialog {
    Q_OBJECT
public:
    // The store defaults to the user's settings file.
    explicit CSettings(QWidget* parent = nullptr, SettingsStore store = SettingsStore());

    // "Apply": stores the three fields.
    void OnApply();
    // "Set to defaults": puts the defaults into the fields and stores them at once.
    void OnSetDefaults();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fills the fields from the store; a value that cannot be read leaves its field as it is.
    void OnShowWindow();

    SettingsStore m_store;
    // Object names, for finding them from outside: snapshotUrl, userName, password.
    QLineEdit* m_url = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    // Object names: apply, setDefaults, ok, cancel.
    QPushButton* m_apply = nullptr;
    QPushButton* m_defaults = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
