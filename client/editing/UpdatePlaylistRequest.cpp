#include "client/editing/UpdatePlaylistRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/resources/StringTable.h"
#include "platform/BlockingCall.h"
#include "platform/Url.h"

namespace {

constexpr std::int32_t kPublishMarker = 1;

std::string LinesToBreaks(std::string text)
{
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 4))
        text.replace(at, 2, "<BR>");
    return text;
}

}  // namespace

CUpdatePlaylistRequest::CUpdatePlaylistRequest()
{
    SetPage("UpdatePlaylistXML.jsp", false);
}

CUpdatePlaylistRequest::~CUpdatePlaylistRequest()
{
    CancelPendingJobs();
}

std::string CUpdatePlaylistRequest::PublishBody(const std::string& token, const PlaylistDetail& playlist)
{
    const PlaylistSummary& summary = playlist.Summary;
    std::string body = "UserToken=" + FormValue(token) + "&App=Tessarin";
    body += summary.playlistID == 0 ? "&Action=Create" : "&Action=Update";
    body += "&ID=" + std::to_string(summary.playlistID) + "&Name=" + EncodedFormValue(summary.Name) +
            "&EntryCount=" + std::to_string(playlist.Tracks.size()) +
            "&PrimaryGenreID=" + std::to_string(summary.PrimaryGenreID) +
            "&PrimaryMoodID=" + std::to_string(summary.PrimaryMoodID) +
            "&PrimaryTheme=" + EncodedFormValue(summary.Theme) +
            "&Description=" + EncodedFormValue(summary.PlaylistDescription) + "&IsPublic=1";
    for (std::size_t i = 0; i < playlist.Tracks.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        body += "&TrackID" + n + '=' + std::to_string(playlist.Tracks[i]->performanceID) + "&TrackComment" + n + '=' +
                EncodedFormValue(LinesToBreaks(playlist.Tracks[i]->Comment));
    }
    return body;
}

HRESULT CUpdatePlaylistRequest::Publish(const std::string& token, PlaylistDetail& playlist)
{
    m_publishing = &playlist;
    m_published = false;
    std::string answer;
    // The program's progress window names what the member waits for.
    const CBlockingCallMessage progressText(IDS_PUBLISHING);
    const HRESULT result = Execute(PublishBody(token, playlist), answer, 0, kPublishMarker);
    m_publishing = nullptr;
    if (Failed(result))
        return result;
    return m_published ? S_OK : E_FAIL;
}

std::string CUpdatePlaylistRequest::DeleteBody(const std::string& token, std::int32_t playlistID)
{
    return "UserToken=" + FormValue(token) + "&App=Tessarin&Action=Delete&ID=" + std::to_string(playlistID);
}

HRESULT CUpdatePlaylistRequest::Delete(const std::string& token, std::int32_t playlistID, std::int32_t deleteNumber)
{
    return Post(DeleteBody(token, playlistID), deleteNumber, 0);
}

bool CUpdatePlaylistRequest::TakeDeleteRefused(std::int32_t deleteNumber)
{
    std::lock_guard lock(m_lock);
    return m_refusedDeletes.erase(deleteNumber) != 0;
}

void CUpdatePlaylistRequest::ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    if (value2 != kPublishMarker) {
        // A delete: the server reports a refusal inside the answer.
        if (document && (FirstElementNamed(*document, u"Exception") || FirstElementNamed(*document, u"Error"))) {
            std::lock_guard lock(m_lock);
            m_refusedDeletes.insert(value1);
        }
        return;
    }
    if (!m_publishing)
        return;
    const CXmlNode* id = document ? FirstElementNamed(*document, u"PlaylistID") : nullptr;
    if (!id)
        return;
    m_publishing->Summary.playlistID = ElementNumber(*id);
    m_published = true;
}
