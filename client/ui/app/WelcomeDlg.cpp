#include "client/ui/app/WelcomeDlg.h"

#include "client/ui/app/AppIds.h"
#include "client/ui/app/AppText.h"
#include "client/ui/app/DialogControls.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CWelcomeDlg::CWelcomeDlg(const std::string& version, QWidget* parent) : QDialog(parent)
{
    SetControlId(this, AppIds::IDD_WELCOME);
    setWindowTitle(QStringLiteral("Corvanta Beta"));
    auto* text = new QLabel(WelcomeText(version), this);
    SetControlId(text, AppIds::IDC_WELCOME_TEXT);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(320);

    auto* row = new QHBoxLayout;
    row->addWidget(MakePicture(AppIds::IDB_WELCOME, this));
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(MakeDialogButtons(this, false, QStringLiteral("Continue")));
}

QString CWelcomeDlg::WelcomeText(const std::string& version)
{
    return DisplayText(FormatResourceString(AppText::kWelcome, version));
}
