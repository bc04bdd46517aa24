#include "client/ui/app/DialogControls.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/shell/ControlId.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, bool withCancel, const QString& okText)
{
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    if (!okText.isEmpty())
        ok->setText(okText);
    ok->setDefault(true);
    SetControlId(ok, IDOK);
    if (withCancel)
        SetControlId(buttons->addButton(QDialogButtonBox::Cancel), IDCANCEL);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLabel* MakePicture(unsigned bitmapId, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(LoadBitmapResource(bitmapId));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return picture;
}
