// CGridCtrl and CItemListGridCtrl with real widgets on the offscreen platform.
#include "client/ui/grid/GridCtrl.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/grid/ItemListGridCtrl.h"

#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/ItemRef.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/catalogue/UserSummary.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

bool Drop(CVSFlexGrid& grid, const QMimeData* mime);

namespace {

using Strings = std::vector<std::string>;

// Records what the grid tells, with the selection as it stood at each call.
struct Recorder : IGridListener {
    CGridCtrl* grid = nullptr;
    Strings calls;

    std::string Name(CGridRowItem* item) const
    {
        const int index = grid->IndexOfItem(item);
        return index < 0 ? "none" : grid->GetCellText(index, 0);
    }
    void OnItemClicked(CGridRowItem* item) override { calls.push_back("item " + Name(item)); }
    void OnContextRequest(CGridRowItem* item, int, int) override
    {
        calls.push_back("context " + Name(item) + " selected " + std::to_string(grid->GetSelectedIndex()));
    }
    void OnCellClicked(int index, int column) override
    {
        calls.push_back("cell " + std::to_string(index) + "," + std::to_string(column));
    }
};

// A grid whose hooks record that they ran.
class CHookedGrid : public CGridCtrl {
public:
    Strings hooks;

protected:
    void OnBeforeLButtonDown(int, int, int index, int, CGridRowItem*, bool&) override { Add("ldown", index); }
    void OnBeforeRButtonDown(int, int, int index, int, CGridRowItem*, bool&) override { Add("rdown", index); }
    void OnMouseLButtonUp(int, int, int index, int, CGridRowItem*) override { Add("lup", index); }
    void OnMouseRButtonUp(int x, int y, int index, int column, CGridRowItem* item) override
    {
        Add("rup", index);
        CGridCtrl::OnMouseRButtonUp(x, y, index, column, item);
    }

private:
    void Add(const char* hook, int index) { hooks.push_back(std::string(hook) + " " + std::to_string(index)); }
};

struct GridCtrlFixture : testing::Test {
    CHookedGrid grid;
    Recorder recorder;

    void SetUp() override
    {
        recorder.grid = &grid;
        grid.AddListener(&recorder);
        grid.resize(400, 400);
        grid.show();
    }
    Strings Texts()
    {
        Strings texts;
        for (int i = 0; i < grid.GetRowCount(); ++i)
            texts.push_back(grid.GetCellText(i, 0));
        return texts;
    }
    QPoint Centre(int index, int col = 0) { return grid.CellRect(index + grid.FixedRows(), col).center(); }
};

TEST_F(GridCtrlFixture, RowOperations)
{
    grid.Setup(true);
    grid.SetFormatString("A | B");
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.GetRowCount(), 0);

    // Groups: "P" with two children, "Q" with none, "R" with one.
    CGridRowItem* p = grid.AddGroupRow("P");
    CGridRowItem* q = grid.AddGroupRow("Q");
    CGridRowItem* r = grid.AddGroupRow("R");
    EXPECT_TRUE(grid.OutlineBar());
    EXPECT_EQ(grid.GetSelectedItem(), r) << "a group row is selected when added";
    grid.AddRowInGroup("r1", r);
    grid.AddRowInGroup("p1\tsecond", p);
    grid.AddRowInGroup("p2", p);

