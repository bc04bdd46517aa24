#include "server/DemoData.h"

#include "server/Accounts.h"
#include "server/Database.h"
#include "server/PasswordHash.h"
#include "server/ProfileDocument.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace corvanta::server {

namespace {

// SplitMix64: small, fast and the same everywhere (unlike the standard distributions).
class CRandom {
public:
    explicit CRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    template <class T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    uint64_t m_state;
};

const std::vector<std::string> kAdjectives = {
    "Velvet",   "Electric", "Silent",  "Golden", "Midnight", "Crimson", "Wandering", "Broken",  "Neon",    "Hollow",
    "Restless", "Lonely",   "Burning", "Frozen", "Distant",  "Painted", "Wild",      "Gentle",  "Crooked", "Silver",
    "Paper",    "Northern", "Lucky",   "Secret", "Rusty",    "Blue",    "Summer",    "Falling", "Hidden",  "Sleepy"};
const std::vector<std::string> kNouns = {
    "Foxes",  "Rivers",  "Engines", "Lanterns",   "Sparrows", "Machines",  "Orchards", "Wolves", "Harbors",
    "Comets", "Mirrors", "Tigers",  "Satellites", "Gardens",  "Ghosts",    "Pilots",   "Echoes", "Islands",
    "Horses", "Radios",  "Thieves", "Violets",    "Canyons",  "Strangers", "Owls"};
const std::vector<std::string> kFirstNames = {"Ada",  "Miles", "Nina", "Otis",  "Ruby",  "Felix", "June",   "Hank",
                                              "Iris", "Leon",  "Mae",  "Oscar", "Pearl", "Roy",   "Stella", "Wes"};
const std::vector<std::string> kLastNames = {"Holloway", "Baxter",   "Quinn",  "Marlowe", "Delgado",  "Fontaine",
                                             "Harper",   "Calloway", "Sutton", "Vance",   "Whitaker", "Monroe"};
const std::vector<std::string> kTitleStarts = {"Dancing in", "Waiting for", "Lost in",   "Letters from", "Running to",
                                               "Dreams of",  "Back to",     "Under",     "Beyond",       "Song for",
                                               "Lights of",  "Shadows on",  "Love in",   "Rain over",    "Stars above",
                                               "Heart of",   "Road to",     "Ballad of", "Goodbye",      "Morning in"};
const std::vector<std::string> kTitleEnds = {
    "the Moon",   "Tomorrow", "the City", "Home",       "the Night", "California", "the Sea",     "Yesterday",
    "the River",  "Paradise", "the Wire", "Memphis",    "the Storm", "Summer",     "the Machine", "Blue Skies",
    "the Desert", "Midnight", "Paris",    "the Garden", "Nowhere",   "the Stars",  "Your Eyes",   "the Valley"};
const std::vector<std::string> kVersions = {"Live", "Remastered", "Acoustic", "Radio Edit", "Demo", "Extended Mix"};
const std::vector<std::string> kHandleParts = {"groove", "vinyl", "tempo", "bassline", "echo",
                                               "riff",   "chord", "beat",  "melody",   "reverb",
                                               "tape",   "drum",  "synth", "jazz",     "soul"};
const std::vector<std::string> kHandleTails = {"fox",   "cat",   "kid", "head", "fan",
                                               "rider", "hound", "owl", "bird", "jones"};
const std::vector<std::string> kPlaylistWords = {
    "Sunday Morning", "Late Night Drive", "Rainy Day",        "Workout Mix",    "Road Trip",
    "Kitchen Dance",  "Study Session",    "Heartbreak Hotel", "Summer Nights",  "Coffee House",
    "Party Starters", "Slow Burn",        "Deep Cuts",        "Golden Oldies",  "Campfire",
    "Night Owls",     "First Dates",      "Open Road",        "Lazy Afternoon", "Winter Warmers"};
const std::vector<std::string> kComments = {"Turn this one up!",
                                            "Perfect opener.",
                                            "Reminds me of my first car.",
                                            "Best chorus ever.\r\nTrust me.",
                                            "The guitar solo at 2:30...",
                                            "Sing along & smile.",
                                            "A hidden gem.",
                                            "Closes the set <just right>."};
const std::vector<int> kGenres = {201, 301, 401, 501, 601, 701, 801, 901, 1001, 1101, 1201, 1301, 1401};
const std::vector<std::string> kThemes = {"Road Trip",  "Workout", "Rainy Day",  "Party",
                                          "Late Night", "Summer",  "Love Songs", "Study"};

std::string DemoProfile(const std::string& handle, const std::string& email, const std::string& first,
                        const std::string& last)
{
    ProfileValues values;
    values.handle = handle;
    values.email = email;
    values.first = first;
    values.last = last;
    values.address = {"12 Harbor Street", "", "Portland", "OR", "97201", "USA"};
    values.addressPrivate = false;
    values.maritalStatus = 1;
    values.dateOfBirth = "07/04/1970";
    values.homepages = {{"https://example.org/" + handle, "My music blog"}};
    values.loveList = {{"Artist", {"The Velvet Foxes", "Neon Harbors"}}, {"Color", {"Blue"}}};
    values.hateList = {{"Playlist", {"Elevator music"}}};
    return ProfileDocument(values);
}

// One seeding: the community written part by part in a fixed order, all from
// one generator, so that every part comes out the same on every machine.
class CDemoSeeder {
public:
    CDemoSeeder(CConnection& db, int64_t now) : m_db(db), m_random(20030901), m_now(now) {}

