// The Search tab's results pane over the search controller, against
// corvanta-server at demo scale 100 started as a program: a tracks search that
// matches well over 10,000 tracks, its more-results row clicked until every
// match is listed. Figures: the time from the search to its first 20 results
// on the screen, beside the same search posted with libcurl; the
// user-interface thread's own time for each page (the click, the answer taken
// and the rows added and painted), beside one frame; and the time to page
// through everything, beside the same GetSummaries posts made one after the
// other with libcurl, and beside the same requests through the request
// framework without the pane. Answers wait in a pump's queue until the page's
// step runs them, as the program's event loop would take them.
#include "bench/BenchFigure.h"
#include "bench/BenchQt.h"
#include "bench/DemoServer.h"
#include "bench/DirectPost.h"
#include "client/catalogue/GetSummariesRequest.h"
#include "client/catalogue/ItemRef.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/search/SearchController.h"
#include "client/search/SearchResultsPane.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "platform/Threading.h"
#include "tests/support/TestPump.h"

#include <QApplication>
#include <QWidget>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDemoScale = 100;
constexpr char kWord[] = "love";
constexpr std::size_t kLeastMatches = 10000;
constexpr int kRuns = 3;
constexpr double kFrameMs = 16.0;
constexpr auto kBound = std::chrono::seconds(120);

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    double firstResults = 0;  // ms, wall
    double pageMean = 0;      // ms of the user-interface thread
    double pageWorst = 0;
    double paging = 0;  // ms, wall
    std::size_t pages = 0;
};

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "bench_search: %s\n", what);
    std::exit(1);
}

// The search through the pane; ids receives the search's identifiers.
Figures RunOurs(CTestPump& pump, std::vector<std::uint32_t>& ids)
{
    Figures figures;
    CSearchController controller;
    PaneServices services;
    services.search = &controller;
    QWidget host;
    host.resize(480, 700);
    auto* pane = new CSearchResultsPane(services);
    pane->Create(&host, IDC_TAB_PANE);
    pane->resize(host.size());
    host.show();
    CItemListGridCtrl& grid = *pane->Grid();
    Settle();

    const Clock::time_point searched = Clock::now();
    const std::int32_t index = controller.Search(
        std::make_unique<CSearchQuery>(kSearchTracks, std::vector<SearchCriterion>{{kFieldTrackName, 0, kWord, 0}}));
    if (!pump.RunUntil([&] { return controller.PendingCount() == 0; }, kBound))
        Fail("no answer to the search");
    QApplication::processEvents();
    figures.firstResults = MillisSince(searched);
    ids = controller.Record(index)->identifiers;
    if (ids.size() < kLeastMatches || grid.GetRowCount() != 22)
        Fail("the search did not list 20 of at least 10,000 tracks");

    const std::string more = LoadResourceString(IDS_MORE_RESULTS);
    const Clock::time_point paging = Clock::now();
    double pageTotal = 0;
    for (int last = grid.GetRowCount() - 1; grid.GetCellText(last, 0) == more; last = grid.GetRowCount() - 1) {
        const double start = ThreadMillis();
        pane->OnItemClicked(grid.GetRowItem(last));
        const double clicked = ThreadMillis() - start;
        if (!pump.WaitForQueued(1, kBound))
            Fail("a page did not come");
        const double taken = ThreadMillis();
        pump.RunPending();
        QApplication::processEvents();
        const double page = clicked + ThreadMillis() - taken;
        pageTotal += page;
        figures.pageWorst = std::max(figures.pageWorst, page);
        ++figures.pages;
    }
    figures.paging = MillisSince(paging);
    figures.pageMean = pageTotal / static_cast<double>(figures.pages);

    // Every match is listed once, in the server's order.
    if (controller.ResultCount(index) != static_cast<std::int32_t>(ids.size()))
        Fail("not every match was fetched");
    std::size_t next = 0;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        const CItemRef* item = grid.GetItemRef(row);
        if (item && (next >= ids.size() || static_cast<std::uint32_t>(item->Identifier()) != ids[next++]))
            Fail("the pane lists other tracks than the server matched");
    }
    if (next != ids.size())
        Fail("the pane lists fewer tracks than the server matched");
    WaitForWorkerThreads(kBound);
    delete pane;
    return figures;
}

