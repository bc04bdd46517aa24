// The Search tab's forms and results pane with real widgets over a real search
// controller, favorites model and lookup tables, answered by a loopback
// server; the user-interface thread is the pump.
#include "client/app/Session.h"
#include "client/catalogue/LookupTablesModel.h"
#include "client/favorites/FavoritesModel.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/search/AdvancedSearchForm.h"
#include "client/search/SearchController.h"
#include "client/search/SearchFormPane.h"
#include "client/search/SearchResultsPane.h"
#include "client/search/SimpleSearchForm.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "platform/MessageBox.h"
#include "tests/client/search/ResultRows.h"
#include "tests/support/GridDriver.h"
#include "tests/support/MemoryClipboard.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/RequestFixture.h"
#include "tests/support/SummaryXml.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using namespace summary_xml;

constexpr char kPlaylistsPage[] = "search/SearchForPlaylists.jsp";
constexpr char kUsersPage[] = "search/SearchForUsers.jsp";
constexpr char kArtistsPage[] = "search/SearchForArtists.jsp";
constexpr char kTracksPage[] = "search/SearchForPerformances.jsp";
constexpr char kSummariesPage[] = "search/GetSummaries.jsp";
constexpr char kTablesPage[] = "TablesToXML.jsp";
constexpr char kAddPage[] = "bookmark/AddBookmark.jsp";
constexpr char kMore[] = "Click here for more results...";
constexpr char kRetrieving[] = "Retrieving next results...";

const std::string kTables =
    "<Tables><Select Name='Genres'><Item ID='201' Text='Rock'/><Item ID='301' Text='Blues'/></Select>"
    "<Select Name='Mood'><Item ID='3' Text='Mellow'/><Item ID='4' Text='Upbeat'/></Select>"
    "<Select Name='Theme'><Item ID='1' Text='Road Trip'/><Item ID='2' Text='Workout'/></Select></Tables>";

// A summary of each kind, named after its identifier, as GetSummaries names the kinds.
std::string SummaryOf(const std::string& type, int id)
{
    const std::string n = std::to_string(id);
    if (type == "PLAYLIST")
        return Playlist(id, ("List " + n).c_str(), 5, "ann", 1, 0);
    if (type == "USER")
        return Playmaker(id, ("user" + n).c_str(), 1, 0);
    if (type == "ARTIST")
        return Artist(id, ("Artist " + n).c_str(), 0);
    return Track(id, "Kestrel", ("Song " + n).c_str(), true, 0);
}
// How the pane shows that summary.
std::string RowOf(const std::string& type, int id)
{
    const std::string n = std::to_string(id);
    if (type == "PLAYLIST")
        return "List " + n + " by ann";
    if (type == "USER")
        return "user" + n;
    if (type == "ARTIST")
        return "Artist " + n;
    return "Kestrel : Song " + n;
}
Strings RowsOf(const std::string& type, int first, int last)
{
    Strings rows;
    for (int id = first; id <= last; ++id)
        rows.push_back(RowOf(type, id));
    return rows;
}

// A search's answer: the summaries of the first identifiers and all identifiers from first on.
std::string SearchAnswer(const std::string& type, int first, int summaries, int ids)
{
    std::string body = "<Results>";
    for (int i = 0; i < summaries; ++i)
        body += SummaryOf(type, first + i);
    for (int i = 0; i < ids; ++i)
        body += "<ID>" + std::to_string(first + i) + "</ID>";
    return body + "</Results>";
}

// GetSummaries as the server answers it: one summary per identifier asked for.
ScriptedResponse Summaries(const RecordedRequest& request)
{
    std::string body = "<Summaries>";
    std::stringstream ids(request.Form("IDs"));
    for (std::string id; std::getline(ids, id, ',');)
        body += SummaryOf(request.Form("Type"), std::stoi(id));
    return {200, body + "</Summaries>"};
}

