#pragma once
// "search/SearchForPerformances.jsp": tracks by title, artist, version and album.
#include "client/catalogue/PerformanceSummary.h"
#include "client/search/SearchRequest.h"

struct PerformanceSearch {
    SearchText performanceTitle;
    SearchText primaryArtistName;
    SearchText version;
    SearchText cdTitle;
};

class CSearchForPerformancesRequest : public CSearchRequest<PerformanceSummary> {
public:
    CSearchForPerformancesRequest();
    std::int32_t Search(const PerformanceSearch& search, std::int32_t value1);
    static std::string Body(const PerformanceSearch& search);
};
