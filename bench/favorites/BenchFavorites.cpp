// The Favorites pane with 5,000 favorites from a loaded favorites model beside
// a QTreeView on a QStandardItemModel with five parent rows: filling the groups,
// removing 1,000 selected favorites at once (hiding them, then taking the
// answers), and moving one favorite 1,000 times; each step until the view has
// caught up. Only the user-interface thread's work is timed: the answers wait
// in the bench's own dispatcher queue until their step runs them.
#include "bench/BenchFigure.h"
#include "client/catalogue/ItemRef.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/protocol/ServerSettings.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "platform/Dispatcher.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTreeView>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPerKind = 1250;  // 5,000 favorites over the four kinds
constexpr int kRemoved = 1000;
constexpr int kMoves = 1000;
constexpr int kRuns = 3;
constexpr char kToken[] = "bench";

// The user-interface thread's queue, run only when a step says so.
class CQueueDispatcher : public IUiDispatcher {
public:
    CQueueDispatcher() { SetUiDispatcher(this); }
    ~CQueueDispatcher() { SetUiDispatcher(nullptr); }
    void Post(std::function<void()> task) override
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        m_arrived.notify_all();
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, std::chrono::seconds(120), [&] { return m_tasks.size() >= count; });
    }
    void RunAll()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(m_mutex);
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_tasks;
};

