#pragma once
// One add, delete or move of favorites in flight. The favorites model owns it;
// the request that carries it writes the answer into it.
#include "client/catalogue/ItemRef.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum BookmarkOperationKind : std::int32_t {
    kBookmarkAdd = 1,
    kBookmarkDelete = 2,
    kBookmarkMove = 3,
};

enum BookmarkOperationState : std::int32_t {
    kOperationWaiting = 1,
    kOperationSent = 2,
    kOperationAnswered = 3,
};

struct CBookmarkOperation {
    std::int32_t bookmarkID = 0;   // move only: the moved favorite's BookmarkID
    std::uint32_t identifier = 0;  // value 1 of the request that carries it
    std::int32_t type = 0;         // BookmarkType of every item
    std::int32_t kind = kBookmarkAdd;
    std::int32_t newPreviousBookmarkID = 0;  // move only; 0 puts it first
    std::int32_t state = kOperationWaiting;
    bool success = false;
    std::string errorText;
    /// The favorites concerned; the records behind them are not owned.
    std::vector<std::unique_ptr<CItemRef>> items;
};
