#include "client/catalogue/PerformanceSummary.h"
#include "client/search/SearchController.h"
#include "tests/support/RequestFixture.h"

#include <set>
#include <sstream>

namespace {

constexpr char kPerformances[] = "search/SearchForPerformances.jsp";
constexpr char kSummaries[] = "search/GetSummaries.jsp";

struct SearchEvent {
    std::string slot;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::string title;
    bool operator==(const SearchEvent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SearchEvent& e)
{
    return out << e.slot << '(' << e.a << ',' << e.b << ',' << e.title << ')';
}

class CRecordingSearchListener : public ISearchListener {
public:
    void OnSearchAdded(std::int32_t index) override { events.push_back({"added", index}); }
    void OnSearchAnswered(std::int32_t index) override { events.push_back({"answered", index}); }
    void OnResultsAppended(std::int32_t index, std::int32_t first) override
    {
        events.push_back({"appended", index, first});
    }
    void OnPageFailed(std::int32_t index) override { events.push_back({"page failed", index}); }
    void OnSearchBusy(std::int32_t busy) override { events.push_back({"busy", busy}); }
    void OnSearchGroupStarted(const std::string& title) override { events.push_back({"group", 0, 0, title}); }
    void OnSearchGroupEnded() override { events.push_back({"end"}); }
    std::size_t Count(const std::string& slot) const
    {
        return static_cast<std::size_t>(
            std::count_if(events.begin(), events.end(), [&](const SearchEvent& e) { return e.slot == slot; }));
    }
    std::vector<SearchEvent> events;
};

std::unique_ptr<CSearchQuery> Query(std::int32_t kind, std::vector<SearchCriterion> criteria)
{
    return std::make_unique<CSearchQuery>(kind, std::move(criteria));
}

SearchCriterion Text(SearchField field, std::string text)
{
    return SearchCriterion{field, 0, std::move(text), 0};
}

// An answer with summaries of the first `summaries` identifiers and all identifiers.
std::string SearchAnswer(std::uint32_t firstId, int summaries, int ids)
{
    std::string body = "<Results>";
    for (int i = 0; i < summaries; ++i)
        body += "<PerformanceSummary performanceID='" + std::to_string(firstId + static_cast<std::uint32_t>(i)) +
                "'><SongName>s</SongName></PerformanceSummary>";
    for (int i = 0; i < ids; ++i)
        body += "<ID>" + std::to_string(firstId + static_cast<std::uint32_t>(i)) + "</ID>";
    return body + "</Results>";
}

// GetSummaries as the server answers it: one summary per identifier asked for.
ScriptedResponse Summaries(const RecordedRequest& request)
{
    std::string body = "<S>";
    std::stringstream ids(request.Form("IDs"));
    for (std::string id; std::getline(ids, id, ',');)
        body += "<PerformanceSummary performanceID='" + id + "'/>";
    return {200, body + "</S>"};
}

std::string IdRange(std::uint32_t from, std::uint32_t to)
{
    std::string text;
    for (std::uint32_t id = from; id <= to; ++id)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

class SearchControllerTest : public RequestFixture {
protected:
    void SetUp() override
    {
        RequestFixture::SetUp();
        m_controller.AddListener(&m_listener);
    }
    void TearDown() override
    {
        m_controller.RemoveListener(&m_listener);
        RequestFixture::TearDown();
    }
    bool WaitFor(const std::string& slot, std::size_t count)
    {
        return m_pump.RunUntil([&] { return m_listener.Count(slot) >= count; });
    }
    std::int32_t ResultId(std::int32_t index, std::int32_t i) const
    {
        const CSearchResultItem* result = m_controller.Result(index, i);
        return result ? result->Item()->Identifier() : -1;
    }

    CSearchController m_controller;
    CRecordingSearchListener m_listener;
};

}  // namespace

TEST_F(SearchControllerTest, PagesFiftyIdentifiersAtATime)
{
    Answer(kPerformances, SearchAnswer(1000, 20, 130));
    m_server.SetResponse(PathOf(kSummaries), Summaries);

    const std::int32_t index = m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "love song")}));
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(WaitFor("busy", 2));
    EXPECT_EQ(m_listener.events, (std::vector<SearchEvent>{{"busy", 1}, {"added", 0}, {"answered", 0}, {"busy", 0}}));
    EXPECT_EQ(m_server.LastRequest().body, "PerformanceTitle=love+song&PerformanceTitleSearchType=0");
    EXPECT_EQ(m_controller.IdentifierCount(0), 130);
    ASSERT_EQ(m_controller.ResultCount(0), 20);
    EXPECT_EQ(ResultId(0, 19), 1019);

    const struct {
        std::uint32_t from, to;
        std::int32_t firstNew, total;
    } pages[] = {{1020, 1069, 20, 70}, {1070, 1119, 70, 120}, {1120, 1129, 120, 130}};
    std::size_t appended = 0;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.from);
        m_controller.FetchNextPage(0);
        ASSERT_TRUE(WaitFor("appended", ++appended));
        ExpectLastPost(kSummaries, "Type=PERFORMANCE&IDs=" + IdRange(page.from, page.to));
        EXPECT_EQ(m_listener.events.back(), (SearchEvent{"appended", 0, page.firstNew}));
        ASSERT_EQ(m_controller.ResultCount(0), page.total);
        EXPECT_EQ(ResultId(0, page.firstNew), static_cast<std::int32_t>(page.from));
        EXPECT_NE(m_controller.Result(0, page.total - 1)->Item()->AsPerformance(), nullptr);
    }

    // Every match is fetched: there is no further page to ask for.
    const std::size_t requests = m_server.RequestCount();
    m_controller.FetchNextPage(0);
    m_pump.RunPending();
    EXPECT_EQ(m_server.RequestCount(), requests);
}

