#include "client/catalogue/ItemRef.h"

#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"

PlaylistDetail* CItemRef::AsPlaylistDetail() const
{
    return IsPlaylistDetail() ? static_cast<PlaylistDetail*>(m_record) : nullptr;
}
PlaylistSummary* CItemRef::AsPlaylist() const
{
    return IsPlaylist() ? static_cast<PlaylistSummary*>(m_record) : nullptr;
}
PerformanceSummary* CItemRef::AsPerformance() const
{
    return IsPerformance() ? static_cast<PerformanceSummary*>(m_record) : nullptr;
}
ArtistSummary* CItemRef::AsArtist() const
{
    return IsArtist() ? static_cast<ArtistSummary*>(m_record) : nullptr;
}
UserSummary* CItemRef::AsUser() const
{
    return IsUser() ? static_cast<UserSummary*>(m_record) : nullptr;
}

namespace {
// Applies f to the identifier and bookmark fields of whichever record r holds.
template <class F>
void WithFields(const CItemRef& r, F&& f)
{
    if (auto* p = r.AsPlaylist())
        f(p->playlistID, p->Name, p->BookmarkID);
    else if (auto* t = r.AsPerformance())
        f(t->performanceID, t->SongName, t->BookmarkID);
    else if (auto* a = r.AsArtist())
        f(a->artistID, a->Name, a->BookmarkID);
    else if (auto* u = r.AsUser())
        f(u->userID, u->Handle, u->BookmarkID);
}
}  // namespace

std::int32_t CItemRef::Identifier() const
{
    std::int32_t result = -1;
    WithFields(*this, [&](std::int32_t& id, std::string&, std::int32_t&) { result = id; });
    return result;
}

std::string CItemRef::Name() const
{
    std::string result;
    WithFields(*this, [&](std::int32_t&, std::string& name, std::int32_t&) { result = name; });
    return result;
}

std::int32_t CItemRef::BookmarkID() const
{
    std::int32_t result = -1;
    WithFields(*this, [&](std::int32_t&, std::string&, std::int32_t& bm) { result = bm; });
    return result;
}

void CItemRef::SetBookmarkID(std::int32_t value)
{
    WithFields(*this, [&](std::int32_t&, std::string&, std::int32_t& bm) { bm = value; });
}

void CItemRef::SetIdentifier(std::int32_t value)
{
    WithFields(*this, [&](std::int32_t& id, std::string&, std::int32_t&) { id = value; });
}
