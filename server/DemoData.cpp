#include "server/DemoData.h"

#include "server/Accounts.h"
#include "server/Database.h"
#include "server/PasswordHash.h"
#include "server/XmlWriter.h"

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
    template <class T> const T& Pick(const std::vector<T>& items) { return items[static_cast<size_t>(Below(static_cast<int>(items.size())))]; }

private:
    uint64_t m_state;
};

const std::vector<std::string> kAdjectives = {
    "Velvet", "Electric", "Silent", "Golden", "Midnight", "Crimson", "Wandering", "Broken", "Neon", "Hollow", "Restless",
    "Lonely", "Burning", "Frozen", "Distant", "Painted", "Wild", "Gentle", "Crooked", "Silver", "Paper", "Northern",
    "Lucky", "Secret", "Rusty", "Blue", "Summer", "Falling", "Hidden", "Sleepy"};
const std::vector<std::string> kNouns = {
    "Foxes", "Rivers", "Engines", "Lanterns", "Sparrows", "Machines", "Orchards", "Wolves", "Harbors", "Comets",
    "Mirrors", "Tigers", "Satellites", "Gardens", "Ghosts", "Pilots", "Echoes", "Islands", "Horses", "Radios",
    "Thieves", "Violets", "Canyons", "Strangers", "Owls"};
const std::vector<std::string> kFirstNames = {"Ada", "Miles", "Nina", "Otis", "Ruby", "Felix", "June", "Hank", "Iris",
                                              "Leon", "Mae", "Oscar", "Pearl", "Roy", "Stella", "Wes"};
const std::vector<std::string> kLastNames = {"Holloway", "Baxter", "Quinn", "Marlowe", "Delgado", "Fontaine", "Harper",
                                             "Calloway", "Sutton", "Vance", "Whitaker", "Monroe"};
const std::vector<std::string> kTitleStarts = {
    "Dancing in", "Waiting for", "Lost in", "Letters from", "Running to", "Dreams of", "Back to", "Under", "Beyond",
    "Song for", "Lights of", "Shadows on", "Love in", "Rain over", "Stars above", "Heart of", "Road to", "Ballad of",
    "Goodbye", "Morning in"};
const std::vector<std::string> kTitleEnds = {
    "the Moon", "Tomorrow", "the City", "Home", "the Night", "California", "the Sea", "Yesterday", "the River",
    "Paradise", "the Wire", "Memphis", "the Storm", "Summer", "the Machine", "Blue Skies", "the Desert", "Midnight",
    "Paris", "the Garden", "Nowhere", "the Stars", "Your Eyes", "the Valley"};
const std::vector<std::string> kVersions = {"Live", "Remastered", "Acoustic", "Radio Edit", "Demo", "Extended Mix"};
const std::vector<std::string> kHandleParts = {"groove", "vinyl", "tempo", "bassline", "echo", "riff", "chord", "beat",
                                               "melody", "reverb", "tape", "drum", "synth", "jazz", "soul"};
const std::vector<std::string> kHandleTails = {"fox", "cat", "kid", "head", "fan", "rider", "hound", "owl", "bird", "jones"};
const std::vector<std::string> kPlaylistWords = {
    "Sunday Morning", "Late Night Drive", "Rainy Day", "Workout Mix", "Road Trip", "Kitchen Dance", "Study Session",
    "Heartbreak Hotel", "Summer Nights", "Coffee House", "Party Starters", "Slow Burn", "Deep Cuts", "Golden Oldies",
    "Campfire", "Night Owls", "First Dates", "Open Road", "Lazy Afternoon", "Winter Warmers"};
const std::vector<std::string> kComments = {"Turn this one up!", "Perfect opener.", "Reminds me of my first car.",
                                            "Best chorus ever.\r\nTrust me.", "The guitar solo at 2:30...",
                                            "Sing along & smile.", "A hidden gem.", "Closes the set <just right>."};
const std::vector<int> kGenres = {201, 301, 401, 501, 601, 701, 801, 901, 1001, 1101, 1201, 1301, 1401};
const std::vector<std::string> kThemes = {"Road Trip", "Workout", "Rainy Day", "Party", "Late Night", "Summer",
                                          "Love Songs", "Study"};