    // The handles: "demo" first, then word pairs, then numbered pairs once
    // the pairs run out.
    std::vector<std::string> Handles(size_t members)
    {
        std::vector<std::string> handles = {"demo"};
        std::set<std::string> taken = {"demo"};
        while (handles.size() < CDemoData::kMembers) {
            std::string handle = m_random.Pick(kHandleParts) + m_random.Pick(kHandleTails);
            if (taken.insert(handle).second)
                handles.push_back(handle);
        }
        while (handles.size() < members)
            handles.push_back(m_random.Pick(kHandleParts) + m_random.Pick(kHandleTails) +
                              std::to_string(handles.size()));
        return handles;
    }

    void Members(const std::vector<std::string>& handles, const std::vector<std::string>& hashes)
    {
        for (size_t i = 0; i < handles.size(); ++i) {
            std::string email = handles[i] + "@example.org";
            std::string first = m_random.Pick(kFirstNames), last = m_random.Pick(kLastNames);
            if (i == 0) {
                first = "Demo";
                last = "Member";
            }
            m_db.Prepare("INSERT INTO users(handle, password_hash, email, referral_id, own_mail, partner_mail, "
                         "accepts_email, created, profile_xml) VALUES (?1, ?2, ?3, 1, 1, 0, ?4, ?5, ?6)")
                .Bind(1, handles[i])
                .Bind(2, hashes[i])
                .Bind(3, email)
                .Bind(4, m_random.Below(3) != 0 ? 1 : 0)
                .Bind(5, m_now - (400 - static_cast<int64_t>(i) * 10) * kDay)
                .Bind(6, DemoProfile(handles[i], email, first, last))
                .Run();
            m_users.push_back(m_db.LastInsertId());
        }
    }

