#include "client/ui/app/WelcomeDlg.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/app/AppText.h"
#include "client/ui/app/DialogControls.h"
#include "client/ui/shell/ControlId.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CWelcomeDlg::CWelcomeDlg(const std::string& version, QWidget* parent) : QDialog(parent)
{
    SetControlId(this, IDD_WELCOME);
    setWindowTitle(QStringLiteral("Corvanta Beta"));
    auto* text = new QLabel(WelcomeText(version), this);
    SetControlId(text, IDC_WELCOME_TEXT);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(320);

    auto* row = new QHBoxLayout;
    row->addWidget(MakePicture(IDB_SPLASH, this));
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(MakeDialogButtons(this, false, QStringLiteral("Continue")));
}

QString CWelcomeDlg::WelcomeText(const std::string& version)
{
    return DisplayText(FormatResourceString(IDS_WELCOME_FMT, {version}));
}
