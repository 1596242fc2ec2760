#include "view/Settings.h"

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

QLineEdit* lineEdit(QWidget* parent, const char* name, QRect units)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(units);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect units)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(units);
    // Enter always means OK: a focused "Set to defaults" or "Apply" taking it instead would
    // overwrite the stored camera address and credentials without the user meaning to.
    b->setAutoDefault(false);
    return b;
}

} // namespace

CSettings::CSettings(QWidget* parent, SettingsStore store)
    : QDialog(parent)
    , m_store(std::move(store))
{
    setWindowTitle(tr("VarnekJPG Settings"));
    setDialogTemplate(*this, 559, 201);

    label(this, tr("Web address of the IP cam jpg file.  e.g. ") + defaultSnapshotUrl(),
          dialogUnitsRect(18, 28, 499, 10));
    // A long URL scrolls inside its field.
    m_url = lineEdit(this, "snapshotUrl", dialogUnitsRect(18, 47, 501, 14));
    label(this, tr("User name"), dialogUnitsRect(18, 70, 251, 10));
    m_userName = lineEdit(this, "userName", dialogUnitsRect(18, 89, 251, 14));
    label(this, tr("Password"), dialogUnitsRect(18, 112, 251, 10));
    // Shown in clear: the user types it from the camera's own label.
    m_password = lineEdit(this, "password", dialogUnitsRect(18, 131, 251, 14));

    m_defaults = button(this, "setDefaults", tr("Set to defaults"), dialogUnitsRect(250, 180, 61, 14));
    m_apply = button(this, "apply", tr("Apply"), dialogUnitsRect(343, 180, 61, 14));
    m_ok = button(this, "ok", tr("OK"), dialogUnitsRect(429, 180, 50, 14));
    m_cancel = button(this, "cancel", tr("Cancel"), dialogUnitsRect(502, 180, 50, 14));
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
        const QLineEdit* field;
        const QString& valueName;
    } fields[] = {
        {m_url, kValueSnapshotUrl},
        {m_userName, kValueUserName},
        {m_password, kValuePassword},
    };
    // Each value on its own: one that cannot be written is dropped without a word, the others
    // are still stored.
    for (const auto& field : fields)
        m_store.write(field.valueName, field.field->text().left(kDialogFieldChars));
}

void CSettings::OnSetDefaults()
{
    m_password->setText(defaultPassword());
    m_userName->setText(defaultUserName());
    m_url->setText(defaultSnapshotUrl());
    OnApply();
}
