#pragma once
// The search results grid as text, for comparing with what a test expects.
#include "client/ui/grid/GridCtrl.h"

#include <string>
#include <vector>

/// Every row's text: top-level group rows as "# text", groups inside a group
/// as "## text", other rows as they read.
inline std::vector<std::string> ResultRows(const CGridCtrl& grid)
{
    std::vector<std::string> rows;
    for (int i = 0; i < grid.GetRowCount(); ++i) {
        const CGridRowItem* item = grid.GetRowItem(i);
        std::string prefix;
        if (item && item->IsGroup())
            prefix = grid.RowOutlineLevel(i + grid.FixedRows()) > 0 ? "## " : "# ";
        rows.push_back(prefix + grid.GetCellText(i, 0));
    }
    return rows;
}
