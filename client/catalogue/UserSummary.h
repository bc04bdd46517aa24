#pragma once
// A member ("playmaker") as the server summarises it.
#include "client/catalogue/OleDateTime.h"

#include <cstdint>
#include <string>

struct UserSummary {
    std::int32_t Ranking = 0;
    std::int32_t NumberOfBookmarks = 0;
    std::int32_t NumberOfPlaylists = 0;
    std::string clientText;  // not read from any answer
    std::int32_t userID = 0;
    std::string Handle;
    std::int32_t AcceptsEMail = 0;
    COleDateTime DateCreated;
    std::int32_t BookmarkID = 0;
    std::int32_t ComesAfterID = 0;
};