    struct Case {
        const char* what;
        std::function<void()> change;
        Strings rows;
    };
    const Case cases[] = {
        {"without an offset: after the last child", [] {}, {"P", "p1", "p2", "Q", "R", "r1"}},
        {"on a group without children: right under it",
         [&] { grid.AddRowInGroup("q1", q); },
         {"P", "p1", "p2", "Q", "q1", "R", "r1"}},
        {"with an offset", [&] { grid.AddRowInGroup("p0", p, 0); }, {"P", "p0", "p1", "p2", "Q", "q1", "R", "r1"}},
        {"a nested group",
         [&] { grid.AddGroupRowInGroup("S", p); },
         {"P", "p0", "p1", "p2", "S", "Q", "q1", "R", "r1"}},
        {"at an index", [&] { grid.AddRow("top", 0); }, {"top", "P", "p0", "p1", "p2", "S", "Q", "q1", "R", "r1"}},
        {"removing a row", [&] { grid.RemoveRow(0); }, {"P", "p0", "p1", "p2", "S", "Q", "q1", "R", "r1"}},
        {"removing children", [&] { grid.RemoveGroupChildren(p); }, {"P", "Q", "q1", "R", "r1"}},
        {"a plain row keeps its children",
         [&] { grid.RemoveGroupChildren(grid.GetRowItem(2)); },
         {"P", "Q", "q1", "R", "r1"}},
        {"removing an item", [&] { grid.RemoveItem(grid.GetRowItem(2)); }, {"P", "Q", "R", "r1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        EXPECT_EQ(Texts(), c.rows);
    }
    EXPECT_EQ(grid.GetGroupChildCount(p), 0);
    EXPECT_EQ(grid.GetGroupChildCount(q), 0);
    EXPECT_EQ(grid.GetGroupChildCount(r), 1);
    EXPECT_EQ(grid.RowOutlineLevel(grid.IndexOfItem(p) + 1), 0);
    EXPECT_TRUE(p->IsGroup());
    EXPECT_FALSE(grid.GetRowItem(3)->IsGroup());

    grid.RemoveAll();
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.Rows(), 1) << "the header row stays";
    EXPECT_EQ(grid.TextMatrix(0, 1), "B");
}

TEST_F(GridCtrlFixture, ItemsAndDataAreFoundByIndex)
{
    grid.Setup(true);
    grid.SetCols(2);
    int records[4] = {};
    for (int i = 0; i < 4; ++i)
        grid.SetItemData(grid.IndexOfItem(grid.AddRow("row " + std::to_string(i))), &records[i]);
    CGridRowItem* added = grid.AddRow("no data", 1);
    EXPECT_EQ(grid.IndexOfItem(added), 1);
    EXPECT_EQ(grid.IndexOfData(&records[3]), 4);
    EXPECT_EQ(grid.IndexOfData(nullptr), 1);
    EXPECT_EQ(grid.GetDataAt(0), &records[0]);
    EXPECT_EQ(CGridCtrl::GetItemData(grid.GetRowItem(2)), &records[1]);
    grid.SetItemData(0, &records[3]);
    EXPECT_EQ(grid.IndexOfData(&records[3]), 0) << "the first row with the data";
    grid.RemoveRow(0);
    EXPECT_EQ(grid.IndexOfData(&records[3]), 3);
    EXPECT_EQ(grid.IndexOfData(&records[0]), -1);
    EXPECT_EQ(grid.IndexOfItem(nullptr), -1);
    EXPECT_EQ(grid.GetRowItem(99), nullptr);
    EXPECT_EQ(grid.GetDataAt(-1), nullptr);

    grid.SetCellText(1, 1, "second");
    EXPECT_EQ(grid.GetCellText(1, 1), "second");
    grid.SetCellColour(1, 1, 0x008000);
    EXPECT_EQ(grid.CellForeColor(2, 1), QColor(0, 128, 0));
    grid.SetCellColour(1, 0, 0x000080);
    EXPECT_EQ(grid.CellForeColor(2, 0), QColor(128, 0, 0)) << "colours are 0xBBGGRR";
    grid.SetCellBitmap(1, 162);
    EXPECT_EQ(grid.CellPicture(2, 0).toImage(), LoadBitmapResource(162).toImage());
    EXPECT_FALSE(grid.CellPicture(2, 0).isNull());

    grid.SelectCell(2, 1);
    EXPECT_EQ(grid.GetCurrentIndex(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.palette().color(QPalette::Base), LookAndFeelPalette::gridBackground());
    EXPECT_EQ(grid.palette().color(QPalette::Text), LookAndFeelPalette::gridText());
}

// The grid against a plain list of what it should hold: rows added and removed
// through every path, data changed and rows moved, and after each step every
// row, every data lookup and every row ever made found where the list says.
class RowIdentityTest : public testing::TestWithParam<unsigned> {
protected:
    struct Entry {
        int key;  // the row's text is "r" + key
        void* data;
        bool group;
    };

    CGridCtrl grid;
    std::vector<Entry> rows;
    std::vector<CGridRowId> made;  // by key
    int records[6] = {};
    std::mt19937 random{GetParam()};

    int Pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); }
    void* PickData() { return Pick(7) == 0 ? nullptr : &records[Pick(6)]; }
    int Count() const { return static_cast<int>(rows.size()); }

