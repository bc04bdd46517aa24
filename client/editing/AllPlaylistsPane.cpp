#include "client/editing/AllPlaylistsPane.h"

#include "client/app/Session.h"
#include "client/catalogue/ItemRef.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/editing/DialogTemplate.h"
#include "client/editing/PlaylistEditorPane.h"
#include "client/editing/PlaylistStore.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/ContextMenu.h"
#include "client/ui/shell/DetailPages.h"
#include "client/ui/shell/DialogUnits.h"
#include "platform/MessageBox.h"

#include <QLabel>
#include <QResizeEvent>

namespace {

// Template 158, in dialog units.
const QRect kTemplate(0, 0, 210, 214);
const QRect kGridUnits(7, 16, 196, 172);
constexpr int kButtonTop = 195;
constexpr int kButtonHeight = 14;
// The grid's right edge stays this far from the pane's.
constexpr int kRightMargin = 10;

CColorButton* MakeButton(QWidget* parent, const char* caption, int id, int left, int width)
{
    return MakeColorButton(parent, caption, id, QRect(left, kButtonTop, width, kButtonHeight));
}

}  // namespace

CAllPlaylistsPane::CAllPlaylistsPane(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_MY_PLAYLISTS, parent), m_services(services)
{
    setObjectName(QStringLiteral("playlisteditor"));
}

CAllPlaylistsPane::~CAllPlaylistsPane()
{
    if (m_listening && m_services.playlists)
        m_services.playlists->RemoveListener(this);
    if (m_parentWatched)
        m_parentWatched->removeEventFilter(this);
    // The editor goes first: it borrows the store's records this pane names.
    delete m_editor.data();
    if (m_grid) {
        m_grid->RemoveListener(this);
        m_grid->RemoveAll();
    }
}

CPlaylistEditorPane* CAllPlaylistsPane::Editor() const
{
    return m_editor;
}

void CAllPlaylistsPane::Create(QWidget* parent, int controlId)
{
    CreateAndShow(parent, controlId);
}

void CAllPlaylistsPane::OnInitDialog()
{
    auto* caption = new QLabel(QStringLiteral("My Playlists:"), this);
    PlaceControl(caption, 0, QRect(7, 5, 80, 9));
    m_grid = new CItemListGridCtrl(this);
    PlaceControl(m_grid, IDC_MY_PLAYLISTS_GRID, kGridUnits);
    m_grid->SetupColumns();
    m_grid->SetOutlineFlag(false);
    m_grid->AddListener(this);

    m_new = MakeButton(this, "New", IDC_MY_PLAYLISTS_NEW, 7, 40);
    m_edit = MakeButton(this, "Edit", IDC_MY_PLAYLISTS_EDIT, 52, 40);
    m_delete = MakeButton(this, "Delete", IDC_MY_PLAYLISTS_DELETE, 97, 40);
    m_playLocal = MakeButton(this, "Play Local", IDC_PLAY_LOCAL, 142, 56);
    connect(m_new, &QPushButton::clicked, this, [this] { New(); });
    connect(m_edit, &QPushButton::clicked, this, [this] { Edit(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { Delete(); });
    connect(m_playLocal, &QPushButton::clicked, this, [this] { PlayLocal(); });
    EnableListButtons(false);
    m_playLocal->setEnabled(false);
    SetToolTipString(IDC_PLAY_LOCAL, IDS_NO_FILES_TO_PLAY);

    const QRect templateRect = DialogUnitsToPixels(this, kTemplate);
    m_buttonBand = templateRect.height() - (m_grid->geometry().bottom() + 1);
    resize(templateRect.size());

    if (CPlaylistStore* store = m_services.playlists) {
        m_listening = true;
        // A loaded store tells "loading" and "loaded" at once.
        store->AddListener(this);
        if (!store->IsLoaded()) {
            const bool loggedIn = m_services.session && !m_services.session->Token().empty();
            if (loggedIn)
                OnPlaylistsLoading();
            else
                OnPlaylistsCleared();
        }
        m_editor = new CPlaylistEditorPane(this, m_services);
        m_editor->Create(parentWidget(), IDC_PLAYLIST_EDITOR_PANE);
        m_editor->resize(size());
    } else {
        ShowTextRow(IDS_NOT_LOGGED_IN_PLAYLISTS);
    }
    // The editor takes the pane's place and size, also while the pane is hidden.
    if (parentWidget()) {
        m_parentWatched = parentWidget();
        m_parentWatched->installEventFilter(this);
    }
}

bool CAllPlaylistsPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parentWatched && event->type() == QEvent::Resize && m_editor)
        m_editor->resize(static_cast<QResizeEvent*>(event)->size());
    return CBaseDlgPane::eventFilter(watched, event);
}