// One post on a connection of its own, as the client makes each exchange.
void Post(const std::string& url, const std::string& body)
{
    if (!DirectPost(url, body))
        Fail("a direct post failed");
}

// Each page's identifiers as GetSummaries takes them; the first answer
// brought the first 20 summaries.
std::vector<std::string> PageIdentifiers(const std::vector<std::uint32_t>& ids)
{
    std::vector<std::string> pages;
    for (std::size_t start = 20; start < ids.size(); start += CSearchController::kPageSize) {
        std::string text;
        const std::size_t end = std::min(ids.size(), start + CSearchController::kPageSize);
        for (std::size_t i = start; i < end; ++i) {
            if (i > start)
                text += ',';
            text += std::to_string(ids[i]);
        }
        pages.push_back(std::move(text));
    }
    return pages;
}

// The same posts made directly: the search, then each page.
Figures RunReference(const CDemoServer& server, const std::vector<std::uint32_t>& ids)
{
    Figures figures;
    const Clock::time_point searched = Clock::now();
    Post(server.PageUrl("search/SearchForPerformances.jsp"),
         std::string("PerformanceTitle=") + kWord + "&PerformanceTitleSearchType=0");
    figures.firstResults = MillisSince(searched);

    const std::vector<std::string> pages = PageIdentifiers(ids);
    const std::string url = server.PageUrl("search/GetSummaries.jsp");
    const Clock::time_point paging = Clock::now();
    for (const std::string& page : pages)
        Post(url, "Type=PERFORMANCE&IDs=" + page);
    figures.paging = MillisSince(paging);
    figures.pages = pages.size();
    return figures;
}

// The same pages through the request framework alone, one after the other,
// each answer taken on this thread: what the pane costs beyond the exchanges.
double RunRequestsAlone(CTestPump& pump, const std::vector<std::uint32_t>& ids)
{
    CGetSummariesRequest request;
    const Clock::time_point paging = Clock::now();
    for (const std::string& page : PageIdentifiers(ids)) {
        request.FetchPerformances(page, 0);
        if (!pump.WaitForQueued(1, kBound))
            Fail("a page did not come");
        pump.RunPending();
    }
    return MillisSince(paging);
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareOffscreenQt();
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    QApplication app(argc, argv);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CTestPump pump;
    CDemoServer server("bench_search", kDemoScale);

    // The best of a few runs of each, taken in turns.
    Figures ours;
    Figures theirs;
    double requestsAlone = 0;
    std::size_t matches = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<std::uint32_t> ids;
        const Figures mine = RunOurs(pump, ids);
        const Figures reference = RunReference(server, ids);
        const double alone = RunRequestsAlone(pump, ids);
        requestsAlone = run == 0 ? alone : std::min(requestsAlone, alone);
        if (reference.pages != mine.pages)
            Fail("the pane asked for another number of pages");
        matches = ids.size();
        if (run == 0) {
            ours = mine;
            theirs = reference;
            continue;
        }
        ours.firstResults = std::min(ours.firstResults, mine.firstResults);
        ours.pageMean = std::min(ours.pageMean, mine.pageMean);
        ours.pageWorst = std::min(ours.pageWorst, mine.pageWorst);
        ours.paging = std::min(ours.paging, mine.paging);
        theirs.firstResults = std::min(theirs.firstResults, reference.firstResults);
        theirs.paging = std::min(theirs.paging, reference.paging);
    }
    std::printf("tracks search \"%s\" at demo scale %d: %zu matches, %zu pages of 50\n", kWord, kDemoScale, matches,
                ours.pages);
    PrintFigure("search to its first 20 results shown", "the same search posted with libcurl", ours.firstResults,
                theirs.firstResults, "ms");
    PrintFigure("search page appended, mean", "one frame, 16 ms target", ours.pageMean, kFrameMs,
                "ms of the UI thread");
    PrintFigure("search page appended, worst", "one frame, 16 ms target", ours.pageWorst, kFrameMs,
                "ms of the UI thread");
    PrintFigure("search paged to the end", "the same GetSummaries posts with libcurl, 1.3 target", ours.paging,
                theirs.paging, "ms");
    PrintFigure("search paged to the end", "the same GetSummaries requests without the pane", ours.paging,
                requestsAlone, "ms");
    curl_global_cleanup();
    return 0;
}
