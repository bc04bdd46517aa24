// The Favorites pane with demo's 5,000 favorites from corvanta-server at demo
// scale 100 (a fresh community for each run) beside a
// QTreeView on a QStandardItemModel with five parent rows: filling the groups
// from the loaded favorites model, removing 1,000 selected favorites at once
// (hiding them, then taking the answers), and moving one favorite 1,000 times;
// each step until the view has caught up. Only the user-interface thread's
// work is timed, in its own processor time: the answers wait in a pump's queue
// until their step runs them.
#include "bench/BenchFigure.h"
#include "bench/BenchQt.h"
#include "bench/DemoServer.h"
#include "client/catalogue/ItemRef.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "platform/Dispatcher.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/support/TestPump.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kDemoScale = 100;  // 5,000 favorites of demo, a quarter of each kind
constexpr int kPerKind = 1250;
constexpr int kRemoved = 1000;
constexpr int kMoves = 1000;
constexpr int kRuns = 3;

// The pane's texts of demo's favorites, group by group (Playlists, Playmakers,
// Artists, Tracks), for the reference to show the same.
using GroupTexts = std::array<std::vector<QString>, 4>;

double Millis(const std::function<void()>& step)
{
    Settle();
    const double start = ThreadMillis();
    step();
    QApplication::processEvents();
    return ThreadMillis() - start;
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

Figures RunOurs(CTestPump& pump, const std::string& token, GroupTexts& texts)
{
    Figures figures;
    CFavoritesModel model([&] { return token; });
    PaneServices services;
    services.favorites = &model;
    QWidget host;
    host.resize(480, 700);
    auto* pane = new CBookmarkPane(services);
    pane->Create(&host, IDC_TAB_PANE);
    pane->resize(host.size());
    host.show();
    model.OnSessionChanged("demo", token);
    if (!pump.RunUntil([&] { return model.Loaded(); }, std::chrono::seconds(120)))
        std::abort();
    QApplication::processEvents();
    CItemListGridCtrl& grid = *pane->Grid();
    if (model.PlaylistCount() + model.PlaymakerCount() + model.ArtistCount() + model.TrackCount() != 4 * kPerKind) {
        std::fprintf(stderr, "bench_favorites: demo has not the favorites expected\n");
        std::exit(1);
    }
    for (int group = 0; group < 4; ++group) {
        const auto g = static_cast<CBookmarkPane::Group>(group);
        texts[static_cast<std::size_t>(group)].clear();
        for (int row = grid.IndexOfItem(pane->GroupRow(g)) + 1;
             row < grid.IndexOfItem(pane->GroupRow(static_cast<CBookmarkPane::Group>(group + 1))); ++row)
            texts[static_cast<std::size_t>(group)].push_back(QString::fromStdString(grid.GetCellText(row, 0)));
    }

    // The model is loaded: the pane's groups fill from it.
    pane->OnFavoritesReset();
    QApplication::processEvents();
    figures.fill = Millis([&] { pane->OnFavoritesLoaded(); });

    // 1,000 selected at once go with the Delete key; the answers come later.
    const std::vector<int> chosen =
        RowsToRemove(grid.GetRowCount(), [&](int row) { return grid.GetItemRef(row) != nullptr; });
    grid.SelectRow(chosen.front());
    for (int row : chosen)
        grid.SetIsSelected(row, true);
    QApplication::processEvents();
    figures.hide = Millis([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
    });
    if (!pump.WaitForQueued(4, std::chrono::seconds(120)))
        std::abort();
    figures.answers = Millis([&] { pump.RunPending(); });
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
    if (!pump.RunUntil([&] { return model.PendingCount() == 0; }, std::chrono::seconds(600)))
        std::abort();
    WaitForWorkerThreads(std::chrono::seconds(120));
    delete pane;
    return figures;
}

Figures RunReference(const GroupTexts& texts)
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
        for (int group : {1, 2, 3, 0}) {
            const QIcon& icon = group == 0 ? playlist : group == 1 ? playmaker : group == 2 ? artist : track;
            for (const QString& text : texts[static_cast<std::size_t>(group)])
                model.item(group)->appendRow(new QStandardItem(icon, text));
        }
    });

    // The same favorites in the same order: every fifth of the four groups.
    std::vector<QPersistentModelIndex> chosen;
    int seen = 0;
    for (int group = 0; group < 4 && static_cast<int>(chosen.size()) < kRemoved; ++group)
        for (int row = 0; row < model.item(group)->rowCount() && static_cast<int>(chosen.size()) < kRemoved; ++row)
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
                theirs, "ms of the UI thread");
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareOffscreenQt();
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    QApplication app(argc, argv);
    CTestPump pump;
    // A failed move or removal would show a message; none is expected.
    SetMessageBoxHandler([](const std::string& text, const std::string&, unsigned) {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        return kIdOk;
    });
    std::printf("demo's favorites from corvanta-server at demo scale %d (%d of each kind)\n", kDemoScale, kPerKind);

    // The best of a few runs of each, taken in turns, each on a fresh community.
    Figures ours;
    Figures theirs;
    for (int run = 0; run < kRuns; ++run) {
        CDemoServer server("bench_favorites", kDemoScale);
        GroupTexts texts;
        const Figures mine = RunOurs(pump, server.Token(), texts);
        const Figures reference = RunReference(texts);
        if (run == 0) {
            ours = mine;
            theirs = reference;
        } else {
            Keep(ours, mine);
            Keep(theirs, reference);
        }
    }
    if (ours.rowsAfterRemoval != theirs.rowsAfterRemoval) {
        std::fprintf(stderr, "the panes disagree: %d rows left vs %d\n", ours.rowsAfterRemoval,
                     theirs.rowsAfterRemoval);
        return 1;
    }
    Report("fill 5000 favorites from a loaded model", ours.fill, theirs.fill);
    Report("hide 1000 selected favorites", ours.hide, theirs.hide);
    Report("take the answers removing 1000 favorites", ours.answers, theirs.answers);
    Report("move one favorite 1000 times", ours.moves, theirs.moves);
    return 0;
}
