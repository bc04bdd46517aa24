// The item list with a long list beside QTableView on QStandardItemModel:
// adding rows with pictures, hiding every tenth row, finding rows by their
// data and removing everything, and filling two groups row by row, each step
// until the view has caught up.
#include "bench/BenchFigure.h"
#include "bench/BenchQt.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/grid/ItemListGridCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kHidden = 10000;
constexpr int kFinds = 200;
constexpr int kRuns = 3;
constexpr int kIdRole = Qt::UserRole + 1;

double Millis(const std::function<void()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int FindTarget(int k)
{
    return static_cast<int>((static_cast<long long>(k) * 7919) % kRows);
}

struct Figures {
    double add = 0;
    double hide = 0;
    double find = 0;
    double removeAll = 0;
    double groups = 0;
    int shownAfterHide = 0;
    long long foundSum = 0;
};

Figures RunOurs(std::vector<PerformanceSummary>& tracks)
{
    Figures figures;
    CItemListGridCtrl list;
    list.SetupColumns();
    list.resize(480, 600);
    list.show();
    QApplication::processEvents();
    figures.add = Millis([&] {
        for (PerformanceSummary& track : tracks)
            list.AddPerformance(track);
    });
    figures.hide = Millis([&] {
        for (int k = 0; k < kHidden; ++k)
            list.SetRowHidden(k * (kRows / kHidden), true);
    });
    figures.shownAfterHide = list.model()->rowCount();
    std::vector<const void*> wanted;
    for (int k = 0; k < kFinds; ++k)
        wanted.push_back(list.GetDataAt(FindTarget(k)));
    figures.find = Millis([&] {
        for (const void* data : wanted)
            figures.foundSum += list.IndexOfData(data);
    });
    // The list's item references go with the rows.
    figures.removeAll = Millis([&] { list.RemoveAll(); });

    // Two groups filled one after the other: the first one's rows go in
    // above the second group row.
    list.SetOutlineFlag(false);
    CGridRowItem* first = list.AddGroupRow("First");
    CGridRowItem* second = list.AddGroupRow("Second");
    figures.groups = Millis([&] {
        for (int i = 0; i < kRows; ++i)
            list.AddPerformance(tracks[static_cast<std::size_t>(i)], i < kRows / 2 ? first : second);
    });
    return figures;
}

Figures RunReference(const std::vector<PerformanceSummary>& tracks)
{
    Figures figures;
    QStandardItemModel model;
    model.setColumnCount(1);
    QTableView view;
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.verticalHeader()->hide();
    view.horizontalHeader()->hide();
    view.resize(480, 600);
    view.show();
    QApplication::processEvents();
    const QIcon picture(LoadBitmapResource(162));
    figures.add = Millis([&] {
        int id = 0;
        for (const PerformanceSummary& track : tracks) {
            auto* item = new QStandardItem(picture, QString::fromStdString(PerformanceDisplayText(track)));
            item->setData(id++, kIdRole);
            model.appendRow(item);
        }
    });
    figures.hide = Millis([&] {
        for (int k = 0; k < kHidden; ++k)
            view.setRowHidden(k * (kRows / kHidden), true);
    });
    for (int r = 0; r < model.rowCount(); ++r)
        figures.shownAfterHide += view.isRowHidden(r) ? 0 : 1;
    figures.find = Millis([&] {
        for (int k = 0; k < kFinds; ++k) {
            const QModelIndexList found = model.match(model.index(0, 0), kIdRole, FindTarget(k), 1, Qt::MatchExactly);
            figures.foundSum += found.isEmpty() ? -1 : found.front().row();
        }
    });
    figures.removeAll = Millis([&] { model.removeRows(0, model.rowCount()); });

    // The reference knows where each group ends.
    model.appendRow(new QStandardItem("First"));
    model.appendRow(new QStandardItem("Second"));
    figures.groups = Millis([&] {
        for (int i = 0; i < kRows; ++i) {
            auto* item = new QStandardItem(
                picture, QString::fromStdString(PerformanceDisplayText(tracks[static_cast<std::size_t>(i)])));
            item->setData(i, kIdRole);
            if (i < kRows / 2)
                model.insertRow(1 + i, item);
            else
                model.appendRow(item);
        }
    });
    return figures;
}

void Keep(Figures& best, const Figures& run)
{
    best.add = std::min(best.add, run.add);
    best.hide = std::min(best.hide, run.hide);
    best.find = std::min(best.find, run.find);
    best.removeAll = std::min(best.removeAll, run.removeAll);
    best.groups = std::min(best.groups, run.groups);
}

void Report(const char* what, double ours, double theirs)
{
    PrintFigure((std::string("grid ") + what).c_str(), "QTableView on QStandardItemModel", ours, theirs, "ms");
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareOffscreenQt();
    QApplication app(argc, argv);
    std::vector<PerformanceSummary> tracks(kRows);
    for (int i = 0; i < kRows; ++i) {
        tracks[static_cast<std::size_t>(i)].ArtistName = "Artist " + std::to_string(i % 997);
        tracks[static_cast<std::size_t>(i)].SongName = "Song " + std::to_string(i);
    }
    // The best of a few runs of each, taken in turns.
    Figures theirs = RunReference(tracks);
    Figures ours = RunOurs(tracks);
    for (int run = 1; run < kRuns; ++run) {
        Keep(theirs, RunReference(tracks));
        Keep(ours, RunOurs(tracks));
    }
    if (ours.shownAfterHide != theirs.shownAfterHide || ours.foundSum != theirs.foundSum) {
        std::fprintf(stderr, "the grids disagree: %d/%lld shown/found vs %d/%lld\n", ours.shownAfterHide, ours.foundSum,
                     theirs.shownAfterHide, theirs.foundSum);
        return 1;
    }
    Report("add 100000 item rows with pictures", ours.add, theirs.add);
    Report("hide 10000 rows", ours.hide, theirs.hide);
    Report("find 200 rows by data", ours.find, theirs.find);
    Report("remove all rows", ours.removeAll, theirs.removeAll);
    Report("fill two groups of 50000 rows", ours.groups, theirs.groups);
    return 0;
}