std::string IdRange(int from, int to)
{
    std::string text;
    for (int id = from; id <= to; ++id)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

std::unique_ptr<CSearchQuery> Query(std::int32_t kind, SearchField field, const std::string& text)
{
    return std::make_unique<CSearchQuery>(kind, std::vector<SearchCriterion>{{field, 0, text, 0}});
}

template <class... Parts>
Strings Join(const Parts&... parts)
{
    Strings all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

class SearchPaneTest : public RequestFixture {
protected:
    void SetUp() override
    {
        RequestFixture::SetUp();
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            m_messages.push_back(text);
            return kIdOk;
        });
        for (const char* page : {kPlaylistsPage, kUsersPage, kArtistsPage, kTracksPage})
            Answer(page, "<Results/>");
        Answer(kTablesPage, kTables);
        m_server.SetResponse(PathOf(kSummariesPage), Summaries);
        m_host.resize(520, 700);
        m_host.show();
        m_forms = new CSearchFormPane(Services());
        m_forms->CreateAndShow(&m_host, IDC_SEARCH_FORM_PANE);
        m_forms->setGeometry(0, 0, 520, m_forms->NaturalHeight());
        m_results = new CSearchResultsPane(Services());
        m_results->CreateAndShow(&m_host, IDC_TAB_PANE);
        m_results->setGeometry(0, m_forms->height(), 520, 700 - m_forms->height());
    }
    void TearDown() override
    {
        delete m_forms;
        delete m_results;
        SetMessageBoxHandler({});
        RequestFixture::TearDown();
    }

    PaneServices Services()
    {
        PaneServices services;
        services.session = &m_session;
        services.search = &m_controller;
        services.favorites = &m_model;
        services.lookupTables = &m_tables;
        services.detailPages = &m_pages;
        services.previews = &m_previews;
        services.clipboard = &m_clipboard;
        return services;
    }

    CItemListGridCtrl& Grid() { return *m_results->Grid(); }
    CSimpleSearchForm& Simple() { return *m_forms->SimpleForm(); }
    CAdvancedSearchForm& Advanced() { return *m_forms->AdvancedForm(); }
    template <class Control>
    Control& In(QWidget* pane, int id)
    {
        Control* control = FindControlAs<Control>(pane, id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    Strings Rows() { return ResultRows(Grid()); }
    int RowIndex(const std::string& text)
    {
        const Strings rows = Rows();
        const auto found = std::find(rows.begin(), rows.end(), text);
        return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
    }
    void Click(int index) { ClickRow(Grid(), index); }
    void Choose(int index, unsigned command) { EXPECT_EQ(ChooseFromRowMenu(Grid(), index, command), 1); }
    std::string MenuShape(int index) { return RowMenuShape(Grid(), index); }

    bool Idle()
    {
        return m_pump.RunUntil([&] { return m_controller.PendingCount() == 0; });
    }
    bool Appended(std::size_t pages)
    {
        return m_pump.RunUntil([&] { return m_server.RequestsTo(PathOf(kSummariesPage)).size() >= pages; }) &&
               WaitForWorkerThreads(std::chrono::seconds(20)) && m_pump.RunPending() >= 0;
    }
    std::int32_t Search(std::int32_t kind, SearchField field, const std::string& text)
    {
        return m_controller.Search(Query(kind, field, text));
    }
    /// A track search for text answered with summaries of 20 of ids identifiers from first on.
    std::int32_t AnsweredTrackSearch(const std::string& text, int first, int ids)
    {
        Answer(kTracksPage, SearchAnswer("PERFORMANCE", first, std::min(ids, 20), ids));
        const std::int32_t index = Search(kSearchTracks, kFieldTrackName, text);
        EXPECT_TRUE(Idle());
        return index;
    }
    void ChooseEntry(QComboBox& combo, int index)
    {
        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(&combo, Qt::Key_Down);
        ASSERT_EQ(combo.currentIndex(), index);
    }
    Strings Posted(std::size_t from)
    {
        Strings posted;
        const auto requests = m_server.Requests();
        for (std::size_t i = from; i < requests.size(); ++i)
            posted.push_back(requests[i].path.substr(PathOf("").size()) + " " + requests[i].body);
        std::sort(posted.begin(), posted.end());
        return posted;
    }
    void LogIn() { m_session.AdoptSession("demo", 1, "tok"); }
    /// The server's tables replace the defaults.
    void FetchTables()
    {
        struct Told : ITablesListener {
            void OnTablesChanged() override { told = true; }
            bool told = false;
        } listener;
        m_tables.AddTablesListener(&listener);
        ASSERT_EQ(m_tables.Fetch(), S_OK);
        EXPECT_TRUE(m_pump.RunUntil([&] { return listener.told; }));
        m_tables.RemoveTablesListener(&listener);
    }
    static Strings Entries(const QComboBox& combo)
    {
        Strings entries;
        for (int i = 0; i < combo.count(); ++i)
            entries.push_back(combo.itemText(i).toStdString());
        return entries;
    }

    CSession m_session;
    CSearchController m_controller;
    CFavoritesModel m_model{[this] { return m_session.Token(); }};
    CLookupTablesModel m_tables;
    CRecordingPages m_pages;
    CRecordingPreviews m_previews;
    CMemoryClipboard m_clipboard;
    Strings m_messages;
    QWidget m_host;
    CSearchFormPane* m_forms = nullptr;
    CSearchResultsPane* m_results = nullptr;
};

// ---- the forms ----

TEST_F(SearchPaneTest, TheFormPaneShowsTheFormOfTheTabClicked)
{
    EXPECT_EQ(ControlId(m_forms), IDC_SEARCH_FORM_PANE);
    CColorTabCtrl& tabs = In<CColorTabCtrl>(m_forms, IDC_SEARCH_TABS);
    ASSERT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetItemTitle(0), "Simple");
    EXPECT_EQ(tabs.GetItemTitle(1), "Advanced");
    EXPECT_EQ(&In<CSimpleSearchForm>(m_forms, IDC_SEARCH_SIMPLE_FORM), &Simple());
    EXPECT_EQ(&In<CAdvancedSearchForm>(m_forms, IDC_SEARCH_ADVANCED_FORM), &Advanced());
    EXPECT_TRUE(Simple().isVisible());
    EXPECT_FALSE(Advanced().isVisible());
    for (int tab : {1, 0, 1}) {
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetItemRect(tab).center());
        EXPECT_EQ(Advanced().isVisible(), tab == 1);
        EXPECT_EQ(Simple().isVisible(), tab == 0);
    }
    // Both forms fill the strip's area below its band; the strip fills the pane but for its margins.
    const QRect strip = tabs.geometry();
    EXPECT_EQ(Simple().geometry(), CColorTabCtrl::AdjustRect(false, strip));
    EXPECT_EQ(Advanced().geometry(), Simple().geometry());
    EXPECT_EQ(m_forms->width() - strip.right() - 1, strip.left());
    EXPECT_GE(Advanced().height(), Advanced().NaturalHeight());
}

