#include "client/editing/PlaylistEditorPane.h"

#include "client/app/Session.h"
#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/editing/AllPlaylistsPane.h"
#include "client/editing/DialogTemplate.h"
#include "client/editing/PlaylistEditGridCtrl.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/DetailPages.h"
#include "client/ui/shell/DialogUnits.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QResizeEvent>
#include <QUrl>

namespace {

// Template 130, in dialog units.
const QRect kTemplate(0, 0, 330, 262);
const QRect kGridUnits(7, 90, 316, 148);
constexpr int kButtonTop = 243;
constexpr int kButtonHeight = 14;
// The grid's right edge stays this far from the pane's.
constexpr int kRightMargin = 10;
constexpr int kTextLimit = 255;
constexpr int kDescriptionLimit = 32767;

QLabel* MakeLabel(QWidget* parent, const char* text, const QRect& units)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    PlaceControl(label, 0, units);
    return label;
}

CColorButton* MakeButton(QWidget* parent, const char* caption, int id, int left, int width)
{
    return MakeColorButton(parent, caption, id, QRect(left, kButtonTop, width, kButtonHeight));
}

// An entry per item of the table, its number as item data.
void FillList(QComboBox* list, const CLookupTablesModel* tables, const char* table)
{
    list->clear();
    const auto items = tables ? tables->Tables().Lookup(table) : nullptr;
    if (!items)
        return;
    for (const LookupItem& item : *items)
        list->addItem(QString::fromStdString(item.text), item.identifier);
}

// The entry whose number is value; none when no entry has it.
void SelectNumber(QComboBox* list, std::int32_t value)
{
    list->setCurrentIndex(list->findData(value));
}

std::int32_t SelectedNumber(const QComboBox* list)
{
    return list->currentIndex() < 0 ? 0 : list->currentData().toInt();
}

}  // namespace

std::string CPaneEditingSession::SessionToken() const
{
    return m_session ? m_session->Token() : std::string();
}

std::string CPaneEditingSession::CurrentHandle() const
{
    return m_session ? m_session->CurrentHandle() : std::string();
}

std::int32_t CPaneEditingSession::CurrentUserId() const
{
    return m_session ? m_session->UserId() : 0;
}

CPlaylistEditorPane::CPlaylistEditorPane(CAllPlaylistsPane* owner, const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_PLAYLIST_EDITOR, parent), m_owner(owner), m_services(services), m_session(services.session),
      m_editor(std::make_unique<CPlaylistEditorModel>(*services.playlists, &m_session, services.localFiles))
{
    m_editor->SetListener(this);
}

CPlaylistEditorPane::~CPlaylistEditorPane()
{
    if (m_services.lookupTables)
        m_services.lookupTables->RemoveTablesListener(this);
    m_editor->SetListener(nullptr);
    m_editor->Rows().RemoveEditListener(this);
    if (m_grid)
        m_grid->SetModel(nullptr);
}

