// The grid widget with real widgets on the offscreen platform.
#include "client/ui/grid/VSFlexGrid.h"

#include "client/ui/grid/GridModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

void* Tag(std::intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

// A shown grid with one column and rows "0".."n-1", row r carrying Tag(r + 1).
struct GridFixture : testing::Test {
    CVSFlexGrid grid;

    void Fill(int rows, int cols = 1)
    {
        grid.SetCols(cols);
        for (int r = 0; r < rows; ++r)
            grid.SetRowData(grid.AddItem(QString::number(r)), Tag(r + 1));
        grid.resize(400, 600);
        grid.show();
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
            texts.push_back(grid.TextMatrix(r, 0).toStdString());
        return texts;
    }
    // What the view shows, top to bottom.
    std::vector<std::string> ShownTexts()
    {
        grid.Flush();
        std::vector<std::string> texts;
        for (int v = 0; v < grid.model()->rowCount(); ++v)
            texts.push_back(grid.model()->index(v, 0).data().toString().toStdString());
        return texts;
    }
    QPoint Centre(int row, int col = 0) { return grid.CellRect(row, col).center(); }
};

using Strings = std::vector<std::string>;

}  // namespace

// A drag that enters the grid and drops there; true when the drop was taken.
bool Drop(CVSFlexGrid& grid, const QMimeData* mime)
{
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &drop);
    return drop.isAccepted();
}

namespace {

TEST_F(GridFixture, AddItemSplitsTabsAndInsertsAtTheRow)
{
    grid.SetFixedRows(1);
    grid.SetFormatString("Artist | Title | >Length");
    grid.AddItem("a\tb\tc\textra");
    grid.AddItem("x", 1);
    grid.AddItem("end", -1);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(0, 1), "Title");
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Length");
    EXPECT_EQ(grid.ColAlignment(2), Qt::AlignRight);
    EXPECT_EQ(grid.TextMatrix(1, 0), "x");
    EXPECT_EQ(grid.TextMatrix(2, 0), "a");
    EXPECT_EQ(grid.TextMatrix(2, 2), "c");
    EXPECT_EQ(grid.TextMatrix(3, 0), "end");
    // A row asked for above the header goes under it.
    EXPECT_EQ(grid.AddItem("top", 0), 1);
    grid.SetRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Artist");
}