TEST_F(SearchPaneTest, SimpleFormStartsTheSearchesOfEachMode)
{
    QLineEdit& text = In<QLineEdit>(&Simple(), IDC_SEARCH_TEXT);
    QTest::keyClicks(&text, "blue moon");
    const std::string v = "\"blue moon\"";
    const std::string q = "=blue+moon&";
    auto none = [&](const std::string& title, bool inner) {
        return Strings{(inner ? "## " : "# ") + title + v + " (0)", "No matches found."};
    };
    const Strings playlists =
        Join(none("Playlists Where Playlist Title Is ", true), none("Playlists Where Playmaker Name Is ", true),
             none("Playlists Where Artist Name Is ", true), none("Playlists Where Track Name Is ", true));
    const Strings playlistPosts = {std::string(kPlaylistsPage) + " ArtistName" + q + "ArtistNameSearchType=0",
                                   std::string(kPlaylistsPage) + " PerformanceTitle" + q +
                                       "PerformanceTitleSearchType=0",
                                   std::string(kPlaylistsPage) + " PlaylistTitle" + q + "PlaylistTitleSearchType=0",
                                   std::string(kPlaylistsPage) + " UserHandle" + q + "UserHandleSearchType=0"};
    const std::string users = std::string(kUsersPage) + " UserHandle" + q + "UserHandleSearchType=0";
    const std::string artists = std::string(kArtistsPage) + " ArtistName" + q + "ArtistNameSearchType=0";
    const std::string tracks = std::string(kTracksPage) + " PerformanceTitle" + q + "PerformanceTitleSearchType=0";
    struct Case {
        int radio;
        Strings posts;  // sorted
        Strings rows;
    };
    Strings allPosts = Join(playlistPosts, Strings{users, artists, tracks});
    std::sort(allPosts.begin(), allPosts.end());
    const Case cases[] = {
        {IDC_SEARCH_PLAYLISTS, playlistPosts, Join(Strings{"# Search For Playlists Containing " + v}, playlists)},
        {IDC_SEARCH_PLAYMAKERS, {users}, none("Playmakers Where Playmaker Name Is ", false)},
        {IDC_SEARCH_ARTISTS, {artists}, none("Artists Where Artist Name Is ", false)},
        {IDC_SEARCH_TRACKS, {tracks}, none("Tracks Where Track Name Is ", false)},
        {IDC_SEARCH_ALL, allPosts,
         Join(Strings{"# Search For All Items Containing " + v}, playlists,
              none("Playmakers Where Playmaker Name Is ", true), none("Artists Where Artist Name Is ", true),
              none("Tracks Where Track Name Is ", true))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        m_results->ClearResults();
        QTest::mouseClick(&In<QRadioButton>(&Simple(), c.radio), Qt::LeftButton);
        const std::size_t before = m_server.RequestCount();
        QTest::keyClick(&text, Qt::Key_Return);
        ASSERT_TRUE(Idle());
        ASSERT_TRUE(m_server.WaitForRequests(before + c.posts.size()));
        EXPECT_EQ(Posted(before), c.posts);
        EXPECT_EQ(Rows(), c.rows);
    }
}

TEST_F(SearchPaneTest, SimpleSearchButtonNeedsTextAndNoSearchUnderWay)
{
    QLineEdit& text = In<QLineEdit>(&Simple(), IDC_SEARCH_TEXT);
    CColorButton& button = In<CColorButton>(&Simple(), IDC_SEARCH_BUTTON);
    EXPECT_FALSE(button.isEnabled()) << "disabled at first";
    QTest::keyClick(&text, Qt::Key_Return);
    EXPECT_EQ(m_server.RequestCount(), 0u) << "Enter starts nothing while the button is disabled";

    QTest::keyClicks(&text, "x");
    EXPECT_TRUE(button.isEnabled());
    m_server.Hold(PathOf(kPlaylistsPage));
    QTest::mouseClick(&In<QRadioButton>(&Simple(), IDC_SEARCH_ALL), Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isEnabled()) << "busy";
    EXPECT_TRUE(Advanced().IsBusy()) << "every form is busy while any search is out";
    ASSERT_TRUE(m_server.WaitForRequests(7));
    QTest::keyClick(&text, Qt::Key_Return);
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.PendingCount() == 4; }));
    EXPECT_FALSE(button.isEnabled()) << "still busy: four searches are out";
    m_server.Release(PathOf(kPlaylistsPage));
    ASSERT_TRUE(Idle());
    EXPECT_TRUE(button.isEnabled());
    EXPECT_EQ(m_server.RequestCount(), 7u) << "Enter while busy started nothing";

    text.clear();
    EXPECT_FALSE(button.isEnabled());
}

