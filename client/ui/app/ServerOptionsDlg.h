#pragma once
// "Server Options": the application-server host and which port pair to use.
#include <QDialog>

#include <string>

class QComboBox;
class QRadioButton;

struct ServerChoice {
    std::string host;
    bool defaultPorts = true;  // 80 and 443; otherwise 7001 and 7002
};

class CServerOptionsDlg : public QDialog {
public:
    /// The hosts the combo box offers: the default server, two test servers,
    /// and this machine.
    static const char* const kOfferedHosts[4];

    explicit CServerOptionsDlg(const ServerChoice& shown, QWidget* parent = nullptr);
    /// The host as typed without surrounding blanks (empty: the default
    /// server) and the chosen ports.
    ServerChoice Values() const;

private:
    QComboBox* m_host;
    QRadioButton* m_defaultPorts;
    QRadioButton* m_weblogicPorts;
};
