#include "client/editing/UpdateArtistRequest.h"
#include "client/editing/UpdatePerformanceRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "platform/Url.h"

#include <cstdio>

namespace {

const char* const kCreatePrefix = "&App=Tessarin&Action=Create";

// 0 when the answer does not carry the element, so a refused create never
// leaves the number of an earlier one behind.
std::int32_t FirstNumber(const std::string& answer, std::u16string_view element)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    const CXmlNode* node = document ? FirstElementNamed(*document, element) : nullptr;
    return node ? ElementNumber(*node) : 0;
}

}  // namespace

std::string FormatMonthDayYear(const COleDateTime& date)
{
    COleDateTime::Parts parts{};
    if (!date.GetParts(parts))
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.month, parts.day, parts.year);
    return text;
}

CUpdatePerformanceRequest::CUpdatePerformanceRequest()
{
    SetPage("UpdatePerformanceXML.jsp", false);
}

CUpdatePerformanceRequest::~CUpdatePerformanceRequest()
{
    CancelPendingJobs();
}

std::string CUpdatePerformanceRequest::Body(const std::string& token, const PerformanceSummary& performance)
{
    return "UserToken=" + FormValue(token) + kCreatePrefix +
           "&ID=0&SongName=" + EncodedFormValue(performance.SongName) +
           "&ArtistName=" + EncodedFormValue(performance.ArtistName) +
           "&ArtistID=" + std::to_string(performance.primaryArtistID) +
           "&Version=" + EncodedFormValue(performance.Version) +
           "&Length=0&PrimaryGenreID=0&PerformanceSourceID=1&BeatsPerMin=0";
}

HRESULT CUpdatePerformanceRequest::CreatePerformance(const std::string& token, const PerformanceSummary& performance)
{
    return Post(Body(token, performance), 0, 0);
}

void CUpdatePerformanceRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    m_performanceID = FirstNumber(answer, u"PerformanceID");
}

CUpdateArtistRequest::CUpdateArtistRequest()
{
    SetPage("UpdateArtistXML.jsp", false);
}

CUpdateArtistRequest::~CUpdateArtistRequest()
{
    CancelPendingJobs();
}

std::string CUpdateArtistRequest::Body(const std::string& token, const ArtistRecord& artist)
{
    return "UserToken=" + FormValue(token) + kCreatePrefix + "&ID=0&Name=" + EncodedFormValue(artist.Name) +
           "&OfficialURL=" + FormValue(artist.OfficialURL) + "&PlaceOfBirth=" + FormValue(artist.PlaceOfBirth) +
           "&DateOfBirth=" + FormValue(FormatMonthDayYear(artist.DateOfBirth)) +
           "&PlaceOfDeath=" + FormValue(artist.PlaceOfDeath) +
           "&DateOfDeath=" + FormValue(FormatMonthDayYear(artist.DateOfDeath));
}

HRESULT CUpdateArtistRequest::CreateArtist(const std::string& token, const ArtistRecord& artist)
{
    return Post(Body(token, artist), 0, 0);
}

void CUpdateArtistRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    m_artistID = FirstNumber(answer, u"ArtistID");
}