TEST_F(SearchPaneTest, AdvancedFormFieldsOfEachKindAndTheirInputs)
{
    FetchTables();
    CColorTabCtrl& tabs = In<CColorTabCtrl>(m_forms, IDC_SEARCH_TABS);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetItemRect(1).center());
    QComboBox& kind = In<QComboBox>(&Advanced(), IDC_SEARCH_FOR);
    QComboBox& field = In<QComboBox>(&Advanced(), IDC_SEARCH_BY);
    QLineEdit& text = In<QLineEdit>(&Advanced(), IDC_SEARCH_TEXT);
    QComboBox& theme = In<QComboBox>(&Advanced(), IDC_SEARCH_THEME);
    QComboBox& list = In<QComboBox>(&Advanced(), IDC_SEARCH_LIST);
    EXPECT_EQ(Entries(kind), (Strings{"Playlists", "Playmakers", "Artists", "Tracks"}));
    EXPECT_EQ(kind.currentIndex(), 0);
    // The input each entry shows: t the edit, h the theme combo, l the genre or mood list.
    struct Case {
        int kind;
        Strings entries;
        const char* inputs;
        std::vector<SearchField> fields;
    };
    const Case cases[] = {
        {0,
         {"Playlist Title", "Playmaker Name", "Artist Name", "Track Name", "Theme", "Genre", "Mood"},
         "tttthll",
         {kFieldPlaylistTitle, kFieldPlaymakerName, kFieldArtistName, kFieldTrackName, kFieldTheme, kFieldGenre,
          kFieldMood}},
        {1, {"Playmaker Name"}, "t", {kFieldPlaymakerName}},
        {2, {"Artist Name", "Track Name"}, "tt", {kFieldArtistName, kFieldTrackName}},
        {3, {"Artist Name", "Track Name", "Album Title"}, "ttt", {kFieldArtistName, kFieldTrackName, kFieldAlbumTitle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ChooseEntry(kind, c.kind);
        EXPECT_EQ(Advanced().Kind(), c.kind + 1);
        EXPECT_EQ(Entries(field), c.entries);
        EXPECT_EQ(field.currentIndex(), 0) << "the first entry is chosen";
        EXPECT_EQ(Advanced().Field(), c.fields.front());
        std::string inputs;
        for (int i = 0; i < field.count(); ++i) {
            ChooseEntry(field, i);
            EXPECT_EQ(Advanced().Field(), c.fields[static_cast<std::size_t>(i)]);
            const int shown = int(text.isVisible()) + int(theme.isVisible()) + int(list.isVisible());
            EXPECT_EQ(shown, 1) << i;
            for (QWidget* input : std::initializer_list<QWidget*>{&text, &theme, &list})
                EXPECT_EQ(input->isEnabled(), input->isVisible()) << "hidden inputs are disabled";
            inputs += text.isVisible() ? 't' : theme.isVisible() ? 'h' : 'l';
        }
        EXPECT_EQ(inputs, c.inputs);
    }

    // The choices come from the tables "Theme", "Genres" and "Mood", the first one chosen.
    ChooseEntry(kind, 0);
    ChooseEntry(field, 4);
    EXPECT_EQ(Entries(theme), (Strings{"Road Trip", "Workout"}));
    EXPECT_EQ(theme.currentText(), "Road Trip");
    EXPECT_TRUE(theme.isEditable());
    ChooseEntry(field, 5);
    EXPECT_EQ(Entries(list), (Strings{"Rock", "Blues"}));
    EXPECT_EQ(list.currentIndex(), 0);
    EXPECT_EQ(list.itemData(1).toInt(), 301);
    ChooseEntry(field, 6);
    EXPECT_EQ(Entries(list), (Strings{"Mellow", "Upbeat"}));
    EXPECT_EQ(list.itemData(0).toInt(), 3);
}

TEST_F(SearchPaneTest, AdvancedFormSearchesTheChosenField)
{
    FetchTables();
    CColorTabCtrl& tabs = In<CColorTabCtrl>(m_forms, IDC_SEARCH_TABS);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetItemRect(1).center());
    QComboBox& kind = In<QComboBox>(&Advanced(), IDC_SEARCH_FOR);
    QComboBox& field = In<QComboBox>(&Advanced(), IDC_SEARCH_BY);
    QLineEdit& text = In<QLineEdit>(&Advanced(), IDC_SEARCH_TEXT);
    QComboBox& theme = In<QComboBox>(&Advanced(), IDC_SEARCH_THEME);
    QComboBox& list = In<QComboBox>(&Advanced(), IDC_SEARCH_LIST);
    CColorButton& button = In<CColorButton>(&Advanced(), IDC_SEARCH_BUTTON);
    auto type = [&](const char* typed) {
        return [&, typed] {
            text.clear();
            QTest::keyClicks(&text, typed);
        };
    };
    struct Case {
        const char* what;
        int kind;
        int field;
        std::function<void()> input;
        const char* page;
        std::string body;
        std::string title;
    };
    const Case cases[] = {
        {"the typed text without its blanks", 3, 2, type("  Abbey Road  "), kTracksPage,
         "CDTitle=Abbey+Road&CDTitleSearchType=0", "# Tracks Where Album Title Is \"Abbey Road\" (0)"},
        {"artists by a track", 2, 1, type("x"), kArtistsPage, "PerformanceTitle=x&PerformanceTitleSearchType=0",
         "# Artists Where Track Name Is \"x\" (0)"},
        {"a playmaker", 1, 0, type("dj"), kUsersPage, "UserHandle=dj&UserHandleSearchType=0",
         "# Playmakers Where Playmaker Name Is \"dj\" (0)"},
        {"the theme chosen while the edit is empty", 0, 4, type(""), kPlaylistsPage,
         "Theme=Road+Trip&ThemeSearchType=0", "# Playlists Where Theme is \"Road Trip\" (0)"},
        {"a typed theme", 0, 4,
         [&] {
             theme.lineEdit()->clear();
             QTest::keyClicks(theme.lineEdit(), "Gym");
         },
         kPlaylistsPage, "Theme=Gym&ThemeSearchType=0", "# Playlists Where Theme is \"Gym\" (0)"},
        {"a genre by its table identifier", 0, 5, [&] { ChooseEntry(list, 1); }, kPlaylistsPage,
         "Genre=301&GenreSearchType=0", "# Playlists Where Genre Is \"Blues\" (0)"},
        {"a mood", 0, 6, [] {}, kPlaylistsPage, "Mood=3&MoodSearchType=0", "# Playlists Where Mood Is \"Mellow\" (0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_results->ClearResults();
        ChooseEntry(kind, c.kind);
        ChooseEntry(field, c.field);
        c.input();
        ASSERT_TRUE(button.isEnabled());
        const std::size_t before = m_server.RequestCount();
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_FALSE(button.isEnabled()) << "busy";
        ASSERT_TRUE(Idle());
        ASSERT_TRUE(m_server.WaitForRequests(before + 1));
        EXPECT_EQ(m_server.LastRequest().path, PathOf(c.page));
        EXPECT_EQ(m_server.LastRequest().body, c.body);
        EXPECT_EQ(Rows(), (Strings{c.title, "No matches found."}));
        EXPECT_TRUE(button.isEnabled());
    }

    // Blanks alone are no text.
    ChooseEntry(kind, 0);
    ChooseEntry(field, 0);
    type("   ")();
    EXPECT_FALSE(button.isEnabled());
    const std::size_t before = m_server.RequestCount();
    QTest::keyClick(&text, Qt::Key_Return);
    type(" t ")();
    EXPECT_TRUE(button.isEnabled());
    QTest::keyClick(&text, Qt::Key_Return);
    ASSERT_TRUE(Idle());
    ASSERT_TRUE(m_server.WaitForRequests(before + 1));
    EXPECT_EQ(m_server.RequestCount(), before + 1) << "Enter searched once, with the text";
    EXPECT_EQ(m_server.LastRequest().body, "PlaylistTitle=t&PlaylistTitleSearchType=0");
}

TEST_F(SearchPaneTest, AdvancedFormWithNothingToChooseStaysReadyForTheTables)
{
    // Before the server's tables arrive there is no "Mood" table.
    CColorTabCtrl& tabs = In<CColorTabCtrl>(m_forms, IDC_SEARCH_TABS);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetItemRect(1).center());
    QComboBox& field = In<QComboBox>(&Advanced(), IDC_SEARCH_BY);
    QComboBox& list = In<QComboBox>(&Advanced(), IDC_SEARCH_LIST);
    CColorButton& button = In<CColorButton>(&Advanced(), IDC_SEARCH_BUTTON);
    ChooseEntry(field, 6);
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(button.isEnabled());
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Return);
    Advanced().Search();
    EXPECT_FALSE(Advanced().IsBusy()) << "nothing was started, so nothing would end the busy state";
    EXPECT_TRUE(m_server.RequestsTo(PathOf(kPlaylistsPage)).empty());

    // The tables arrive while the form is open: the list fills.
    FetchTables();
    EXPECT_EQ(Entries(list), (Strings{"Mellow", "Upbeat"}));
    EXPECT_TRUE(button.isEnabled());
    ChooseEntry(list, 1);
    // Tables loaded again keep the member's choice where it still exists.
    Answer(kTablesPage,
           "<Tables><Select Name='Mood'><Item ID='9' Text='Dark'/><Item ID='4' Text='Upbeat'/></Select></Tables>");
    FetchTables();
    EXPECT_EQ(Entries(list), (Strings{"Dark", "Upbeat"}));
    EXPECT_EQ(list.currentText(), "Upbeat");
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_TRUE(Idle());
    ASSERT_TRUE(m_server.WaitForRequests(3));
    EXPECT_EQ(m_server.LastRequest().body, "Mood=4&MoodSearchType=0");
    EXPECT_FALSE(Advanced().IsBusy());
    EXPECT_TRUE(button.isEnabled());
}

