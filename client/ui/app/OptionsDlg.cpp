#include "client/ui/app/OptionsDlg.h"

#include "client/resources/ResourceIds.h"
#include "client/ui/app/DialogControls.h"
#include "client/ui/shell/ControlId.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(const LoginOptions& shown, QWidget* parent)
    : QDialog(parent), m_automatic(new QCheckBox(QStringLiteral("Log in automatically when program starts"), this)),
      m_handle(new QLineEdit(this)), m_password(new QLineEdit(this))
{
    SetControlId(this, IDD_OPTIONS);
    setWindowTitle(QStringLiteral("Options"));
    SetControlId(m_automatic, IDC_OPTIONS_AUTOLOGIN);
    SetControlId(m_handle, IDC_OPTIONS_HANDLE);
    SetControlId(m_password, IDC_OPTIONS_PASSWORD);
    m_password->setEchoMode(QLineEdit::Password);

    auto* group = new QGroupBox(QStringLiteral("Login As:"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Handle:"), m_handle);
    form->addRow(QStringLiteral("Password:"), m_password);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_automatic);
    layout->addWidget(group);
    layout->addWidget(MakeDialogButtons(this, true));

    m_handle->setText(QString::fromStdString(shown.handle));
    m_password->setText(QString::fromStdString(shown.password));
    m_automatic->setChecked(shown.automaticLogin);
}

LoginOptions COptionsDlg::Values() const
{
    return {m_handle->text().toStdString(), m_password->text().toStdString(), m_automatic->isChecked()};
}
