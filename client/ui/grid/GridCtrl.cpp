#include "client/ui/grid/GridCtrl.h"

#include "client/resources/images/ResourceImages.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QHeaderView>
#include <QtDebug>

#include <unordered_map>

namespace {

// One pixmap per bitmap resource, so that cells share it.
const QPixmap& BitmapPicture(unsigned id)
{
    static std::unordered_map<unsigned, QPixmap> cache;
    auto found = cache.find(id);
    if (found == cache.end())
        found = cache.emplace(id, LoadBitmapResource(id)).first;
    return found->second;
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : CVSFlexGrid(parent)
{
    // A row's item goes with its row, whichever way the row goes.
    SetRowDataDeleter([this](void* item) { ReleaseItem(item); });
    connect(this, &CVSFlexGrid::BeforeMouseDown, this,
            [this](int button, int, float, float, bool& cancel) { DispatchMouseDown(button, cancel); });
    connect(this, &CVSFlexGrid::MouseUp, this, [this](int button, int, float, float) { DispatchMouseUp(button); });
    connect(this, &CVSFlexGrid::Click, this, [this] { OnRowClicked(); });
}

CGridCtrl::~CGridCtrl()
{
    // The items go with the pool; the rows outlive it.
    SetRowDataDeleter({});
}

void CGridCtrl::Setup(bool header)
{
    // Rows of an earlier set-up go first, so that none of them becomes the header.
    RemoveAll();
    if (header) {
        SetFixedRows(1);
        SetRows(1);
    } else {
        SetFixedRows(0);
        SetRows(0);
    }
    setShowGrid(header);
    horizontalHeader()->setStretchLastSection(false);
    SetBackColor(LookAndFeelPalette::gridBackground());
    SetForeColor(LookAndFeelPalette::gridText());
}

void CGridCtrl::AddListener(IGridListener* listener)
{
    m_listeners.Add(listener);
}

void CGridCtrl::RemoveListener(IGridListener* listener)
{
    m_listeners.Remove(listener);
}

// ---- adding rows ----

int CGridCtrl::InsertRowWithItem(const std::string& text, int index)
{
    const int row = AddItem(QString::fromStdString(text), index < 0 ? -1 : WidgetRow(index));
    CGridRowItem* item = m_items.Make();
    item->m_row = RowHandle(row);
    item->m_serial = m_nextSerial++;
    SetRowData(row, item);
    return row - FixedRows();
}

CGridRowItem* CGridCtrl::AddRow(const std::string& text, int index)
{
    return GetRowItem(InsertRowWithItem(text, index));
}

int CGridCtrl::GroupInsertIndex(const CGridRowItem* group, int offset) const
{
    const int groupIndex = IndexOfItem(group);
    if (groupIndex < 0)
        return -1;
    if (offset >= 0)
        return groupIndex + offset + 1;
    const int last = GetNodeRow(WidgetRow(groupIndex), kLastChild);
    return last < 0 ? groupIndex + 1 : last - FixedRows() + 1;
}

CGridRowItem* CGridCtrl::AddRowInGroup(const std::string& text, CGridRowItem* group, int offset)
{
    return GetRowItem(InsertRowWithItem(text, GroupInsertIndex(group, offset)));
}

void CGridCtrl::MakeGroup(int index, int level)
{
    CGridRowItem* item = GetRowItem(index);
    item->m_group = true;
    SetIsSubtotal(WidgetRow(index), true);
    if (level > 0)
        SetRowOutlineLevel(WidgetRow(index), level);
    SelectRow(index);
    SetOutlineBar(true);
}

CGridRowItem* CGridCtrl::AddGroupRow(const std::string& text, int index)
{
    const int added = InsertRowWithItem(text, index);
    MakeGroup(added, 0);
    return GetRowItem(added);
}

CGridRowItem* CGridCtrl::AddGroupRowInGroup(const std::string& text, CGridRowItem* group, int offset)
{
    const int added = InsertRowWithItem(text, GroupInsertIndex(group, offset));
    MakeGroup(added, 1);
    return GetRowItem(added);
}

// ---- items and data ----

int CGridCtrl::GetRowCount() const
{
    return Rows() - FixedRows();
}

CGridRowItem* CGridCtrl::GetRowItem(int index) const
{
    if (index < 0 || index >= GetRowCount())
        return nullptr;
    return static_cast<CGridRowItem*>(RowData(WidgetRow(index)));
}

void CGridCtrl::SetItemData(int index, void* value)
{
    CGridRowItem* item = GetRowItem(index);
    if (!item || item->m_data == value)
        return;
    ReplaceItemData(item, value, false);
}

void CGridCtrl::SetOwnedItemData(int index, void* value)
{
    if (CGridRowItem* item = GetRowItem(index))
        ReplaceItemData(item, value, value != nullptr);
}

void CGridCtrl::ReplaceItemData(CGridRowItem* item, void* value, bool owned)
{
    void* old = item->m_data;
    const bool ownedOld = item->m_ownsData;
    m_byData.Remove(old, item);
    item->m_data = value;
    item->m_ownsData = owned;
    m_byData.Add(value, item);
    m_ownedRows = m_ownedRows - (ownedOld ? 1 : 0) + (owned ? 1 : 0);
    if (ownedOld && old != value)
        ReleaseOwnedData(old);
}

void CGridCtrl::ReleaseOwnedData(void*) {}

void CGridCtrl::ReleaseAllOwnedData()
{
    for (int index = 0; m_ownedRows > 0 && index < GetRowCount(); ++index) {
        CGridRowItem* item = GetRowItem(index);
        if (item && item->m_ownsData) {
            item->m_ownsData = false;
            --m_ownedRows;
            ReleaseOwnedData(item->m_data);
        }
    }
}

int CGridCtrl::IndexOfItem(const CGridRowItem* item) const
{
    if (!item || !Live(item))
        return -1;
    const int row = RowOfHandle(item->m_row);
    return row < FixedRows() || RowData(row) != item ? -1 : row - FixedRows();
}

CGridRowId CGridCtrl::RowIdOf(const CGridRowItem* item) const
{
    return IndexOfItem(item) < 0 ? CGridRowId() : CGridRowId(item, item->m_serial);
}

int CGridCtrl::IndexOfRow(const CGridRowId& id) const
{
    // An id older than the last RemoveAll names memory that is gone; any
    // other names an item of the pool, released (serial 0) or reused (a new one).
    if (id.m_serial < m_firstLive || id.m_item->m_serial != id.m_serial)
        return -1;
    return IndexOfItem(id.m_item);
}

int CGridCtrl::IndexOfData(const void* value) const
{
    if (!value) {
        for (int index = 0; index < GetRowCount(); ++index)
            if (!GetDataAt(index))
                return index;
        return -1;
    }
    int best = -1;
    m_byData.ForEach(value, [&](const CGridRowItem* item) {
        const int index = IndexOfItem(item);
        if (index >= 0 && (best < 0 || index < best))
            best = index;
    });
    return best;
}

// ---- cells ----

std::string CGridCtrl::GetCellText(int index, int column) const
{
    return TextMatrix(WidgetRow(index), column).toStdString();
}

void CGridCtrl::SetCellText(int index, int column, const std::string& text)
{
    SetTextMatrix(WidgetRow(index), column, QString::fromStdString(text));
}

void CGridCtrl::SetCellColour(int index, int column, std::uint32_t colour)
{
    SetCellForeColor(WidgetRow(index), column, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
}

void CGridCtrl::SetCellBitmap(int index, unsigned bitmap, int column)
{
    SetCellPicture(WidgetRow(index), column, BitmapPicture(bitmap));
}

// ---- selection ----

void CGridCtrl::SelectRow(int index)
{
    SetRow(WidgetRow(index));
}

void CGridCtrl::SelectCell(int index, int column)
{
    Select(WidgetRow(index), column);
}

int CGridCtrl::GetSelectedIndex() const
{
    const int row = FirstSelectedRow();
    return row < FixedRows() ? -1 : row - FixedRows();
}

CGridRowItem* CGridCtrl::GetSelectedItem() const
{
    return GetRowItem(GetSelectedIndex());
}

std::vector<int> CGridCtrl::GetSelectedIndices() const
{
    std::vector<int> indices;
    for (int row : SelectedRows()) {
        if (row >= FixedRows())
            indices.push_back(row - FixedRows());
    }
    return indices;
}

void CGridCtrl::HideRow(int index, bool hidden)
{
    if (index >= 0 && index < GetRowCount())
        SetRowHidden(WidgetRow(index), hidden);
}

bool CGridCtrl::IsRowHidden(int index) const
{
    return index >= 0 && index < GetRowCount() && RowHidden(WidgetRow(index));
}

int CGridCtrl::GetCurrentIndex() const
{
    const int row = Row();
    return row < FixedRows() ? -1 : row - FixedRows();
}

// ---- removing rows ----

void CGridCtrl::ReleaseItem(void* value)
{
    auto* item = static_cast<CGridRowItem*>(value);
    m_byData.Remove(item->m_data, item);
    void* released = item->m_data;
    const bool owned = item->m_ownsData;
    m_items.Release(item);
    if (owned) {
        --m_ownedRows;
        ReleaseOwnedData(released);
    }
}

void CGridCtrl::RemoveRow(int index)
{
    if (index < 0 || index >= GetRowCount())
        return;
    CVSFlexGrid::RemoveItem(WidgetRow(index));
}

void CGridCtrl::RemoveItem(CGridRowItem* item)
{
    RemoveRow(IndexOfItem(item));
}

void CGridCtrl::RemoveRows(const std::vector<int>& indices)
{
    std::vector<int> rows;
    rows.reserve(indices.size());
    for (int index : indices) {
        if (index >= 0 && index < GetRowCount())
            rows.push_back(WidgetRow(index));
    }
    RemoveItemSet(std::move(rows));
}

void CGridCtrl::RemoveAll()
{
    // Every item goes at once, without a walk over the rows.
    if (m_ownedRows > 0)
        ReleaseAllOwnedData();
    m_ownedRows = 0;
    m_byData.Clear();
    SetRowDataDeleter({});
    SetRows(FixedRows());
    m_items.ReleaseAll();
    m_firstLive = m_nextSerial;
    SetRowDataDeleter([this](void* item) { ReleaseItem(item); });
}

int CGridCtrl::GetGroupChildCount(const CGridRowItem* group) const
{
    const int index = IndexOfItem(group);
    if (index < 0)
        return 0;
    const int first = GetNodeRow(WidgetRow(index), kFirstChild);
    const int last = GetNodeRow(WidgetRow(index), kLastChild);
    return first < 0 || last < 0 ? 0 : last - first + 1;
}

void CGridCtrl::RemoveGroupChildren(CGridRowItem* group)
{
    if (!group || !group->IsGroup()) {
        qWarning("CGridCtrl::RemoveGroupChildren: the row is not a group row");
        return;
    }
    const int index = IndexOfItem(group);
    if (index < 0)
        return;
    const int first = GetNodeRow(WidgetRow(index), kFirstChild);
    const int last = GetNodeRow(WidgetRow(index), kLastChild);
    if (first < 0 || last < 0)
        return;
    RemoveItems(first, last - first + 1);
}

// ---- events ----

void CGridCtrl::DispatchMouseDown(int button, bool& cancel)
{
    const int index = MouseRow() - FixedRows();
    if (MouseRow() < 0 || index < 0 || index >= GetRowCount())
        return;
    const QPoint at = MouseScreenPos();
    if (button == 1)
        OnBeforeLButtonDown(at.x(), at.y(), index, MouseCol(), GetRowItem(index), cancel);
    else if (button == 2)
        OnBeforeRButtonDown(at.x(), at.y(), index, MouseCol(), GetRowItem(index), cancel);
}

void CGridCtrl::DispatchMouseUp(int button)
{
    const int index = MouseRow() - FixedRows();
    if (MouseRow() < 0 || index < 0 || index >= GetRowCount())
        return;
    const QPoint at = MouseScreenPos();
    if (button == 1)
        OnMouseLButtonUp(at.x(), at.y(), index, MouseCol(), GetRowItem(index));
    else if (button == 2)
        OnMouseRButtonUp(at.x(), at.y(), index, MouseCol(), GetRowItem(index));
}

void CGridCtrl::OnBeforeLButtonDown(int, int, int, int, CGridRowItem*, bool&) {}

void CGridCtrl::OnBeforeRButtonDown(int, int, int, int, CGridRowItem*, bool&) {}

void CGridCtrl::OnMouseLButtonUp(int, int, int, int, CGridRowItem*) {}

void CGridCtrl::OnMouseRButtonUp(int x, int y, int index, int, CGridRowItem* item)
{
    const SelectionMode mode = GetSelectionMode();
    if ((mode == SelectionMode::ByRow || mode == SelectionMode::ListBox) && !IsSelected(WidgetRow(index)))
        SelectRow(index);
    m_listeners.ForEach([&](IGridListener* listener) { listener->OnContextRequest(item, x, y); });
}

void CGridCtrl::OnRowClicked()
{
    const int index = GetCurrentIndex();
    if (index < 0)
        return;
    CGridRowItem* item = GetRowItem(index);
    const int column = MouseCol();
    m_listeners.ForEach([&](IGridListener* listener) {
        listener->OnItemClicked(item);
        listener->OnCellClicked(index, column);
    });
}
