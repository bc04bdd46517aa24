#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

namespace corvanta::server {

class CConnection;
class CDatabase;
class CFormFields;
class CXmlWriter;

enum class SummaryKind { Playlist, User, Artist, Performance };

// A favorite's place in its list, written into the item's summary.
struct BookmarkMark {
    int64_t bookmarkId = 0;
    int64_t comesAfterId = 0;
};

struct NewArtist {
    std::string name, officialUrl, placeOfBirth, dateOfBirth, placeOfDeath, dateOfDeath;
};

struct NewPerformance {
    std::string songName, artistName, version;
    int64_t artistId = 0, length = 0, genreId = 0, sourceId = 1;
};

struct PlaylistTrack {
    int64_t performanceId = 0;
    std::string comment;
};

struct PlaylistInput {
    int64_t id = 0;
    std::string name, description, theme;
    int64_t genreId = 0, moodId = 0;
    bool isPublic = true;
    std::vector<PlaylistTrack> tracks;
};

// The catalogue: summaries, searches, track resolution and the members' playlists.
class CCatalogue {
public:
    using Clock = std::function<int64_t()>;
    static constexpr size_t kFirstPage = 20;
    // Candidates a resolution weighs besides the exact matches.
    static constexpr size_t kMaxCandidates = 5000;

    CCatalogue(CDatabase& db, Clock clock);

    // Summaries of the given items in the given order; unknown ones are left out,
    // and so are private playlists of anyone but viewer (a member id, 0 for nobody).
    // marks, when given, runs parallel to ids; comments likewise for performances.
    static void WriteSummaries(CXmlWriter& xml, CConnection& db, SummaryKind kind, const std::vector<int64_t>& ids,
                               const std::vector<BookmarkMark>* marks = nullptr,
                               const std::vector<std::string>* comments = nullptr, int64_t viewer = 0);
    static bool Exists(CConnection& db, SummaryKind kind, int64_t id);
    // A playlist that is public or viewer's own.
    static bool CanSeePlaylist(CConnection& db, int64_t playlistId, int64_t viewer);
    // The sources a track may name; the client sends 1, a member's own entry.
    static bool IsKnownSource(int64_t sourceId) { return sourceId == 1; }

    // Every match in a stable order; fields without a value take no part, and a
    // search with no field matches nothing.
    std::vector<int64_t> Search(SummaryKind kind, const CFormFields& fields);
    // Candidates, the exact title and artist (ignoring case) first, then by likeness.
    std::vector<int64_t> ResolvePerformances(const std::string& title, const std::string& artist);
    std::vector<int64_t> ResolveArtists(const std::string& name);
    // Loads the track texts that searches and resolutions scan, ahead of the first.
    void LoadTrackTexts() { ReadTracks(); }

    // The new (or the existing, same-named) artist; 0 with error set on refusal.
    int64_t CreateArtist(int64_t userId, const NewArtist& artist, std::string& error);
    int64_t CreatePerformance(int64_t userId, const NewPerformance& performance, std::string& error);

    std::vector<int64_t> PlaylistsOf(int64_t userId);
    // The PlaylistDetail document body; false when there is no such playlist
    // that viewer may see.
    bool WritePlaylistDetail(CXmlWriter& xml, int64_t playlistId, int64_t viewer);
    // Create (id 0) or update by the owner; returns the playlist's id or 0 with error.
    int64_t SavePlaylist(int64_t userId, const PlaylistInput& input, std::string& error);
    bool DeletePlaylist(int64_t userId, int64_t playlistId, std::string& error);
    // Counts a listen; the new count, or -1 when there is no such playlist that viewer may see.
    int64_t CountListen(int64_t playlistId, int64_t viewer);
    bool HasPreview(int64_t performanceId);

    static std::string FormatDate(int64_t unixSeconds);

private:
    // The searchable texts of every track in display order, lower-cased once:
    // scanning them beats running the same scan through SQL functions per request.
    struct TrackText {
        int64_t id;
        std::string title, artist, version, album;
    };
    std::vector<int64_t> SearchTracks(const CFormFields& fields);
    // The texts, loaded on first use, held for reading.
    std::shared_lock<std::shared_mutex> ReadTracks();
    // A new track takes its place in the loaded texts instead of discarding them.
    void AddTrackText(int64_t id, const std::string& title, const std::string& artist, const std::string& version);

    CDatabase& m_db;
    Clock m_clock;
    std::shared_mutex m_tracksLock;
    std::vector<TrackText> m_tracks;
    bool m_tracksValid = false;
};

}  // namespace corvanta::server
