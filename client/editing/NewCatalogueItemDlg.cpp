#include "client/editing/NewCatalogueItemDlg.h"

#include "client/app/Session.h"
#include "client/editing/DialogTemplate.h"
#include "client/editing/TrackResolution.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/DialogUnits.h"
#include "client/ui/web/ProgressDlg.h"
#include "platform/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kNameLimit = 255;
constexpr int kWidth = 220;

// The window the dialog stands over: its owners' top window.
QWidget* MainWindowOf(QWidget* dialog)
{
    QWidget* top = dialog;
    while (top->parentWidget())
        top = top->parentWidget();
    return top == dialog ? nullptr : top;
}

}  // namespace

CNewCatalogueItemDlg::CNewCatalogueItemDlg(const PaneServices& services, const Template& layout, QWidget* parent)
    : QDialog(parent), m_services(services), m_layout(layout), m_name(new QLineEdit(this)),
      m_select(new QRadioButton(QString::fromUtf8(layout.selectText), this)),
      m_addNew(new QRadioButton(QString::fromUtf8(layout.addText), this)), m_list(new CItemListGridCtrl(this)),
      m_ok(MakeTemplateButton(this, QStringLiteral("OK"), IDOK, QRect(109, layout.top + 140, 50, 14))),
      m_cancel(MakeTemplateButton(this, QStringLiteral("Cancel"), IDCANCEL, QRect(163, layout.top + 140, 50, 14)))
{
    SetControlId(this, static_cast<int>(layout.dialogId));
    setWindowTitle(QString::fromUtf8(layout.caption));
    const int top = layout.top;
    PlaceControl(m_addNew, layout.addRadio, QRect(7, top, 206, 10));
    PlaceControl(m_name, layout.nameEdit, QRect(19, top + 12, 194, 12));
    PlaceControl(m_select, layout.selectRadio, QRect(7, top + 30, 206, 10));
    PlaceControl(m_list, layout.list, QRect(19, top + 42, 194, 92));
    m_name->setMaxLength(kNameLimit);
    m_list->SetupColumns();
    m_list->SetOutlineFlag(false);
    m_select->setChecked(true);

    // The member's own typing chooses a new item, a selected row the list.
    connect(m_name, &QLineEdit::textEdited, this, [this] {
        m_addNew->setChecked(true);
        UpdateOk();
    });
    connect(m_list, &CVSFlexGrid::SelChange, this, [this] {
        if (m_list->GetSelectedItem() && CItemListGridCtrl::ItemRefOf(m_list->GetSelectedItem()))
            m_select->setChecked(true);
        UpdateOk();
    });
    connect(m_select, &QRadioButton::clicked, this, [this] { UpdateOk(); });
    connect(m_addNew, &QRadioButton::clicked, this, [this] { UpdateOk(); });
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CNewCatalogueItemDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(DialogUnitsToPixels(this, QRect(0, 0, kWidth, top + 161)).size());

    m_list->AddRow(LoadResourceString(layout.lookingText));
    m_list->setEnabled(false);
    m_ok->setEnabled(false);
}

CNewCatalogueItemDlg::~CNewCatalogueItemDlg()
{
    EndProgress();
}

void CNewCatalogueItemDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    StartLookup();
}

CNewCatalogueItemDlg::Choice CNewCatalogueItemDlg::CurrentChoice() const
{
    return m_addNew->isChecked() ? kAddNew : kSelect;
}

std::string CNewCatalogueItemDlg::TypedName() const
{
    return m_name->text().toStdString();
}

void CNewCatalogueItemDlg::SetTypedName(const std::string& name)
{
    m_name->setText(QString::fromStdString(name));
}

std::string CNewCatalogueItemDlg::Token() const
{
    return m_services.session ? m_services.session->Token() : std::string();
}

void CNewCatalogueItemDlg::ClearRows()
{
    m_list->RemoveAll();
}

void CNewCatalogueItemDlg::ShowRows()
{
    const bool found = m_list->GetRowCount() > 0;
    if (!found)
        m_list->AddRow(LoadResourceString(IDS_NO_SUGGESTIONS));
    m_list->setEnabled(found);
    UpdateOk();
}

void CNewCatalogueItemDlg::UpdateOk()
{
    const CGridRowItem* selected = m_list->GetSelectedItem();
    const bool rowSelected = selected && CItemListGridCtrl::ItemRefOf(selected);
    m_ok->setEnabled(NewChoiceComplete(CurrentChoice() == kAddNew, TypedName(), rowSelected));
}

void CNewCatalogueItemDlg::accept()
{
    if (m_creating)
        return;
    if (CurrentChoice() == kSelect) {
        const CItemRef* item = CItemListGridCtrl::ItemRefOf(m_list->GetSelectedItem());
        if (item && TakeSelected(*item))
            QDialog::accept();
        return;
    }
    const std::string name = TypedName();
    if (!NewNameAcceptable(name))
        return;
    m_creating = true;
    m_progress = new CProgressDlg;
    m_progress->Create(nullptr);
    m_mainWindow = MainWindowOf(this);
    m_progress->CenterOn(m_mainWindow);
    m_progress->show();
    m_progress->SetTextId(m_layout.creatingText);
    if (m_mainWindow)
        m_mainWindow->setEnabled(false);
    setEnabled(false);
    if (!SendNewItem(name))
        FinishCreating(false);
}

void CNewCatalogueItemDlg::EndProgress()
{
    delete m_progress.data();
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
    m_mainWindow = nullptr;
    m_creating = false;
}

void CNewCatalogueItemDlg::FinishCreating(bool made)
{
    if (!m_creating)
        return;
    EndProgress();
    setEnabled(true);
    if (made) {
        QDialog::accept();
        return;
    }
    ShowMessageBox(LoadResourceString(m_layout.failedText));
}
