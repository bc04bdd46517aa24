#pragma once
// The row item of a CGridCtrl row: whether the row is a group row, and the
// row's object. The grid owns the item; the object belongs to whoever put it
// there (a grid that puts its own objects there frees them with the row).
// Items are reused for later rows, so an item pointer names a row only while
// that row lives; across anything that may remove rows (a menu, a message
// box, a late answer) hold the row's CGridRowId instead.
#include <cstdint>

class CGridRowItem {
public:
    bool IsGroup() const { return m_group; }
    void* Data() const { return m_data; }

private:
    friend class CGridCtrl;
    bool m_group = false;
    bool m_ownsData = false;  // the grid releases m_data with the row
    void* m_data = nullptr;
    const void* m_row = nullptr;  // the widget's handle of the row
    std::uint64_t m_serial = 0;   // the row's number among all rows the grid made; 0 once released
};

/// One row of one grid, for as long as the row lives: no later row of that grid
/// has the same id, even one that reuses the removed row's item.
class CGridRowId {
public:
    CGridRowId() = default;
    /// False for the empty id.
    explicit operator bool() const { return m_serial != 0; }
    friend bool operator==(const CGridRowId&, const CGridRowId&) = default;

private:
    friend class CGridCtrl;
    CGridRowId(const CGridRowItem* item, std::uint64_t serial) : m_item(item), m_serial(serial) {}
    const CGridRowItem* m_item = nullptr;
    std::uint64_t m_serial = 0;
};
