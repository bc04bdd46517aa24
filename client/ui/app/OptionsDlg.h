#pragma once
// "Options": automatic login and the saved handle and password.
#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;

struct LoginOptions {
    std::string handle;
    std::string password;
    bool automaticLogin = false;
};

class COptionsDlg : public QDialog {
public:
    explicit COptionsDlg(const LoginOptions& shown, QWidget* parent = nullptr);
    /// What the controls hold now.
    LoginOptions Values() const;

private:
    QCheckBox* m_automatic;
    QLineEdit* m_handle;
    QLineEdit* m_password;
};
