#include "client/ui/app/DialogControls.h"

#include "client/resources/ResourceIds.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

void SetControlId(QWidget* control, int id)
{
    control->setObjectName(QStringLiteral("id_%1").arg(id));
}

QWidget* FindControlById(const QWidget* parent, int id)
{
    return parent->findChild<QWidget*>(QStringLiteral("id_%1").arg(id));
}

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

QLabel* MakePicture(int bitmapId, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(bitmapId)));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return picture;
}