// ---- the results pane ----

TEST_F(SearchPaneTest, ASearchIsListedThenPagedFiftyAtATime)
{
    m_server.Hold(PathOf(kTracksPage));
    Answer(kTracksPage, SearchAnswer("PERFORMANCE", 1001, 20, 130));
    const std::int32_t index = Search(kSearchTracks, kFieldTrackName, "love");
    const std::string title = "# Tracks Where Track Name Is \"love\"";
    EXPECT_EQ(Rows(), (Strings{title, "Searching..."}));
    m_server.Release(PathOf(kTracksPage));
    ASSERT_TRUE(Idle());
    Strings rows = Join(Strings{title + " (130)"}, RowsOf("PERFORMANCE", 1001, 1020), Strings{kMore});
    EXPECT_EQ(Rows(), rows);

    const struct {
        int from, to;
        const char* label;
        bool more;
    } pages[] = {{1021, 1070, "Results 21 - 70", true},
                 {1071, 1120, "Results 71 - 120", true},
                 {1121, 1130, "Results 121 - 130", false}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.label);
        Click(RowIndex(kMore));
        rows.back() = kRetrieving;
        EXPECT_EQ(Rows(), rows);
        ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.ResultCount(index) == page.to - 1000; }));
        EXPECT_EQ(m_server.LastRequest().body, "Type=PERFORMANCE&IDs=" + IdRange(page.from, page.to));
        rows.back() = page.label;
        rows = Join(rows, RowsOf("PERFORMANCE", page.from, page.to), page.more ? Strings{kMore} : Strings{});
        EXPECT_EQ(Rows(), rows);
    }
    EXPECT_EQ(m_server.RequestsTo(PathOf(kSummariesPage)).size(), 3u);
}

