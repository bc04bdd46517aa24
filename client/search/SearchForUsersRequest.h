#pragma once
// "search/SearchForUsers.jsp": playmakers by handle.
#include "client/catalogue/UserSummary.h"
#include "client/search/SearchRequest.h"

class CSearchForUsersRequest : public CSearchRequest<UserSummary> {
public:
    CSearchForUsersRequest();
    /// Unlike the other searches the handle is sent whenever one is given,
    /// also an empty one; nullopt sends an empty body.
    std::int32_t Search(const std::optional<SearchText>& handle, std::int32_t value1);
    static std::string Body(const std::optional<SearchText>& handle);
};
