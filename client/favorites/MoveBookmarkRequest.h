#pragma once
// "bookmark/MoveBookmark.jsp": moves the favorite operation.bookmarkID to stand
// right after operation.newPreviousBookmarkID (0: first of its list).
#include "client/favorites/BookmarkChangeRequest.h"

class CMoveBookmarkRequest : public CBookmarkChangeRequest {
public:
    CMoveBookmarkRequest();
    HRESULT Send(CBookmarkOperation& operation, const std::string& token);
    static std::string Body(const std::string& token, std::int32_t bookmarkID, std::int32_t type,
                            std::int32_t newPreviousBookmarkID);
};