void CPlaylistEditorPane::OnInitDialog()
{
    MakeLabel(this, "Title:", QRect(7, 9, 45, 8));
    m_title = new QLineEdit(this);
    PlaceControl(m_title, IDC_EDITOR_NAME, QRect(55, 7, 150, 12));
    m_title->setMaxLength(kTextLimit);
    MakeLabel(this, "Playmaker:", QRect(212, 9, 40, 8));
    m_playmaker = new QLabel(this);
    PlaceControl(m_playmaker, IDC_EDITOR_PLAYMAKER, QRect(255, 9, 70, 8));
    MakeLabel(this, "Genre:", QRect(7, 25, 45, 8));
    m_genre = new QComboBox(this);
    PlaceControl(m_genre, IDC_EDITOR_GENRE, QRect(55, 23, 100, 12));
    MakeLabel(this, "Mood:", QRect(162, 25, 30, 8));
    m_mood = new QComboBox(this);
    PlaceControl(m_mood, IDC_EDITOR_MOOD, QRect(195, 23, 100, 12));
    MakeLabel(this, "Theme:", QRect(7, 41, 45, 8));
    m_theme = new QComboBox(this);
    m_theme->setEditable(true);
    m_theme->setInsertPolicy(QComboBox::NoInsert);
    m_theme->lineEdit()->setMaxLength(kTextLimit);
    PlaceControl(m_theme, IDC_EDITOR_THEME, QRect(55, 39, 150, 12));
    MakeLabel(this, "Description:", QRect(7, 57, 45, 8));
    m_description = new QPlainTextEdit(this);
    LimitPlainText(m_description, kDescriptionLimit);
    PlaceControl(m_description, IDC_EDITOR_DESCRIPTION, QRect(55, 55, 268, 30));

    m_grid = new CPlaylistEditGridCtrl(m_services, this);
    PlaceControl(m_grid, IDC_EDITOR_GRID, kGridUnits);
    m_grid->SetupColumns();
    m_editor->Rows().AddEditListener(this);

    m_publish = MakeButton(this, "Publish", IDC_EDITOR_PUBLISH, 7, 50);
    m_cancel = MakeButton(this, "Cancel", IDC_EDITOR_CANCEL, 62, 50);
    m_import = MakeButton(this, "Import", IDC_EDITOR_IMPORT, 117, 50);
    m_export = MakeButton(this, "Export", IDC_EDITOR_EXPORT, 172, 50);
    m_playLocal = MakeButton(this, "Play Local", IDC_PLAY_LOCAL, 227, 60);
    connect(m_publish, &QPushButton::clicked, this, [this] { Publish(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    m_import->setEnabled(kFileCommands);

    const QRect templateRect = DialogUnitsToPixels(this, kTemplate);
    m_buttonBand = templateRect.height() - (m_grid->geometry().bottom() + 1);
    resize(templateRect.size());

    m_grid->SetModel(&m_editor->Rows());
    m_editor->Rows().ResetRows();
    if (m_services.lookupTables)
        m_services.lookupTables->AddTablesListener(this);
    FillLists();
    ValuesToControls();
    SelectTitle();
    OnLocalCountChanged(m_editor->Rows().LocalFileCount());
    setAcceptDrops(true);
}

void CPlaylistEditorPane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (!m_grid)
        return;
    LayOutGridAndButtons(*this, *m_grid, kRightMargin, m_buttonBand,
                         {m_publish, m_cancel, m_import, m_export, m_playLocal});
}

// ---- the playlist ----

void CPlaylistEditorPane::LoadPlaylist(PlaylistDetail& detail)
{
    m_editor->LoadPlaylist(detail);
    ValuesToControls();
    SelectTitle();
}

void CPlaylistEditorPane::SelectTitle()
{
    m_title->selectAll();
    m_title->setFocus();
}

void CPlaylistEditorPane::ValuesToControls()
{
    const CPlaylistEditorModel& editor = *m_editor;
    m_title->setText(QString::fromStdString(editor.title));
    m_description->setPlainText(ToEditText(editor.description));
    SelectNumber(m_genre, editor.genre);
    SelectNumber(m_mood, editor.mood);
    m_theme->setCurrentIndex(m_theme->findText(QString::fromStdString(editor.theme)));
    m_theme->setEditText(QString::fromStdString(editor.theme));
    m_playmaker->setText(QString::fromStdString(editor.playmaker));
}

void CPlaylistEditorPane::ControlsToValues()
{
    CPlaylistEditorModel& editor = *m_editor;
    editor.title = m_title->text().toStdString();
    editor.description = FromEditText(m_description->toPlainText());
    editor.theme = m_theme->currentText().toStdString();
    editor.genre = SelectedNumber(m_genre);
    editor.mood = SelectedNumber(m_mood);
}

void CPlaylistEditorPane::FillLists()
{
    FillList(m_genre, m_services.lookupTables, "Genres");
    FillList(m_mood, m_services.lookupTables, "Mood");
    FillList(m_theme, m_services.lookupTables, "Theme");
}

void CPlaylistEditorPane::OnTablesChanged()
{
    ControlsToValues();
    FillLists();
    ValuesToControls();
}

// ---- commands ----

bool CPlaylistEditorPane::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_EDITOR_PUBLISH:
        if (!update)
            Publish();
        return true;
    case ID_FILE_IMPORT_PLAYLIST:
        if (update)
            update->Enable(kFileCommands);
        return true;
    case ID_ITEM_EDIT:
        // The list's Edit has no action while the editor is shown.
        if (update)
            update->Enable(false);
        return true;
    default: return CBaseDlgPane::OnCmdMsg(id, update);
    }
}

void CPlaylistEditorPane::Publish()
{
    ControlsToValues();
    // The exchange runs a loop of its own; the pane is looked at again after it.
    QPointer<CPlaylistEditorPane> alive(this);
    const PublishOutcome outcome = m_editor->Publish();
    if (!alive || !m_owner)
        return;
    if (outcome == PublishOutcome::Published)
        m_owner->EditorClosed(true);
    else if (outcome == PublishOutcome::Closed)
        m_owner->EditorClosed(false);
}

void CPlaylistEditorPane::Cancel()
{
    if (m_owner)
        m_owner->EditorClosed(false);
}

void CPlaylistEditorPane::OnEditedPlaylistGone()
{
    if (m_owner)
        m_owner->EditorClosed(false);
}

// ---- the rows ----

void CPlaylistEditorPane::OnShowPlaylistDetail(const PlaylistSummary& playlist)
{
    if (m_services.detailPages)
        m_services.detailPages->ShowPlaylistDetail(playlist.playlistID);
}

void CPlaylistEditorPane::OnPerformanceClicked(const PerformanceSummary& performance)
{
    if (m_services.detailPages)
        m_services.detailPages->ShowPerformanceDetail(performance.performanceID);
}

void CPlaylistEditorPane::OnArtistClicked(std::int32_t artistId)
{
    if (m_services.detailPages)
        m_services.detailPages->ShowArtistDetail(artistId);
}

void CPlaylistEditorPane::OnShowArtistDetail(const ArtistSummary& artist)
{
    if (m_services.detailPages)
        m_services.detailPages->ShowArtistDetail(artist.artistID);
}

void CPlaylistEditorPane::OnLocalCountChanged(int count)
{
    m_hasLocal = count > 0;
    if (!m_export)
        return;
    m_export->setEnabled(m_hasLocal && kFileCommands);
    m_playLocal->setEnabled(m_hasLocal && kFileCommands);
    if (m_hasLocal) {
        RestoreToolTipString(IDC_EDITOR_EXPORT);
        RestoreToolTipString(IDC_PLAY_LOCAL);
    } else {
        SetToolTipString(IDC_EDITOR_EXPORT, IDS_NO_FILES_TO_EXPORT);
        SetToolTipString(IDC_PLAY_LOCAL, IDS_NO_FILES_TO_PLAY);
    }
}

// ---- files dropped on the pane outside the grid ----

void CPlaylistEditorPane::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CPlaylistEditorPane::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    ControlsToValues();
    m_editor->DropFilesOnPane(paths);
    ValuesToControls();
}
