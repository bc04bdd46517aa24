// The Create tab's pane, its editor and the new artist and new track dialogs
// with real widgets over a real playlist store and session, answered by a
// loopback server; the user-interface thread is the pump.
#include "client/app/Session.h"
#include "client/editing/AllPlaylistsPane.h"
#include "client/editing/NewTrackArtistDlg.h"
#include "client/editing/NewTrackDlg.h"
#include "client/editing/PlaylistEditorPane.h"
#include "client/editing/PlaylistStore.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "tests/client/editing/EditingModelFixture.h"
#include "tests/client/editing/PlaylistGridDriver.h"
#include "tests/support/GridDriver.h"
#include "tests/support/PopupMenuDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

constexpr char kListPage[] = "GetUserPlaylists.jsp";
constexpr char kDetailsPage[] = "GetPlaylistDetails.jsp";
constexpr char kUpdatePage[] = "UpdatePlaylistXML.jsp";

const std::string kNotLoggedIn = "You are not logged in.  Log in to create or edit playlists.";
const std::string kUnresolved = "This playlist contains unresolved performances and cannot be published.";

class CreatePanes : public EditingModelFixture {
protected:
    void SetUp() override
    {
        EditingModelFixture::SetUp();
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned type) {
            messages.push_back(text);
            return (type & kMbYesNo) == kMbYesNo ? m_answer : kIdOk;
        });
        Answer(kListPage, "<R>" + PlaylistXml(5, "Five") + PlaylistXml(6, "Six") + PlaylistXml(7, "Seven") + "</R>");
        m_server.SetResponse(PathOf(kDetailsPage), [](const RecordedRequest& request) {
            const std::string id = request.Form("playlist");
            ScriptedResponse response;
            response.body = "<R><PlaylistDetail>" + PlaylistXml(std::stoi(id), "x") + "</PlaylistDetail>" +
                            TrackXml(std::stoi(id) * 10, "T" + id, "A") + "</R>";
            return response;
        });
        Answer(kUpdatePage, "<R><PlaylistID>90</PlaylistID></R>");
        m_session.AddSessionListener(&m_store);
        m_host.resize(700, 600);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
        PaneServices services;
        services.session = &m_session;
        services.playlists = &m_store;
        m_pane = new CAllPlaylistsPane(services);
        m_pane->Create(&m_host, IDC_TAB_PANE);
    }
    void TearDown() override
    {
        delete m_pane;
        m_session.RemoveSessionListener(&m_store);
        EditingModelFixture::TearDown();
    }

    void LogIn(const std::string& token = "tok")
    {
        m_session.AdoptSession("mira", 42, token);
        ASSERT_TRUE(m_pump.RunUntil([&] { return m_store.IsLoaded(); }));
    }

    CItemListGridCtrl& List() { return *m_pane->Grid(); }
    CPlaylistEditorPane& Editor() { return *m_pane->Editor(); }
    CPlaylistGridDriver Grid() { return CPlaylistGridDriver(*Editor().Grid()); }
    void Click(const QWidget* parent, int id)
    {
        QTest::mouseClick(FindControlAs<QAbstractButton>(parent, id), Qt::LeftButton);
    }
    bool Enabled(int id) { return FindControlAs<QAbstractButton>(m_pane, id)->isEnabled(); }
    Strings ListRows()
    {
        Strings rows;
        for (int i = 0; i < List().GetRowCount(); ++i)
            rows.push_back(List().GetCellText(i, 0));
        return rows;
    }
    int ListRow(const std::string& name)
    {
        const Strings rows = ListRows();
        return static_cast<int>(std::find(rows.begin(), rows.end(), name) - rows.begin());
    }
    void SelectListRow(const std::string& name) { ClickRow(List(), ListRow(name)); }
    /// Waits until the server has had requests in all, and runs the answer
    /// of the one exchange then under way.
    bool Answered(std::size_t requests)
    {
        if (!m_server.WaitForRequests(requests) || !m_pump.WaitForQueued(1))
            return false;
        m_pump.RunPending();
        return true;
    }
    /// Publishes and deletes sent since the last Forget.
    std::vector<RecordedRequest> Updates() const
    {
        const std::vector<RecordedRequest> all = m_server.RequestsTo(PathOf(kUpdatePage));
        return std::vector<RecordedRequest>(all.begin() + static_cast<std::ptrdiff_t>(m_updatesSeen), all.end());
    }
    void ForgetUpdates() { m_updatesSeen = m_server.RequestsTo(PathOf(kUpdatePage)).size(); }

    CSession m_session;
    CPlaylistStore m_store{nullptr, nullptr};
    QWidget m_host;
    CAllPlaylistsPane* m_pane = nullptr;
    int m_answer = kIdYes;
    std::size_t m_updatesSeen = 0;
};

