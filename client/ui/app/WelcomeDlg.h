#pragma once
// The welcome dialog shown at every start: a picture, the welcome text with
// the program's version, and "Continue".
#include <QDialog>

#include <string>

class CWelcomeDlg : public QDialog {
public:
    explicit CWelcomeDlg(const std::string& version, QWidget* parent = nullptr);

    /// The welcome text formatted with version.
    static QString WelcomeText(const std::string& version);
};
