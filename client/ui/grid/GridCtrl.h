#pragma once
// The grid with a row model: every data row carries a row item, rows can stand
// under group (outline) rows, mouse presses and releases become overridable
// hooks and clicks are told to IGridListeners. Operations take data-row
// indices: 0 is the first row under the header row; callers keep them below
// GetRowCount.
#include "client/protocol/GuardedList.h"
#include "client/ui/grid/GridRowItem.h"
#include "client/ui/grid/ObjectPool.h"
#include "client/ui/grid/PointerIndex.h"
#include "client/ui/grid/VSFlexGrid.h"

#include <cstdint>
#include <string>
#include <vector>

class IGridListener;

class CGridCtrl : public CVSFlexGrid {
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    /// With a header: one fixed row and a row count of 1; without: none and 0.
    /// Colours from the look-and-feel palette.
    void Setup(bool header);
    void AddListener(IGridListener* listener);
    void RemoveListener(IGridListener* listener);

    /// Cells separated by tab characters, at index or at the end (-1).
    CGridRowItem* AddRow(const std::string& text, int index = -1);
    /// At the group's index + offset + 1; without an offset (-1), after the
    /// group's last child row, or right after the group row when it has none.
    CGridRowItem* AddRowInGroup(const std::string& text, CGridRowItem* group, int offset = -1);
    /// As AddRow, as a group (outline node) row that becomes selected; the
    /// outline display comes on.
    CGridRowItem* AddGroupRow(const std::string& text, int index = -1);
    /// As AddRowInGroup, as a group row at outline level 1.
    CGridRowItem* AddGroupRowInGroup(const std::string& text, CGridRowItem* group, int offset = -1);

    int GetRowCount() const;
    /// nullptr when index has no item.
    CGridRowItem* GetRowItem(int index) const;
    static void* GetItemData(const CGridRowItem* item) { return item ? item->Data() : nullptr; }
    void SetItemData(int index, void* data);
    void* GetDataAt(int index) const { return GetItemData(GetRowItem(index)); }
    /// -1 when the item is not in the grid.
    int IndexOfItem(const CGridRowItem* item) const;
    /// The id of a row of this grid (empty for nullptr or an item not in it),
    /// and the row's index now: -1 once the row is gone.
    CGridRowId RowIdOf(const CGridRowItem* item) const;
    CGridRowId GetRowId(int index) const { return RowIdOf(GetRowItem(index)); }
    int IndexOfRow(const CGridRowId& id) const;
    /// The first row whose item's data is data, or -1.
    int IndexOfData(const void* data) const;

    std::string GetCellText(int index, int column) const;
    void SetCellText(int index, int column, const std::string& text);
    /// The text colour of one cell, 0xBBGGRR.
    void SetCellColour(int index, int column, std::uint32_t colour);
    /// The picture of a bitmap resource.
    void SetCellBitmap(int index, unsigned bitmap, int column = 0);

    void SelectRow(int index);
    void SelectCell(int index, int column);
    /// The first selected row's index, or -1.
    int GetSelectedIndex() const;
    /// Every selected row, in the grid's order.
    std::vector<int> GetSelectedIndices() const;
    CGridRowItem* GetSelectedItem() const;
    /// -1 when no data row is current.
    int GetCurrentIndex() const;

    /// A hidden row keeps its place, its index and its item; it is not shown
    /// and cannot be selected.
    void HideRow(int index, bool hidden = true);
    bool IsRowHidden(int index) const;

    /// Deletes the row's item (not its data, unless the grid put it there) and the row.
    void RemoveRow(int index);
    void RemoveItem(CGridRowItem* item);
    /// Removes the rows given, in any order: hidden rows (removals under way)
    /// in one pass, whatever their number.
    void RemoveRows(const std::vector<int>& indices);
    /// Deletes every row item; the header row stays.
    void RemoveAll();
    int GetGroupChildCount(const CGridRowItem* group) const;
    /// Removes the child rows of a group row; a row that is not a group keeps them.
    void RemoveGroupChildren(CGridRowItem* group);

protected:
    virtual void OnBeforeLButtonDown(int x, int y, int index, int column, CGridRowItem* item, bool& cancel);
    virtual void OnBeforeRButtonDown(int x, int y, int index, int column, CGridRowItem* item, bool& cancel);
    virtual void OnMouseLButtonUp(int x, int y, int index, int column, CGridRowItem* item);
    /// Selects an unselected row when the grid selects whole rows, then tells
    /// every listener OnContextRequest.
    virtual void OnMouseRButtonUp(int x, int y, int index, int column, CGridRowItem* item);
    /// Tells every listener OnItemClicked and OnCellClicked for the current row.
    virtual void OnRowClicked();

    /// The widget row of a data-row index.
    int WidgetRow(int index) const { return index + FixedRows(); }
    /// Adds a row with a new item; returns the row's index.
    int InsertRowWithItem(const std::string& text, int index);
    /// Puts data into the row as the grid's own: ReleaseOwnedData gets it back
    /// when the row goes (RemoveAll included) or SetItemData replaces it.
    void SetOwnedItemData(int index, void* data);
    static bool OwnsItemData(const CGridRowItem* item) { return item && item->m_ownsData; }
    virtual void ReleaseOwnedData(void* owned);
    /// RemoveAll: every row's owned data goes; by default one ReleaseOwnedData
    /// each. A grid may let them all go at once instead.
    virtual void ReleaseAllOwnedData();
    int GroupInsertIndex(const CGridRowItem* group, int offset) const;
    void MakeGroup(int index, int level);

private:
    void DispatchMouseDown(int button, bool& cancel);
    void DispatchMouseUp(int button);
    void ReleaseItem(void* item);
    void ReplaceItemData(CGridRowItem* item, void* data, bool owned);
    bool Live(const CGridRowItem* item) const { return item->m_serial >= m_firstLive; }

    CGuardedList<IGridListener*> m_listeners;
    // Data to the items that carry it: exactly the items of the grid's rows,
    // as every row that goes passes through ReleaseItem.
    CPointerIndex<CGridRowItem> m_byData;
    CObjectPool<CGridRowItem> m_items;
    std::uint64_t m_nextSerial = 1;
    // Rows whose data the grid owns; RemoveAll walks the rows only when there are any.
    std::size_t m_ownedRows = 0;
    // Items made before it went with the last RemoveAll (their memory too).
    std::uint64_t m_firstLive = 1;
};
