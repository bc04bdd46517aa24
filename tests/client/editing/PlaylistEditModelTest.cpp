#include "client/editing/PlaylistEditModel.h"
#include "client/editing/ResolvePerformancesRequest.h"
#include "client/localmedia/PerformanceClip.h"
#include "tests/client/editing/EditingModelFixture.h"
#include "tests/support/MemoryClipboard.h"

#include <gmock/gmock.h>

#include <array>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

namespace {

class CRecordingEditListener : public IPlaylistEditListener {
public:
    void OnShowPlaylistDetail(const PlaylistSummary&) override { events.push_back("playlist"); }
    void OnPerformanceClicked(const PerformanceSummary& performance) override
    {
        events.push_back("performance " + std::to_string(performance.performanceID));
    }
    void OnArtistClicked(std::int32_t artistId) override { events.push_back("artist " + std::to_string(artistId)); }
    void OnShowArtistDetail(const ArtistSummary&) override { events.push_back("artist summary"); }
    void OnLocalCountChanged(int count) override { counts.push_back(count); }
    std::vector<std::string> events;
    std::vector<int> counts;
};

class EditModel : public EditingModelFixture {
protected:
    void SetUp() override
    {
        EditingModelFixture::SetUp();
        model = std::make_unique<CPlaylistEditModel>(&m_library);
        model->AddEditListener(&listener);
    }
    void TearDown() override
    {
        m_server.Release(PathOf(kResolvePage));
        model.reset();
        EditingModelFixture::TearDown();
    }

    /// Pumps until no row waits for its lookup any more. Lookups run one at a
    /// time in order, so answers for rows deleted meanwhile have come too.
    void Settle()
    {
        ASSERT_TRUE(m_pump.RunUntil([&] {
            for (int row = 0; row < model->RowCount(); ++row)
                if (model->Row(row).state == MatchState::Working)
                    return false;
            return true;
        }));
    }

    /// Types artist, then title, into the blank row.
    void Type(const std::string& artist, const std::string& title)
    {
        const int blank = model->BlankRow();
        model->EditCell(blank, kArtistColumn, artist);
        model->EditCell(blank, kTitleColumn, title);
    }

    /// The first lookup ("Help") waits at the server, two more in the queue.
    void QueueTwoLookupsBehindAHeldOne()
    {
        m_server.Hold(PathOf(kResolvePage));
        Type("Beatles", "Help");
        Type("Seether", "Broken");
        Type("Nobody", "Nothing");
        ASSERT_TRUE(m_server.WaitForHeld(1));
    }

    std::vector<MatchState> States() const
    {
        std::vector<MatchState> states;
        for (int row = 0; row < model->RowCount(); ++row)
            states.push_back(model->Row(row).state);
        return states;
    }

    std::unique_ptr<CPlaylistEditModel> model;
    CRecordingEditListener listener;
};

using S = MatchState;

}  // namespace

