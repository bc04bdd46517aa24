#include "client/favorites/AddBookmarkRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "platform/Url.h"

CAddBookmarkRequest::CAddBookmarkRequest() : CBookmarkChangeRequest("bookmark/AddBookmark.jsp", u"BookmarkID") {}

std::string CAddBookmarkRequest::Body(const CBookmarkOperation& operation, const std::string& token)
{
    std::string body = "user=" + FormValue(token) + "&bookmarkType=" + std::to_string(operation.type) +
                       "&numberOfItems=" + std::to_string(operation.items.size());
    for (std::size_t i = 0; i < operation.items.size(); ++i)
        body += "&newBookmarkItemID" + std::to_string(i + 1) + '=' + std::to_string(operation.items[i]->Identifier());
    return body;
}

HRESULT CAddBookmarkRequest::Send(CBookmarkOperation& operation, const std::string& token)
{
    return PostOperation(operation, Body(operation, token));
}

bool CAddBookmarkRequest::ReadSuccess(const CXmlDocument& document, Outcome& outcome) const
{
    // One BookmarkID per item, in item order; extra ones are ignored later.
    for (const CXmlNode* id : ElementsNamed(document, u"BookmarkID"))
        outcome.bookmarkIDs.push_back(ElementNumber(*id));
    return !outcome.bookmarkIDs.empty();
}
