// Matching in the playlist editor against corvanta-server at demo scale 100:
// 1,000 catalogue tracks (demo's favorite tracks) dropped on the editor's grid
// at once as a playlist document, each row matched through the editor's
// queued lookups, one exchange at a time, while the program's event loop
// runs. Beside it, the same 1,000 ResolvePerformances posts made with libcurl
// one after another. Also the longest time the user-interface thread did not
// get back to its event loop from the drop until the last row was matched,
// and the heap the rows took, beside a QStandardItemModel of the same texts.
#include "bench/BenchFigure.h"
#include "bench/BenchQt.h"
#include "bench/DemoServer.h"
#include "bench/DirectPost.h"
#include "client/editing/PlaylistEditGridCtrl.h"
#include "client/editing/PlaylistEditModel.h"
#include "client/editing/PlaylistEditorPane.h"
#include "client/editing/PlaylistStore.h"
#include "client/editing/ResolvePerformancesRequest.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/protocol/RequestListener.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/base/QtUiDispatcher.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardItemModel>
#include <QTimer>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int kDemoScale = 100;
constexpr int kRows = 1000;
constexpr int kRuns = 3;
constexpr int kBoundMs = 300000;
constexpr int kTickMs = 5;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "bench_matching: %s\n", what);
    std::exit(1);
}

// Runs the program's event loop until done() holds; done is asked every
// 20 ms, so asking takes nothing from the user-interface thread's work.
void RunUntil(const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(kBoundMs, &loop, [] { Fail("timed out"); });
    ask.start(20);
    loop.exec();
}

struct Track {
    std::string artist;
    std::string title;
};

// demo's favorite tracks: texts the catalogue matches as they are.
std::vector<Track> DemoTracks(const std::string& token)
{
    CGetUserBookmarksRequest favorites;
    struct Done : IRequestListener {
        void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { done = true; }
        void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { Fail("no favorites"); }
        bool done = false;
    } done;
    favorites.AddListener(&done);
    favorites.Fetch(token);
    RunUntil([&] { return done.done; });
    favorites.RemoveListener(&done);
    std::vector<Track> tracks;
    for (const auto& track : favorites.TakeTracks())
        tracks.push_back({track->ArtistName, track->SongName});
    if (static_cast<int>(tracks.size()) < kRows)
        Fail("demo has fewer favorite tracks than the bench drops");
    tracks.resize(kRows);
    return tracks;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

// A playlist document of the tracks, as a member drops it on the grid.
std::filesystem::path WriteDocument(const std::vector<Track>& tracks)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corvanta-bench-matching-" + std::to_string(getpid()) + ".xml");
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PlaylistDetail>";
    for (std::size_t i = 0; i < tracks.size(); ++i)
        out << "<PerformanceSummary performanceID='0'><PrimaryArtist primaryArtistID='0'><ArtistName>"
            << Escaped(tracks[i].artist) << "</ArtistName></PrimaryArtist><SongName>" << Escaped(tracks[i].title)
            << "</SongName></PerformanceSummary>";
    out << "</PlaylistDetail>\n";
    return path;
}

std::size_t HeapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

// The longest time between two turns of the event loop while it runs, to
// within the watch's own tick: as the clock on the wall goes, and in the
// thread's own processor time (the work that held the loop up).
class CStallWatch : public QObject {
public:
    CStallWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const double cpu = ThreadMillis();
            m_longestWall = std::max(m_longestWall, static_cast<double>(m_since.nsecsElapsed()) / 1e6);
            m_longestOwn = std::max(m_longestOwn, cpu - m_sinceCpu);
            m_since.restart();
            m_sinceCpu = cpu;
        });
    }
    void Start()
    {
        m_longestWall = m_longestOwn = 0;
        m_since.start();
        m_sinceCpu = ThreadMillis();
        m_timer.start(kTickMs);
    }
    void Stop() { m_timer.stop(); }
    double LongestWall() const { return m_longestWall; }
    double LongestOwn() const { return m_longestOwn; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_sinceCpu = 0;
    double m_longestWall = 0;
    double m_longestOwn = 0;
};

struct Figures {
    double rowsPerSecond = 0;
    double longestStall = 0;  // own processor time
    double longestWallStall = 0;
    double bytesPerRow = 0;
};

int RowsWorking(const CPlaylistEditModel& rows)
{
    int working = 0;
    for (int i = 0; i < rows.GetTrackCount(); ++i)
        working += rows.Row(i).state == MatchState::Working;
    return working;
}