TEST_F(EditModel, RowTransitions)
{
    const struct {
        const char* what;
        std::function<void()> events;
        std::vector<MatchState> states;  // every row, the blank one last
        std::size_t lookups;
        // The input row's artist and title cells afterwards.
        std::array<std::string, 2> input = {"(Type Artist Name)", "(Type Track Name)"};
    } cases[] = {
        {"fresh grid", [] {}, {S::Blank}, 0},
        {"only the artist typed",
         [&] { model->EditCell(0, kArtistColumn, "the beatles"); },
         {S::Blank},
         0,
         {"the beatles", "(Type Track Name)"}},
        {"only the title typed",
         [&] { model->EditCell(0, kTitleColumn, "Help"); },
         {S::Blank},
         0,
         {"(Type Artist Name)", "Help"}},
        {"artist typed, then emptied again",
         [&] {
             model->EditCell(0, kArtistColumn, "the beatles");
             model->EditCell(0, kArtistColumn, "");
         },
         {S::Blank},
         0},
        {"artist then title: working, then a match in another case",
         [&] {
             Type("the beatles", "Help");
             EXPECT_EQ(model->Row(0).state, S::Working);
             Settle();
         },
         {S::Match, S::Blank},
         1},
        {"both cells emptied: the prompts come back, no track row", [&] { Type("", ""); }, {S::Blank}, 0},
        {"matched row re-typed unchanged starts nothing",
         [&] {
             Type("the beatles", "Help");
             Settle();
             model->EditCell(0, kTitleColumn, "HELP");
             model->EditCell(0, kArtistColumn, "The Beatles");
         },
         {S::Match, S::Blank},
         1},
        {"letter case changed starts matching again",
         [&] {
             Type("the beatles", "Help");
             Settle();
             model->EditCell(0, kTitleColumn, "help");
             EXPECT_EQ(model->Row(0).state, S::Working);
             Settle();
         },
         {S::Match, S::Blank},
         2},
        {"only the second candidate equal: click here",
         [&] {
             Type("The Beatles", "Yesterday");
             Settle();
         },
         {S::ClickHere, S::Blank},
         1},
        {"no candidates: click here",
         [&] {
             Type("Nobody", "Nothing");
             Settle();
         },
         {S::ClickHere, S::Blank},
         1},
        {"lookup failed: error",
         [&] {
             Type("Seether", "Broken");
             Settle();
         },
         {S::Error, S::Blank},
         1},
        {"error, retry, match",
         [&] {
             Type("Seether", "Broken");
             Settle();
             model->RetryMatching(0);
             EXPECT_EQ(model->Row(0).state, S::Working);
             Settle();
         },
         {S::Match, S::Blank},
         2},
        {"suggestion chosen",
         [&] {
             Type("The Beatles", "Yesterday");
             Settle();
             model->ChooseSuggestion(0, model->Suggestions(0).at(1));
         },
         {S::Match, S::Blank},
         1},
        {"added track row matches, matched row and paste need no lookup",
         [&] {
             model->AddTrackRow("Help", "the beatles", std::nullopt, "");
             PerformanceSummary known;
             known.performanceID = 5;
             model->AddMatchedRow(known);
             CMemoryClipboard clipboard;
             CopyPerformanceToClipboard(clipboard, known);
             EXPECT_TRUE(model->Paste(clipboard));
             EXPECT_FALSE(model->Paste(CMemoryClipboard()));
             Settle();
         },
         {S::Match, S::Match, S::Match, S::Blank},
         1},
        {"row deleted while working: its answer is dropped",
         [&] {
             m_server.Hold(PathOf(kResolvePage));
             Type("the beatles", "Help");
             Type("Nobody", "Nothing");
             ASSERT_TRUE(m_server.WaitForHeld(1));
             EXPECT_TRUE(model->DeleteRow(0));
             m_server.Release(PathOf(kResolvePage));
             Settle();
         },
         {S::ClickHere, S::Blank},
         2},
        {"row edited while working: only the newest answer counts",
         [&] {
             m_server.Hold(PathOf(kResolvePage));
             Type("the beatles", "Help");
             ASSERT_TRUE(m_server.WaitForHeld(1));
             model->EditCell(0, kTitleColumn, "Nothing");
             m_server.Release(PathOf(kResolvePage));
             Settle();
         },
         {S::ClickHere, S::Blank},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        model = std::make_unique<CPlaylistEditModel>(&m_library);
        const std::size_t before = RequestsTo(kResolvePage);
        m_failures = 1;
        c.events();
        EXPECT_EQ(States(), c.states);
        EXPECT_EQ(RequestsTo(kResolvePage) - before, c.lookups);
        EXPECT_EQ(model->GetTrackCount(), static_cast<int>(c.states.size()) - 1);
        EXPECT_EQ(model->CellText(model->BlankRow(), kArtistColumn), c.input[0]);
        EXPECT_EQ(model->CellText(model->BlankRow(), kTitleColumn), c.input[1]);
    }
}

TEST_F(EditModel, OutcomesOfMatchingAndChoosing)
{
    Type("the beatles", "Help");
    model->AddTrackRow("Yesterday", "The Beatles", std::string("for mum"), m_temp.string() + "/y.mp3");
    Settle();
    // A match takes the catalogue's spelling and numbers and keeps nothing to suggest.
    EXPECT_EQ(model->CellText(0, kTitleColumn), "HELP");
    EXPECT_EQ(model->CellText(0, kArtistColumn), "The Beatles");
    EXPECT_EQ(model->GetTrackRecord(0).performanceID, 11);
    EXPECT_EQ(model->GetTrackRecord(0).primaryArtistID, 7);
    EXPECT_TRUE(model->Suggestions(0).empty());
    EXPECT_EQ(model->CellText(0, kMatchColumn), "match");
    EXPECT_EQ(CPlaylistEditModel::MatchColour(S::Match), 0x008000u);

    // Candidates in the server's order; choosing keeps the comment and the file.
    ASSERT_EQ(model->CellText(1, kMatchColumn), "click here");
    EXPECT_EQ(model->CountUnresolved(), 1);
    const std::vector<PerformanceSummary> offered = model->Suggestions(1);
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].performanceID, 21);
    model->ChooseSuggestion(1, offered[1]);
    EXPECT_EQ(model->GetTrackRecord(1).performanceID, 22);
    EXPECT_EQ(model->GetTrackRecord(1).Comment, "for mum");
    EXPECT_EQ(model->CellText(1, kCommentColumn), "for mum");
    EXPECT_EQ(model->GetTrackRecord(1).localFilePath, m_temp.string() + "/y.mp3");
    EXPECT_EQ(model->CountUnresolved(), 0);
    ASSERT_FALSE(m_library.recorded.empty());
    EXPECT_EQ(m_library.recorded.back(), std::make_pair(22, m_temp.string() + "/y.mp3"));

    // Choosing for a row without a file hands the library an empty path.
    Type("Nobody", "Nothing");
    Settle();
    model->ChooseSuggestion(2, offered[0]);
    EXPECT_EQ(m_library.recorded.back(), std::make_pair(21, std::string()));
    EXPECT_EQ(m_library.GetLocalFile(21), "");
}

