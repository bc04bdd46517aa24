// A member's journey through the Create tab of a real main frame, over real
// models, against corvanta-server --demo started for the test: a playlist is
// built row by row (a catalogue track, an ambiguous title resolved through the
// suggestions, a track and artist new to the catalogue), published, edited,
// published again and deleted; what the window shows is checked against what
// the server then holds.
#include "client/catalogue/GetPlaylistDetailsRequest.h"
#include "client/catalogue/GetUserPlaylistsRequest.h"
#include "client/catalogue/LookupTablesModel.h"
#include "client/editing/AllPlaylistsPane.h"
#include "client/editing/NewTrackArtistDlg.h"
#include "client/editing/NewTrackDlg.h"
#include "client/editing/PlaylistEditGridCtrl.h"
#include "client/editing/PlaylistEditorPane.h"
#include "client/editing/PlaylistStore.h"
#include "client/editing/TrackCommentDlg.h"
#include "client/editing/TrackSuggestionsDlg.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/frame/BookmarkView.h"
#include "client/ui/frame/ChildView.h"
#include "client/ui/frame/MainFrame.h"
#include "client/ui/frame/PlaylistEditorView.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/QtClipboardStore.h"
#include "client/ui/web/BlockingCallRunner.h"
#include "client/ui/web/ProgressDlg.h"
#include "platform/Http.h"
#include "platform/MessageBox.h"
#include "tests/client/editing/PlaylistGridDriver.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/PopupMenuDriver.h"
#include "tests/support/ServerJourney.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Typed as a member types them: the form's special characters and letters
// beyond ASCII.
const QString kTitle = QString::fromUtf8("Zoë's Mix & Match + 100% Café");
const QString kDescriptionFirst = QString::fromUtf8("Über songs & more");
const QString kDescriptionSecond = QString::fromUtf8("for 50% + friends");
const QString kTheme = QString::fromUtf8("Nuit blanche & Søn + 10%");
// A track and an artist the demo catalogue does not know.
const QString kNewArtist = QStringLiteral("Xylophonic Quux");
const QString kNewTitle = QStringLiteral("Qwyjibo Zephyr");

