#include "client/favorites/DeleteBookmarkRequest.h"

#include "platform/Url.h"

CDeleteBookmarkRequest::CDeleteBookmarkRequest()
    : CBookmarkChangeRequest("bookmark/DeleteBookmark.jsp", u"DeleteSuccess")
{
}

std::string CDeleteBookmarkRequest::Body(const CBookmarkOperation& operation, const std::string& token)
{
    // This page names its type key "bookmarkType1".
    std::string body = "user=" + FormValue(token) + "&bookmarkType1=" + std::to_string(operation.type) +
                       "&numberOfItems=" + std::to_string(operation.items.size());
    for (std::size_t i = 0; i < operation.items.size(); ++i)
        body += "&bookmarkID" + std::to_string(i + 1) + '=' + std::to_string(operation.items[i]->BookmarkID());
    return body;
}

HRESULT CDeleteBookmarkRequest::Send(CBookmarkOperation& operation, const std::string& token)
{
    return PostOperation(operation, Body(operation, token));
}