TEST_F(GridFixture, FindRowFollowsInsertsMovesAndRemovals)
{
    Fill(10);
    struct Step {
        const char* what;
        std::function<void(CVSFlexGrid&)> change;
    };
    const Step steps[] = {
        {"insert at the top", [](CVSFlexGrid& g) { g.SetRowData(g.AddItem("new", 0), Tag(100)); }},
        {"remove in the middle", [](CVSFlexGrid& g) { g.RemoveItem(4); }},
        {"move down", [](CVSFlexGrid& g) { g.MoveRow(1, 7); }},
        {"move up", [](CVSFlexGrid& g) { g.MoveRow(8, 0); }},
        {"data changed", [](CVSFlexGrid& g) { g.SetRowData(2, Tag(200)); }},
        {"remove several", [](CVSFlexGrid& g) { g.RemoveItems(3, 3); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(grid);
        for (int r = 0; r < grid.Rows(); ++r)
            EXPECT_EQ(grid.FindRow(grid.RowData(r)), r);
    }
    EXPECT_EQ(grid.FindRow(Tag(5)), -1);  // row "4" was removed
    EXPECT_EQ(grid.FindRow(Tag(999)), -1);
    // Two rows with the same data: the first from the start row on.
    grid.SetRowData(5, Tag(200));
    EXPECT_EQ(grid.FindRow(Tag(200)), 2);
    EXPECT_EQ(grid.FindRow(Tag(200), 3), 5);
}

TEST_F(GridFixture, HiddenRowsKeepTheirPlaceAndData)
{
    Fill(6);
    grid.SetRowHidden(1, true);
    grid.SetRowHidden(3, true);
    grid.SetRowHidden(4, true);
    EXPECT_EQ(ShownTexts(), (Strings{"0", "2", "5"}));
    EXPECT_EQ(Texts(), (Strings{"0", "1", "2", "3", "4", "5"}));
    EXPECT_TRUE(grid.RowHidden(3));
    EXPECT_EQ(grid.FindRow(Tag(4)), 3);
    // Rows added and removed while others are hidden.
    grid.AddItem("between", 4);  // 0 1h 2 3h between 4h 5
    grid.RemoveItem(2);          // 0 1h 3h between 4h 5
    grid.AddItem("last");
    EXPECT_EQ(ShownTexts(), (Strings{"0", "between", "5", "last"}));
    EXPECT_EQ(grid.FindRow(Tag(6)), 5);
    // The mouse over a shown row names that row's own number.
    QTest::mouseMove(grid.viewport(), Centre(3));
    EXPECT_EQ(grid.MouseRow(), 3);
    EXPECT_EQ(grid.TextMatrix(grid.MouseRow(), 0), "between");
    for (int r = 0; r < grid.Rows(); ++r)
        grid.SetRowHidden(r, false);
    EXPECT_EQ(ShownTexts(), Texts());
}

TEST_F(GridFixture, TheViewCatchesUpFromTheEventLoop)
{
    Fill(3);
    grid.SetRowHidden(1, true);
    grid.AddItem("3");
    // Nothing asks for the shown rows: the event loop brings the view up to date.
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.model()->rowCount() == 3; }, 5000));
    EXPECT_EQ(grid.verticalHeader()->count(), 3);
    EXPECT_EQ(grid.model()->index(1, 0).data().toString(), "2");
}

TEST_F(GridFixture, HidingTheSelectedRowDropsItFromTheSelection)
{
    Fill(5);
    grid.SetSelectionMode(CVSFlexGrid::SelectionMode::ListBox);
    grid.SetIsSelected(1, true);
    grid.SetIsSelected(3, true);
    grid.SetRowHidden(1, true);
    grid.Flush();
    EXPECT_EQ(grid.SelectedRows(), (std::vector<int>{3}));
    grid.SetRowHidden(1, false);
    grid.Flush();
    EXPECT_FALSE(grid.IsSelected(1));
    EXPECT_TRUE(grid.IsSelected(3));
}

TEST_F(GridFixture, SelectionModes)
{
    Fill(5);
    grid.SetSelectionMode(CVSFlexGrid::SelectionMode::ListBox);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Centre(3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Centre(0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Centre(4));
    EXPECT_EQ(grid.SelectedRows(), (std::vector<int>{0, 3, 4}));
    EXPECT_EQ(grid.Row(), 4);

    grid.SetSelectionMode(CVSFlexGrid::SelectionMode::ByRow);
    grid.SetRow(2);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Centre(1));
    EXPECT_EQ(grid.SelectedRows(), (std::vector<int>{1}));
    EXPECT_EQ(grid.Row(), 1);
}

