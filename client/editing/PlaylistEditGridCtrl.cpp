#include "client/editing/PlaylistEditGridCtrl.h"

#include "client/editing/PlaylistEditModel.h"
#include "client/editing/TrackCommentDlg.h"
#include "client/editing/TrackSuggestionsDlg.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/ContextMenu.h"
#include "client/ui/shell/DetailPages.h"

#include <QApplication>
#include <QPointer>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The Match and Local MP3 columns; the other three share the rest in eighths.
constexpr int kNarrowColumnTwips = 1080;
constexpr int kTextLimit = 255;
constexpr int kCommentLimit = 32767;

void* IdData(std::int32_t id)
{
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
}

}  // namespace

CPlaylistEditGridCtrl::CPlaylistEditGridCtrl(const PaneServices& services, QWidget* parent)
    : CGridCtrl(parent), m_services(services)
{
    connect(this, &CVSFlexGrid::BeforeEdit, this,
            [this](int row, int col, bool& cancel) { OnBeforeEdit(row, col, cancel); });
    connect(this, &CVSFlexGrid::AfterEdit, this, [this](int row, int col) { OnAfterEdit(row, col); });
    connect(this, &CVSFlexGrid::CellButtonClick, this, [this](int row, int col) { OnCellButtonClick(row, col); });
    // Tab neither leaves the cell nor moves to the next one.
    const auto swallowTab = [](int, int, int& key, int) {
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            key = 0;
    };
    connect(this, &CVSFlexGrid::KeyDownEdit, this, swallowTab);
    connect(this, &CVSFlexGrid::KeyUpEdit, this, swallowTab);
    connect(this, &CVSFlexGrid::MouseMove, this, [this](int buttons, int, float, float) { OnMouseMoved(buttons); });
    // After the grid's own dispatch: a release anywhere ends the press.
    connect(this, &CVSFlexGrid::MouseUp, this, [this](int button, int, float, float) {
        if (button == 1)
            m_pressed = false;
    });
    connect(this, &CVSFlexGrid::BeforeMoveRow, this,
            [this](int row, int& position) { OnBeforeMoveRow(row, position); });
    connect(this, &CVSFlexGrid::FilesDropped, this, [this](const QStringList& files) {
        if (!m_model)
            return;
        std::vector<std::string> paths;
        for (const QString& file : files)
            paths.push_back(file.toStdString());
        m_model->DropFiles(paths);
    });
}

CPlaylistEditGridCtrl::~CPlaylistEditGridCtrl()
{
    SetModel(nullptr);
}

void CPlaylistEditGridCtrl::SetModel(CPlaylistEditModel* model)
{
    if (m_model)
        m_model->SetView(nullptr);
    m_model = model;
    if (m_model)
        m_model->SetView(this);
    OnRowsReset();
}

void CPlaylistEditGridCtrl::SetupColumns()
{
    Setup(true);
    SetFormatString(QString::fromUtf8(LoadResourceString(IDS_EDITOR_COLUMNS)));
    const int rest = std::max(ClientWidthTwips() - 2 * kNarrowColumnTwips, 0);
    SetColWidthTwips(kArtistColumn, rest * 3 / 8);
    SetColWidthTwips(kTitleColumn, rest * 3 / 8);
    SetColWidthTwips(kCommentColumn, rest * 2 / 8);
    SetColWidthTwips(kMatchColumn, kNarrowColumnTwips);
    SetColWidthTwips(kLocalColumn, kNarrowColumnTwips);
    SetSelectionMode(SelectionMode::Free);
    SetEditable(true);
    SetRowMoving(true);
    SetAcceptFileDrops(true);
    OnRowsReset();
}

// ---- rows ----

std::int32_t CPlaylistEditGridCtrl::RowIdAt(int index) const
{
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(GetDataAt(index)));
}

int CPlaylistEditGridCtrl::IndexOfRowId(std::int32_t id) const
{
    return id == 0 ? -1 : IndexOfData(IdData(id));
}

void CPlaylistEditGridCtrl::InsertModelRow(int row)
{
    const int index = InsertRowWithItem(std::string(), row);
    SetItemData(index, IdData(m_model->Row(row).Id()));
    RefreshRow(index);
}

