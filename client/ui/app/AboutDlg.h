#pragma once
// "About Corvanta": the picture, the program's version and the notices.
#include <QDialog>

#include <string>

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(const std::string& version, QWidget* parent = nullptr);
};
