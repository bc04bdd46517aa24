#include "client/favorites/MoveBookmarkRequest.h"

#include "platform/Url.h"

CMoveBookmarkRequest::CMoveBookmarkRequest() : CBookmarkChangeRequest("bookmark/MoveBookmark.jsp", u"MoveSuccessful") {}

std::string CMoveBookmarkRequest::Body(const std::string& token, std::int32_t bookmarkID, std::int32_t type,
                                       std::int32_t newPreviousBookmarkID)
{
    return "user=" + FormValue(token) + "&bookmarkType=" + std::to_string(type) +
           "&bookmarkID1=" + std::to_string(bookmarkID) +
           "&newPreviousBookmarkID=" + std::to_string(newPreviousBookmarkID);
}

HRESULT CMoveBookmarkRequest::Send(CBookmarkOperation& operation, const std::string& token)
{
    return PostOperation(operation, Body(token, operation.bookmarkID, operation.type, operation.newPreviousBookmarkID));
}