TEST_F(SearchPaneTest, EachSearchKeepsItsOwnRetrievingRow)
{
    m_server.SetResponse(PathOf(kTracksPage), [](const RecordedRequest& r) {
        return ScriptedResponse{200,
                                SearchAnswer("PERFORMANCE", r.Form("PerformanceTitle") == "a" ? 1001 : 5001, 20, 60)};
    });
    const std::int32_t a = Search(kSearchTracks, kFieldTrackName, "a");
    const std::int32_t b = Search(kSearchTracks, kFieldTrackName, "b");
    ASSERT_TRUE(Idle());
    // Both more-results rows are clicked before the first page is in.
    m_server.Hold(PathOf(kSummariesPage));
    Click(RowIndex(kMore));
    Click(RowIndex(kMore));
    const Strings waiting = Join(Strings{"# Tracks Where Track Name Is \"a\" (60)"}, RowsOf("PERFORMANCE", 1001, 1020),
                                 Strings{kRetrieving}, Strings{"# Tracks Where Track Name Is \"b\" (60)"},
                                 RowsOf("PERFORMANCE", 5001, 5020), Strings{kRetrieving});
    EXPECT_EQ(Rows(), waiting);
    m_server.Release(PathOf(kSummariesPage));
    ASSERT_TRUE(
        m_pump.RunUntil([&] { return m_controller.ResultCount(a) == 60 && m_controller.ResultCount(b) == 60; }));
    EXPECT_EQ(Rows(), Join(Strings{"# Tracks Where Track Name Is \"a\" (60)"}, RowsOf("PERFORMANCE", 1001, 1020),
                           Strings{"Results 21 - 60"}, RowsOf("PERFORMANCE", 1021, 1060),
                           Strings{"# Tracks Where Track Name Is \"b\" (60)"}, RowsOf("PERFORMANCE", 5001, 5020),
                           Strings{"Results 21 - 60"}, RowsOf("PERFORMANCE", 5021, 5060)));
}

TEST_F(SearchPaneTest, AnswersAndPagesOfSearchesNoLongerShownAreDropped)
{
    const Strings kept = {"# Playmakers Where Playmaker Name Is \"kept\" (0)", "No matches found."};
    Strings tenNewer;
    for (int i = 0; i < 10; ++i)
        tenNewer = Join(tenNewer, Strings{"# Artists Where Artist Name Is \"n" + std::to_string(i) + "\" (0)",
                                          "No matches found."});
    struct Case {
        const char* what;
        bool page;  // the page of an answered search is out, not the first answer
        std::function<void()> removal;
        Strings rows;
    };
    const auto clearThenSearch = [&] {
        QTest::mouseClick(&In<CColorButton>(m_results, IDC_SEARCH_CLEAR_RESULTS), Qt::LeftButton);
        Search(kSearchPlaymakers, kFieldPlaymakerName, "kept");
    };
    const auto tenNewerSearches = [&] {
        for (int i = 0; i < 10; ++i)
            Search(kSearchArtists, kFieldArtistName, "n" + std::to_string(i));
    };
    const Case cases[] = {
        {"Clear Results before the answer, a new search after it", false, clearThenSearch, kept},
        {"ten newer groups before the answer", false, tenNewerSearches, tenNewer},
        {"Clear Results while a page is out, a new search after it", true, clearThenSearch, kept},
        {"ten newer groups while a page is out", true, tenNewerSearches, tenNewer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_results->ClearResults();
        Answer(kTracksPage, SearchAnswer("PERFORMANCE", 1001, 20, 60));
        const char* held = c.page ? kSummariesPage : kTracksPage;
        m_server.Hold(PathOf(held));
        const std::size_t heldBefore = m_server.RequestsTo(PathOf(held)).size();
        const std::int32_t gone = Search(kSearchTracks, kFieldTrackName, "gone");
        if (c.page) {
            ASSERT_TRUE(Idle());
            Click(RowIndex(kMore));
        }
        ASSERT_TRUE(m_server.WaitForHeld(1));
        c.removal();
        ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.PendingCount() == (c.page ? 0 : 1); }));
        m_server.Release(PathOf(held));
        ASSERT_TRUE(m_server.WaitForRequests(heldBefore + 1));
        ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.ResultCount(gone) == (c.page ? 60 : 20); }));
        EXPECT_EQ(Rows(), c.rows);
    }
}

TEST_F(SearchPaneTest, TheMoreResultsRowIsKnownByItsDataNotItsText)
{
    // An artist whose name is the more-results row's text.
    std::string answer = "<Results>" + Artist(7, kMore, 0);
    for (int id = 8; id <= 26; ++id)
        answer += SummaryOf("ARTIST", id);
    for (int id = 7; id <= 40; ++id)
        answer += "<ID>" + std::to_string(id) + "</ID>";
    Answer(kArtistsPage, answer + "</Results>");
    const std::int32_t index = Search(kSearchArtists, kFieldArtistName, "c");
    ASSERT_TRUE(Idle());
    const Strings rows =
        Join(Strings{"# Artists Where Artist Name Is \"c\" (34)", kMore}, RowsOf("ARTIST", 8, 26), Strings{kMore});
    ASSERT_EQ(Rows(), rows);

    Click(1);
    EXPECT_EQ(m_pages.calls, Strings{"artist 7"});
    EXPECT_EQ(Rows(), rows) << "the artist's row stays as it is";
    EXPECT_TRUE(m_server.RequestsTo(PathOf(kSummariesPage)).empty());

    Click(static_cast<int>(rows.size()) - 1);
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.ResultCount(index) == 34; }));
    EXPECT_EQ(Rows(), Join(Strings{"# Artists Where Artist Name Is \"c\" (34)", kMore}, RowsOf("ARTIST", 8, 26),
                           Strings{"Results 21 - 34"}, RowsOf("ARTIST", 27, 40)));
}