// The Delete button and the menu's Delete ask first; Yes removes the playlist's
// row, once, and tells the server; No keeps both.
TEST_F(CreatePanes, DeleteRemovesThePlaylistsRowOnce)
{
    struct Case {
        const char* name;
        bool fromMenu;
        int answer;
        Strings rows;
        std::size_t deletes;
    };
    const Case cases[] = {
        {"button, Yes", false, kIdYes, {"Five", "Seven"}, 1},
        {"menu, Yes", true, kIdYes, {"Five", "Seven"}, 1},
        {"button, No", false, kIdNo, {"Five", "Six", "Seven"}, 0},
        {"menu, No", true, kIdNo, {"Five", "Six", "Seven"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetUpdates();
        messages.clear();
        LogIn();
        ASSERT_EQ(ListRows(), (Strings{"Five", "Six", "Seven"}));
        m_answer = c.answer;
        const std::size_t before = m_server.RequestCount();
        SelectListRow("Six");
        if (c.fromMenu) {
            EXPECT_EQ(ChooseFromRowMenu(List(), ListRow("Six"), ID_PLAYLIST_DELETE), 1);
        } else {
            Click(m_pane, IDC_MY_PLAYLISTS_DELETE);
        }
        EXPECT_EQ(messages, Strings{"Are you sure you want to delete playlist 'Six'?"});
        EXPECT_EQ(ListRows(), c.rows);
        EXPECT_EQ(m_store.GetCount(), static_cast<int>(c.rows.size()));
        if (c.deletes > 0) {
            ASSERT_TRUE(Answered(before + 1));
        }
        ASSERT_EQ(Updates().size(), c.deletes);
        if (c.deletes > 0) {
            EXPECT_EQ(Updates().front().body, "UserToken=tok&App=Tessarin&Action=Delete&ID=6");
        }
        EXPECT_EQ(ListRows(), c.rows) << "the answer removes no further row";
    }
}

// Play Local, its tool tip and the menu's "Play (%d Local)" follow the local
// files of the chosen playlist, in the list and in the editor.
TEST_F(CreatePanes, PlayLocalFollowsThePlaylistsLocalFiles)
{
    LogIn();
    m_store.GetAt(ListRow("Six"))->Tracks[0]->localFilePath = "/music/six.mp3";
    const std::string noPlay = "Playlist contains no MP3 files to play";
    const std::string noExport = "Playlist contains no MP3 files to export";
    struct Case {
        const char* row;
        bool enabled;
        std::string menuText;
    };
    const Case cases[] = {
        {"Five", false, "Play (0 Local)"},
        {"Six", true, "Play (1 Local)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        SelectListRow(c.row);
        EXPECT_EQ(Enabled(IDC_PLAY_LOCAL), c.enabled);
        EXPECT_EQ(m_pane->ToolTipText(IDC_PLAY_LOCAL).toStdString() == noPlay, !c.enabled);
        std::string text;
        bool menuEnabled = !c.enabled;
        CPopupMenuDriver driver([&](QMenu* menu) {
            if (QAction* play = FindCommandAction(menu, ID_ITEM_PLAY)) {
                text = play->text().toStdString();
                menuEnabled = play->isEnabled();
            }
            CPopupMenuDriver::Dismiss(menu);
        });
        RightClickRow(List(), ListRow(c.row));
        EXPECT_EQ(driver.shown, 1);
        EXPECT_EQ(text, c.menuText);
        EXPECT_EQ(menuEnabled, c.enabled);

        Click(m_pane, IDC_MY_PLAYLISTS_EDIT);
        ASSERT_TRUE(Editor().isVisible());
        EXPECT_EQ(Editor().ToolTipText(IDC_EDITOR_EXPORT).toStdString() == noExport, !c.enabled);
        EXPECT_EQ(Editor().ToolTipText(IDC_PLAY_LOCAL).toStdString() == noPlay, !c.enabled);
        Click(&Editor(), IDC_EDITOR_CANCEL);
        ASSERT_FALSE(Editor().isVisible());
    }
}

// The session ends or changes while the editor is open: the editor closes
// without publishing and forgets its playlist; the list shows the new state
// and a new playlist can be made afterwards.
TEST_F(CreatePanes, SessionChangeWhileEditingClosesTheEditor)
{
    struct Case {
        const char* name;
        bool editNew;  // New, else Edit of "Six"
        bool logOut;   // else another member logs in
        Strings rows;
    };
    const Case cases[] = {
        {"new playlist, logout", true, true, {kNotLoggedIn}},
        {"stored playlist, logout", false, true, {kNotLoggedIn}},
        {"new playlist, other login", true, false, {"Five", "Six", "Seven"}},
        {"stored playlist, other login", false, false, {"Five", "Six", "Seven"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogIn();
        ForgetUpdates();
        if (c.editNew) {
            Click(m_pane, IDC_MY_PLAYLISTS_NEW);
        } else {
            SelectListRow("Six");
            Click(m_pane, IDC_MY_PLAYLISTS_EDIT);
        }
        ASSERT_TRUE(Editor().isVisible());
        ASSERT_NE(m_pane->CurrentPlaylist(), nullptr);
        QTest::keyClicks(FindControlAs<QLineEdit>(&Editor(), IDC_EDITOR_NAME), "Changed");

        if (c.logOut) {
            m_session.Logout();
        } else {
            m_session.AdoptSession("kai", 43, "other");
            ASSERT_TRUE(m_pump.RunUntil([&] { return m_store.IsLoaded(); }));
        }
        EXPECT_FALSE(Editor().isVisible());
        EXPECT_TRUE(m_pane->isVisible());
        EXPECT_EQ(m_pane->CurrentPlaylist(), nullptr);
        EXPECT_EQ(Editor().Playlist(), nullptr);
        EXPECT_EQ(ListRows(), c.rows);
        EXPECT_EQ(Enabled(IDC_MY_PLAYLISTS_NEW), !c.logOut);
        for (const RecordedRequest& sent : Updates())
            EXPECT_EQ(sent.body.find("Action=Create"), std::string::npos) << "nothing is published";

        // Afterwards New opens the editor on an empty playlist.
        if (c.logOut)
            LogIn();
        Click(m_pane, IDC_MY_PLAYLISTS_NEW);
        ASSERT_TRUE(Editor().isVisible());
        EXPECT_EQ(FindControlAs<QLineEdit>(&Editor(), IDC_EDITOR_NAME)->text(), QStringLiteral("New Playlist"));
        EXPECT_EQ(Grid().Rows(), 1);
        Click(&Editor(), IDC_EDITOR_CANCEL);
        EXPECT_FALSE(Editor().isVisible());
        EXPECT_EQ(ListRows(), (Strings{"Five", "Six", "Seven"}));
    }
}

// A row that is still being looked up, waits for the member's choice or
// failed to be looked up keeps the playlist from being published.
TEST_F(CreatePanes, PublishIsRefusedWhileARowIsUnresolved)
{
    struct Case {
        const char* name;
        const char* artist;
        const char* title;
        bool hold;  // the lookup is not answered yet
        const char* state;
    };
    const Case cases[] = {
        {"working", "Seether", "Fine Again", true, "working"},
        {"click here", "Beatles", "Help", false, "click here"},
        {"error", "Seether", "Broken", false, "error"},
    };
    LogIn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_failures = 1;
        messages.clear();
        ForgetUpdates();
        Click(m_pane, IDC_MY_PLAYLISTS_NEW);
        ASSERT_TRUE(Editor().isVisible());
        if (c.hold)
            m_server.Hold(PathOf(kResolvePage));
        const int row = Grid().TypeTrack(c.artist, c.title);
        if (c.hold) {
            ASSERT_TRUE(m_server.WaitForHeld(1));
        } else {
            ASSERT_TRUE(m_pump.RunUntil([&] { return Grid().State(row) != "working"; }));
        }
        ASSERT_EQ(Grid().State(row), c.state);

        Click(&Editor(), IDC_EDITOR_PUBLISH);
        EXPECT_EQ(messages, Strings{kUnresolved});
        EXPECT_TRUE(Editor().isVisible());
        EXPECT_TRUE(Updates().empty());
        if (c.hold) {
            m_server.Release(PathOf(kResolvePage));
            ASSERT_TRUE(m_pump.RunUntil([&] { return Grid().State(row) != "working"; }));
        }
        const std::size_t before = m_server.RequestCount();
        Click(&Editor(), IDC_EDITOR_CANCEL);
        ASSERT_FALSE(Editor().isVisible());
        ASSERT_TRUE(Answered(before + 1));  // the new playlist's delete
    }
}

// A publish the server does not take leaves the editor open with the failure
// message and the playlist as new; the next one, taken, closes it.
TEST_F(CreatePanes, FailedPublishKeepsTheEditorOpen)
{
    struct Case {
        const char* name;
        int status;
        const char* body;
    };
    const Case cases[] = {
        {"server error", 500, ""},
        {"answer without a number", 200, "<R/>"},
        {"refusal", 200, "<R><Exception>Not allowed</Exception></R>"},
    };
    LogIn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        ForgetUpdates();
        Click(m_pane, IDC_MY_PLAYLISTS_NEW);
        QTest::keyClicks(FindControlAs<QLineEdit>(&Editor(), IDC_EDITOR_NAME), "Fresh");
        m_server.SetResponse(PathOf(kUpdatePage), c.status, c.body);
        Click(&Editor(), IDC_EDITOR_PUBLISH);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), "The playlist could not be published to Corvanta.");
        EXPECT_TRUE(Editor().isVisible());
        EXPECT_FALSE(m_pane->isVisible());
        ASSERT_NE(m_pane->CurrentPlaylist(), nullptr);
        EXPECT_EQ(m_pane->CurrentPlaylist()->Summary.playlistID, 0);

        Answer(kUpdatePage, "<R><PlaylistID>90</PlaylistID></R>");
        Click(&Editor(), IDC_EDITOR_PUBLISH);
        EXPECT_FALSE(Editor().isVisible());
        const std::vector<RecordedRequest> sent = Updates();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].Form("Action"), "Create");
        EXPECT_EQ(sent[1].Form("Action"), "Create") << "the failed publish made nothing";
        EXPECT_EQ(ListRows().back(), "Fresh");
        // Gone again for the next case.
        const std::size_t before = m_server.RequestCount();
        SelectListRow("Fresh");
        Click(m_pane, IDC_MY_PLAYLISTS_DELETE);
        ASSERT_EQ(ListRows().back(), "Seven");
        ASSERT_TRUE(Answered(before + 1));
    }
}

