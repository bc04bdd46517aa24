#pragma once
// A member's mouse on a grid's rows, for widget tests; indices are data-row
// indices, and each row is brought into view before it is clicked.
#include "client/ui/grid/GridCtrl.h"
#include "tests/support/PopupMenuDriver.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>

/// The centre of row index, brought into view.
inline QPoint RowCentre(CGridCtrl& grid, int index)
{
    grid.ShowCell(index + grid.FixedRows());
    return grid.CellRect(index + grid.FixedRows(), 0).center();
}

inline void ClickRow(CGridCtrl& grid, int index, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, RowCentre(grid, index));
}

inline void RightClickRow(CGridCtrl& grid, int index)
{
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, RowCentre(grid, index));
}

/// Right-clicks the row and chooses command in its menu; returns how many
/// menus opened.
inline int ChooseFromRowMenu(CGridCtrl& grid, int index, unsigned command)
{
    CPopupMenuDriver driver([&](QMenu* menu) { EXPECT_TRUE(CPopupMenuDriver::Choose(menu, command)); });
    RightClickRow(grid, index);
    return driver.shown;
}

/// The row's menu as CPopupMenuDriver::Shape writes it, closed without a
/// choice; empty when no menu opens.
inline std::string RowMenuShape(CGridCtrl& grid, int index)
{
    std::string shape;
    CPopupMenuDriver driver([&](QMenu* menu) {
        shape = CPopupMenuDriver::Shape(menu);
        CPopupMenuDriver::Dismiss(menu);
    });
    RightClickRow(grid, index);
    return shape;
}
