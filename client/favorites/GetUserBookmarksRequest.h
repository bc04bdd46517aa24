#pragma once
// "bookmark/GetUserBookmarks.jsp": all favorites of the member, by kind.
#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"
#include "client/protocol/SummaryRequest.h"

#include <memory>
#include <mutex>
#include <vector>

class CGetUserBookmarksRequest : public CSummaryRequest {
public:
    CGetUserBookmarksRequest();
    ~CGetUserBookmarksRequest() override;

    HRESULT Fetch(const std::string& token);
    static std::string Body(const std::string& token);

    /// The list lengths when completion was delivered.
    std::int32_t PlaylistCount() const { return m_playlistCount; }
    std::int32_t ArtistCount() const { return m_artistCount; }
    std::int32_t PlaymakerCount() const { return m_playmakerCount; }
    std::int32_t TrackCount() const { return m_trackCount; }

    /// Records still held by the request; nullptr when out of range or taken.
    PlaylistSummary* GetPlaylist(std::int32_t index) const;
    ArtistSummary* GetArtist(std::int32_t index) const;
    UserSummary* GetPlaymaker(std::int32_t index) const;
    PerformanceSummary* GetTrack(std::int32_t index) const;

    /// Hand the records of the last answer over to the caller.
    std::vector<std::unique_ptr<PlaylistSummary>> TakePlaylists();
    std::vector<std::unique_ptr<ArtistSummary>> TakeArtists();
    std::vector<std::unique_ptr<UserSummary>> TakePlaymakers();
    std::vector<std::unique_ptr<PerformanceSummary>> TakeTracks();
    /// Deletes whatever was not taken.
    void Reset();

    void NotifyCompleted(std::int32_t value1, std::int32_t value2) override;
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    struct Lists {
        std::vector<std::unique_ptr<PlaylistSummary>> playlists;
        std::vector<std::unique_ptr<ArtistSummary>> artists;
        std::vector<std::unique_ptr<UserSummary>> playmakers;
        std::vector<std::unique_ptr<PerformanceSummary>> tracks;
    };

    mutable std::mutex m_lock;
    Lists m_lists;
    std::int32_t m_playlistCount = 0;
    std::int32_t m_artistCount = 0;
    std::int32_t m_playmakerCount = 0;
    std::int32_t m_trackCount = 0;
};
