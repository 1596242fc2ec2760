#pragma once
// The settings dialog: the camera's snapshot URL, user name and password, edited straight in the
// user's settings file. The program-wide record follows the file only when it is reloaded, which
// the view does each time this dialog closes.

#include "camera/CameraSettings.h"

#include <QDialog>
#include <QRect>

class QLineEdit;
class QPushButton;
class QShowEvent;

class CSettings final : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 310 };
    // Control ids.
    enum : int {
        IDC_SNAPSHOT_URL = 1000,
        IDC_USER_NAME = 1001,
        IDC_PASSWORD = 1002,
        IDC_APPLY = 1003,
        IDC_SET_DEFAULTS = 1004,
        IDOK_BUTTON = 1,
        IDCANCEL_BUTTON = 2,
    };

    // The store defaults to the user's settings file.
    explicit CSettings(QWidget* parent = nullptr, SettingsStore store = SettingsStore());

    // The control of an id, or nullptr.
    QWidget* GetDlgItem(int id) const;
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);

    // Button 1003: stores the three fields.
    void OnApply();
    // Button 1004: puts the defaults into the fields and stores them at once.
    void OnSetDefaults();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fills the fields from the store; a value that cannot be read leaves its field as it is.
    void OnShowWindow();
    QLineEdit* edit(int id) const;

    SettingsStore m_store;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_defaults = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