    // Distinct names; past the word pairs each name carries its number.
    void Artists(size_t count)
    {
        std::set<std::string> names;
        while (m_artists.size() < count) {
            std::string name = "The " + m_random.Pick(kAdjectives) + " " + m_random.Pick(kNouns);
            if (m_random.Below(4) == 0)
                name = m_random.Pick(kFirstNames) + " " + m_random.Pick(kLastNames);
            if (m_artists.size() >= CDemoData::kArtists)
                name += " " + std::to_string(m_artists.size() + 1);
            if (!names.insert(name).second)
                continue;
            m_db.Prepare("INSERT INTO artists(name, official_url, place_of_birth, created) VALUES (?1, ?2, ?3, ?4)")
                .Bind(1, name)
                .Bind(2, m_random.Below(2) ? "https://example.org/artists/" + std::to_string(m_artists.size() + 1)
                                           : std::string())
                .Bind(3, m_random.Below(2) ? "Nashville" : "Manchester")
                .Bind(4, m_now - 500 * kDay)
                .Run();
            m_artists.push_back(m_db.LastInsertId());
        }
    }

    // One album per artist; about one title in six has a second version, so
    // that some titles are ambiguous.
    void Tracks()
    {
        for (int64_t artist : m_artists) {
            std::string album = m_random.Pick(kAdjectives) + " " + m_random.Pick(kTitleEnds);
            int genre = m_random.Pick(kGenres);
            std::set<std::string> titles;
            for (int n = 0; n < CDemoData::kTracksPerArtist; ++n) {
                std::string title = m_random.Pick(kTitleStarts) + " " + m_random.Pick(kTitleEnds);
                if (!titles.insert(title).second)
                    title += " (Part " + std::to_string(n + 1) + ")";
                for (int copy = 0; copy < (m_random.Below(6) == 0 ? 2 : 1); ++copy) {
                    m_db.Prepare("INSERT INTO performances(title, artist_id, version, album, length, genre_id, "
                                 "source_id, has_preview, created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1, ?7, ?8)")
                        .Bind(1, title)
                        .Bind(2, artist)
                        .Bind(3, copy == 1 ? m_random.Pick(kVersions) : std::string())
                        .Bind(4, album)
                        .Bind(5, 120 + m_random.Below(300))
                        .Bind(6, genre)
                        .Bind(7, m_random.Below(3) != 0 ? 1 : 0)
                        .Bind(8, m_now - 450 * kDay)
                        .Run();
                    m_tracks.push_back(m_db.LastInsertId());
                }
            }
        }
    }

    void Playlists(int count)
    {
        for (int p = 0; p < count; ++p) {
            // The demo member owns the first few, so its pane is not empty.
            int64_t owner =
                p < 6 ? m_users[0]
                      : m_users[static_cast<size_t>(1 + m_random.Below(static_cast<int>(m_users.size()) - 1))];
            std::string name =
                m_random.Pick(kPlaylistWords) + (p >= 20 ? " " + std::to_string(p / 20 + 1) : std::string());
            int64_t created = m_now - (200 - p) * kDay;
            m_db.Prepare("INSERT INTO playlists(owner_id, name, description, theme, genre_id, mood_id, created, "
                         "updated, times_listened) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")
                .Bind(1, owner)
                .Bind(2, name)
                .Bind(3, "Songs picked for " + name + ".\r\nEnjoy!")
                .Bind(4, m_random.Pick(kThemes))
                .Bind(5, m_random.Pick(kGenres))
                .Bind(6, 1 + m_random.Below(8))
                .Bind(7, created)
                .Bind(8, created + m_random.Below(30) * kDay)
                .Bind(9, m_random.Below(500))
                .Run();
            int64_t playlist = m_db.LastInsertId();
            m_playlists.push_back(playlist);
            PlaylistTracks(playlist, 5 + m_random.Below(11));
        }
    }

