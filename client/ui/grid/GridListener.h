#pragma once
// What a CGridCtrl tells its listeners, in registration order.
class CGridRowItem;

class IGridListener {
public:
    virtual ~IGridListener() = default;
    /// A click on a row.
    virtual void OnItemClicked(CGridRowItem* item) = 0;
    /// The right button was released over a row; x, y is the cursor's screen position.
    virtual void OnContextRequest(CGridRowItem* item, int x, int y) = 0;
    /// A click: the row's index and the column under the mouse.
    virtual void OnCellClicked(int index, int column) = 0;
};