TEST_F(SearchPaneTest, AtMostTenTopLevelGroupsAndASearchInsideAGroupRemovesNone)
{
    for (int i = 0; i < 9; ++i)
        Search(kSearchArtists, kFieldArtistName, "s" + std::to_string(i));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(m_results->GroupCount(), 9u);

    // The tenth group holds seven searches; none of them takes a group away.
    QLineEdit& text = In<QLineEdit>(&Simple(), IDC_SEARCH_TEXT);
    QTest::keyClicks(&text, "all");
    QTest::mouseClick(&In<QRadioButton>(&Simple(), IDC_SEARCH_ALL), Qt::LeftButton);
    QTest::keyClick(&text, Qt::Key_Return);
    ASSERT_TRUE(Idle());
    EXPECT_EQ(m_results->GroupCount(), 10u);
    EXPECT_EQ(Rows().front(), "# Artists Where Artist Name Is \"s0\" (0)");
    const int all = RowIndex("# Search For All Items Containing \"all\"");
    ASSERT_GT(all, 0);
    EXPECT_EQ(static_cast<int>(Rows().size()) - all, 15) << "the group row and seven searches of two rows";

    // The eleventh removes the oldest.
    Search(kSearchArtists, kFieldArtistName, "s9");
    ASSERT_TRUE(Idle());
    EXPECT_EQ(m_results->GroupCount(), 10u);
    EXPECT_EQ(Rows().front(), "# Artists Where Artist Name Is \"s1\" (0)");
    EXPECT_EQ(Rows()[Rows().size() - 2], "# Artists Where Artist Name Is \"s9\" (0)");
    EXPECT_GE(RowIndex("# Search For All Items Containing \"all\""), 0);
}

TEST_F(SearchPaneTest, AFailedPageCanBeAskedForAgain)
{
    const std::int32_t index = AnsweredTrackSearch("love", 1001, 60);
    const Strings answered =
        Join(Strings{"# Tracks Where Track Name Is \"love\" (60)"}, RowsOf("PERFORMANCE", 1001, 1020), Strings{kMore});
    m_server.SetResponse(PathOf(kSummariesPage), 500, "");
    Click(RowIndex(kMore));
    EXPECT_EQ(Rows().back(), kRetrieving);
    ASSERT_TRUE(m_pump.RunUntil([&] { return Rows().back() == kMore; })) << "the row can be clicked again";
    EXPECT_EQ(Rows(), answered);

    m_server.SetResponse(PathOf(kSummariesPage), Summaries);
    Click(RowIndex(kMore));
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.ResultCount(index) == 60; }));
    EXPECT_EQ(Rows(), Join(Strings{"# Tracks Where Track Name Is \"love\" (60)"}, RowsOf("PERFORMANCE", 1001, 1020),
                           Strings{"Results 21 - 60"}, RowsOf("PERFORMANCE", 1021, 1060)));
    const auto sent = m_server.RequestsTo(PathOf(kSummariesPage));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].body, sent[1].body);
}

// ---- menus and commands ----

class SearchPaneMenuTest : public SearchPaneTest {
protected:
    void SetUp() override
    {
        SearchPaneTest::SetUp();
        Answer(kPlaylistsPage, "<R>" + Playlist(11, "Night", 5, "ann", 0, 0) + Playlist(12, "Dawn", 6, "bob", 1, 0) +
                                   "<ID>11</ID><ID>12</ID></R>");
        Answer(kUsersPage, "<R>" + Playmaker(5, "ann", 0, 0) + Playmaker(6, "bob", 1, 0) + "<ID>5</ID><ID>6</ID></R>");
        Answer(kArtistsPage, "<R>" + Artist(7, "Kestrel", 0) + "<ID>7</ID></R>");
        Answer(kTracksPage, "<R>" + Track(101, "Kestrel", "Low Sun", true, 0) +
                                Track(102, "Kestrel", "High Tide", false, 0) + "<ID>101</ID><ID>102</ID></R>");
        Search(kSearchPlaylists, kFieldPlaylistTitle, "n");
        Search(kSearchPlaymakers, kFieldPlaymakerName, "n");
        Search(kSearchArtists, kFieldArtistName, "n");
        Search(kSearchTracks, kFieldTrackName, "n");
        ASSERT_TRUE(Idle());
    }
};

TEST_F(SearchPaneMenuTest, ContextMenusByKindWithTheirGreying)
{
    struct Case {
        const char* row;
        const char* loggedIn;
    };
    const Case cases[] = {
        {"Night by ann", "32819 32810 32812 !32813 32825"},  // ann takes no mail
        {"Dawn by bob", "32819 32810 32812 32813 32825"},
        {"ann", "32819 !32813 32825"},
        {"bob", "32819 32813 32825"},
        {"Kestrel", "32819 32825"},
        {"Kestrel : Low Sun", "32819 32818 32825 32832"},
        {"Kestrel : High Tide", "32819 !32818 32825 32832"},  // no preview
    };
    for (bool loggedIn : {false, true}) {
        if (loggedIn)
            LogIn();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.row) + (loggedIn ? ", logged in" : ", logged out"));
            std::string expected = c.loggedIn;
            if (!loggedIn)
                expected.replace(expected.find("32825"), 5, "!32825");
            const int row = RowIndex(c.row);
            EXPECT_EQ(MenuShape(row), expected);
            EXPECT_TRUE(Grid().IsSelected(row)) << "the right button selects its row";
        }
    }
    // Group rows and text rows have no menu.
    Answer(kArtistsPage, "<R/>");
    Search(kSearchArtists, kFieldArtistName, "none");
    ASSERT_TRUE(Idle());
    for (const char* row : {"# Artists Where Artist Name Is \"n\" (1)", "No matches found."}) {
        SCOPED_TRACE(row);
        ASSERT_GE(RowIndex(row), 0);
        EXPECT_EQ(MenuShape(RowIndex(row)), "");
    }
}