void CAllPlaylistsPane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (m_editor)
        m_editor->resize(size());
    if (!m_grid)
        return;
    LayOutGridAndButtons(*this, *m_grid, kRightMargin, m_buttonBand, {m_new, m_edit, m_delete, m_playLocal});
}

// ---- rows ----

void CAllPlaylistsPane::AddPlaylistRow(PlaylistDetail& playlist)
{
    m_grid->AddPlaylist(playlist);
    // The list names the playlist alone.
    m_grid->SetCellText(m_grid->GetRowCount() - 1, 0, playlist.Summary.Name);
}

void CAllPlaylistsPane::ShowTextRow(unsigned stringId)
{
    m_grid->RemoveAll();
    m_grid->AddRow(LoadResourceString(stringId));
}

PlaylistDetail* CAllPlaylistsPane::PlaylistAt(int index) const
{
    const CItemRef* item = m_grid ? m_grid->GetItemRef(index) : nullptr;
    PlaylistDetail* playlist = item ? item->AsPlaylistDetail() : nullptr;
    return playlist && m_services.playlists && m_services.playlists->Holds(playlist) ? playlist : nullptr;
}

PlaylistDetail* CAllPlaylistsPane::SelectedPlaylist() const
{
    return m_grid ? PlaylistAt(m_grid->GetSelectedIndex()) : nullptr;
}

PlaylistDetail* CAllPlaylistsPane::ContextPlaylist() const
{
    return m_grid ? PlaylistAt(m_grid->IndexOfRow(m_contextRow)) : nullptr;
}

void CAllPlaylistsPane::EnableListButtons(bool enabled)
{
    m_new->setEnabled(enabled);
    m_edit->setEnabled(enabled);
    m_delete->setEnabled(enabled);
}

void CAllPlaylistsPane::UpdatePlayLocal()
{
    const PlaylistDetail* playlist = SelectedPlaylist();
    m_hasLocal = playlist && CPlaylistStore::CountLocalTracks(*playlist) > 0;
    m_playLocal->setEnabled(m_hasLocal);
    if (m_hasLocal)
        RestoreToolTipString(IDC_PLAY_LOCAL);
    else
        SetToolTipString(IDC_PLAY_LOCAL, IDS_NO_FILES_TO_PLAY);
}

// ---- the store ----

void CAllPlaylistsPane::ForgetCurrent()
{
    // Without touching the records: the store may have deleted them already.
    if (!m_current)
        return;
    m_current = nullptr;
    m_isNew = false;
    EditorClosed(false);
}