TEST_F(GridFixture, OutlineChildrenAndCollapsing)
{
    // G1 (a b (S c d)) G2 (e) G3
    grid.SetCols(1);
    for (const char* text : {"G1", "a", "b", "S", "c", "d", "G2", "e", "G3"})
        grid.AddItem(text);
    grid.resize(300, 400);
    grid.show();
    for (int r : {0, 6, 8})
        grid.SetIsSubtotal(r, true);
    grid.SetIsSubtotal(3, true);
    grid.SetRowOutlineLevel(3, 1);
    grid.SetOutlineBar(true);
    struct Case {
        int row;
        int first;
        int last;
    };
    const Case cases[] = {{0, 1, 5}, {3, 4, 5}, {6, 7, 7}, {8, -1, -1}, {1, -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(grid.GetNodeRow(c.row, CVSFlexGrid::kFirstChild), c.first);
        EXPECT_EQ(grid.GetNodeRow(c.row, CVSFlexGrid::kLastChild), c.last);
    }
    grid.SetIsCollapsed(3, true);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "e", "G3"}));
    grid.SetIsCollapsed(0, true);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "G2", "e", "G3"}));
    grid.SetIsCollapsed(0, false);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "e", "G3"}));
    // Rows appended under a collapsed group stay folded; a new group does not.
    grid.SetIsCollapsed(8, true);
    grid.AddItem("f");
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "e", "G3"}));
    grid.SetIsSubtotal(grid.AddItem("G4"), true);
    grid.AddItem("g");
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "e", "G3", "G4", "g"}));
    grid.Outline(0);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "G2", "G3", "G4"}));
    grid.Outline(1);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "e", "G3", "f", "G4", "g"}));
    // A click on the outline symbol folds the group.
    QSignalSpy collapsed(&grid, &CVSFlexGrid::AfterCollapse);
    const QRect cell = grid.CellRect(6, 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 8, cell.center().y()));
    ASSERT_EQ(collapsed.size(), 1);
    EXPECT_EQ(collapsed[0][0].toInt(), 6);
    EXPECT_EQ(ShownTexts(), (Strings{"G1", "a", "b", "S", "G2", "G3", "f", "G4", "g"}));
}

TEST_F(GridFixture, MouseEventsNameTheRowAndColumnAndCanCancelThePress)
{
    Fill(4, 2);
    grid.SetFixedRows(1);
    grid.SetTextMatrix(0, 0, "caption");
    grid.SetSelectionMode(CVSFlexGrid::SelectionMode::ByRow);
    std::vector<std::string> events;
    bool cancel = false;
    QObject::connect(&grid, &CVSFlexGrid::BeforeMouseDown, &grid, [&](int button, int shift, float, float, bool& c) {
        events.push_back("before " + std::to_string(button) + "/" + std::to_string(shift) + " row " +
                         std::to_string(grid.MouseRow()) + " col " + std::to_string(grid.MouseCol()));
        c = cancel;
    });
    QObject::connect(&grid, &CVSFlexGrid::MouseUp, &grid,
                     [&](int button, int, float, float) { events.push_back("up " + std::to_string(button)); });
    QObject::connect(&grid, &CVSFlexGrid::Click, &grid, [&] { events.push_back("click"); });

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, Centre(2, 1));
    EXPECT_EQ(grid.Row(), 2);
    cancel = true;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Centre(1, 0));
    EXPECT_EQ(grid.Row(), 2) << "a cancelled press leaves the selection";
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, Centre(3, 0));
    const QPoint header(grid.horizontalHeader()->sectionPosition(1) + 5, grid.horizontalHeader()->height() / 2);
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(events, (Strings{"before 1/1 row 2 col 1", "up 1", "click", "before 1/0 row 1 col 0", "up 1", "click",
                               "before 2/0 row 3 col 0", "up 2", "before 1/0 row 0 col 1", "up 1", "click"}));
    // Below the last row there is no row.
    QTest::mouseMove(grid.viewport(), QPoint(5, grid.viewport()->height() - 2));
    EXPECT_EQ(grid.MouseRow(), -1);
}

TEST_F(GridFixture, EditingTakesLimitsAndButtonFromBeforeEdit)
{
    Fill(3, 3);
    grid.SetEditable(true);
    QObject::connect(&grid, &CVSFlexGrid::BeforeEdit, &grid, [&](int, int col, bool& cancel) {
        grid.SetEditMaxLength(col == 0 ? 5 : 0);
        grid.SetComboList(col == 1 ? "..." : "");
        cancel = col == 2;
    });
    QSignalSpy after(&grid, &CVSFlexGrid::AfterEdit);
    QSignalSpy button(&grid, &CVSFlexGrid::CellButtonClick);

    grid.Select(1, 2);
    grid.EditCell();
    EXPECT_FALSE(grid.IsEditing());

    grid.Select(1, 0);
    grid.EditCell();
    ASSERT_TRUE(grid.IsEditing());
    auto* edit = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 5);
    EXPECT_EQ(grid.viewport()->findChild<QToolButton*>(), nullptr);
    QTest::keyClicks(edit, "abcdefgh");
    QTest::keyClick(edit, Qt::Key_Return);
    // The editor commits from the event loop.
    ASSERT_TRUE(after.size() == 1 || after.wait(5000));
    EXPECT_EQ(after[0][0].toInt(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 0), "abcde");

    grid.Select(2, 1);
    grid.EditCell();
    auto* dots = grid.viewport()->findChild<QToolButton*>();
    ASSERT_NE(dots, nullptr);
    EXPECT_EQ(dots->text(), "...");
    dots->click();
    ASSERT_EQ(button.size(), 1);
    EXPECT_EQ(button[0][0].toInt(), 2);
    EXPECT_EQ(button[0][1].toInt(), 1);
}