TEST_F(SearchPaneMenuTest, ClicksAndCommandsActOnTheirRow)
{
    LogIn();
    for (const char* row : {"Night by ann", "bob", "Kestrel", "Kestrel : Low Sun"})
        Click(RowIndex(row));
    Click(0);
    EXPECT_EQ(m_pages.calls, (Strings{"playlist 11", "playmaker 6", "artist 7", "track 101"}));
    m_pages.calls.clear();

    Choose(RowIndex("Dawn by bob"), ID_SEND_TO_FRIEND);
    Choose(RowIndex("Dawn by bob"), ID_EMAIL_PLAYMAKER);
    Choose(RowIndex("bob"), ID_EMAIL_PLAYMAKER);
    Choose(RowIndex("Kestrel"), ID_SHOW_DETAILS);
    Choose(RowIndex("Night by ann"), ID_PLAYLIST_PREVIEW);
    Choose(RowIndex("Kestrel : Low Sun"), ID_TRACK_PREVIEW);
    EXPECT_EQ(m_pages.calls, (Strings{"mail friend 12", "mail playmaker 6", "mail playmaker 6", "artist 7"}));
    EXPECT_EQ(m_previews.calls, (Strings{"playlist 11", "track 101"}));

    Choose(RowIndex("Kestrel : High Tide"), ID_ITEM_COPY);
    const auto copied = ReadPerformanceFromClipboard(m_clipboard);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->performanceID, 102);
    EXPECT_EQ(copied->SongName, "High Tide");
}

TEST_F(SearchPaneMenuTest, AddToFavoritesTakesEverySelectedResultByKind)
{
    LogIn();
    m_server.Hold(PathOf(kAddPage));
    m_server.SetResponse(PathOf(kAddPage), [](const RecordedRequest& r) {
        std::string ids;
        for (int i = 1; i <= std::stoi(r.Form("numberOfItems")); ++i)
            ids += "<BookmarkID>" + std::to_string(900 + i) + "</BookmarkID>";
        return ScriptedResponse{200, "<R>" + ids + "</R>"};
    });
    const int highTide = RowIndex("Kestrel : High Tide");
    Grid().SelectRow(RowIndex("Night by ann"));
    for (const char* row : {"ann", "Kestrel", "Kestrel : Low Sun", "# Artists Where Artist Name Is \"n\" (1)"})
        Grid().SetIsSelected(RowIndex(row), true);
    Grid().SetIsSelected(highTide, true);
    Choose(highTide, ID_ADD_TO_FAVORITES);

    // One add per kind, in the order artists, playlists, tracks, playmakers; the group row adds nothing.
    ASSERT_EQ(m_model.PendingCount(), 4u);
    const std::int32_t types[] = {kBookmarkArtist, kBookmarkPlaylist, kBookmarkTrack, kBookmarkPlaymaker};
    const std::size_t items[] = {1, 1, 2, 1};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(m_model.PendingOperation(i)->type, types[i]);
        EXPECT_EQ(m_model.PendingOperation(i)->items.size(), items[i]);
    }
    EXPECT_EQ(m_model.TrackCount(), 2);
    EXPECT_EQ(m_model.Track(1)->performanceID, 102);
    EXPECT_EQ(m_model.Playmaker(0)->userID, 5);
    ASSERT_TRUE(m_server.WaitForHeld(4));
    m_server.Release(PathOf(kAddPage));
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_model.PendingCount() == 0; }));
    EXPECT_TRUE(m_messages.empty()) << m_messages.front();
}

TEST_F(SearchPaneMenuTest, ClearResultsCloseAllAndToolTips)
{
    EXPECT_EQ(m_results->objectName(), "search");
    EXPECT_EQ(ControlId(m_results), IDC_TAB_PANE);
    EXPECT_EQ(m_results->ToolTipText(IDC_SEARCH_CLEAR_RESULTS), "") << "Clear Results has no tip of its own";
    EXPECT_EQ(m_results->ToolTipText(IDC_SEARCH_CLOSE_ALL), "Collapse the search results");
    EXPECT_EQ(m_results->ToolTipText(IDC_SEARCH_RESULTS_GRID), "");
    // The forms' controls share ids with the playlist editor's; its tips are not theirs.
    EXPECT_EQ(Simple().ToolTipText(IDC_SEARCH_TEXT), "");
    EXPECT_EQ(Advanced().ToolTipText(IDC_SEARCH_BY), "");

    // The grid fills the pane but for its margins.
    const QPoint at = Grid().pos();
    m_results->resize(300, 200);
    EXPECT_EQ(Grid().geometry(), QRect(at.x(), at.y(), 300 - 2 * at.x(), 200 - at.y() - 10));
    m_results->resize(520, 500);

    QTest::mouseClick(&In<CColorButton>(m_results, IDC_SEARCH_CLOSE_ALL), Qt::LeftButton);
    Grid().Flush();
    for (int i = 0; i < Grid().GetRowCount(); ++i) {
        SCOPED_TRACE(Rows()[static_cast<std::size_t>(i)]);
        const bool group = Grid().GetRowItem(i)->IsGroup();
        EXPECT_EQ(Grid().CellRect(i, 0).isEmpty(), !group) << "only the group rows stay in view";
        if (group) {
            EXPECT_TRUE(Grid().IsCollapsed(i));
        }
    }

    QTest::mouseClick(&In<CColorButton>(m_results, IDC_SEARCH_CLEAR_RESULTS), Qt::LeftButton);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(m_results->GroupCount(), 0u);
    Search(kSearchArtists, kFieldArtistName, "n");
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Rows(), (Strings{"# Artists Where Artist Name Is \"n\" (1)", "Kestrel"}));
}
}  // namespace
