#include "client/catalogue/GetPlaylistDetailsRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"

CGetPlaylistDetailsRequest::CGetPlaylistDetailsRequest()
{
    SetPage("GetPlaylistDetails.jsp", false);
}

CGetPlaylistDetailsRequest::~CGetPlaylistDetailsRequest()
{
    CancelPendingJobs();
}

std::string CGetPlaylistDetailsRequest::Body(std::int32_t playlistID)
{
    return "playlist=" + std::to_string(playlistID);
}

HRESULT CGetPlaylistDetailsRequest::Fetch(std::int32_t playlistID)
{
    return Post(Body(playlistID), playlistID, 0);
}

void CGetPlaylistDetailsRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    // A detail the consumer did not release is simply replaced.
    m_detail = std::make_unique<PlaylistDetail>();
    if (!document)
        return;
    for (const CXmlNode* detail : ElementsNamed(*document, u"PlaylistDetail")) {
        for (const CXmlNode* child = detail->firstChild(); child; child = child->nextSibling()) {
            const std::u16string_view name = child->nodeName();
            if (name == u"PlaylistSummary") {
                m_detail->Summary = *ReadPlaylistSummary(*child);
            } else if (name == u"CreationDate") {
                m_creationDate.ParseDateTime(ElementString(*child));
            } else if (name == u"DateUpdated") {
                m_dateUpdated.ParseDateTime(ElementString(*child));
            } else if (name == u"TimesListened") {
                m_timesListened = ElementNumber(*child);
            }
        }
    }
    for (const CXmlNode* element : ElementsNamed(*document, u"PerformanceSummary"))
        m_detail->Tracks.push_back(ReadPerformanceSummary(*element));
}
