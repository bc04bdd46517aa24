#include "client/ui/app/ServerOptionsDlg.h"

#include "client/protocol/ServerSettings.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/app/DialogControls.h"
#include "client/ui/shell/ControlId.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

const char* const CServerOptionsDlg::kOfferedHosts[4] = {kDefaultServerHost, "test1.corvanta.example",
                                                         "test2.corvanta.example", "127.0.0.1"};

CServerOptionsDlg::CServerOptionsDlg(const ServerChoice& shown, QWidget* parent)
    : QDialog(parent), m_host(new QComboBox(this)),
      m_defaultPorts(new QRadioButton(QStringLiteral("Use default webserver ports (80, 443)"), this)),
      m_weblogicPorts(new QRadioButton(QStringLiteral("Use Weblogic default ports (7001, 7002)"), this))
{
    SetControlId(this, IDD_SERVER_OPTIONS);
    setWindowTitle(QStringLiteral("Server Options"));
    SetControlId(m_host, IDC_SERVER_NAME);
    SetControlId(m_defaultPorts, IDC_SERVER_DEFAULT_PORTS);
    SetControlId(m_weblogicPorts, IDC_SERVER_WEBLOGIC_PORTS);
    m_host->setEditable(true);
    m_host->setInsertPolicy(QComboBox::NoInsert);
    for (const char* host : kOfferedHosts)
        m_host->addItem(QString::fromLatin1(host));
    auto* ports = new QButtonGroup(this);
    ports->addButton(m_defaultPorts);
    ports->addButton(m_weblogicPorts);

    auto* label = new QLabel(QStringLiteral("Weblogic server name:"), this);
    label->setBuddy(m_host);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_host);
    layout->addWidget(m_defaultPorts);
    layout->addWidget(m_weblogicPorts);
    layout->addWidget(MakeDialogButtons(this, true));

    m_host->setEditText(QString::fromStdString(shown.host));
    (shown.defaultPorts ? m_defaultPorts : m_weblogicPorts)->setChecked(true);
}

ServerChoice CServerOptionsDlg::Values() const
{
    // A host name never has blanks around it; an empty one means the default
    // server now, as it does at the next start.
    std::string host = m_host->currentText().trimmed().toStdString();
    if (host.empty())
        host = kDefaultServerHost;
    return {host, m_defaultPorts->isChecked()};
}