TEST_F(GridFixture, EditKeysCanBeSwallowed)
{
    Fill(2);
    grid.SetEditable(true);
    QObject::connect(&grid, &CVSFlexGrid::KeyDownEdit, &grid, [](int, int, int& key, int) {
        if (key == Qt::Key_Tab || key == Qt::Key_X)
            key = 0;
    });
    grid.Select(0, 0);
    grid.EditCell();
    auto* edit = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, "axb");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(grid.IsEditing()) << "a swallowed Tab leaves the editor open";
    EXPECT_EQ(edit->text(), "ab");
}

TEST_F(GridFixture, DraggedRowMovesWhereTheButtonIsReleasedUnlessRefused)
{
    Fill(5);
    grid.SetRowMoving(true);
    int refuseFrom = -1;
    int redirect = -1;
    QObject::connect(&grid, &CVSFlexGrid::BeforeMoveRow, &grid, [&](int row, int& position) {
        if (row == refuseFrom)
            position = row;
        else if (redirect >= 0)
            position = redirect;
    });
    QObject::connect(&grid, &CVSFlexGrid::MouseMove, &grid, [&](int button, int, float, float) {
        if (button == 1 && !grid.IsDraggingRow())
            grid.DragRow(grid.Row());
    });
    auto drag = [&](int from, int to) {
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, Centre(from));
        QMouseEvent move(QEvent::MouseMove, Centre(to), grid.viewport()->mapToGlobal(Centre(to)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(grid.viewport(), &move);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, Centre(to));
    };
    drag(0, 3);
    EXPECT_EQ(Texts(), (Strings{"1", "2", "3", "0", "4"}));
    EXPECT_EQ(grid.Row(), 3) << "the moved row stays current";
    drag(4, 1);
    EXPECT_EQ(Texts(), (Strings{"1", "4", "2", "3", "0"}));
    refuseFrom = 2;
    drag(2, 0);
    EXPECT_EQ(Texts(), (Strings{"1", "4", "2", "3", "0"}));
    refuseFrom = -1;
    redirect = 3;
    drag(0, 4);
    EXPECT_EQ(Texts(), (Strings{"4", "2", "3", "1", "0"}));
    // Without row moving there is no drag.
    grid.SetRowMoving(false);
    redirect = -1;
    drag(0, 2);
    EXPECT_EQ(Texts(), (Strings{"4", "2", "3", "1", "0"}));
}