Figures RunOurs(CPlaylistEditorPane& editor, const std::filesystem::path& document)
{
    CPlaylistEditModel& rows = editor.Editor().Rows();
    rows.ResetRows();
    Settle();
    Figures figures;
    const std::size_t heapBefore = HeapInUse();
    CStallWatch stalls;
    stalls.Start();
    QElapsedTimer clock;
    clock.start();
    // Dropped from the event loop, as the drop event arrives.
    QTimer::singleShot(0, &editor, [&] { rows.DropFiles({document.string()}); });
    RunUntil([&] { return rows.GetTrackCount() == kRows && RowsWorking(rows) == 0; });
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    stalls.Stop();
    figures.longestStall = stalls.LongestOwn();
    figures.longestWallStall = stalls.LongestWall();
    figures.rowsPerSecond = kRows / seconds;
    int matched = 0;
    for (int i = 0; i < rows.GetTrackCount(); ++i)
        matched += rows.Row(i).state == MatchState::Match;
    if (matched != kRows)
        Fail("not every dropped row matched");
    figures.bytesPerRow = static_cast<double>(HeapInUse() - heapBefore) / kRows;
    return figures;
}

// One post on a connection of its own, as the client makes each exchange.
void Post(const std::string& url, const std::string& body)
{
    if (!DirectPost(url, body))
        Fail("a direct post failed");
}

double RunReference(const CDemoServer& server, const std::vector<Track>& tracks)
{
    const std::string url = server.PageUrl("search/ResolvePerformances.jsp");
    QElapsedTimer clock;
    clock.start();
    for (const Track& track : tracks)
        Post(url, CResolvePerformancesRequest::Body(track.title, track.artist));
    return kRows / (static_cast<double>(clock.nsecsElapsed()) / 1e9);
}

// The same texts in a model of the standard kind: five cells a row.
double ReferenceBytesPerRow(const std::vector<Track>& tracks)
{
    const std::size_t before = HeapInUse();
    auto* model = new QStandardItemModel(0, 5);
    for (const Track& track : tracks) {
        QList<QStandardItem*> row;
        row << new QStandardItem(QString::fromStdString(track.artist))
            << new QStandardItem(QString::fromStdString(track.title)) << new QStandardItem()
            << new QStandardItem(QStringLiteral("match")) << new QStandardItem();
        model->appendRow(row);
    }
    const double bytes = static_cast<double>(HeapInUse() - before) / kRows;
    delete model;
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareOffscreenQt();
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    QApplication app(argc, argv);
    CQtUiDispatcher dispatcher;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    SetMessageBoxHandler([](const std::string& text, const std::string&, unsigned) {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        return kIdOk;
    });
    CDemoServer server("bench_matching", kDemoScale);
    const std::vector<Track> tracks = DemoTracks(server.Token());
    const std::filesystem::path document = WriteDocument(tracks);
    std::printf("%d of demo's favorite tracks dropped on the editor, corvanta-server at demo scale %d\n", kRows,
                kDemoScale);

    CPlaylistStore store(nullptr, nullptr);
    PaneServices services;
    services.playlists = &store;
    QWidget host;
    host.resize(900, 700);
    auto* editor = new CPlaylistEditorPane(nullptr, services);
    editor->Create(&host, IDC_PLAYLIST_EDITOR_PANE);
    editor->resize(host.size());
    host.show();
    editor->show();

    // The best of a few runs of each, taken in turns.
    Figures ours;
    double reference = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Figures mine = RunOurs(*editor, document);
        const double theirs = RunReference(server, tracks);
        if (run == 0 || mine.rowsPerSecond > ours.rowsPerSecond)
            ours.rowsPerSecond = mine.rowsPerSecond;
        ours.longestStall = std::max(ours.longestStall, mine.longestStall);
        ours.longestWallStall = std::max(ours.longestWallStall, mine.longestWallStall);
        ours.bytesPerRow = run == 0 ? mine.bytesPerRow : std::min(ours.bytesPerRow, mine.bytesPerRow);
        reference = std::max(reference, theirs);
    }
    const double referenceBytes = ReferenceBytesPerRow(tracks);
    editor->Editor().Rows().ResetRows();
    delete editor;
    WaitForWorkerThreads(std::chrono::seconds(60));
    std::filesystem::remove(document);

    PrintFigure("matching 1000 dropped rows", "the same ResolvePerformances posts with libcurl, one after another",
                ours.rowsPerSecond, reference, "rows per second");
    PrintFigure("matching longest UI-thread stall, worst run", "50 ms target", ours.longestStall, 50,
                "ms of the UI thread's own time");
    // Lengthened by whatever else the machine runs meanwhile.
    PrintFigure("matching longest UI-thread stall by the wall clock, worst run", "50 ms target", ours.longestWallStall,
                50, "ms");
    PrintFigure("matching memory per row", "QStandardItemModel row of the same five texts", ours.bytesPerRow / 1024,
                referenceBytes / 1024, "KiB", 2);
    curl_global_cleanup();
    return 0;
}
