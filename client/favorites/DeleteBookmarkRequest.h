#pragma once
// "bookmark/DeleteBookmark.jsp": removes the operation's items by BookmarkID.
#include "client/favorites/BookmarkChangeRequest.h"

class CDeleteBookmarkRequest : public CBookmarkChangeRequest {
public:
    CDeleteBookmarkRequest();
    HRESULT Send(CBookmarkOperation& operation, const std::string& token);
    static std::string Body(const CBookmarkOperation& operation, const std::string& token);
};