TEST_F(SearchControllerTest, APageWithFewerSummariesThanIdentifiersDoesNotMoveTheNextPageBack)
{
    // Track 1025 was deleted after the search: its page brings 49 summaries.
    Answer(kPerformances, SearchAnswer(1000, 20, 130));
    m_server.SetResponse(PathOf(kSummaries), [](const RecordedRequest& request) {
        ScriptedResponse response = Summaries(request);
        const std::string deleted = "<PerformanceSummary performanceID='1025'/>";
        if (const auto at = response.body.find(deleted); at != std::string::npos)
            response.body.erase(at, deleted.size());
        return response;
    });
    m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "love")}));
    ASSERT_TRUE(WaitFor("answered", 1));
    EXPECT_TRUE(m_controller.HasMoreResults(0));

    const struct {
        std::uint32_t from, to;
        std::int32_t firstNew, total;
        bool more;
    } pages[] = {{1020, 1069, 20, 69, true}, {1070, 1119, 69, 119, true}, {1120, 1129, 119, 129, false}};
    std::size_t appended = 0;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.from);
        m_controller.FetchNextPage(0);
        ASSERT_TRUE(WaitFor("appended", ++appended));
        EXPECT_EQ(m_server.LastRequest().body, "Type=PERFORMANCE&IDs=" + IdRange(page.from, page.to));
        EXPECT_EQ(m_listener.events.back(), (SearchEvent{"appended", 0, page.firstNew}));
        ASSERT_EQ(m_controller.ResultCount(0), page.total);
        EXPECT_EQ(m_controller.HasMoreResults(0), page.more);
    }
    std::set<std::int32_t> distinct;
    for (std::int32_t i = 0; i < m_controller.ResultCount(0); ++i)
        distinct.insert(ResultId(0, i));
    EXPECT_EQ(distinct.size(), 129u);
    EXPECT_EQ(distinct.count(1025), 0u);

    // Every identifier was asked for once: there is no further page.
    const std::size_t requests = m_server.RequestCount();
    m_controller.FetchNextPage(0);
    m_pump.RunPending();
    EXPECT_EQ(m_server.RequestCount(), requests);
}

