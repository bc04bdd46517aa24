#pragma once
// "search/SearchForArtists.jsp": artists by name or by one of their tracks.
#include "client/catalogue/ArtistSummary.h"
#include "client/search/SearchRequest.h"

struct ArtistSearch {
    SearchText artistName;
    SearchText performanceTitle;
};

class CSearchForArtistsRequest : public CSearchRequest<ArtistSummary> {
public:
    CSearchForArtistsRequest();
    std::int32_t Search(const ArtistSearch& search, std::int32_t value1);
    static std::string Body(const ArtistSearch& search);
};
