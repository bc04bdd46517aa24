#pragma once
// "UpdatePlaylistXML.jsp": publishes (creates or updates) and deletes the
// member's playlists.
#include "client/catalogue/PlaylistDetail.h"
#include "client/protocol/SummaryRequest.h"

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

    /// Posted; the answer is not used.
    HRESULT Delete(const std::string& token, std::int32_t playlistID);
    static std::string DeleteBody(const std::string& token, std::int32_t playlistID);

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    // Set only for the length of Publish, whose hook runs on the same thread.
    PlaylistDetail* m_publishing = nullptr;
    bool m_published = false;
};