TEST_F(GridFixture, RowsChangingDuringADragNeitherLoseNorSwapTheDraggedRow)
{
    Fill(6);
    grid.SetRowMoving(true);
    std::vector<int> asked;
    QObject::connect(&grid, &CVSFlexGrid::BeforeMoveRow, &grid, [&](int row, int&) { asked.push_back(row); });
    auto press = [&](int row) {
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, Centre(row));
        grid.DragRow(row);
    };
    auto moveTo = [&](int row) {
        QMouseEvent move(QEvent::MouseMove, Centre(row), grid.viewport()->mapToGlobal(Centre(row)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(grid.viewport(), &move);
    };
    // "3" is dragged towards the end; meanwhile a row above it goes (an answer
    // arriving), so the row numbers shift under the drag.
    press(3);
    moveTo(5);
    grid.RemoveItem(0);
    EXPECT_TRUE(grid.IsDraggingRow());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, Centre(4));
    EXPECT_EQ(Texts(), (Strings{"1", "2", "4", "5", "3"}));
    EXPECT_EQ(asked, std::vector<int>{2}) << "the move is asked for the dragged row's number now";

    // The dragged row itself going ends the drag: nothing moves.
    asked.clear();
    press(1);
    moveTo(3);
    grid.RemoveItem(1);
    EXPECT_FALSE(grid.IsDraggingRow());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, Centre(3));
    EXPECT_EQ(Texts(), (Strings{"1", "4", "5", "3"}));
    EXPECT_TRUE(asked.empty());
}

TEST_F(GridFixture, DropsArriveAsFilesOrData)
{
    Fill(2);
    QSignalSpy files(&grid, &CVSFlexGrid::FilesDropped);
    QStringList dataDrops;
    QObject::connect(&grid, &CVSFlexGrid::OleDragDrop, &grid,
                     [&](const QMimeData* mime) { dataDrops.push_back(mime->text()); });
    auto drop = [&](QMimeData* mime) { return Drop(grid, mime); };
    QMimeData withFiles;
    withFiles.setUrls({QUrl::fromLocalFile("/tmp/a.mp3"), QUrl::fromLocalFile("/tmp/b.xml")});
    QMimeData withText;
    withText.setText("text");

    EXPECT_FALSE(drop(&withFiles)) << "drops are refused until asked for";
    grid.SetAcceptFileDrops(true);
    EXPECT_TRUE(drop(&withFiles));
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0][0].toStringList(), (QStringList{"/tmp/a.mp3", "/tmp/b.xml"}));
    EXPECT_FALSE(drop(&withText));
    grid.SetOleDropMode(true);
    EXPECT_TRUE(drop(&withText));
    EXPECT_EQ(dataDrops, QStringList{"text"});
}

TEST_F(GridFixture, CellColourPictureAndWidth)
{
    Fill(2, 2);
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    grid.SetCellPicture(1, 1, picture);
    grid.SetCellForeColor(0, 1, QColor(0, 128, 0));
    grid.SetColWidthTwips(0, 1440);
    EXPECT_EQ(grid.CellPicture(1, 1).cacheKey(), picture.cacheKey());
    EXPECT_TRUE(grid.CellPicture(1, 0).isNull());
    EXPECT_EQ(grid.CellForeColor(0, 1), QColor(0, 128, 0));
    EXPECT_FALSE(grid.CellForeColor(1, 1).isValid());
    EXPECT_EQ(grid.columnWidth(0), grid.logicalDpiX());
    EXPECT_EQ(grid.ColWidthTwips(0), 1440);
    grid.SetCellPicture(1, 1, QPixmap());
    EXPECT_TRUE(grid.CellPicture(1, 1).isNull());
    // The cells paint without trouble, pictures and outline included.
    grid.SetOutlineBar(true);
    grid.SetIsSubtotal(0, true);
    EXPECT_FALSE(grid.grab().isNull());
}