TEST_F(EditModel, LocalFileCountFollowsTheRows)
{
    m_library.files[11] = "/music/help.mp3";
    model->AddTrackRow("Help", "the beatles", std::nullopt, "");  // learns its file when it matches
    model->AddTrackRow("Broken", "Seether", std::nullopt, "/music/broken.mp3");
    EXPECT_EQ(model->LocalFileCount(), 1);
    Settle();
    EXPECT_EQ(model->GetTrackRecord(0).localFilePath, "/music/help.mp3");
    EXPECT_EQ(model->CellText(0, kLocalColumn), "yes");
    EXPECT_EQ(model->LocalFileCount(), 2);
    // The failed row keeps its file; nothing was recorded for it.
    EXPECT_EQ(model->Row(1).state, S::Error);
    model->RetryMatching(1);
    Settle();
    EXPECT_EQ(m_library.recorded.back(), std::make_pair(13, std::string("/music/broken.mp3")));
    EXPECT_EQ(model->Row(1).sourceFile, "/music/broken.mp3");

    EXPECT_TRUE(model->DeleteRow(0));
    EXPECT_TRUE(model->DeleteRow(0));
    EXPECT_EQ(model->LocalFileCount(), 0);
    EXPECT_EQ(listener.counts, (std::vector<int>{1, 2, 1, 0}));

    PerformanceSummary stored;
    stored.performanceID = 30;
    stored.localFilePath = "/music/stored.mp3";
    model->AddMatchedRow(stored);
    model->ResetRows();
    EXPECT_EQ(model->LocalFileCount(), 0);
    EXPECT_EQ(listener.counts, (std::vector<int>{1, 2, 1, 0, 1, 0}));
}

TEST_F(EditModel, BlankRowStaysLastAndCannotBeTakenAway)
{
    for (int id : {1, 2, 3}) {
        PerformanceSummary track;
        track.performanceID = id;
        model->AddMatchedRow(track);
    }
    const int blank = model->BlankRow();
    EXPECT_FALSE(model->CanDragRow(blank));
    EXPECT_FALSE(model->DeleteRow(blank));
    EXPECT_EQ(model->ContextMenu(blank), kMenuBlankRow);
    EXPECT_EQ(model->ContextMenu(0), kMenuMatchRow);
    EXPECT_EQ(model->MoveRow(blank, 0), -1);
    // Dropped on the blank row, a row lands just above it.
    EXPECT_EQ(model->MoveRow(0, blank), 2);
    EXPECT_EQ(model->GetPerformanceID(0), 2);
    EXPECT_EQ(model->GetPerformanceID(2), 1);
    EXPECT_EQ(model->Row(model->BlankRow()).state, S::Blank);
    EXPECT_EQ(model->MoveRow(2, 0), 0);
    EXPECT_EQ(model->GetPerformanceID(0), 1);
}

TEST_F(EditModel, ClicksReachTheListeners)
{
    PerformanceSummary track;
    track.performanceID = 9;
    track.primaryArtistID = 4;
    model->AddMatchedRow(track);
    Type("Nobody", "Nothing");
    Settle();
    EXPECT_EQ(model->Click(0, kTitleColumn), EditClick::None);
    EXPECT_EQ(model->Click(0, kArtistColumn), EditClick::None);
    EXPECT_EQ(model->Click(0, kMatchColumn), EditClick::None);
    EXPECT_EQ(model->Click(-1, kTitleColumn), EditClick::None);
    EXPECT_EQ(model->Click(1, kTitleColumn), EditClick::None);
    EXPECT_EQ(model->Click(1, kMatchColumn), EditClick::ShowSuggestions);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"performance 9", "artist 4"}));
}

