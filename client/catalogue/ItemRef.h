#pragma once
// A uniform, non-owning handle on a record of any kind, for lists that mix kinds.
// Changes made through it go into the record, so every holder sees them.
#include <cstdint>
#include <string>

struct PlaylistDetail;
struct PlaylistSummary;
struct PerformanceSummary;
struct ArtistSummary;
struct UserSummary;

enum ItemKind : std::int32_t {
    kItemPlaylistDetail = 1,
    kItemPlaylist = 2,
    kItemPerformance = 3,
    kItemArtist = 4,
    kItemUser = 5,
};

class CItemRef {
public:
    explicit CItemRef(PlaylistDetail* record) : m_kind(kItemPlaylistDetail), m_record(record) {}
    explicit CItemRef(PlaylistSummary* record) : m_kind(kItemPlaylist), m_record(record) {}
    explicit CItemRef(PerformanceSummary* record) : m_kind(kItemPerformance), m_record(record) {}
    explicit CItemRef(ArtistSummary* record) : m_kind(kItemArtist), m_record(record) {}
    explicit CItemRef(UserSummary* record) : m_kind(kItemUser), m_record(record) {}
    virtual ~CItemRef() = default;

    ItemKind Kind() const { return m_kind; }
    void* Record() const { return m_record; }
    bool IsPlaylistDetail() const { return m_kind == kItemPlaylistDetail; }
    bool IsPlaylist() const { return m_kind == kItemPlaylist; }
    bool IsPerformance() const { return m_kind == kItemPerformance; }
    bool IsArtist() const { return m_kind == kItemArtist; }
    bool IsUser() const { return m_kind == kItemUser; }

    /// The record, or nullptr when it is of another kind.
    PlaylistDetail* AsPlaylistDetail() const;
    PlaylistSummary* AsPlaylist() const;
    PerformanceSummary* AsPerformance() const;
    ArtistSummary* AsArtist() const;
    UserSummary* AsUser() const;

    /// -1 for a playlist detail.
    std::int32_t Identifier() const;
    /// Empty for a playlist detail.
    std::string Name() const;
    /// -1 for a playlist detail.
    std::int32_t BookmarkID() const;
    /// Both setters do nothing for a playlist detail.
    void SetBookmarkID(std::int32_t id);
    void SetIdentifier(std::int32_t id);

private:
    ItemKind m_kind;
    void* m_record;
};
