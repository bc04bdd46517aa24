#pragma once
// The row item of a CGridCtrl row: whether the row is a group row, and the
// row's object. The grid owns the item; the object belongs to whoever put it
// there.
class CGridRowItem {
public:
    bool IsGroup() const { return m_group; }
    void* Data() const { return m_data; }

private:
    friend class CGridCtrl;
    bool m_group = false;
    void* m_data = nullptr;
    const void* m_row = nullptr; // the widget's handle of the row
};
