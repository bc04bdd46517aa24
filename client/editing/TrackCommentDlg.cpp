#include "client/editing/TrackCommentDlg.h"

#include "client/editing/DialogTemplate.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/DialogUnits.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// Template 201, in dialog units.
const QRect kTemplate(0, 0, 240, 126);
const QRect kEditUnits(7, 7, 226, 90);
const QRect kOkUnits(129, 105, 50, 14);
const QRect kCancelUnits(183, 105, 50, 14);
constexpr int kCommentLimit = 32767;
}  // namespace

CTrackCommentDlg::CTrackCommentDlg(QWidget* parent) : QDialog(parent), m_edit(new QPlainTextEdit(this))
{
    SetControlId(this, IDD_EDIT_TEXT);
    setWindowTitle(QStringLiteral("Track Comment"));
    PlaceControl(m_edit, IDC_EDIT_TEXT, kEditUnits);
    // The comment takes at most as much as its grid cell.
    LimitPlainText(m_edit, kCommentLimit);
    QPushButton* ok = MakeTemplateButton(this, QStringLiteral("OK"), IDOK, kOkUnits);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(MakeTemplateButton(this, QStringLiteral("Cancel"), IDCANCEL, kCancelUnits), &QPushButton::clicked, this,
            &QDialog::reject);
    setFixedSize(DialogUnitsToPixels(this, kTemplate).size());
    m_edit->setFocus();
}

void CTrackCommentDlg::SetText(const std::string& text)
{
    m_edit->setPlainText(ToEditText(text));
    m_edit->selectAll();
}

std::string CTrackCommentDlg::Text() const
{
    return FromEditText(m_edit->toPlainText());
}
