#pragma once
// "bookmark/AddBookmark.jsp": adds the operation's items to the favorites; the
// server's BookmarkIDs go into the items' records.
#include "client/favorites/BookmarkChangeRequest.h"

class CAddBookmarkRequest : public CBookmarkChangeRequest {
public:
    CAddBookmarkRequest();
    HRESULT Send(CBookmarkOperation& operation, const std::string& token);
    static std::string Body(const CBookmarkOperation& operation, const std::string& token);

protected:
    bool ReadSuccess(const CXmlDocument& document, Outcome& outcome) const override;
};