// Random edits against a plain list that works everything out the slow way:
// which rows are shown, where each row's data is, the children of node rows.
TEST_F(GridFixture, RandomEditsAgreeWithAPlainList)
{
    struct Plain {
        std::string text;
        std::intptr_t data;
        bool hidden = false, node = false, collapsed = false;
        int level = 0;
    };
    std::vector<Plain> rows;
    auto descendant = [&](std::size_t i, std::size_t j) {  // row i is under node j
        if (!rows[j].node || j >= i)
            return false;
        for (std::size_t k = j + 1; k <= i; ++k)
            if (rows[k].node && rows[k].level <= rows[j].level)
                return false;
        return true;
    };
    auto shown = [&] {
        Strings texts;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            bool folded = false;
            for (std::size_t j = 0; j < i && !folded; ++j)
                folded = rows[j].collapsed && descendant(i, j);
            if (!rows[i].hidden && !folded)
                texts.push_back(rows[i].text);
        }
        return texts;
    };
    grid.SetCols(1);
    grid.resize(300, 300);
    grid.show();
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::intptr_t next = 1;
    for (int step = 0; step < 2000; ++step) {
        const int n = static_cast<int>(rows.size());
        const int op = n < 5 ? 0 : pick(12);
        const int r = n > 0 ? pick(n) : 0;
        const auto at = static_cast<std::size_t>(r);
        switch (op) {
        case 0:
        case 1:
        case 10:
        case 11: {
            // Appending to a node's children, as a list fills a group, or anywhere.
            int pos = pick(n + 1);
            if (op == 11 && n > 0) {
                const int last = grid.GetNodeRow(r, CVSFlexGrid::kLastChild);
                pos = rows[at].node ? (last < 0 ? r + 1 : last + 1) : pos;
            }
            const std::string text = "r" + std::to_string(next);
            grid.SetRowData(grid.AddItem(QString::fromStdString(text), pos), Tag(next));
            rows.insert(rows.begin() + pos, Plain{text, next++});
            break;
        }
        case 2:
            grid.RemoveItem(r);
            rows.erase(rows.begin() + r);
            break;
        case 3:
            grid.SetRowHidden(r, !rows[at].hidden);
            rows[at].hidden = !rows[at].hidden;
            break;
        case 4:
            grid.SetIsSubtotal(r, !rows[at].node);
            rows[at].node = !rows[at].node;
            break;
        case 5:
            rows[at].level = pick(3);
            grid.SetRowOutlineLevel(r, rows[at].level);
            break;
        case 6:
            grid.SetIsCollapsed(r, !rows[at].collapsed);
            rows[at].collapsed = !rows[at].collapsed;
            break;
        case 7: {
            const int to = pick(n);
            grid.MoveRow(r, to);
            Plain moved = rows[at];
            rows.erase(rows.begin() + r);
            rows.insert(rows.begin() + to, moved);
            break;
        }
        case 8: {
            const int count = std::min(pick(2) + 1, n - r);
            grid.RemoveItems(r, count);
            rows.erase(rows.begin() + r, rows.begin() + r + count);
            break;
        }
        case 9: {
            const int level = pick(3);
            grid.Outline(level);
            for (Plain& row : rows)
                row.collapsed = row.node && row.level >= level;
            break;
        }
        }
        if (step % 7 != 0)
            continue;  // several edits may wait for one update of the shown rows
        SCOPED_TRACE("step " + std::to_string(step));
        // Before the view catches up, its rows and the grid's still map one to one.
        const auto* model = dynamic_cast<const CGridModel*>(grid.model());
        ASSERT_NE(model, nullptr);
        int mapped = 0;
        for (int row = 0; row < grid.Rows(); ++row) {
            const int v = model->ToView(row);
            if (v >= 0) {
                ASSERT_EQ(model->FromView(v), row);
                ++mapped;
            }
        }
        ASSERT_EQ(mapped, model->rowCount());
        ASSERT_EQ(ShownTexts(), shown());
        ASSERT_EQ(grid.verticalHeader()->count(), grid.model()->rowCount());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int row = static_cast<int>(i);
            ASSERT_EQ(grid.TextMatrix(row, 0).toStdString(), rows[i].text);
            ASSERT_EQ(grid.FindRow(Tag(rows[i].data)), row);
            int first = -1;
            int last = -1;
            for (std::size_t k = i + 1; k < rows.size() && descendant(k, i); ++k) {
                first = first < 0 ? static_cast<int>(k) : first;
                last = static_cast<int>(k);
            }
            ASSERT_EQ(grid.GetNodeRow(row, CVSFlexGrid::kFirstChild), first);
            ASSERT_EQ(grid.GetNodeRow(row, CVSFlexGrid::kLastChild), last);
        }
    }
}

}  // namespace