    int Find(int key) const
    {
        for (int i = 0; i < Count(); ++i)
            if (rows[static_cast<std::size_t>(i)].key == key)
                return i;
        return -1;
    }
    // Children of a group row: the rows after it up to the next group row.
    int LastChild(int group) const
    {
        int last = -1;
        for (int i = group + 1; i < Count() && !rows[static_cast<std::size_t>(i)].group; ++i)
            last = i;
        return last;
    }
    std::optional<int> AnyGroup()
    {
        std::vector<int> groups;
        for (int i = 0; i < Count(); ++i)
            if (rows[static_cast<std::size_t>(i)].group)
                groups.push_back(i);
        if (groups.empty())
            return std::nullopt;
        return groups[static_cast<std::size_t>(Pick(static_cast<int>(groups.size())))];
    }

    void Added(CGridRowItem* item, bool group, int at)
    {
        const int key = static_cast<int>(made.size());
        made.push_back(grid.RowIdOf(item));
        grid.SetCellText(grid.IndexOfItem(item), 0, "r" + std::to_string(key));
        rows.insert(rows.begin() + at, Entry{key, nullptr, group});
    }
    void Erase(int first, int count) { rows.erase(rows.begin() + first, rows.begin() + first + count); }

    void Step()
    {
        const int widgetOffset = grid.FixedRows();
        // Mostly adds, so that the grid grows between the rare clearings.
        enum Op {
            kAdd,
            kAddGroup,
            kAddInGroup,
            kSetData,
            kRemoveRow,
            kRemoveItem,
            kWidgetRemove,
            kSetRows,
            kRemoveChildren,
            kMove,
            kRemoveAll,
            kSetup
        };
        static constexpr int kWeights[] = {260, 40, 160, 100, 35, 30, 30, 15, 6, 100, 2, 2};
        std::discrete_distribution<int> ops(std::begin(kWeights), std::end(kWeights));
        const int op = Count() == 0 ? Pick(3) : ops(random);
        switch (op) {
        case kAdd: {  // at an index or at the end
            const int at = Pick(Count() + 2) - 1;
            Added(grid.AddRow("", at), false, at < 0 ? Count() : at);
            break;
        }
        case kAddGroup: {
            const int at = Pick(Count() + 1);
            Added(grid.AddGroupRow("", at), true, at);
            break;
        }
        case kAddInGroup: {  // with or without an offset
            const auto group = AnyGroup();
            if (!group)
                break;
            const int last = LastChild(*group);
            const int children = last < 0 ? 0 : last - *group;
            const int offset = Pick(children + 2) - 1;
            const int at = offset >= 0 ? *group + offset + 1 : (last < 0 ? *group + 1 : last + 1);
            Added(grid.AddRowInGroup("", grid.GetRowItem(*group), offset), false, at);
            break;
        }
        case kSetData: {
            const int index = Pick(Count());
            void* data = PickData();
            grid.SetItemData(index, data);
            rows[static_cast<std::size_t>(index)].data = data;
            break;
        }
        case kRemoveRow: {
            const int index = Pick(Count());
            grid.RemoveRow(index);
            Erase(index, 1);
            break;
        }
        case kRemoveItem: {
            const int index = Pick(Count());
            grid.RemoveItem(grid.GetRowItem(index));
            Erase(index, 1);
            break;
        }
        case kWidgetRemove: {  // the widget's own removals
            const int index = Pick(Count());
            const int count = 1 + Pick(std::min(3, Count() - index));
            if (count == 1)
                grid.CVSFlexGrid::RemoveItem(index + widgetOffset);
            else
                grid.RemoveItems(index + widgetOffset, count);
            Erase(index, count);
            break;
        }
        case kSetRows: {
            const int keep = Count() - 1 - Pick(std::min(4, Count()));
            grid.SetRows(keep + widgetOffset);
            Erase(keep, Count() - keep);
            break;
        }
        case kRemoveChildren: {
            const auto group = AnyGroup();
            if (!group)
                break;
            const int last = LastChild(*group);
            grid.RemoveGroupChildren(grid.GetRowItem(*group));
            if (last >= 0)
                Erase(*group + 1, last - *group);
            break;
        }
        case kMove: {
            const int from = Pick(Count());
            const int to = Pick(Count());
            grid.MoveRow(from + widgetOffset, to + widgetOffset);
            const Entry moved = rows[static_cast<std::size_t>(from)];
            Erase(from, 1);
            rows.insert(rows.begin() + to, moved);
            break;
        }
        case kRemoveAll:
            grid.RemoveAll();
            rows.clear();
            break;
        default:  // set up again while filled
            grid.Setup(Pick(2) == 0);
            grid.SetCols(1);
            rows.clear();
            break;
        }
    }