class CreateJourney : public CDemoJourney {
protected:
    void SetUp() override
    {
        CDemoJourney::SetUp();
        if (HasFatalFailure())
            return;
        // The delete question is answered Yes.
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned type) {
            m_messages.push_back(text);
            return (type & kMbYesNo) == kMbYesNo ? kIdYes : kIdOk;
        });
        ListenToSession(&m_store);
        ListenToSession(&m_favorites);
        // The server's genres, moods and themes, as the program fetches them at start-up.
        struct TablesSeen : ITablesListener {
            void OnTablesChanged() override { changed = true; }
            bool changed = false;
        } seen;
        m_tables.AddTablesListener(&seen);
        m_tables.Fetch();
        const bool fetched = SpinUntil([&] { return seen.changed; });
        m_tables.RemoveTablesListener(&seen);
        ASSERT_TRUE(fetched);
        PaneServices services;
        services.session = &m_session;
        services.favorites = &m_favorites;
        services.playlists = &m_store;
        services.lookupTables = &m_tables;
        services.clipboard = &m_clipboard;
        MakeFrame(services);
        m_frame->resize(1280, 900);
    }

    CAllPlaylistsPane& List() { return *m_frame->GetChildView()->PlaylistEditorView()->AllPlaylistsPane(); }
    CPlaylistEditorPane& Editor() { return *List().Editor(); }
    CPlaylistEditGridCtrl& Grid() { return *Editor().Grid(); }
    template <class Control>
    Control* Find(const QWidget* parent, int id)
    {
        Control* control = FindControlAs<Control>(parent, id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    void Click(const QWidget* parent, int id) { QTest::mouseClick(Find<QAbstractButton>(parent, id), Qt::LeftButton); }

    // ---- the track grid as the member sees and uses it ----
    CPlaylistGridDriver GridDriver() { return CPlaylistGridDriver(Grid()); }
    int Rows() { return GridDriver().Rows(); }
    std::string Cell(int index, int column) { return GridDriver().Cell(index, column); }
    void ClickCell(int index, int column) { GridDriver().ClickCell(index, column); }
    QLineEdit* CellEditor() { return GridDriver().CellEditor(); }
    int TypeTrack(const std::string& artist, const std::string& title) { return GridDriver().TypeTrack(artist, title); }
    bool Settles(int row, const char* state)
    {
        return SpinUntil([&] { return Cell(row, 3) == state; });
    }

    // ---- what the server holds ----
    std::vector<PlaylistSummary> OwnPlaylists()
    {
        CGetUserPlaylistsRequest request;
        EXPECT_TRUE(AwaitAnswer(request, [&] { request.Fetch(m_session.Token()); }));
        std::vector<PlaylistSummary> playlists;
        for (std::int32_t i = 0; i < request.Count(); ++i)
            playlists.push_back(request.Get(i));
        return playlists;
    }
    std::unique_ptr<PlaylistDetail> Details(std::int32_t playlistID)
    {
        CGetPlaylistDetailsRequest request;
        EXPECT_TRUE(AwaitAnswer(request, [&] { request.Fetch(playlistID); }));
        return request.TakeDetail();
    }
    std::string RawDetails(std::int32_t playlistID)
    {
        std::string answer;
        EXPECT_EQ(HttpPostForm("127.0.0.1", m_server.HttpPort(), "/corvanta/production/orvane/GetPlaylistDetails.jsp",
                               CGetPlaylistDetailsRequest::Body(playlistID), answer, false),
                  S_OK);
        return answer;
    }
    bool OnServer(std::int32_t playlistID)
    {
        const std::vector<PlaylistSummary> own = OwnPlaylists();
        return std::any_of(own.begin(), own.end(),
                           [&](const PlaylistSummary& p) { return p.playlistID == playlistID; });
    }
    Strings ICreatedRows()
    {
        CBookmarkPane& pane = *m_frame->GetChildView()->BookmarkView()->BookmarkPane();
        CItemListGridCtrl& grid = *pane.Grid();
        Strings rows;
        for (int i = grid.IndexOfItem(pane.GroupRow(CBookmarkPane::kICreated)) + 1; i < grid.GetRowCount(); ++i)
            rows.push_back(grid.GetCellText(i, 0));
        return rows;
    }
    Strings ListRows()
    {
        Strings rows;
        for (int i = 0; i < List().Grid()->GetRowCount(); ++i)
            rows.push_back(List().Grid()->GetCellText(i, 0));
        return rows;
    }
    void SelectListRow(const std::string& text)
    {
        const Strings rows = ListRows();
        const auto found = std::find(rows.begin(), rows.end(), text);
        ASSERT_NE(found, rows.end()) << text;
        CItemListGridCtrl& grid = *List().Grid();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.CellRect(static_cast<int>(found - rows.begin()), 0).center());
    }

    // ---- the dialogs ----
    /// Waits until a new-item dialog's lookup has answered.
    static bool LookupAnswered(CNewCatalogueItemDlg* dialog, unsigned lookingText)
    {
        return SpinUntil([&] {
            CItemListGridCtrl* list = dialog->List();
            return list->GetRowCount() > 0 && list->GetCellText(0, 0) != LoadResourceString(lookingText);
        });
    }
    /// Chooses "add new" in a new-item dialog and presses OK.
    static void AddNew(CNewCatalogueItemDlg* dialog, int addRadio, unsigned lookingText)
    {
        ASSERT_TRUE(LookupAnswered(dialog, lookingText));
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        QTest::mouseClick(FindControlAs<QRadioButton>(dialog, addRadio), Qt::LeftButton);
        ASSERT_TRUE(dialog->OkButton()->isEnabled());
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    }

    CPlaylistStore m_store{nullptr, nullptr};
    CFavoritesModel m_favorites{[this] { return m_session.Token(); }};
    CLookupTablesModel m_tables;
    CQtClipboardStore m_clipboard;
    CBlockingCallRunner m_blockingCalls{[this]() -> QWidget* { return m_frame.get(); }};
};