    // The demo member's favorites of every kind, and a few of everyone else's.
    void Favorites(int scale)
    {
        const int64_t demo = m_users[0];
        const int each = scale == 1 ? 0 : 25 * scale / 2;
        Favorite(demo, kArtistKind, m_artists, scale == 1 ? 6 : each);
        Favorite(demo, kPlaylistKind, m_playlists, scale == 1 ? 5 : each);
        Favorite(demo, kTrackKind, m_tracks, scale == 1 ? 8 : each);
        Favorite(demo, kPlaymakerKind, m_users, scale == 1 ? 4 : std::min(each, static_cast<int>(m_users.size()) - 1));
        for (size_t i = 1; i < m_users.size(); ++i) {
            Favorite(m_users[i], kPlaylistKind, m_playlists, 1 + m_random.Below(4));
            Favorite(m_users[i], kTrackKind, m_tracks, m_random.Below(5));
            Favorite(m_users[i], kPlaymakerKind, m_users, m_random.Below(3));
        }
    }

private:
    static constexpr int64_t kDay = 24 * 3600;
    // The favorites' kinds as the bookmark pages number them.
    static constexpr int kArtistKind = 1, kPlaylistKind = 2, kTrackKind = 3, kPlaymakerKind = 4;

    // Comments keep their line breaks as the client sends them, "<BR>".
    void PlaylistTracks(int64_t playlist, int count)
    {
        for (int t = 0; t < count; ++t) {
            std::string comment = m_random.Below(3) == 0 ? m_random.Pick(kComments) : std::string();
            size_t at;
            while ((at = comment.find("\r\n")) != std::string::npos)
                comment.replace(at, 2, "<BR>");
            m_db.Prepare("INSERT INTO playlist_tracks(playlist_id, position, performance_id, comment) "
                         "VALUES (?1, ?2, ?3, ?4)")
                .Bind(1, playlist)
                .Bind(2, t + 1)
                .Bind(3, m_random.Pick(m_tracks))
                .Bind(4, comment)
                .Run();
        }
    }

    // count distinct items, in the order drawn; nobody keeps themselves.
    void Favorite(int64_t user, int kind, const std::vector<int64_t>& items, int count)
    {
        std::set<int64_t> chosen;
        int position = 0;
        while (static_cast<int>(chosen.size()) < count) {
            int64_t item = m_random.Pick(items);
            if (kind == kPlaymakerKind && item == user)
                continue;
            if (!chosen.insert(item).second)
                continue;
            m_db.Prepare("INSERT INTO bookmarks(user_id, kind, item_id, position) VALUES (?1, ?2, ?3, ?4)")
                .Bind(1, user)
                .Bind(2, kind)
                .Bind(3, item)
                .Bind(4, ++position)
                .Run();
        }
    }

    CConnection& m_db;
    CRandom m_random;
    int64_t m_now;
    std::vector<int64_t> m_users, m_artists, m_tracks, m_playlists;
};

bool AlreadySeeded(CConnection& db)
{
    CQuery seeded = db.Prepare("SELECT 1 FROM settings WHERE key = 'demo_seeded'");
    return seeded.Step();
}

}  // namespace

bool CDemoData::SeedOnce(CConnection& db, int pbkdf2Iterations, int64_t now, int scale)
{
    if (AlreadySeeded(db))
        return false;
    scale = std::clamp(scale, 1, kMaxScale);
    const size_t members = static_cast<size_t>(kMembers) * static_cast<size_t>(scale);
    CDemoSeeder seeder(db, now);
    const std::vector<std::string> handles = seeder.Handles(members);
    // Hashing is the slow part; it stays outside the write transaction.
    std::vector<std::string> hashes;
    for (size_t i = 0; i < kMembers; ++i)
        hashes.push_back(CPasswordHash::Hash(handles[i], pbkdf2Iterations));
    if (members > kMembers)
        hashes.resize(members, CPasswordHash::Hash("demo", pbkdf2Iterations));

    CTransaction transaction(db);
    seeder.Members(handles, hashes);
    seeder.Artists(static_cast<size_t>(kArtists) * static_cast<size_t>(scale));
    seeder.Tracks();
    seeder.Playlists(kPlaylists * scale);
    seeder.Favorites(scale);
    db.Prepare("INSERT INTO settings(key, value) VALUES ('demo_seeded', '1')").Run();
    transaction.Commit();
    return true;
}

}  // namespace corvanta::server