TEST_F(SearchControllerTest, QueriesGoToTheirPages)
{
    const struct {
        const char* what;
        std::int32_t kind;
        std::vector<SearchCriterion> criteria;
        const char* page;
        const char* body;
    } cases[] = {
        {"playlists by genre and title",
         kSearchPlaylists,
         {SearchCriterion{kFieldGenre, 0, "Blues", 12}, Text(kFieldPlaylistTitle, "blue")},
         "search/SearchForPlaylists.jsp",
         "PlaylistTitle=blue&PlaylistTitleSearchType=0&Genre=12&GenreSearchType=0"},
        {"playlists: every field",
         kSearchPlaylists,
         {Text(kFieldTheme, "th"), Text(kFieldTrackName, "tr"), Text(kFieldArtistName, "ar"),
          Text(kFieldPlaymakerName, "pm"), SearchCriterion{kFieldMood, 0, "", 3}, Text(kFieldAlbumTitle, "ignored")},
         "search/SearchForPlaylists.jsp",
         "ArtistName=ar&ArtistNameSearchType=0&UserHandle=pm&UserHandleSearchType=0&PerformanceTitle=tr&"
         "PerformanceTitleSearchType=0&Theme=th&ThemeSearchType=0&Mood=3&MoodSearchType=0"},
        {"a later criterion wins",
         kSearchArtists,
         {Text(kFieldArtistName, "old"), Text(kFieldArtistName, "new")},
         "search/SearchForArtists.jsp",
         "ArtistName=new&ArtistNameSearchType=0"},
        {"playmakers",
         kSearchPlaymakers,
         {Text(kFieldPlaymakerName, "dj")},
         "search/SearchForUsers.jsp",
         "UserHandle=dj&UserHandleSearchType=0"},
        {"playmakers without a name",
         kSearchPlaymakers,
         {},
         "search/SearchForUsers.jsp",
         "UserHandle=&UserHandleSearchType=0"},
        {"tracks never send a version",
         kSearchTracks,
         {Text(kFieldAlbumTitle, "Abbey Road"), Text(kFieldArtistName, "Beatles"), Text(kFieldTrackName, "Something")},
         kPerformances,
         "PerformanceTitle=Something&PerformanceTitleSearchType=0&PrimaryArtistName=Beatles&"
         "PrimaryArtistNameSearchType=0&CDTitle=Abbey+Road&CDTitleSearchType=0"},
    };
    std::size_t answered = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int32_t index = m_controller.Search(Query(c.kind, c.criteria));
        ASSERT_TRUE(WaitFor("answered", ++answered));
        EXPECT_EQ(m_listener.events.back(), (SearchEvent{"busy", 0}));
        ExpectLastPost(c.page, c.body);
        EXPECT_EQ(m_controller.Query(index)->kind, c.kind);
        EXPECT_EQ(m_controller.IdentifierCount(index), 0);
    }
}

TEST_F(SearchControllerTest, AGroupStaysBusyUntilEverySearchIsDone)
{
    Answer("search/SearchForPlaylists.jsp", "<R><ID>1</ID></R>");
    m_server.SetResponse(PathOf("search/SearchForUsers.jsp"), 500, "");
    Answer("search/SearchForArtists.jsp", "not a document");
    Answer(kPerformances, SearchAnswer(7, 1, 1));
    m_server.Hold(PathOf(kPerformances));

    m_controller.BeginGroup("Search For All Items Containing \"x\"");
    for (SearchField field : {kFieldPlaylistTitle, kFieldPlaymakerName, kFieldArtistName, kFieldTrackName})
        m_controller.Search(Query(kSearchPlaylists, {Text(field, "x")}));
    m_controller.Search(Query(kSearchPlaymakers, {Text(kFieldPlaymakerName, "x")}));
    m_controller.Search(Query(kSearchArtists, {Text(kFieldArtistName, "x")}));
    m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "x")}));
    m_controller.EndGroup();
    EXPECT_EQ(m_listener.events.front(), (SearchEvent{"group", 0, 0, "Search For All Items Containing \"x\""}));
    EXPECT_EQ(m_listener.events.back(), SearchEvent{"end"});
    EXPECT_EQ(m_controller.PendingCount(), 7);

    // Five answers and one failure are in; the held track search keeps it busy.
    ASSERT_TRUE(m_server.WaitForHeld(1));
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_controller.PendingCount() == 1; }));
    EXPECT_EQ(m_listener.Count("answered"), 5u);
    EXPECT_EQ(m_listener.events.back().slot, "answered");
    m_server.Release(PathOf(kPerformances));
    ASSERT_TRUE(WaitFor("answered", 6));
    EXPECT_EQ(m_listener.events.back(), (SearchEvent{"busy", 0}));
    EXPECT_EQ(m_listener.Count("busy"), 8u);
    EXPECT_EQ(m_controller.IdentifierCount(0), 1);
    EXPECT_EQ(m_controller.IdentifierCount(5), 0);  // not a document: no matches
    EXPECT_EQ(m_controller.ResultCount(6), 1);
    EXPECT_EQ(ResultId(6, 0), 7);
}