// The new artist and new track dialogs: OK on "add new" makes the item; an
// answer that carries no number made none, and the dialog stays open with
// its message.
TEST_F(CreatePanes, ANewItemWhoseAnswerHasNoNumberIsAFailure)
{
    struct Case {
        const char* name;
        bool artist;  // else a track
        int status;
        std::string body;
        std::int32_t made;  // 0: a failure
    };
    const Case cases[] = {
        {"artist made", true, 200, "<R><ArtistID>77</ArtistID></R>", 77},
        {"artist without a number", true, 200, "<R/>", 0},
        {"artist refused", true, 500, "", 0},
        {"track made", false, 200, "<R><PerformanceID>88</PerformanceID></R>", 88},
        {"track without a number", false, 200, "<R><ArtistID>77</ArtistID></R>", 0},
        {"track refused", false, 500, "", 0},
    };
    LogIn();
    Answer("search/ResolveArtists.jsp", "<R/>");
    PaneServices services;
    services.session = &m_session;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        const char* page = c.artist ? "UpdateArtistXML.jsp" : "UpdatePerformanceXML.jsp";
        m_server.SetResponse(PathOf(page), c.status, c.body);
        std::unique_ptr<CNewCatalogueItemDlg> dialog;
        if (c.artist) {
            auto artist = std::make_unique<CNewTrackArtistDlg>(services, &m_host);
            artist->SetArtistName("Quux");
            dialog = std::move(artist);
        } else {
            auto track = std::make_unique<CNewTrackDlg>(services, &m_host);
            track->SetArtistName("Quux");
            track->SetArtistID(77);
            track->SetTrackName("Zephyr");
            dialog = std::move(track);
        }
        dialog->show();
        ASSERT_TRUE(m_pump.RunUntil(
            [&] { return dialog->List()->isEnabled() || dialog->List()->GetCellText(0, 0) == "No suggestions."; }));
        const int addNew = c.artist ? IDC_SUGGEST_ADD_ARTIST : IDC_SUGGEST_ADD_TRACK;
        QTest::mouseClick(FindControlAs<QRadioButton>(dialog.get(), addNew), Qt::LeftButton);
        ASSERT_TRUE(dialog->OkButton()->isEnabled());
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        ASSERT_NE(dialog->ProgressWindow(), nullptr);
        EXPECT_EQ(dialog->ProgressWindow()->Text(), c.artist ? "Creating Artist" : "Creating Track");
        ASSERT_TRUE(m_pump.RunUntil([&] { return !dialog->isVisible() || !messages.empty(); }));
        if (c.made) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_TRUE(messages.empty());
            if (c.artist) {
                EXPECT_EQ(static_cast<CNewTrackArtistDlg&>(*dialog).ResultArtistID(), c.made);
                EXPECT_EQ(static_cast<CNewTrackArtistDlg&>(*dialog).ResultName(), "Quux");
            } else {
                EXPECT_EQ(static_cast<CNewTrackDlg&>(*dialog).Result().performanceID, c.made);
                EXPECT_EQ(static_cast<CNewTrackDlg&>(*dialog).Result().SongName, "Zephyr");
            }
        } else {
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(dialog->isEnabled());
            EXPECT_EQ(dialog->ProgressWindow(), nullptr);
            EXPECT_EQ(messages, Strings{c.artist ? "Could not create artist." : "Could not create track."});
        }
    }
}

}  // namespace
