#pragma once
// "GetPlaylistDetails.jsp": one playlist with its tracks.
#include "client/catalogue/OleDateTime.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/protocol/SummaryRequest.h"

#include <memory>

class CGetPlaylistDetailsRequest : public CSummaryRequest {
public:
    CGetPlaylistDetailsRequest();
    ~CGetPlaylistDetailsRequest() override;

    /// Value 1 of the notifications is playlistID.
    HRESULT Fetch(std::int32_t playlistID);
    static std::string Body(std::int32_t playlistID);

    /// The detail of the last answer, still owned by the request; read it in
    /// the completion notification. nullptr before an answer and after release.
    PlaylistDetail* Detail() const { return m_detail.get(); }
    /// Hands the detail, with whatever tracks it still holds, to the caller.
    std::unique_ptr<PlaylistDetail> TakeDetail() { return std::move(m_detail); }
    /// Deletes the detail; move the tracks out of it first to keep them.
    void ReleaseDetail() { m_detail.reset(); }

    COleDateTime CreationDate() const { return m_creationDate; }
    COleDateTime DateUpdated() const { return m_dateUpdated; }
    std::int32_t TimesListened() const { return m_timesListened; }

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::unique_ptr<PlaylistDetail> m_detail;
    COleDateTime m_creationDate;
    COleDateTime m_dateUpdated;
    std::int32_t m_timesListened = 0;
};