// A loopback server answering the favorites pages: a generated favorites list
// of kPerKind of each kind, and success for every removal and move.
class CFavoritesServer {
public:
    CFavoritesServer() : m_list(FavoritesDocument())
    {
        m_server.Post("/corvanta/production/orvane/bookmark/GetUserBookmarks.jsp",
                      [this](const httplib::Request&, httplib::Response& res) { res.set_content(m_list, "text/xml"); });
        m_server.Post("/corvanta/production/orvane/bookmark/DeleteBookmark.jsp",
                      [](const httplib::Request&, httplib::Response& res) {
                          res.set_content("<Bookmarks><DeleteSuccess>1</DeleteSuccess></Bookmarks>", "text/xml");
                      });
        m_server.Post("/corvanta/production/orvane/bookmark/MoveBookmark.jsp",
                      [](const httplib::Request&, httplib::Response& res) {
                          res.set_content("<Bookmarks><MoveSuccessful>1</MoveSuccessful></Bookmarks>", "text/xml");
                      });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~CFavoritesServer()
    {
        m_server.stop();
        m_thread.join();
    }
    std::uint16_t Port() const { return static_cast<std::uint16_t>(m_port); }

private:
    static std::string FavoritesDocument()
    {
        std::string xml = "<Bookmarks>";
        int bookmark = 1;
        for (int i = 0; i < kPerKind; ++i, ++bookmark)
            xml += "<PlaylistSummary playlistID='" + std::to_string(10000 + i) + "'><Name>Playlist " + std::to_string(i) +
                   "</Name><Playmaker playmakerID='" + std::to_string(1 + i % 97) + "'><PlaymakerName>maker" +
                   std::to_string(i % 97) + "</PlaymakerName></Playmaker><BookmarkID>" + std::to_string(bookmark) +
                   "</BookmarkID></PlaylistSummary>";
        for (int i = 0; i < kPerKind; ++i, ++bookmark)
            xml += "<ArtistSummary artistID='" + std::to_string(20000 + i) + "'><Name>Artist " + std::to_string(i) +
                   "</Name><BookmarkID>" + std::to_string(bookmark) + "</BookmarkID></ArtistSummary>";
        for (int i = 0; i < kPerKind; ++i, ++bookmark)
            xml += "<UserSummary userID='" + std::to_string(30000 + i) + "'><Handle>member" + std::to_string(i) +
                   "</Handle><BookmarkID>" + std::to_string(bookmark) + "</BookmarkID></UserSummary>";
        for (int i = 0; i < kPerKind; ++i, ++bookmark)
            xml += "<PerformanceSummary performanceID='" + std::to_string(40000 + i) +
                   "'><PrimaryArtist primaryArtistID='1'><ArtistName>Artist " + std::to_string(i % 997) +
                   "</ArtistName></PrimaryArtist><SongName>Song " + std::to_string(i) + "</SongName><BookmarkID>" +
                   std::to_string(bookmark) + "</BookmarkID></PerformanceSummary>";
        return xml + "</Bookmarks>";
    }

    httplib::Server m_server;
    std::string m_list;
    int m_port = 0;
    std::thread m_thread;
};

// What earlier steps left for the event loop (layouts, paints) is done first.
void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

double Millis(const std::function<void()>& step)
{
    Settle();
    const auto start = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Figures {
    double fill = 0;
    double hide = 0;
    double answers = 0;
    double moves = 0;
    int rowsAfterRemoval = 0;
};

// Every fifth favorite row of the four groups, 1,000 in all.
template <class IsFavorite>
std::vector<int> RowsToRemove(int rowCount, IsFavorite isFavorite)
{
    std::vector<int> rows;
    int seen = 0;
    for (int row = 0; row < rowCount && static_cast<int>(rows.size()) < kRemoved; ++row) {
        if (isFavorite(row) && seen++ % 5 == 0)
            rows.push_back(row);
    }
    return rows;
}

Figures RunOurs(CQueueDispatcher& dispatcher)
{
    Figures figures;
    CFavoritesModel model([] { return std::string(kToken); });
    PaneServices services;
    services.favorites = &model;
    QWidget host;
    host.resize(480, 700);
    auto* pane = new CBookmarkPane(services);
    pane->Create(&host, IDC_TAB_PANE);
    pane->resize(host.size());
    host.show();
    model.OnSessionChanged("demo", kToken);
    if (!dispatcher.WaitFor(1))
        std::abort();
    dispatcher.RunAll();
    QApplication::processEvents();
    CItemListGridCtrl& grid = *pane->Grid();

    // The model is loaded: the pane's groups fill from it.
    pane->OnFavoritesReset();
    QApplication::processEvents();
    figures.fill = Millis([&] { pane->OnFavoritesLoaded(); });

    // 1,000 selected at once go with the Delete key; the answers come later.
    const std::vector<int> chosen = RowsToRemove(grid.GetRowCount(), [&](int row) { return grid.GetItemRef(row) != nullptr; });
    grid.SelectRow(chosen.front());
    for (int row : chosen)
        grid.SetIsSelected(row, true);
    QApplication::processEvents();
    figures.hide = Millis([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
    });
    if (!dispatcher.WaitFor(4))
        std::abort();
    figures.answers = Millis([&] { dispatcher.RunAll(); });
    figures.rowsAfterRemoval = grid.GetRowCount();

    // One track dragged from the top of its group to the bottom and back.
    const int first = grid.IndexOfItem(pane->GroupRow(CBookmarkPane::kTracks)) + 1;
    const int last = grid.IndexOfItem(pane->GroupRow(CBookmarkPane::kICreated)) - 1;
    figures.moves = Millis([&] {
        for (int i = 0; i < kMoves; ++i) {
            const int from = i % 2 == 0 ? first : last;
            int to = i % 2 == 0 ? last : first;
            emit grid.BeforeMoveRow(from, to);
            if (to != from)
                grid.MoveRow(from, to);
        }
    });
    // The moves go to the server one after the other, each when the last is answered.
    while (model.PendingCount() > 0) {
        if (!dispatcher.WaitFor(1))
            std::abort();
        dispatcher.RunAll();
    }
    WaitForWorkerThreads(std::chrono::seconds(120));
    delete pane;
    return figures;
}

Figures RunReference()
{
    Figures figures;
    QStandardItemModel model;
    QTreeView view;
    view.setModel(&model);
    view.setHeaderHidden(true);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.resize(480, 700);
    view.show();
    const char* groups[] = {"Playlists", "Playmakers", "Artists", "Tracks", "I Created"};
    for (const char* group : groups)
        model.appendRow(new QStandardItem(QString::fromLatin1(group)));
    view.expandAll();
    QApplication::processEvents();
    const QIcon playlist(LoadBitmapResource(IDB_PLAYLIST));
    const QIcon playmaker(LoadBitmapResource(IDB_PLAYMAKER));
    const QIcon artist(LoadBitmapResource(IDB_ARTIST));
    const QIcon track(LoadBitmapResource(IDB_PERFORMANCE));
    figures.fill = Millis([&] {
        // In the pane's order: playmakers, artists, tracks, playlists.
        for (int i = 0; i < kPerKind; ++i)
            model.item(1)->appendRow(new QStandardItem(playmaker, QStringLiteral("member%1").arg(i)));
        for (int i = 0; i < kPerKind; ++i)
            model.item(2)->appendRow(new QStandardItem(artist, QStringLiteral("Artist %1").arg(i)));
        for (int i = 0; i < kPerKind; ++i)
            model.item(3)->appendRow(new QStandardItem(track, QStringLiteral("Artist %1 : Song %2").arg(i % 997).arg(i)));
        for (int i = 0; i < kPerKind; ++i)
            model.item(0)->appendRow(
                new QStandardItem(playlist, QStringLiteral("Playlist %1 by maker%2").arg(i).arg(i % 97)));
    });

    // The same favorites in the same order: every fifth of the four groups.
    std::vector<QPersistentModelIndex> chosen;
    int seen = 0;
    for (int group = 0; group < 4 && static_cast<int>(chosen.size()) < kRemoved; ++group)
        for (int row = 0; row < kPerKind && static_cast<int>(chosen.size()) < kRemoved; ++row)
            if (seen++ % 5 == 0)
                chosen.emplace_back(model.item(group)->child(row)->index());
    for (const QPersistentModelIndex& index : chosen)
        view.selectionModel()->select(index, QItemSelectionModel::Select);
    QApplication::processEvents();
    figures.hide = Millis([&] {
        for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
            view.setRowHidden(index.row(), index.parent(), true);
    });
    figures.answers = Millis([&] {
        for (const QPersistentModelIndex& index : chosen)
            model.removeRow(index.row(), index.parent());
    });
    figures.rowsAfterRemoval = 5;
    for (int group = 0; group < 5; ++group)
        figures.rowsAfterRemoval += model.item(group)->rowCount();

    QStandardItem* tracks = model.item(3);
    figures.moves = Millis([&] {
        for (int i = 0; i < kMoves; ++i) {
            const int last = tracks->rowCount() - 1;
            const int from = i % 2 == 0 ? 0 : last;
            const int to = i % 2 == 0 ? last : 0;
            tracks->insertRow(to, tracks->takeRow(from));
        }
    });
    return figures;
}

void Keep(Figures& best, const Figures& run)
{
    best.fill = std::min(best.fill, run.fill);
    best.hide = std::min(best.hide, run.hide);
    best.answers = std::min(best.answers, run.answers);
    best.moves = std::min(best.moves, run.moves);
}

void Report(const char* what, double ours, double theirs)
{
    PrintFigure((std::string("favorites ") + what).c_str(), "QTreeView on QStandardItemModel, five parent rows", ours,
                theirs, "ms");
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/corvanta-bench-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    QApplication app(argc, argv);
    CQueueDispatcher dispatcher;
    // A failed move or removal would show a message; none is expected.
    SetMessageBoxHandler([](const std::string& text, const std::string&, unsigned) {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        return kIdOk;
    });
    CFavoritesServer server;
    std::printf("favorites from a loopback server answering a generated GetUserBookmarks document "
                "(%d favorites of each kind)\n", kPerKind);
    CServerSettings settings;
    settings.SetServerHost("127.0.0.1");
    settings.SetPortOverride(server.Port(), 0);
    SetActiveServerSettings(&settings);

    // The best of a few runs of each, taken in turns.
    Figures theirs = RunReference();
    Figures ours = RunOurs(dispatcher);
    for (int run = 1; run < kRuns; ++run) {
        Keep(theirs, RunReference());
        Keep(ours, RunOurs(dispatcher));
    }
    SetActiveServerSettings(nullptr);
    if (ours.rowsAfterRemoval != theirs.rowsAfterRemoval) {
        std::fprintf(stderr, "the panes disagree: %d rows left vs %d\n", ours.rowsAfterRemoval, theirs.rowsAfterRemoval);
        return 1;
    }
    Report("fill 5000 favorites from a loaded model", ours.fill, theirs.fill);
    Report("hide 1000 selected favorites", ours.hide, theirs.hide);
    Report("take the answers removing 1000 favorites", ours.answers, theirs.answers);
    Report("move one favorite 1000 times", ours.moves, theirs.moves);
    return 0;
}
