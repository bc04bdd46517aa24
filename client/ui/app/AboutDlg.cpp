#include "client/ui/app/AboutDlg.h"

#include "client/resources/ResourceIds.h"
#include "client/ui/app/DialogControls.h"
#include "client/ui/shell/ControlId.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const std::string& version, QWidget* parent) : QDialog(parent)
{
    SetControlId(this, IDD_ABOUTBOX);
    setWindowTitle(QStringLiteral("About Corvanta"));
    auto* versionText = new QLabel(QString::fromStdString(version), this);
    SetControlId(versionText, IDC_ABOUT_VERSION);

    auto* grid = new QGridLayout;
    grid->addWidget(MakePicture(IDB_SPLASH, this), 0, 0, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Corvanta Version"), this), 0, 1);
    grid->addWidget(versionText, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Beta"), this), 1, 1, 1, 2);
    grid->addWidget(
        new QLabel(QStringLiteral("Corvanta playlist client. Copyright (C) the Corvanta developers."), this), 2, 1, 1,
        2);
    grid->addWidget(new QLabel(QStringLiteral("Lists are shown by the Corvanta grid, built on Qt."), this), 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Server answers are read by the Corvanta XML reader."), this), 4, 1, 1,
                    2);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(MakeDialogButtons(this, false));
}
