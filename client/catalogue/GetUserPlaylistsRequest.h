#pragma once
// "GetUserPlaylists.jsp": the summaries of the member's own playlists.
#include "client/catalogue/PlaylistSummary.h"
#include "client/protocol/SummaryRequest.h"

#include <memory>
#include <vector>

class CGetUserPlaylistsRequest : public CSummaryRequest {
public:
    CGetUserPlaylistsRequest();
    ~CGetUserPlaylistsRequest() override;

    HRESULT Fetch(const std::string& token);
    static std::string Body(const std::string& token);

    /// The number of records when completion was delivered.
    std::int32_t Count() const { return m_count; }
    /// A copy of the record at index; a default record when out of range.
    PlaylistSummary Get(std::int32_t index) const;
    /// Answers append to what is there until this is called.
    void Clear();

    void NotifyCompleted(std::int32_t value1, std::int32_t value2) override;
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    mutable CCriticalSection m_lock;
    std::vector<std::unique_ptr<PlaylistSummary>> m_results;
    std::int32_t m_count = 0;
};
