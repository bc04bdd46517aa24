#pragma once
// "UpdatePerformanceXML.jsp": adds a track to the catalogue.
#include "client/catalogue/PerformanceSummary.h"
#include "client/protocol/SummaryRequest.h"

#include <atomic>

class CUpdatePerformanceRequest : public CSummaryRequest {
public:
    CUpdatePerformanceRequest();
    ~CUpdatePerformanceRequest() override;

    /// Posts the new track (SongName, ArtistName, primaryArtistID, Version).
    HRESULT CreatePerformance(const std::string& token, const PerformanceSummary& performance);
    static std::string Body(const std::string& token, const PerformanceSummary& performance);

    /// The PerformanceID of the last answer; 0 before one and when it had none.
    std::int32_t PerformanceID() const { return m_performanceID; }

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::atomic<std::int32_t> m_performanceID{0};
};