TEST_F(EditModel, DroppedFiles)
{
    const auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string path = (m_temp / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    };
    std::string tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, 4, "Help");
    tag.replace(33, 11, "the beatles");
    const std::string untagged = write("Some Song.mp3", std::string(300, 'x'));
    const std::string tagged = write("tagged.MP3", std::string(50, 'x') + tag);
    const std::string noDot = write("noextension", std::string(300, 'x'));
    const std::string m3u = write("list.m3u", tagged + "\n");
    const std::string xml =
        write("tracks.Xml", "<R>" + TrackXml(1, "Nothing", "Nobody") + TrackXml(2, "Help", "x") + "</R>");
    const std::string broken = write("broken.xml", "<R>");
    const std::string missing = (m_temp / "missing.mp3").string();

    model->DropFiles({untagged, noDot, tagged, m3u, broken, xml, missing, tagged});
    ASSERT_EQ(model->GetTrackCount(), 4);
    EXPECT_EQ(model->GetTitle(0), "Some Song");
    EXPECT_EQ(model->GetArtist(0), "");
    EXPECT_EQ(model->GetLocalFilePath(0), untagged);
    EXPECT_EQ(model->GetTitle(1), "Help");
    EXPECT_EQ(model->GetArtist(1), "the beatles");
    // Performances of a document are matched again and have no file.
    EXPECT_EQ(model->GetTitle(2), "Nothing");
    EXPECT_EQ(model->GetLocalFilePath(3), "");
    EXPECT_EQ(model->LocalFileCount(), 2);
    // The unreadable file is reported and ends the drop.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0], testing::HasSubstr("missing.mp3"));
    Settle();
    EXPECT_EQ(States(), (std::vector<MatchState>{S::ClickHere, S::Match, S::ClickHere, S::ClickHere, S::Blank}));
}

TEST_F(EditModel, ViewHearsEveryChangeWithTheIndexAfterIt)
{
    struct View : IPlaylistEditView {
        void OnRowsReset() override { events.push_back("reset"); }
        void OnRowInserted(int row) override { events.push_back("insert " + std::to_string(row)); }
        void OnRowRemoved(int row) override { events.push_back("remove " + std::to_string(row)); }
        void OnRowChanged(int row) override { events.push_back("change " + std::to_string(row)); }
        void OnRowMoved(int from, int to) override
        {
            events.push_back("move " + std::to_string(from) + " " + std::to_string(to));
        }
        std::vector<std::string> events;
    } view;
    model->SetView(&view);
    model->AddMatchedRow(PerformanceSummary());
    Type("Nobody", "Nothing");
    Settle();
    model->MoveRow(1, 0);
    model->DeleteRow(1);
    model->ResetRows();
    model->SetView(nullptr);
    EXPECT_EQ(view.events, (std::vector<std::string>{"insert 0", "change 1", "change 1", "insert 2", "change 1",
                                                     "move 1 0", "remove 1", "reset"}));
}

TEST_F(EditModel, ClosingTheEditorWaitsForNoLookup)
{
    QueueTwoLookupsBehindAHeldOne();
    // The lookup under way is still held when the editor has gone.
    model.reset();
    EXPECT_TRUE(m_server.WaitForHeld(1, std::chrono::milliseconds(0)));
    m_server.Release(PathOf(kResolvePage));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_EQ(RequestsTo(kResolvePage), 1u);
}

TEST_F(EditModel, ClosingTheEditorWithManyLookupsAgainstAServerThatDoesNotAnswer)
{
    // Each lookup would wait for three connect timeouts; only the one under
    // way is left to end once the editor is gone.
    CUnansweredListener unanswered;
    m_settings.SetPortOverride(unanswered.Port(), 0);
    for (int i = 0; i < 200; ++i)
        model->AddTrackRow("Song " + std::to_string(i), "Artist", std::nullopt, std::string());
    model.reset();
    EXPECT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
}

TEST_F(EditModel, ResetRowsDropsTheLookupsOfTheRowsItRemoved)
{
    QueueTwoLookupsBehindAHeldOne();
    model->ResetRows();
    Type("The Beatles", "Yesterday");
    m_server.Release(PathOf(kResolvePage));
    Settle();
    const std::vector<RecordedRequest> sent = m_server.RequestsTo(PathOf(kResolvePage));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].Form("PerformanceTitle"), "Help");
    EXPECT_EQ(sent[1].Form("PerformanceTitle"), "Yesterday");
    EXPECT_EQ(model->Row(0).state, S::ClickHere);
}