void CAllPlaylistsPane::OnPlaylistsLoading()
{
    ForgetCurrent();
    ShowTextRow(IDS_LOADING_PLAYLISTS);
    EnableListButtons(true);
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnPlaylistsLoaded()
{
    m_grid->RemoveAll();
    CPlaylistStore* store = m_services.playlists;
    for (int i = 0; store && i < store->GetCount(); ++i)
        AddPlaylistRow(*store->GetAt(i));
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnPlaylistsCleared()
{
    ForgetCurrent();
    ShowTextRow(IDS_NOT_LOGGED_IN_PLAYLISTS);
    EnableListButtons(false);
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnPlaylistAdded(PlaylistDetail* playlist)
{
    if (!playlist)
        return;
    AddPlaylistRow(*playlist);
    m_grid->SelectRow(m_grid->GetRowCount() - 1);
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnPlaylistRemoved(PlaylistDetail* playlist)
{
    // The one place a playlist's row goes, whoever deleted it.
    const std::vector<int> rows = m_grid->RowsOfRecord(playlist);
    if (!rows.empty())
        m_grid->RemoveRow(rows.front());
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnPlaylistUpdated(PlaylistDetail* playlist)
{
    if (!playlist)
        return;
    for (int index : m_grid->RowsOfRecord(playlist))
        m_grid->SetCellText(index, 0, playlist->Summary.Name);
    UpdatePlayLocal();
}

// ---- the editor ----

void CAllPlaylistsPane::OpenEditor(PlaylistDetail& playlist)
{
    if (!m_editor)
        return;
    m_editor->LoadPlaylist(playlist);
    m_current = &playlist;
    m_editor->resize(size());
    m_editor->show();
    m_editor->raise();
    hide();
}

void CAllPlaylistsPane::EditorClosed(bool published)
{
    // Forgotten first: deleting the playlist below makes the editor report
    // its record gone, which comes back here.
    PlaylistDetail* playlist = m_current;
    const bool wasNew = m_isNew;
    m_current = nullptr;
    m_isNew = false;
    if (playlist && published && m_services.detailPages)
        m_services.detailPages->ShowPlaylistDetail(playlist->Summary.playlistID);
    show();
    if (m_editor)
        m_editor->hide();
    if (playlist && wasNew && !published && m_services.playlists)
        m_services.playlists->DeletePlaylist(playlist);
}

// ---- commands ----

void CAllPlaylistsPane::New()
{
    CPlaylistStore* store = m_services.playlists;
    if (!store || !m_editor || IsEditing())
        return;
    PlaylistDetail* playlist = store->NewPlaylist();
    m_isNew = true;
    OpenEditor(*playlist);
}

void CAllPlaylistsPane::Edit()
{
    if (PlaylistDetail* playlist = SelectedPlaylist(); playlist && !IsEditing())
        OpenEditor(*playlist);
}

void CAllPlaylistsPane::Delete()
{
    if (m_grid)
        DeletePlaylist(m_grid->GetRowId(m_grid->GetSelectedIndex()));
}

void CAllPlaylistsPane::DeletePlaylist(const CGridRowId& row)
{
    const PlaylistDetail* asked = PlaylistAt(m_grid->IndexOfRow(row));
    if (!asked)
        return;
    QPointer<CAllPlaylistsPane> alive(this);
    const int answer = ShowMessageBox(FormatResourceString(IDS_CONFIRM_DELETE_PLAYLIST_FMT, {asked->Summary.Name}), {},
                                      kMbYesNo | kMbIconQuestion);
    // The question's loop lets answers come in: the row is looked up again.
    if (!alive || answer != kIdYes)
        return;
    if (PlaylistDetail* playlist = PlaylistAt(m_grid->IndexOfRow(row)))
        m_services.playlists->DeletePlaylist(playlist);  // its row goes through OnPlaylistRemoved
}

void CAllPlaylistsPane::PlayLocal()
{
    if (const PlaylistDetail* playlist = SelectedPlaylist())
        m_services.playlists->PlayPlaylistLocal(*playlist);
}

bool CAllPlaylistsPane::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    if (IsEditing() && m_editor && m_editor->OnCmdMsg(id, update))
        return true;
    switch (id) {
    case ID_ITEM_EDIT:
    case ID_PLAYLIST_DELETE:
    case ID_ITEM_PLAY: {
        // The row the menu was opened on; its loop may have taken it away.
        PlaylistDetail* playlist = ContextPlaylist();
        if (update) {
            update->Enable(playlist != nullptr);
            if (id == ID_ITEM_PLAY) {
                const int local = playlist ? CPlaylistStore::CountLocalTracks(*playlist) : 0;
                const std::string text = FormatResourceString(IDS_PLAY_LOCAL_FMT, {std::to_string(local)});
                update->SetText(QString::fromStdString(text));
                update->Enable(local > 0);
            }
            return true;
        }
        if (!playlist)
            return true;
        if (id == ID_ITEM_EDIT && !IsEditing())
            OpenEditor(*playlist);
        else if (id == ID_PLAYLIST_DELETE)
            DeletePlaylist(m_contextRow);
        else if (id == ID_ITEM_PLAY)
            m_services.playlists->PlayPlaylistLocal(*playlist);
        return true;
    }
    case ID_MY_PLAYLISTS_NO_ACTION_1:
    case ID_MY_PLAYLISTS_NO_ACTION_2: return true;
    default: return CBaseDlgPane::OnCmdMsg(id, update);
    }
}

// ---- the list ----

void CAllPlaylistsPane::OnItemClicked(CGridRowItem* item)
{
    const CItemRef* ref = CItemListGridCtrl::ItemRefOf(item);
    const PlaylistDetail* playlist = ref ? ref->AsPlaylistDetail() : nullptr;
    if (playlist && m_services.detailPages)
        m_services.detailPages->ShowPlaylistDetail(playlist->Summary.playlistID);
    UpdatePlayLocal();
}

void CAllPlaylistsPane::OnContextRequest(CGridRowItem* item, int x, int y)
{
    m_contextRow = m_grid->RowIdOf(item);
    if (!PlaylistAt(m_grid->IndexOfRow(m_contextRow)))
        return;
    UpdatePlayLocal();
    // The pane may be gone when the menu returns: nothing may follow.
    TrackContextMenu(IDR_MENU_MY_PLAYLISTS, QPoint(x, y), *this, this);
}