std::string DemoProfile(const std::string& handle, const std::string& email, const std::string& first, const std::string& last)
{
    CXmlWriter xml;
    auto str = [&](const char* name, const std::string& text) {
        xml.Open("Object").Attribute("Class", "java.lang.String");
        if (name)
            xml.Attribute("Name", name);
        xml.Text(text).Close();
    };
    auto hashtable = [&](const char* name, const std::vector<std::pair<std::string, std::vector<std::string>>>& entries) {
        xml.Open("Object").Attribute("Class", "java.util.Hashtable").Attribute("Name", name);
        for (const auto& entry : entries) {
            xml.Open("Item").Open("Key");
            str(nullptr, entry.first);
            xml.Close().Open("Value").Open("Object").Attribute("Class", "java.util.Vector");
            for (const std::string& value : entry.second)
                str(nullptr, value);
            xml.Close().Close().Close();
        }
        xml.Close();
    };
    xml.Open("UserProfile");
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.User").Attribute("Name", "user");
    str("myHandle", handle);
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Name").Attribute("Name", "myName").Attribute("isPrivateFlag", "false");
    str("myFirst", first);
    str("myMiddle", "");
    str("myLast", last);
    xml.Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Email").Attribute("Name", "myEmail").Attribute("isPrivateFlag", "true");
    str("myAddress", email);
    xml.Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Address").Attribute("Name", "myAddress").Attribute("isPrivateFlag", "false");
    str("addr1", "12 Harbor Street");
    str("addr2", "");
    str("city", "Portland");
    str("state", "OR");
    str("zip", "97201");
    str("country", "USA");
    xml.Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.SexCode").Attribute("Name", "mySex").Attribute("myID", "0")
        .Attribute("isPrivateFlag", "false").Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.MaritalStatus").Attribute("Name", "myMaritalStatus")
        .Attribute("myID", "1").Attribute("isPrivateFlag", "false").Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.PrivacyDate").Attribute("Name", "myDOB").Text("07/04/1970");
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Privacy").Attribute("Name", "myPrivacy")
        .Attribute("isPrivateFlag", "true").Close();
    xml.Close();
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Url").Attribute("Name", "myPictureUrl");
    str("myAddress", "");
    str("myDescription", "");
    xml.Close();
    xml.Open("Object").Attribute("Class", "java.util.Vector").Attribute("Name", "myHomepages");
    xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Url");
    str("myAddress", "https://example.org/" + handle);
    str("myDescription", "My music blog");
    xml.Close().Close();
    hashtable("myLoveList", {{"Artist", {"The Velvet Foxes", "Neon Harbors"}}, {"Color", {"Blue"}}});
    hashtable("myHateList", {{"Playlist", {"Elevator music"}}});
    return xml.Finish();
}

} // namespace

