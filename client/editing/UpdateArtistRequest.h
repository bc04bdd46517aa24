#pragma once
// "UpdateArtistXML.jsp": adds an artist to the catalogue.
#include "client/editing/ArtistRecord.h"
#include "client/protocol/SummaryRequest.h"

#include <atomic>

class CUpdateArtistRequest : public CSummaryRequest {
public:
    CUpdateArtistRequest();
    ~CUpdateArtistRequest() override;

    HRESULT CreateArtist(const std::string& token, const ArtistRecord& artist);
    static std::string Body(const std::string& token, const ArtistRecord& artist);

    /// The ArtistID of the last answer; 0 before one and when it had none.
    std::int32_t ArtistID() const { return m_artistID; }

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::atomic<std::int32_t> m_artistID{0};
};

/// "%m/%d/%Y"; empty for an invalid date-time.
std::string FormatMonthDayYear(const COleDateTime& date);
