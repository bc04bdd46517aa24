#pragma once
// "UpdatePlaylistXML.jsp": publishes (creates or updates) and deletes the
// member's playlists.
#include "client/catalogue/PlaylistDetail.h"
#include "client/protocol/SummaryRequest.h"

#include <mutex>
#include <set>

class CUpdatePlaylistRequest : public CSummaryRequest {
public:
    CUpdatePlaylistRequest();
    ~CUpdatePlaylistRequest() override;

    /// Synchronous. Creates the playlist when its playlistID is 0, else updates
    /// it; the answer's PlaylistID becomes its playlistID. E_FAIL, and the
    /// playlistID unchanged, when the exchange failed or the answer carried no
    /// PlaylistID.
    HRESULT Publish(const std::string& token, PlaylistDetail& playlist);
    static std::string PublishBody(const std::string& token, const PlaylistDetail& playlist);

    /// Posted with value 1 = deleteNumber, which names the delete to
    /// TakeDeleteRefused.
    HRESULT Delete(const std::string& token, std::int32_t playlistID, std::int32_t deleteNumber = 0);
    static std::string DeleteBody(const std::string& token, std::int32_t playlistID);
    /// Whether the answer of that delete carried an "Exception" or "Error";
    /// read once its completion has been delivered.
    bool TakeDeleteRefused(std::int32_t deleteNumber);

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    // Set only for the length of Publish, whose hook runs on the same thread.
    PlaylistDetail* m_publishing = nullptr;
    bool m_published = false;
    std::mutex m_lock;  // the worker writes while the user-interface thread takes
    std::set<std::int32_t> m_refusedDeletes;
};