TEST_F(SearchControllerTest, AnUnknownKindPostsNothingAndEndsItsBusyState)
{
    EXPECT_EQ(m_controller.Search(Query(5, {Text(kFieldTrackName, "x")})), 0);
    EXPECT_EQ(m_listener.events, (std::vector<SearchEvent>{{"busy", 1}, {"added", 0}, {"busy", 0}}));
    EXPECT_EQ(m_controller.PendingCount(), 0);
    EXPECT_EQ(m_server.RequestCount(), 0u);
}

TEST_F(SearchControllerTest, PagesOfTwoSearchesKeepTheirOwnResults)
{
    m_server.SetResponse(PathOf(kPerformances), [](const RecordedRequest& r) {
        return ScriptedResponse{200, SearchAnswer(r.Form("PerformanceTitle") == "a" ? 100 : 500, 0, 60)};
    });
    m_server.SetResponse(PathOf(kSummaries), Summaries);
    m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "a")}));
    m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "b")}));
    ASSERT_TRUE(WaitFor("answered", 2));

    m_server.Hold(PathOf(kSummaries));
    m_controller.FetchNextPage(0);
    m_controller.FetchNextPage(1);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    EXPECT_EQ(m_server.RequestsTo(PathOf(kSummaries)).size(), 1u);
    m_server.Release(PathOf(kSummaries));
    ASSERT_TRUE(WaitFor("appended", 2));
    ASSERT_EQ(m_controller.ResultCount(0), 50);
    ASSERT_EQ(m_controller.ResultCount(1), 50);
    EXPECT_EQ(ResultId(0, 0), 100);
    EXPECT_EQ(ResultId(0, 49), 149);
    EXPECT_EQ(ResultId(1, 0), 500);
    EXPECT_EQ(ResultId(1, 49), 549);
}

TEST_F(SearchControllerTest, AFailedPageIsToldAndAskedForAgainLater)
{
    Answer(kPerformances, SearchAnswer(1, 0, 3));
    m_controller.Search(Query(kSearchTracks, {Text(kFieldTrackName, "a")}));
    ASSERT_TRUE(WaitFor("answered", 1));
    m_server.SetResponse(PathOf(kSummaries), 500, "");
    m_controller.FetchNextPage(0);
    ASSERT_TRUE(WaitFor("page failed", 1));
    EXPECT_EQ(m_listener.events.back(), (SearchEvent{"page failed", 0}));
    EXPECT_EQ(m_listener.Count("appended"), 0u);
    EXPECT_EQ(m_controller.ResultCount(0), 0);
    EXPECT_TRUE(m_controller.HasMoreResults(0));

    // The next attempt asks for the same identifiers again.
    m_server.SetResponse(PathOf(kSummaries), Summaries);
    m_controller.FetchNextPage(0);
    ASSERT_TRUE(WaitFor("appended", 1));
    EXPECT_EQ(m_server.LastRequest().body, "Type=PERFORMANCE&IDs=1,2,3");
    EXPECT_EQ(m_controller.ResultCount(0), 3);
}