    void Check()
    {
        ASSERT_EQ(grid.GetRowCount(), Count());
        for (int i = 0; i < Count(); ++i) {
            const Entry& entry = rows[static_cast<std::size_t>(i)];
            ASSERT_EQ(grid.GetCellText(i, 0), "r" + std::to_string(entry.key)) << "row " << i;
            ASSERT_EQ(grid.GetDataAt(i), entry.data) << "row " << i;
            ASSERT_EQ(grid.GetRowItem(i)->IsGroup(), entry.group) << "row " << i;
            ASSERT_EQ(grid.IndexOfItem(grid.GetRowItem(i)), i);
        }
        for (int k = -1; k < 6; ++k) {
            void* data = k < 0 ? nullptr : &records[k];
            int first = -1;
            for (int i = 0; i < Count() && first < 0; ++i)
                if (rows[static_cast<std::size_t>(i)].data == data)
                    first = i;
            ASSERT_EQ(grid.IndexOfData(data), first) << "data " << k;
        }
        for (int key = 0; key < static_cast<int>(made.size()); ++key)
            ASSERT_EQ(grid.IndexOfRow(made[static_cast<std::size_t>(key)]), Find(key)) << "row r" << key;
    }
};

TEST_P(RowIdentityTest, AgreesWithAPlainList)
{
    grid.Setup(false);
    grid.SetCols(1);
    int most = 0;
    for (int step = 0; step < 1500; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        Step();
        Check();
        if (HasFatalFailure())
            return;
        most = std::max(most, Count());
    }
    EXPECT_GT(most, 50) << "the grid grew enough to matter";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RowIdentityTest, testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

TEST_F(GridCtrlFixture, ARemovedRowIsNeverFoundAsTheRowThatReusesItsItem)
{
    grid.Setup(true);
    grid.SetCols(1);
    int records[2] = {};
    grid.AddRow("keep");
    CGridRowItem* old = grid.AddRow("old");
    grid.SetItemData(1, &records[0]);
    const CGridRowId oldId = grid.RowIdOf(old);
    EXPECT_EQ(grid.IndexOfRow(oldId), 1);

    grid.SetRows(2);  // the widget drops the last row
    CGridRowItem* fresh = grid.AddRow("new");
    grid.SetItemData(1, &records[1]);
    EXPECT_EQ(grid.IndexOfData(&records[0]), -1);
    EXPECT_EQ(grid.IndexOfRow(oldId), -1) << "even when the new row reuses the item: " << (fresh == old);
    EXPECT_NE(grid.RowIdOf(fresh), oldId);
    EXPECT_EQ(grid.IndexOfRow(grid.RowIdOf(fresh)), 1);
    EXPECT_EQ(grid.RowIdOf(nullptr), CGridRowId());
    EXPECT_EQ(grid.IndexOfRow(CGridRowId()), -1);

    const CGridRowId keep = grid.GetRowId(0);
    grid.RemoveAll();
    grid.AddRow("after");
    EXPECT_EQ(grid.IndexOfRow(keep), -1);
    EXPECT_EQ(grid.IndexOfRow(grid.GetRowId(0)), 0);
}

TEST_F(GridCtrlFixture, MouseReachesTheHooksOnRowsOnly)
{
    grid.Setup(true);
    grid.SetCols(2);
    grid.SetSelectionMode(CVSFlexGrid::SelectionMode::ByRow);
    for (const char* text : {"a", "b", "c"})
        grid.AddRow(text);
    grid.SelectRow(0);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Centre(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, Centre(2));
    // Outside the rows: below the last one, and on the header row.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, grid.viewport()->height() - 3));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, QPoint(5, grid.viewport()->height() - 3));
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_EQ(grid.hooks, (Strings{"ldown 1", "lup 1", "rdown 2", "rup 2"}));
    // The right-button release selected the unselected row before the listener heard of it.
    EXPECT_EQ(recorder.calls,
              (Strings{"item b", "cell 1,1", "context c selected 2", "item c", "cell 2,0", "item c", "cell 2,0"}));
}

TEST_F(GridCtrlFixture, ListenersHearInOrderAndMayLeave)
{
    grid.Setup(false);
    grid.SetCols(1);
    grid.AddRow("only");
    Recorder second;
    second.grid = &grid;
    grid.AddListener(&second);
    // No row is current yet: a click below the rows tells nobody.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, grid.viewport()->height() - 3));
    EXPECT_TRUE(second.calls.empty());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Centre(0));
    grid.RemoveListener(&recorder);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Centre(0));
    EXPECT_EQ(recorder.calls, (Strings{"item only", "cell 0,0"}));
    EXPECT_EQ(second.calls, (Strings{"item only", "cell 0,0", "item only", "cell 0,0"}));
}

