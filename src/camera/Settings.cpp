#include "camera/Settings.h"

#include "platform/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <cmath>

namespace {

QLabel* label(QWidget* parent, const QString& text, QRect units)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(units);
    return l;
}

QLineEdit* lineEdit(QWidget* parent, int id, QRect units)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::number(id));
    e->setGeometry(units);
    return e;
}

QPushButton* button(QWidget* parent, int id, const QString& text, QRect units)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::number(id));
    b->setGeometry(units);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CSettings::CSettings(QWidget* parent, SettingsStore store)
    : QDialog(parent)
    , m_store(std::move(store))
{
    setWindowTitle(tr("VarnekJPG Settings"));
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(dialogUnitsRect(0, 0, 559, 201).size());

    label(this, tr("Web address of the IP cam jpg file.  e.g. ") + defaultSnapshotUrl(),
          dialogUnitsRect(18, 28, 499, 10));
    // A long URL scrolls inside its field.
    m_url = lineEdit(this, IDC_SNAPSHOT_URL, dialogUnitsRect(18, 47, 501, 14));
    label(this, tr("User name"), dialogUnitsRect(18, 70, 251, 10));
    m_userName = lineEdit(this, IDC_USER_NAME, dialogUnitsRect(18, 89, 251, 14));
    label(this, tr("Password"), dialogUnitsRect(18, 112, 251, 10));
    // Shown in clear: the user types it from the camera's own label.
    m_password = lineEdit(this, IDC_PASSWORD, dialogUnitsRect(18, 131, 251, 14));

    m_defaults = button(this, IDC_SET_DEFAULTS, tr("Set to defaults"), dialogUnitsRect(250, 180, 61, 14));
    m_apply = button(this, IDC_APPLY, tr("Apply"), dialogUnitsRect(343, 180, 61, 14));
    m_ok = button(this, IDOK_BUTTON, tr("OK"), dialogUnitsRect(429, 180, 50, 14));
    m_cancel = button(this, IDCANCEL_BUTTON, tr("Cancel"), dialogUnitsRect(502, 180, 50, 14));
    m_ok->setDefault(true);

    // Tab order follows the fields from top to bottom, then the buttons left to right.
    setTabOrder(m_url, m_userName);
    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_defaults);
    setTabOrder(m_defaults, m_apply);
    setTabOrder(m_apply, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_apply, &QPushButton::clicked, this, &CSettings::OnApply);
    connect(m_defaults, &QPushButton::clicked, this, &CSettings::OnSetDefaults);
    // OK and Cancel close the dialog and store nothing: only Apply and Set to defaults store.
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* CSettings::edit(int id) const
{
    switch (id) {
    case IDC_SNAPSHOT_URL: return m_url;
    case IDC_USER_NAME: return m_userName;
    case IDC_PASSWORD: return m_password;
    default: return nullptr;
    }
}

QWidget* CSettings::GetDlgItem(int id) const
{
    if (QLineEdit* e = edit(id))
        return e;
    switch (id) {
    case IDC_APPLY: return m_apply;
    case IDC_SET_DEFAULTS: return m_defaults;
    case IDOK_BUTTON: return m_ok;
    case IDCANCEL_BUTTON: return m_cancel;
    default: return nullptr;
    }
}

QString CSettings::GetDlgItemText(int id) const
{
    if (QLineEdit* e = edit(id))
        return e->text();
    if (auto* b = qobject_cast<QPushButton*>(GetDlgItem(id)))
        return b->text();
    return QString();
}

void CSettings::SetDlgItemText(int id, const QString& text)
{
    if (QLineEdit* e = edit(id))
        e->setText(text);
}

void CSettings::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    OnShowWindow();
}

void CSettings::OnShowWindow()
{
    // The stored values as they are: no default is offered here, so a first run shows empty fields.
    if (const auto url = m_store.read(kValueSnapshotUrl, kSnapshotUrlUnits))
        m_url->setText(*url);
    if (const auto password = m_store.read(kValuePassword, kCredentialUnits))
        m_password->setText(*password);
    if (const auto userName = m_store.read(kValueUserName, kCredentialUnits))
        m_userName->setText(*userName);
}

void CSettings::OnApply()
{
    const struct {
        int id;
        const QString& valueName;
    } fields[] = {
        {IDC_SNAPSHOT_URL, kValueSnapshotUrl},
        {IDC_USER_NAME, kValueUserName},
        {IDC_PASSWORD, kValuePassword},
    };
    // Each value on its own: one that cannot be written is dropped without a word, the others
    // are still stored.
    for (const auto& field : fields)
        m_store.write(field.valueName, GetDlgItemText(field.id).left(kDialogFieldChars));
}

void CSettings::OnSetDefaults()
{
    SetDlgItemText(IDC_PASSWORD, defaultPassword());
    SetDlgItemText(IDC_USER_NAME, defaultUserName());
    SetDlgItemText(IDC_SNAPSHOT_URL, defaultSnapshotUrl());
    OnApply();
}