TEST_F(CreateJourney, DemoBuildsPublishesEditsAndDeletesAPlaylist)
{
    CDemoLogin login;
    m_session.LoginFlow(login);
    ASSERT_TRUE(m_session.IsLoggedIn());
    ASSERT_TRUE(SpinUntil([&] { return m_store.IsLoaded() && m_favorites.Loaded(); }));
    ASSERT_GT(m_store.GetCount(), 0);
    const std::size_t ownBefore = OwnPlaylists().size();
    // Two tracks of demo's first playlist: one to type as it is, one to type ambiguously.
    const PlaylistDetail& stored = *m_store.GetAt(0);
    ASSERT_GE(stored.Tracks.size(), 2u);
    const PerformanceSummary known = *stored.Tracks[0];
    const PerformanceSummary ambiguous = *stored.Tracks[1];

    // The Create tab, as the member opens it: the list of demo's playlists.
    ClickTab(1);
    ASSERT_TRUE(List().isVisible());
    EXPECT_EQ(ListRows().size(), static_cast<std::size_t>(m_store.GetCount()));

    // New: the editor takes the list's place.
    Click(&List(), IDC_MY_PLAYLISTS_NEW);
    ASSERT_TRUE(Editor().isVisible());
    EXPECT_FALSE(List().isVisible());
    QLineEdit* title = Find<QLineEdit>(&Editor(), IDC_EDITOR_NAME);
    title->selectAll();
    TypeText(title, kTitle);
    QPlainTextEdit* description = Find<QPlainTextEdit>(&Editor(), IDC_EDITOR_DESCRIPTION);
    TypeText(description, kDescriptionFirst);
    QTest::keyClick(description, Qt::Key_Return);
    TypeText(description, kDescriptionSecond);
    QComboBox* theme = Find<QComboBox>(&Editor(), IDC_EDITOR_THEME);
    TypeText(theme->lineEdit(), kTheme);
    QComboBox* genre = Find<QComboBox>(&Editor(), IDC_EDITOR_GENRE);
    QComboBox* mood = Find<QComboBox>(&Editor(), IDC_EDITOR_MOOD);
    ASSERT_GT(genre->count(), 1);
    ASSERT_GT(mood->count(), 1);
    QTest::keyClick(genre, Qt::Key_Down);
    QTest::keyClick(mood, Qt::Key_Down);
    const int genreId = genre->currentData().toInt();
    const int moodId = mood->currentData().toInt();

    // A catalogue track typed as it is matches.
    EXPECT_EQ(Cell(0, 0), "(Type Artist Name)");
    const int first = TypeTrack(known.ArtistName, known.SongName);
    ASSERT_TRUE(Settles(first, "match")) << Cell(first, 3);
    EXPECT_EQ(Rows(), 2);

    // An ambiguous one waits for the member's choice among the suggestions.
    const std::string shortArtist = ambiguous.ArtistName.substr(ambiguous.ArtistName.rfind(' ') + 1);
    const int second = TypeTrack(shortArtist, ambiguous.SongName);
    ASSERT_TRUE(Settles(second, "click here")) << Cell(second, 3);
    std::int32_t chosenId = 0;
    {
        CModalDriver driver([&](QWidget* dialog) {
            auto* suggestions = dynamic_cast<CTrackSuggestionsDlg*>(dialog);
            ASSERT_NE(suggestions, nullptr);
            CGridCtrl& list = *suggestions->Grid();
            int pick = 0;
            for (int i = 0; i < list.GetRowCount(); ++i)
                if (list.GetCellText(i, 0) == ambiguous.ArtistName && list.GetCellText(i, 1) == ambiguous.SongName)
                    pick = i;
            chosenId = static_cast<const PerformanceSummary*>(list.GetDataAt(pick))->performanceID;
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CellRect(pick + list.FixedRows(), 1).center());
            QTest::mouseClick(suggestions->OkButton(), Qt::LeftButton);
        });
        ClickCell(second, 3);
        EXPECT_EQ(driver.seen.size(), 1u);
    }
    EXPECT_EQ(Cell(second, 3), "match");
    EXPECT_EQ(Grid().Model()->GetPerformanceID(second), chosenId);

    // A track of an artist the catalogue does not know: both are added.
    const int third = TypeTrack(kNewArtist.toStdString(), kNewTitle.toStdString());
    ASSERT_TRUE(Settles(third, "click here")) << Cell(third, 3);
    {
        Strings opened;
        CModalDriver driver([&](QWidget* dialog) {
            if (auto* suggestions = dynamic_cast<CTrackSuggestionsDlg*>(dialog)) {
                opened.push_back("suggestions");
                EXPECT_FALSE(suggestions->OkButton()->isEnabled()) << "nothing to choose";
                Click(suggestions, IDC_SUGGEST_NEW_TRACK);
            } else if (auto* artist = dynamic_cast<CNewTrackArtistDlg*>(dialog)) {
                opened.push_back("artist");
                EXPECT_EQ(artist->NameEdit()->text(), kNewArtist);
                AddNew(artist, IDC_SUGGEST_ADD_ARTIST, IDS_LOOKING_FOR_ARTISTS);
            } else if (auto* track = dynamic_cast<CNewTrackDlg*>(dialog)) {
                opened.push_back("track");
                EXPECT_EQ(track->NameEdit()->text(), kNewTitle);
                AddNew(track, IDC_SUGGEST_ADD_TRACK, IDS_LOOKING_FOR_TRACKS);
            } else {
                ADD_FAILURE() << "unexpected dialog";
            }
        });
        ClickCell(third, 3);
        EXPECT_EQ(opened, (Strings{"suggestions", "artist", "track"}));
    }
    ASSERT_EQ(Cell(third, 3), "match");
    EXPECT_EQ(Cell(third, 0), kNewArtist.toStdString());
    EXPECT_EQ(Cell(third, 1), kNewTitle.toStdString());
    const std::int32_t newTrackId = Grid().Model()->GetPerformanceID(third);
    EXPECT_GT(newTrackId, 0);

    // A comment of two lines through the Track Comment dialog.
    ClickCell(first, 2);
    ASSERT_NE(CellEditor(), nullptr);
    {
        CModalDriver driver([&](QWidget* dialog) {
            auto* comment = dynamic_cast<CTrackCommentDlg*>(dialog);
            ASSERT_NE(comment, nullptr);
            QPlainTextEdit* edit = FindControlAs<QPlainTextEdit>(comment, IDC_EDIT_TEXT);
            TypeText(edit, QStringLiteral("Perfect opener"));
            QTest::keyClick(edit, Qt::Key_Return);
            TypeText(edit, QStringLiteral("turn it up"));
            Click(comment, IDOK);
        });
        QToolButton* button = nullptr;
        for (QToolButton* shown : Grid().viewport()->findChildren<QToolButton*>(QStringLiteral("cellButton")))
            if (shown->isVisible())
                button = shown;
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(driver.seen.size(), 1u);
    }
    EXPECT_EQ(Grid().Model()->GetComment(first), "Perfect opener\r\nturn it up");

    // Publish: the editor closes and the playlist stands in both tabs.
    const std::vector<std::int32_t> tracks = {Grid().Model()->GetPerformanceID(first), chosenId, newTrackId};
    // The progress window is up, saying "Publishing", while the exchange runs.
    std::string progressText;
    QTimer::singleShot(0, m_frame.get(), [&] {
        if (CProgressDlg* progress = m_blockingCalls.ProgressWindow(); progress && progress->isVisible())
            progressText = progress->Text();
    });
    Click(&Editor(), IDC_EDITOR_PUBLISH);
    ASSERT_FALSE(Editor().isVisible()) << (m_messages.empty() ? "" : m_messages.back());
    ASSERT_TRUE(List().isVisible());
    EXPECT_EQ(progressText, "Publishing");
    EXPECT_EQ(m_blockingCalls.ProgressWindow(), nullptr);
    PlaylistDetail* published = m_store.GetAt(m_store.GetCount() - 1);
    const std::int32_t playlistID = published->Summary.playlistID;
    ASSERT_GT(playlistID, 0);
    EXPECT_EQ(ListRows().back(), kTitle.toStdString());
    EXPECT_EQ(ICreatedRows().back(), kTitle.toStdString() + " by demo");

    // What the server now holds.
    EXPECT_EQ(OwnPlaylists().size(), ownBefore + 1);
    std::unique_ptr<PlaylistDetail> held = Details(playlistID);
    ASSERT_TRUE(held);
    std::vector<std::int32_t> heldTracks;
    for (const auto& track : held->Tracks)
        heldTracks.push_back(track->performanceID);
    EXPECT_EQ(heldTracks, tracks);
    ASSERT_EQ(held->Tracks.size(), 3u);
    EXPECT_EQ(held->Tracks[0]->Comment, "Perfect opener\r\nturn it up");
    EXPECT_NE(RawDetails(playlistID).find("Perfect opener&lt;BR&gt;turn it up"), std::string::npos)
        << RawDetails(playlistID);
    EXPECT_EQ(held->Summary.Name, kTitle.toStdString());
    EXPECT_EQ(held->Summary.PlaylistDescription, (kDescriptionFirst + "\r\n" + kDescriptionSecond).toStdString());
    EXPECT_EQ(held->Summary.Theme, kTheme.toStdString());
    EXPECT_EQ(held->Summary.PrimaryGenreID, genreId);
    EXPECT_EQ(held->Summary.PrimaryMoodID, moodId);

    // Edit: the playlist comes back into the editor; a new title and one track
    // fewer are published as an update of the same playlist.
    SelectListRow(kTitle.toStdString());
    Click(&List(), IDC_MY_PLAYLISTS_EDIT);
    ASSERT_TRUE(Editor().isVisible());
    EXPECT_EQ(title->text(), kTitle);
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(Cell(1, 3), "match");
    title->selectAll();
    TypeText(title, kTitle + QStringLiteral(" Again"));
    {
        CPopupMenuDriver menus([](QMenu* menu) { EXPECT_TRUE(CPopupMenuDriver::Choose(menu, ID_ROW_DELETE)); });
        GridDriver().RightClickCell(1, 0);
        EXPECT_EQ(menus.shown, 1);
    }
    ASSERT_EQ(Rows(), 3);
    Click(&Editor(), IDC_EDITOR_PUBLISH);
    ASSERT_FALSE(Editor().isVisible());
    EXPECT_EQ(published->Summary.playlistID, playlistID) << "updated, not made anew";
    EXPECT_EQ(OwnPlaylists().size(), ownBefore + 1);
    held = Details(playlistID);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Summary.Name, (kTitle + QStringLiteral(" Again")).toStdString());
    ASSERT_EQ(held->Tracks.size(), 2u);
    EXPECT_EQ(held->Tracks[1]->performanceID, newTrackId);
    EXPECT_EQ(ListRows().back(), (kTitle + QStringLiteral(" Again")).toStdString());

    // Delete, answered Yes: gone from the list and from the server.
    SelectListRow((kTitle + QStringLiteral(" Again")).toStdString());
    Click(&List(), IDC_MY_PLAYLISTS_DELETE);
    ASSERT_FALSE(m_messages.empty());
    EXPECT_EQ(m_messages.back(),
              "Are you sure you want to delete playlist '" + (kTitle + QStringLiteral(" Again")).toStdString() + "'?");
    const Strings rows = ListRows();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), (kTitle + QStringLiteral(" Again")).toStdString()), 0);
    EXPECT_EQ(rows.size(), ownBefore);
    EXPECT_TRUE(SpinUntil([&] { return !OnServer(playlistID); }));
    EXPECT_EQ(m_messages.size(), 1u) << m_messages.front();
}

}  // namespace