struct ItemListFixture : testing::Test {
    CItemListGridCtrl list;
    Recorder recorder;

    void SetUp() override
    {
        list.SetupColumns();
        recorder.grid = &list;
        list.AddListener(&recorder);
        list.resize(400, 300);
        list.show();
    }
    QPoint Centre(int index) { return list.CellRect(index, 0).center(); }
};

TEST_F(ItemListFixture, RowsOfEveryKind)
{
    PlaylistDetail detail;
    detail.Summary.Name = "Road";
    detail.Summary.Playmaker.Handle = "demo";
    PlaylistSummary summary;
    summary.Name = "Night";
    summary.Playmaker.Handle = "ann";
    UserSummary user;
    user.Handle = "bob";
    ArtistSummary artist;
    artist.Name = "Kestrel";
    PerformanceSummary plain;
    plain.ArtistName = "Kestrel";
    plain.SongName = "Low Sun";
    PerformanceSummary version = plain;
    version.Version = "Live";

    struct Case {
        CGridRowItem* item;
        const char* text;
        unsigned bitmap;
        ItemKind kind;
        void* record;
    };
    const Case cases[] = {
        {list.AddPlaylist(detail), "Road by demo", 161, kItemPlaylistDetail, &detail},
        {list.AddPlaylistSummary(summary), "Night by ann", 161, kItemPlaylist, &summary},
        {list.AddPlaymaker(user), "bob", 163, kItemUser, &user},
        {list.AddArtist(artist), "Kestrel", 160, kItemArtist, &artist},
        {list.AddPerformance(plain), "Kestrel : Low Sun", 162, kItemPerformance, &plain},
        {list.AddPerformance(version), "Kestrel : Low Sun (Live)", 162, kItemPerformance, &version},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const int index = list.IndexOfItem(c.item);
        EXPECT_EQ(list.GetCellText(index, 0), c.text);
        auto* ref = static_cast<CItemRef*>(CGridCtrl::GetItemData(c.item));
        ASSERT_NE(ref, nullptr);
        EXPECT_EQ(ref->Kind(), c.kind);
        EXPECT_EQ(ref->Record(), c.record);
        EXPECT_EQ(list.IndexOfData(ref), index);
        EXPECT_EQ(list.CellPicture(index, 0).toImage(), LoadBitmapResource(c.bitmap).toImage());
        EXPECT_TRUE(list.IsSubtotal(index)) << "item rows are outline nodes by default";
        EXPECT_EQ(list.RowOutlineLevel(index), 0) << "no outline shown yet";
    }
    EXPECT_EQ(list.FixedRows(), 0);
    EXPECT_EQ(list.Cols(), 1);
    EXPECT_EQ(list.ColWidthTwips(0), 7200);
}