void CPlaylistEditGridCtrl::RefreshRow(int row)
{
    for (int column = kArtistColumn; column <= kLocalColumn; ++column)
        SetCellText(row, column, m_model->CellText(row, column));
    SetCellColour(row, kMatchColumn, CPlaylistEditModel::MatchColour(m_model->Row(row).state));
}

void CPlaylistEditGridCtrl::OnRowsReset()
{
    RemoveAll();
    if (!m_model || Cols() == 0)
        return;
    for (int row = 0; row < m_model->RowCount(); ++row)
        InsertModelRow(row);
}

void CPlaylistEditGridCtrl::OnRowInserted(int row)
{
    if (Cols() > 0)
        InsertModelRow(row);
}

void CPlaylistEditGridCtrl::OnRowRemoved(int row)
{
    RemoveRow(row);
}

void CPlaylistEditGridCtrl::OnRowChanged(int row)
{
    if (row >= 0 && row < GetRowCount())
        RefreshRow(row);
}

void CPlaylistEditGridCtrl::OnRowMoved(int from, int to)
{
    if (from >= 0 && from < GetRowCount() && to >= 0 && to < GetRowCount())
        MoveRow(WidgetRow(from), WidgetRow(to));
}

// ---- editing ----

void CPlaylistEditGridCtrl::OnBeforeEdit(int row, int column, bool& cancel)
{
    if (row < FixedRows() || column == kLocalColumn) {
        cancel = true;
        return;
    }
    SetEditMaxLength(column == kCommentColumn ? kCommentLimit : kTextLimit);
    const bool button = column == kCommentColumn || column == kMatchColumn;
    SetComboList(button ? QStringLiteral("...") : QString());
}

void CPlaylistEditGridCtrl::OnAfterEdit(int row, int column)
{
    const int index = row - FixedRows();
    if (!m_model || index < 0 || index >= GetRowCount())
        return;
    m_model->EditCell(index, column, GetCellText(index, column));
    // Text typed into the Match column is not kept.
    RefreshRow(index);
}

void CPlaylistEditGridCtrl::OnCellButtonClick(int row, int column)
{
    if (column == kCommentColumn)
        EditComment(RowIdAt(row - FixedRows()));
}

void CPlaylistEditGridCtrl::EditComment(std::int32_t rowId)
{
    if (!m_model || IndexOfRowId(rowId) < 0)
        return;
    QPointer<CTrackCommentDlg> dialog = new CTrackCommentDlg(window());
    dialog->SetText(m_model->CellText(IndexOfRowId(rowId), kCommentColumn));
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return;
    const std::string text = dialog->Text();
    delete dialog.data();
    // The dialog's loop may have taken the row, or the grid's model, away.
    const int index = IndexOfRowId(rowId);
    if (accepted && m_model && index >= 0)
        m_model->EditCell(index, kCommentColumn, text);
}

void CPlaylistEditGridCtrl::ShowSuggestions(std::int32_t rowId)
{
    int index = IndexOfRowId(rowId);
    if (!m_model || index < 0 || m_model->Row(index).state != MatchState::ClickHere)
        return;
    const PerformanceSummary& typed = m_model->Row(index).performance;
    QPointer<CTrackSuggestionsDlg> dialog = new CTrackSuggestionsDlg(m_services, window());
    dialog->SetArtistName(typed.ArtistName);
    dialog->SetTitle(typed.SongName);
    dialog->SetCandidates(m_model->Suggestions(index));
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return;
    const std::optional<PerformanceSummary> chosen =
        accepted && dialog->Result() ? std::optional<PerformanceSummary>(*dialog->Result()) : std::nullopt;
    delete dialog.data();
    index = IndexOfRowId(rowId);
    if (chosen && m_model && index >= 0 && m_model->Row(index).state == MatchState::ClickHere)
        m_model->ChooseSuggestion(index, *chosen);
}

// ---- mouse ----

void CPlaylistEditGridCtrl::OnBeforeLButtonDown(int x, int y, int index, int, CGridRowItem*, bool& cancel)
{
    cancel = true;
    m_pressed = true;
    m_pressPoint = QPoint(x, y);
    m_pressRowId = RowIdAt(index);
}

