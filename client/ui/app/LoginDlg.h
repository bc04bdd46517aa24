#pragma once
// "Login": handle and password, checked with the server before the dialog
// closes; "New User..." signs a new member up and logs them in.
#include "client/app/LoginPrompt.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

class CLoginDlg : public QDialog {
public:
    /// Runs the new-user dialog; true on OK with the new member's handle,
    /// password, token and identifier filled in.
    using NewUserRunner = std::function<bool(QWidget* parent, LoginDialogResult& result)>;

    static constexpr int kHandleLimit = 25;
    static constexpr int kPasswordLimit = 20;

    /// "New User..." is disabled while newUser is empty.
    CLoginDlg(CUserLoginRequest& request, NewUserRunner newUser, QWidget* parent = nullptr);

    /// Handle, password and save flag as typed; token and identifier of the
    /// login that closed the dialog with OK.
    const LoginDialogResult& Result() const { return m_result; }

    /// Runs the dialog modally without a parent; the ILoginPrompt operation.
    static bool Run(CUserLoginRequest& request, const NewUserRunner& newUser, LoginDialogResult& result);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnNewUser();

    CUserLoginRequest& m_request;
    NewUserRunner m_newUser;
    LoginDialogResult m_result;
    QLineEdit* m_handle;
    QLineEdit* m_password;
    QCheckBox* m_save;
    QPushButton* m_newUserButton;
};