TEST_F(ItemListFixture, ItemReferencesGoWithTheirRowsAndPaneDataStaysThePanes)
{
    ArtistSummary a;
    ArtistSummary b;
    list.SetOutlineFlag(false);
    CGridRowItem* group = list.AddGroupRow("Artists");
    list.AddArtist(a, group);
    list.AddArtist(b, group);
    list.AddArtist(a, group);
    list.AddRowInGroup("text row", group);
    EXPECT_EQ(list.RowsOfRecord(&a), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.RowsOfRecord(&b), (std::vector<int>{2}));
    EXPECT_EQ(list.GetItemRef(0), nullptr) << "group row";
    EXPECT_EQ(list.GetItemRef(4), nullptr) << "text row";
    ASSERT_NE(list.GetItemRef(1), nullptr);
    EXPECT_EQ(list.GetItemRef(1)->Record(), &a);

    // Each way a row goes takes its reference along.
    list.RemoveRow(1);
    EXPECT_EQ(list.RowsOfRecord(&a), (std::vector<int>{2}));
    int marker = 0;
    list.SetItemData(2, &marker);
    EXPECT_TRUE(list.RowsOfRecord(&a).empty()) << "replaced by the pane's own data";
    EXPECT_EQ(list.GetItemRef(2), nullptr) << "the pane's data is no item reference";
    EXPECT_EQ(list.GetDataAt(2), &marker);
    list.RemoveGroupChildren(group);
    EXPECT_TRUE(list.RowsOfRecord(&b).empty());
    list.AddArtist(b, group);
    list.RemoveAll();
    EXPECT_TRUE(list.RowsOfRecord(&b).empty());
    EXPECT_EQ(marker, 0);
}

TEST_F(ItemListFixture, SelectedRowsInGridOrderAndHiddenRows)
{
    std::vector<ArtistSummary> artists(6);
    for (ArtistSummary& artist : artists)
        list.AddArtist(artist);
    list.SelectRow(4);
    list.SetIsSelected(1, true);
    list.SetIsSelected(3, true);
    EXPECT_EQ(list.GetSelectedIndices(), (std::vector<int>{1, 3, 4}));
    list.HideRow(3);
    list.Flush();
    EXPECT_TRUE(list.IsRowHidden(3));
    EXPECT_EQ(list.IndexOfData(list.GetItemRef(3)), 3) << "a hidden row keeps its place and item";
    EXPECT_EQ(list.GetSelectedIndices(), (std::vector<int>{1, 4})) << "a hidden row is not selected";
    list.HideRow(3, false);
    list.Flush();
    EXPECT_FALSE(list.IsRowHidden(3));
    EXPECT_FALSE(list.IsRowHidden(99));
}