void CPlaylistEditGridCtrl::OnMouseMoved(int buttons)
{
    if (!m_pressed || !m_model || (buttons & 1) == 0 || IsDraggingRow())
        return;
    const int index = IndexOfRowId(m_pressRowId);
    if (index < 0 || !m_model->CanDragRow(index))
        return;
    // Within the drag rectangle around the press, edges included, nothing starts.
    const QPoint at = MouseScreenPos();
    const int half = QApplication::startDragDistance() / 2;
    if (std::abs(at.x() - m_pressPoint.x()) <= half && std::abs(at.y() - m_pressPoint.y()) <= half)
        return;
    m_pressed = false;
    DragRow(WidgetRow(index));
}

void CPlaylistEditGridCtrl::OnBeforeMoveRow(int row, int& position)
{
    const int from = row - FixedRows();
    const int to = position - FixedRows();
    // The model moves the row (a drop on the blank row lands just above it)
    // and the grid follows through OnRowMoved; the widget moves nothing itself.
    position = row;
    if (m_model)
        m_model->MoveRow(from, to);
}

void CPlaylistEditGridCtrl::OnMouseLButtonUp(int, int, int index, int column, CGridRowItem*)
{
    if (!m_pressed)
        return;
    m_pressed = false;
    SelectCell(index, column);
    EditCell();
}

void CPlaylistEditGridCtrl::OnRowClicked()
{
    const int index = MouseRow() - FixedRows();
    const int column = MouseCol();
    if (!m_model || MouseRow() < 0 || index < 0 || index >= GetRowCount() || column < 0)
        return;
    const std::int32_t id = RowIdAt(index);
    if (m_model->Click(index, column) == EditClick::ShowSuggestions)
        ShowSuggestions(id);
}

void CPlaylistEditGridCtrl::OnBeforeRButtonDown(int, int, int index, int, CGridRowItem*, bool& cancel)
{
    cancel = true;
    setFocus(Qt::MouseFocusReason);
    SelectRow(index);
}

void CPlaylistEditGridCtrl::OnMouseRButtonUp(int x, int y, int index, int, CGridRowItem*)
{
    if (!m_model)
        return;
    SelectRow(index);
    m_contextRowId = RowIdAt(index);
    // The grid may be gone when the menu returns: nothing may follow.
    TrackContextMenu(static_cast<unsigned>(m_model->ContextMenu(index)), QPoint(x, y), *this, this);
}

// ---- context menu commands ----

int CPlaylistEditGridCtrl::ContextRow() const
{
    return m_model ? IndexOfRowId(m_contextRowId) : -1;
}

bool CPlaylistEditGridCtrl::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_SHOW_DETAILS:
    case ID_PLAYLIST_PREVIEW:
    case ID_SHOW_SUGGESTIONS:
    case ID_ROW_DELETE:
    case ID_RETRY_MATCHING:
    case ID_ROW_PASTE: {
        const int row = ContextRow();
        if (update)
            update->Enable(row >= 0 && CommandEnabled(id, row));
        else if (row >= 0 && CommandEnabled(id, row))
            RunRowCommand(id, row);
        return true;
    }
    default: return false;
    }
}

// Each state has its menu; a row whose state changed while its menu was open
// offers only what its new state allows.
bool CPlaylistEditGridCtrl::CommandEnabled(unsigned id, int row) const
{
    const MatchState state = m_model->Row(row).state;
    switch (id) {
    case ID_SHOW_DETAILS:
    case ID_PLAYLIST_PREVIEW: return state == MatchState::Match;
    case ID_SHOW_SUGGESTIONS: return state == MatchState::ClickHere;
    case ID_ROW_DELETE: return row < m_model->BlankRow();
    case ID_RETRY_MATCHING: return state == MatchState::Error;
    default: return true;
    }
}

void CPlaylistEditGridCtrl::RunRowCommand(unsigned id, int row)
{
    switch (id) {
    case ID_SHOW_DETAILS:
        if (m_services.detailPages)
            m_services.detailPages->ShowPerformanceDetail(m_model->Row(row).performance.performanceID);
        break;
    case ID_SHOW_SUGGESTIONS: ShowSuggestions(m_model->Row(row).Id()); break;
    case ID_ROW_DELETE: m_model->DeleteRow(row); break;
    case ID_RETRY_MATCHING: m_model->RetryMatching(row); break;
    case ID_ROW_PASTE:
        if (m_services.clipboard)
            m_model->Paste(*m_services.clipboard);
        break;
    default:  // Preview has no action in the editor.
        break;
    }
}
