#include "client/ui/app/LoginDlg.h"

#include "client/app/UserLoginRequest.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/app/DialogControls.h"
#include "client/ui/shell/ControlId.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// Shows the wait cursor for as long as it lives.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
}  // namespace

CLoginDlg::CLoginDlg(CUserLoginRequest& request, NewUserRunner newUser, QWidget* parent)
    : QDialog(parent), m_request(request), m_newUser(std::move(newUser)), m_handle(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_save(new QCheckBox(QStringLiteral("Save login information"), this)),
      m_newUserButton(new QPushButton(QStringLiteral("New User..."), this))
{
    SetControlId(this, IDD_LOGIN);
    setWindowTitle(QStringLiteral("Login"));
    SetControlId(m_handle, IDC_LOGIN_HANDLE);
    SetControlId(m_password, IDC_LOGIN_PASSWORD);
    SetControlId(m_save, IDC_LOGIN_SAVE);
    SetControlId(m_newUserButton, IDC_LOGIN_NEW_USER);
    m_handle->setMaxLength(kHandleLimit);
    m_password->setMaxLength(kPasswordLimit);
    m_password->setEchoMode(QLineEdit::Password);
    m_newUserButton->setAutoDefault(false);
    m_newUserButton->setEnabled(static_cast<bool>(m_newUser));
    connect(m_newUserButton, &QPushButton::clicked, this, &CLoginDlg::OnNewUser);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Login Name:"), m_handle);
    form->addRow(QStringLiteral("Password:"), m_password);
    QDialogButtonBox* buttons = MakeDialogButtons(this, false);
    buttons->addButton(m_newUserButton, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_save);
    layout->addWidget(buttons);
    m_handle->setFocus();
}

void CLoginDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CLoginDlg::accept()
{
    m_result.handle = m_handle->text().toStdString();
    m_result.password = m_password->text().toStdString();
    m_result.saveLogin = m_save->isChecked();
    std::string errorText;
    HRESULT result = E_FAIL;
    {
        CWaitCursor wait;
        result = m_request.Login(m_result.handle, m_result.password, errorText);
    }
    if (Failed(result)) {
        ShowMessageBox(errorText, {}, kMbOk);
        m_handle->setFocus();
        return;
    }
    m_result.token = m_request.Token();
    m_result.userId = m_request.UserId();
    QDialog::accept();
}

void CLoginDlg::OnNewUser()
{
    LoginDialogResult signedUp;
    if (!m_newUser || !m_newUser(this, signedUp))
        return;
    m_result.handle = signedUp.handle;
    m_result.password = signedUp.password;
    m_result.token = signedUp.token;
    m_result.userId = signedUp.userId;
    m_result.saveLogin = m_save->isChecked();
    QDialog::accept();
}

bool CLoginDlg::Run(CUserLoginRequest& request, const NewUserRunner& newUser, LoginDialogResult& result)
{
    CLoginDlg dialog(request, newUser);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    result = dialog.Result();
    return true;
}
