#include "client/editing/TrackSuggestionsDlg.h"

#include "client/app/PreviewCalls.h"
#include "client/editing/DialogTemplate.h"
#include "client/editing/NewTrackArtistDlg.h"
#include "client/editing/NewTrackDlg.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/GridCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/DialogUnits.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>

namespace {

// Template 175, in dialog units.
const QRect kTemplate(0, 0, 400, 176);
const QRect kTextUnits(7, 7, 326, 22);
const QRect kGridUnits(7, 32, 326, 116);
const QRect kOkUnits(343, 7, 50, 14);
const QRect kCancelUnits(343, 25, 50, 14);
const QRect kAddNewUnits(7, 155, 120, 14);

constexpr char kColumns[] = "Artist | Title | Version | Preview";
constexpr int kTextColumnTwips = 2160;
constexpr int kPreviewColumnTwips = 720;
constexpr int kPreviewColumn = 3;

}  // namespace

CTrackSuggestionsDlg::CTrackSuggestionsDlg(const PaneServices& services, QWidget* parent)
    : QDialog(parent), m_services(services), m_grid(new CGridCtrl(this)), m_text(new QLabel(this)),
      m_ok(MakeTemplateButton(this, QStringLiteral("OK"), IDOK, kOkUnits)),
      m_cancel(MakeTemplateButton(this, QStringLiteral("Cancel"), IDCANCEL, kCancelUnits)),
      m_addNew(
          MakeTemplateButton(this, QStringLiteral("Add New Track To Database..."), IDC_SUGGEST_NEW_TRACK, kAddNewUnits))
{
    SetControlId(this, IDD_TRACK_SUGGESTIONS);
    setWindowTitle(QStringLiteral("Track Suggestions"));
    m_text->setText(QStringLiteral("Corvanta found these tracks for the title and artist you typed. Select the "
                                   "track you meant, or add it to the Corvanta database."));
    m_text->setWordWrap(true);
    PlaceControl(m_text, IDC_SUGGEST_TEXT, kTextUnits);
    PlaceControl(m_grid, IDC_SUGGEST_GRID, kGridUnits);
    m_grid->Setup(true);
    m_grid->SetFormatString(QString::fromLatin1(kColumns));
    for (int column = 0; column < kPreviewColumn; ++column)
        m_grid->SetColWidthTwips(column, kTextColumnTwips);
    m_grid->SetColWidthTwips(kPreviewColumn, kPreviewColumnTwips);
    m_grid->SetSelectionMode(CVSFlexGrid::SelectionMode::ByRow);
    m_grid->AddListener(this);
    connect(m_grid, &CVSFlexGrid::SelChange, this, [this] { OnSelectionChanged(); });

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CTrackSuggestionsDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_addNew->setAutoDefault(false);
    connect(m_addNew, &QPushButton::clicked, this, [this] { OnAddNewTrack(); });

    const QSize size = DialogUnitsToPixels(this, kTemplate).size();
    resize(size);
    // The buttons and the explanation stay in view.
    setMinimumSize(size);
    m_gridRight = size.width() - m_grid->geometry().right();
    m_gridBottom = size.height() - m_grid->geometry().bottom();
    m_okRight = size.width() - m_ok->x();
    m_addNewBottom = size.height() - m_addNew->y();
    FillGrid();
}

CTrackSuggestionsDlg::~CTrackSuggestionsDlg()
{
    m_grid->RemoveListener(this);
}

void CTrackSuggestionsDlg::SetCandidates(std::vector<PerformanceSummary> candidates)
{
    m_candidates = std::move(candidates);
    m_result = nullptr;
    FillGrid();
}

void CTrackSuggestionsDlg::FillGrid()
{
    m_grid->RemoveAll();
    if (m_candidates.empty()) {
        m_grid->AddRow(LoadResourceString(IDS_NO_SUGGESTIONS));
        m_grid->setEnabled(false);
        m_ok->setEnabled(false);
        return;
    }
    for (PerformanceSummary& candidate : m_candidates) {
        m_grid->AddRow(std::string());
        const int index = m_grid->GetRowCount() - 1;
        m_grid->SetCellText(index, 0, candidate.ArtistName);
        m_grid->SetCellText(index, 1, candidate.SongName);
        m_grid->SetCellText(index, 2, candidate.Version);
        m_grid->SetItemData(index, &candidate);
        m_grid->SetCellBitmap(index, IDB_PERFORMANCE, 0);
        if (candidate.previewAvailable != 0)
            m_grid->SetCellBitmap(index, IDB_PREVIEW, kPreviewColumn);
    }
    m_grid->setEnabled(true);
    m_grid->SelectRow(0);
    m_ok->setEnabled(true);
}

const PerformanceSummary* CTrackSuggestionsDlg::CandidateAt(int index) const
{
    return static_cast<const PerformanceSummary*>(m_grid->GetDataAt(index));
}

void CTrackSuggestionsDlg::OnSelectionChanged()
{
    m_ok->setEnabled(CandidateAt(m_grid->GetSelectedIndex()) != nullptr);
}

void CTrackSuggestionsDlg::OnCellClicked(int index, int column)
{
    const PerformanceSummary* candidate = CandidateAt(index);
    if (column == kPreviewColumn && candidate && candidate->previewAvailable != 0 && m_services.previews)
        m_services.previews->PreviewPerformance(candidate->performanceID);
}

void CTrackSuggestionsDlg::accept()
{
    const PerformanceSummary* chosen = CandidateAt(m_grid->GetSelectedIndex());
    if (!chosen)
        return;
    m_result = chosen;
    QDialog::accept();
}

void CTrackSuggestionsDlg::OnAddNewTrack()
{
    // Either inner dialog may end with this one (its window closed meanwhile):
    // then nothing here is touched again.
    QPointer<CNewTrackArtistDlg> artistDialog = new CNewTrackArtistDlg(m_services, this);
    artistDialog->SetArtistName(m_artist);
    const bool artistChosen = artistDialog->exec() == QDialog::Accepted;
    if (!artistDialog)
        return;
    const std::string artistName = artistDialog->ResultName();
    const std::int32_t artistID = artistDialog->ResultArtistID();
    delete artistDialog.data();
    if (!artistChosen)
        return;

    QPointer<CNewTrackDlg> trackDialog = new CNewTrackDlg(m_services, this);
    trackDialog->SetArtistName(artistName);
    trackDialog->SetArtistID(artistID);
    trackDialog->SetTrackName(m_title);
    const bool trackMade = trackDialog->exec() == QDialog::Accepted;
    if (!trackDialog)
        return;
    const PerformanceSummary made = trackDialog->Result();
    delete trackDialog.data();
    if (!trackMade)
        return;
    m_made = made;
    m_result = &m_made;
    QDialog::accept();
}

void CTrackSuggestionsDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QSize size = event->size();
    const QPoint gridAt = m_grid->pos();
    m_grid->resize(size.width() - m_gridRight - gridAt.x() + 1, size.height() - m_gridBottom - gridAt.y() + 1);
    m_ok->move(size.width() - m_okRight, m_ok->y());
    m_cancel->move(size.width() - m_okRight, m_cancel->y());
    m_addNew->move(m_addNew->x(), size.height() - m_addNewBottom);
}