bool CDemoData::SeedOnce(CConnection& db, int pbkdf2Iterations, int64_t now, int scale)
{
    {
        CQuery seeded = db.Prepare("SELECT 1 FROM settings WHERE key = 'demo_seeded'");
        if (seeded.Step())
            return false;
    }
    scale = std::clamp(scale, 1, kMaxScale);
    const size_t members = static_cast<size_t>(kMembers) * static_cast<size_t>(scale);
    const size_t artistCount = static_cast<size_t>(kArtists) * static_cast<size_t>(scale);
    const int playlistCount = kPlaylists * scale;
    CRandom random(20030901);
    std::vector<std::string> handles = {"demo"};
    std::set<std::string> taken = {"demo"};
    while (handles.size() < kMembers) {
        std::string handle = random.Pick(kHandleParts) + random.Pick(kHandleTails);
        if (taken.insert(handle).second)
            handles.push_back(handle);
    }
    // Past the word pairs there are, a number makes each handle its own.
    while (handles.size() < members)
        handles.push_back(random.Pick(kHandleParts) + random.Pick(kHandleTails) + std::to_string(handles.size()));
    // Hashing is the slow part; it stays outside the write transaction.
    std::vector<std::string> hashes;
    for (size_t i = 0; i < kMembers; ++i)
        hashes.push_back(CPasswordHash::Hash(handles[i], pbkdf2Iterations));
    if (members > kMembers)
        hashes.resize(members, CPasswordHash::Hash("demo", pbkdf2Iterations));

    CTransaction transaction(db);
    const int64_t day = 24 * 3600;
    std::vector<int64_t> users;
    for (size_t i = 0; i < handles.size(); ++i) {
        std::string email = handles[i] + "@example.org";
        std::string first = random.Pick(kFirstNames), last = random.Pick(kLastNames);
        if (i == 0) {
            first = "Demo";
            last = "Member";
        }
        db.Prepare("INSERT INTO users(handle, password_hash, email, referral_id, own_mail, partner_mail, accepts_email, "
                   "created, profile_xml) VALUES (?1, ?2, ?3, 1, 1, 0, ?4, ?5, ?6)")
            .Bind(1, handles[i])
            .Bind(2, hashes[i])
            .Bind(3, email)
            .Bind(4, random.Below(3) != 0 ? 1 : 0)
            .Bind(5, now - (400 - static_cast<int64_t>(i) * 10) * day)
            .Bind(6, DemoProfile(handles[i], email, first, last))
            .Run();
        users.push_back(db.LastInsertId());
    }

    std::vector<int64_t> artists;
    std::set<std::string> names;
    while (artists.size() < artistCount) {
        std::string name = "The " + random.Pick(kAdjectives) + " " + random.Pick(kNouns);
        if (random.Below(4) == 0)
            name = random.Pick(kFirstNames) + " " + random.Pick(kLastNames);
        if (artists.size() >= kArtists)
            name += " " + std::to_string(artists.size() + 1);
        if (!names.insert(name).second)
            continue;
        db.Prepare("INSERT INTO artists(name, official_url, place_of_birth, created) VALUES (?1, ?2, ?3, ?4)")
            .Bind(1, name)
            .Bind(2, random.Below(2) ? "https://example.org/artists/" + std::to_string(artists.size() + 1) : std::string())
            .Bind(3, random.Below(2) ? "Nashville" : "Manchester")
            .Bind(4, now - 500 * day)
            .Run();
        artists.push_back(db.LastInsertId());
    }

    std::vector<int64_t> tracks;
    for (int64_t artist : artists) {
        std::string album = random.Pick(kAdjectives) + " " + random.Pick(kTitleEnds);
        int genre = random.Pick(kGenres);
        std::set<std::string> titles;
        for (int n = 0; n < kTracksPerArtist; ++n) {
            std::string title = random.Pick(kTitleStarts) + " " + random.Pick(kTitleEnds);
            if (!titles.insert(title).second)
                title += " (Part " + std::to_string(n + 1) + ")";
            for (int copy = 0; copy < (random.Below(6) == 0 ? 2 : 1); ++copy) {
                db.Prepare("INSERT INTO performances(title, artist_id, version, album, length, genre_id, source_id, "
                           "has_preview, created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1, ?7, ?8)")
                    .Bind(1, title)
                    .Bind(2, artist)
                    .Bind(3, copy == 1 ? random.Pick(kVersions) : std::string())
                    .Bind(4, album)
                    .Bind(5, 120 + random.Below(300))
                    .Bind(6, genre)
                    .Bind(7, random.Below(3) != 0 ? 1 : 0)
                    .Bind(8, now - 450 * day)
                    .Run();
                tracks.push_back(db.LastInsertId());
            }
        }
    }

    std::vector<int64_t> playlists;
    for (int p = 0; p < playlistCount; ++p) {
        // The demo member owns the first few, so its pane is not empty.
        int64_t owner = p < 6 ? users[0] : users[static_cast<size_t>(1 + random.Below(static_cast<int>(members) - 1))];
        std::string name = random.Pick(kPlaylistWords) + (p >= 20 ? " " + std::to_string(p / 20 + 1) : std::string());
        int64_t created = now - (200 - p) * day;
        db.Prepare("INSERT INTO playlists(owner_id, name, description, theme, genre_id, mood_id, created, updated, "
                   "times_listened) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")
            .Bind(1, owner)
            .Bind(2, name)
            .Bind(3, "Songs picked for " + name + ".\r\nEnjoy!")
            .Bind(4, random.Pick(kThemes))
            .Bind(5, random.Pick(kGenres))
            .Bind(6, 1 + random.Below(8))
            .Bind(7, created)
            .Bind(8, created + random.Below(30) * day)
            .Bind(9, random.Below(500))
            .Run();
        int64_t playlist = db.LastInsertId();
        playlists.push_back(playlist);
        int count = 5 + random.Below(11);
        for (int t = 0; t < count; ++t) {
            std::string comment = random.Below(3) == 0 ? random.Pick(kComments) : std::string();
            size_t at;
            while ((at = comment.find("\r\n")) != std::string::npos)
                comment.replace(at, 2, "<BR>");
            db.Prepare("INSERT INTO playlist_tracks(playlist_id, position, performance_id, comment) VALUES (?1, ?2, ?3, ?4)")
                .Bind(1, playlist)
                .Bind(2, t + 1)
                .Bind(3, random.Pick(tracks))
                .Bind(4, comment)
                .Run();
        }
    }

    auto bookmark = [&](int64_t user, int kind, const std::vector<int64_t>& items, int count) {
        std::set<int64_t> chosen;
        int position = 0;
        while (static_cast<int>(chosen.size()) < count) {
            int64_t item = random.Pick(items);
            if (kind == 4 && item == user)
                continue;
            if (!chosen.insert(item).second)
                continue;
            db.Prepare("INSERT INTO bookmarks(user_id, kind, item_id, position) VALUES (?1, ?2, ?3, ?4)")
                .Bind(1, user)
                .Bind(2, kind)
                .Bind(3, item)
                .Bind(4, ++position)
                .Run();
        }
    };
    if (scale == 1) {
        bookmark(users[0], 1, artists, 6);
        bookmark(users[0], 2, playlists, 5);
        bookmark(users[0], 3, tracks, 8);
        bookmark(users[0], 4, users, 4);
    } else {
        const int each = 25 * scale / 2;
        bookmark(users[0], 1, artists, each);
        bookmark(users[0], 2, playlists, each);
        bookmark(users[0], 3, tracks, each);
        bookmark(users[0], 4, users, std::min(each, static_cast<int>(users.size()) - 1));
    }
    for (size_t i = 1; i < users.size(); ++i) {
        bookmark(users[i], 2, playlists, 1 + random.Below(4));
        bookmark(users[i], 3, tracks, random.Below(5));
        bookmark(users[i], 4, users, random.Below(3));
    }

    db.Prepare("INSERT INTO settings(key, value) VALUES ('demo_seeded', '1')").Run();
    transaction.Commit();
    return true;
}

} // namespace corvanta::server