TEST_F(ItemListFixture, RowsRemovedTogetherKeepWhatTheViewShows)
{
    std::vector<ArtistSummary> artists(8);
    for (std::size_t i = 0; i < artists.size(); ++i) {
        artists[i].Name = std::to_string(i);
        list.AddArtist(artists[i]);
    }
    for (int row : {1, 3, 4, 6})
        list.HideRow(row);
    list.SelectRow(5);
    list.Flush();
    // Hidden rows only: one pass, the shown rows and the selection stay.
    list.RemoveRows({6, 1, 4});
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetRowCount(); ++i)
        texts.push_back((list.IsRowHidden(i) ? "~" : "") + list.GetCellText(i, 0));
    EXPECT_EQ(texts, (Strings{"0", "2", "~3", "5", "7"}));
    EXPECT_EQ(list.model()->rowCount(), 4);
    EXPECT_EQ(list.GetSelectedIndices(), std::vector<int>{3});
    EXPECT_TRUE(list.RowsOfRecord(&artists[1]).empty()) << "their references went with them";
    EXPECT_EQ(list.RowsOfRecord(&artists[5]), std::vector<int>{3});
    // With a shown row among them they go one by one, and the view hears of it.
    list.RemoveRows({2, 0, 4});
    texts.clear();
    for (int i = 0; i < list.GetRowCount(); ++i)
        texts.push_back((list.IsRowHidden(i) ? "~" : "") + list.GetCellText(i, 0));
    EXPECT_EQ(texts, (Strings{"2", "5"}));
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_EQ(list.GetSelectedIndices(), std::vector<int>{1});
}

TEST_F(ItemListFixture, OutlineFlagAndGroups)
{
    ArtistSummary a;
    a.Name = "A";
    ArtistSummary b;
    b.Name = "B";
    CGridRowItem* group = list.AddGroupRow("Artists");
    CGridRowItem* first = list.AddArtist(a, group);
    EXPECT_TRUE(list.IsSubtotal(list.IndexOfItem(first)));
    EXPECT_EQ(list.RowOutlineLevel(list.IndexOfItem(first)), 1);
    list.SetOutlineFlag(false);
    CGridRowItem* second = list.AddArtist(b, group);
    EXPECT_FALSE(list.IsSubtotal(list.IndexOfItem(second)));
    EXPECT_EQ(list.IndexOfItem(second), 2);
    EXPECT_EQ(list.GetGroupChildCount(group), 2);
}

TEST_F(ItemListFixture, RightButtonSelectsTheRowAndAsksForTheMenu)
{
    UserSummary users[3];
    for (int i = 0; i < 3; ++i) {
        users[i].Handle = "u" + std::to_string(i);
        list.AddPlaymaker(users[i]);
    }
    list.SelectRow(0);
    list.SetIsSelected(1, true);
    // A press on a selected row keeps the selection of several rows.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, Centre(1));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1}));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, Centre(2));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(recorder.calls, (Strings{"context u1 selected 0", "context u2 selected 2"}));
}

TEST_F(ItemListFixture, DragOutCarriesTheMarkerAndDropsAreTakenAndIgnored)
{
    UserSummary user;
    list.AddPlaymaker(user);
    list.SelectRow(0);
    std::unique_ptr<QMimeData> mime(list.MakeOleDragData());
    ASSERT_TRUE(mime->hasFormat(kItemListDragFormat));
    const QByteArray bytes = mime->data(kItemListDragFormat);
    ASSERT_EQ(bytes.size(), 4);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData()), 4);

    for (bool files : {true, false}) {
        QMimeData dropped;
        if (files)
            dropped.setUrls({QUrl::fromLocalFile("/tmp/x.mp3")});
        else
            dropped.setText("text");
        EXPECT_TRUE(Drop(list, &dropped));
    }
    EXPECT_EQ(list.GetRowCount(), 1);
}

}  // namespace
