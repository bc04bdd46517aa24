#include "server/Catalogue.h"

#include "platform/Text.h"
#include "server/Database.h"
#include "server/FormFields.h"
#include "server/LookupTables.h"
#include "server/XmlWriter.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <tuple>
#include <unordered_map>

namespace corvanta::server {

namespace {

std::string IdsJson(const std::vector<int64_t>& ids)
{
    std::string json = "[";
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i)
            json += ',';
        json += std::to_string(ids[i]);
    }
    return json + "]";
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// 1 for equal texts down to 0 for nothing in common (edit distance based).
double Likeness(const std::string& a, const std::string& b)
{
    std::string x = Lower(a.substr(0, 100)), y = Lower(b.substr(0, 100));
    if (x.empty() && y.empty())
        return 1.0;
    std::vector<size_t> row(y.size() + 1);
    for (size_t j = 0; j <= y.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= y.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    double longest = static_cast<double>(std::max(x.size(), y.size()));
    double similarity = 1.0 - static_cast<double>(row[y.size()]) / longest;
    // A title that contains the other text is closer than its length difference says.
    if (!y.empty() && x.find(y) != std::string::npos)
        similarity = std::max(similarity, 0.5 + 0.5 * static_cast<double>(y.size()) / longest);
    return similarity;
}

std::string LongestWord(const std::string& text)
{
    std::string best, word;
    for (char c : text + " ") {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += c;
        } else {
            if (word.size() > best.size())
                best = word;
            word.clear();
        }
    }
    return best.size() >= 3 ? best : std::string();
}

// Builds the WHERE part of a search from fixed fragments; values only ever bind.
class CConditions {
public:
    void Text(const std::string& column, const std::string& value, int64_t type)
    {
        if (value.empty())
            return;
        switch (type) {
        case 1:  // exact, ignoring case
            Add(column + " = ? COLLATE NOCASE", {value});
            break;
        case 2:  // begins with, ignoring case
            Add("substr(lower(" + column + "), 1, length(lower(?))) = lower(?)", {value, value});
            break;
        default:  // contains, ignoring case
            Add("instr(lower(" + column + "), lower(?)) > 0", {value});
        }
    }
    // An EXISTS over a related table whose own text column must match.
    void Related(const std::string& prefix, const std::string& column, const std::string& value, int64_t type)
    {
        if (value.empty())
            return;
        CConditions inner;
        inner.Text(column, value, type);
        Add(prefix + " AND " + inner.m_parts[0] + ")", inner.m_values);
    }
    void Number(const std::string& column, int64_t value)
    {
        if (value != 0)
            Add(column + " = ?", {std::to_string(value)});
    }
    bool Empty() const { return m_parts.empty(); }
    std::string Sql() const
    {
        std::string sql;
        for (const std::string& part : m_parts)
            sql += (sql.empty() ? "" : " AND ") + part;
        return sql;
    }
    const std::vector<std::string>& Values() const { return m_values; }

private:
    void Add(const std::string& sql, const std::vector<std::string>& values)
    {
        m_parts.push_back(sql);
        m_values.insert(m_values.end(), values.begin(), values.end());
    }
    std::vector<std::string> m_parts;
    std::vector<std::string> m_values;
};

template <class Row>
void WriteInOrder(const std::vector<int64_t>& ids, const std::unordered_map<int64_t, Row>& rows,
                  const std::vector<BookmarkMark>* marks, const std::function<void(const Row&, size_t)>& write)
{
    for (size_t i = 0; i < ids.size(); ++i) {
        auto it = rows.find(ids[i]);
        if (it != rows.end())
            write(it->second, i);
    }
    (void)marks;
}

void WriteMark(CXmlWriter& xml, const std::vector<BookmarkMark>* marks, size_t index)
{
    if (marks && index < marks->size()) {
        xml.Element("BookmarkID", (*marks)[index].bookmarkId);
        xml.Element("ComesAfterID", (*marks)[index].comesAfterId);
    }
}

}  // namespace

CCatalogue::CCatalogue(CDatabase& db, Clock clock) : m_db(db), m_clock(std::move(clock)) {}

std::string CCatalogue::FormatDate(int64_t unixSeconds)
{
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%m/%d/%Y %H:%M:%S", &tm);
    return buffer;
}

void CCatalogue::WriteSummaries(CXmlWriter& xml, CConnection& db, SummaryKind kind, const std::vector<int64_t>& ids,
                                const std::vector<BookmarkMark>* marks, const std::vector<std::string>* comments,
                                int64_t viewer)
{
    if (ids.empty())
        return;
    const std::string json = IdsJson(ids);
    switch (kind) {
    case SummaryKind::Playlist: {
        struct Row {
            int64_t id, tracks, ownerId, acceptsEmail, created, updated, mood, listened, bookmarks, genre;
            std::string name, description, owner, theme;
        };
        std::unordered_map<int64_t, Row> rows;
        CQuery q = db.Prepare(
            "SELECT pl.id, pl.name, pl.description, (SELECT count(*) FROM playlist_tracks t WHERE t.playlist_id = "
            "pl.id), "
            "u.id, u.handle, u.accepts_email, pl.created, pl.updated, pl.mood_id, pl.theme, pl.times_listened, "
            "(SELECT count(*) FROM bookmarks b WHERE b.kind = 2 AND b.item_id = pl.id), pl.genre_id "
            "FROM playlists pl JOIN users u ON u.id = pl.owner_id WHERE pl.id IN (SELECT value FROM json_each(?1)) "
            "AND (pl.is_public = 1 OR pl.owner_id = ?2)");
        q.Bind(1, json).Bind(2, viewer);
        while (q.Step())
            rows[q.Int(0)] = Row{q.Int(0),  q.Int(3),  q.Int(4),  q.Int(6),  q.Int(7),  q.Int(8),  q.Int(9),
                                 q.Int(11), q.Int(12), q.Int(13), q.Text(1), q.Text(2), q.Text(5), q.Text(10)};
        WriteInOrder<Row>(ids, rows, marks, [&](const Row& r, size_t i) {
            xml.Open("PlaylistSummary").Attribute("playlistID", r.id);
            xml.Element("Name", r.name)
                .Element("PlaylistDescription", r.description)
                .Element("NumberOfPerformances", r.tracks);
            xml.Open("Playmaker").Attribute("playmakerID", r.ownerId);
            xml.Element("PlaymakerName", r.owner).Element("AcceptsEMail", r.acceptsEmail).Close();
            xml.Element("CreationDate", FormatDate(r.created)).Element("LastModifiedDate", FormatDate(r.updated));
            xml.Element("PrimaryMoodID", r.mood).Element("Theme", r.theme);
            xml.Element("Ranking", r.listened + 5 * r.bookmarks).Element("NumberOfBookmarks", r.bookmarks);
            xml.Element("PrimaryGenreID", r.genre);
            WriteMark(xml, marks, i);
            xml.Close();
        });
        break;
    }
    case SummaryKind::User: {
        struct Row {
            int64_t id, acceptsEmail, created, playlists, bookmarks;
            std::string handle;
        };
        std::unordered_map<int64_t, Row> rows;
        CQuery q = db.Prepare("SELECT u.id, u.handle, u.accepts_email, u.created, "
                              "(SELECT count(*) FROM playlists p WHERE p.owner_id = u.id AND p.is_public = 1), "
                              "(SELECT count(*) FROM bookmarks b WHERE b.kind = 4 AND b.item_id = u.id) "
                              "FROM users u WHERE u.id IN (SELECT value FROM json_each(?1))");
        q.Bind(1, json);
        while (q.Step())
            rows[q.Int(0)] = Row{q.Int(0), q.Int(2), q.Int(3), q.Int(4), q.Int(5), q.Text(1)};
        WriteInOrder<Row>(ids, rows, marks, [&](const Row& r, size_t i) {
            xml.Open("UserSummary").Attribute("userID", r.id);
            xml.Element("Ranking", r.playlists + 3 * r.bookmarks).Element("NumberOfBookmarks", r.bookmarks);
            xml.Element("NumberOfPlaylists", r.playlists)
                .Element("Handle", r.handle)
                .Element("AcceptsEMail", r.acceptsEmail);
            xml.Element("DateCreated", FormatDate(r.created));
            WriteMark(xml, marks, i);
            xml.Close();
        });
        break;
    }
    case SummaryKind::Artist: {
        struct Row {
            int64_t id, songs, bookmarks;
            std::string name;
        };
        std::unordered_map<int64_t, Row> rows;
        CQuery q = db.Prepare("SELECT a.id, a.name, (SELECT count(*) FROM performances p WHERE p.artist_id = a.id), "
                              "(SELECT count(*) FROM bookmarks b WHERE b.kind = 1 AND b.item_id = a.id) "
                              "FROM artists a WHERE a.id IN (SELECT value FROM json_each(?1))");
        q.Bind(1, json);
        while (q.Step())
            rows[q.Int(0)] = Row{q.Int(0), q.Int(2), q.Int(3), q.Text(1)};
        WriteInOrder<Row>(ids, rows, marks, [&](const Row& r, size_t i) {
            xml.Open("ArtistSummary").Attribute("artistID", r.id);
            xml.Element("NumberOfSongsInDB", r.songs).Element("NumberOfBookmarks", r.bookmarks).Element("Name", r.name);
            xml.Element("Ranking", r.songs + 3 * r.bookmarks);
            WriteMark(xml, marks, i);
            xml.Close();
        });
        break;
    }
    case SummaryKind::Performance: {
        struct Row {
            int64_t id, artistId, length, genre, source, preview, bookmarks, used;
            std::string title, artist, version, album;
        };
        std::unordered_map<int64_t, Row> rows;
        CQuery q = db.Prepare(
            "SELECT p.id, p.title, p.artist_id, a.name, p.version, p.album, p.length, p.genre_id, p.source_id, "
            "p.has_preview, "
            "(SELECT count(*) FROM bookmarks b WHERE b.kind = 3 AND b.item_id = p.id), "
            "(SELECT count(DISTINCT t.playlist_id) FROM playlist_tracks t WHERE t.performance_id = p.id) "
            "FROM performances p JOIN artists a ON a.id = p.artist_id WHERE p.id IN (SELECT value FROM json_each(?1))");
        q.Bind(1, json);
        while (q.Step())
            rows[q.Int(0)] = Row{q.Int(0),  q.Int(2),  q.Int(6),  q.Int(7),  q.Int(8),  q.Int(9),
                                 q.Int(10), q.Int(11), q.Text(1), q.Text(3), q.Text(4), q.Text(5)};
        WriteInOrder<Row>(ids, rows, marks, [&](const Row& r, size_t i) {
            xml.Open("PerformanceSummary").Attribute("performanceID", r.id);
            xml.Open("PrimaryArtist").Attribute("primaryArtistID", r.artistId).Element("ArtistName", r.artist).Close();
            xml.Element("SongName", r.title).Element("Length", r.length).Element("PrimaryGenreID", r.genre);
            xml.Element("NumberTimesBookmarked", r.bookmarks).Element("NumberTimesUsedInPlaylists", r.used);
            xml.Element("Ranking", r.used + 3 * r.bookmarks).Element("PerformanceSourceID", r.source);
            // 0 means available; 2 is "no preview for this track".
            xml.Element("PreviewAvailability", r.preview ? 0 : 2).Element("PlayAvailability", r.preview ? 0 : 2);
            xml.Element("Comment", comments && i < comments->size() ? (*comments)[i] : std::string());
            xml.Element("Version", r.version).Element("CDTitle", r.album);
            WriteMark(xml, marks, i);
            xml.Close();
        });
        break;
    }
    }
}

bool CCatalogue::Exists(CConnection& db, SummaryKind kind, int64_t id)
{
    static const char* const kSql[] = {"SELECT 1 FROM playlists WHERE id = ?1", "SELECT 1 FROM users WHERE id = ?1",
                                       "SELECT 1 FROM artists WHERE id = ?1",
                                       "SELECT 1 FROM performances WHERE id = ?1"};
    CQuery q = db.Prepare(kSql[static_cast<int>(kind)]);
    q.Bind(1, id);
    return q.Step();
}

bool CCatalogue::CanSeePlaylist(CConnection& db, int64_t playlistId, int64_t viewer)
{
    CQuery q = db.Prepare("SELECT 1 FROM playlists WHERE id = ?1 AND (is_public = 1 OR owner_id = ?2)");
    q.Bind(1, playlistId).Bind(2, viewer);
    return q.Step();
}

std::vector<int64_t> CCatalogue::Search(SummaryKind kind, const CFormFields& f)
{
    CConditions c;
    std::string sql;
    auto type = [&](const char* key) { return f.GetInt(std::string(key) + "SearchType"); };
    switch (kind) {
    case SummaryKind::Playlist:
        c.Text("pl.name", f.Get("PlaylistTitle"), type("PlaylistTitle"));
        c.Related("EXISTS (SELECT 1 FROM playlist_tracks t JOIN performances p ON p.id = t.performance_id "
                  "JOIN artists a ON a.id = p.artist_id WHERE t.playlist_id = pl.id",
                  "a.name", f.Get("ArtistName"), type("ArtistName"));
        c.Text("u.handle", f.Get("UserHandle"), type("UserHandle"));
        c.Related("EXISTS (SELECT 1 FROM playlist_tracks t JOIN performances p ON p.id = t.performance_id "
                  "WHERE t.playlist_id = pl.id",
                  "p.title", f.Get("PerformanceTitle"), type("PerformanceTitle"));
        c.Text("pl.theme", f.Get("Theme"), type("Theme"));
        c.Number("pl.mood_id", f.GetInt("Mood"));
        c.Number("pl.genre_id", f.GetInt("Genre"));
        sql = "SELECT pl.id FROM playlists pl JOIN users u ON u.id = pl.owner_id WHERE pl.is_public = 1 AND (" +
              c.Sql() + ") ORDER BY pl.name COLLATE NOCASE, pl.id";
        break;
    case SummaryKind::User:
        c.Text("u.handle", f.Get("UserHandle"), type("UserHandle"));
        sql = "SELECT u.id FROM users u WHERE " + c.Sql() + " ORDER BY u.handle COLLATE NOCASE, u.id";
        break;
    case SummaryKind::Artist:
        c.Text("a.name", f.Get("ArtistName"), type("ArtistName"));
        c.Related("EXISTS (SELECT 1 FROM performances p WHERE p.artist_id = a.id", "p.title", f.Get("PerformanceTitle"),
                  type("PerformanceTitle"));
        sql = "SELECT a.id FROM artists a WHERE " + c.Sql() + " ORDER BY a.name COLLATE NOCASE, a.id";
        break;
    case SummaryKind::Performance: return SearchTracks(f);
    }
    std::vector<int64_t> ids;
    if (c.Empty())
        return ids;
    auto db = m_db.Acquire();
    CQuery q = db->Prepare(sql);
    int index = 1;
    for (const std::string& value : c.Values())
        q.Bind(index++, value);
    while (q.Step())
        ids.push_back(q.Int(0));
    return ids;
}

std::shared_lock<std::shared_mutex> CCatalogue::ReadTracks()
{
    std::shared_lock<std::shared_mutex> reading(m_tracksLock);
    while (!m_tracksValid) {
        reading.unlock();
        {
            std::unique_lock<std::shared_mutex> writing(m_tracksLock);
            if (!m_tracksValid) {
                auto db = m_db.Acquire();
                CQuery q = db->Prepare("SELECT p.id, p.title, a.name, p.version, p.album FROM performances p "
                                       "JOIN artists a ON a.id = p.artist_id "
                                       "ORDER BY p.title COLLATE NOCASE, a.name COLLATE NOCASE, p.id");
                while (q.Step())
                    m_tracks.push_back(
                        {q.Int(0), Lower(q.Text(1)), Lower(q.Text(2)), Lower(q.Text(3)), Lower(q.Text(4))});
                m_tracksValid = true;
            }
        }
        reading.lock();
    }
    return reading;
}

void CCatalogue::AddTrackText(int64_t id, const std::string& title, const std::string& artist,
                              const std::string& version)
{
    std::unique_lock<std::shared_mutex> writing(m_tracksLock);
    if (!m_tracksValid)
        return;
    TrackText text{id, Lower(title), Lower(artist), Lower(version), {}};
    // The order the texts were loaded in: title, then artist (both ignoring case), then number.
    auto at = std::lower_bound(m_tracks.begin(), m_tracks.end(), text, [](const TrackText& a, const TrackText& b) {
        return std::tie(a.title, a.artist, a.id) < std::tie(b.title, b.artist, b.id);
    });
    m_tracks.insert(at, std::move(text));
}

std::vector<int64_t> CCatalogue::SearchTracks(const CFormFields& f)
{
    struct Field {
        std::string TrackText::*member;
        std::string value;
        int64_t type;
    };
    std::vector<Field> fields;
    auto add = [&](std::string TrackText::*member, const char* key) {
        std::string value = f.Get(key);
        if (!value.empty())
            fields.push_back({member, Lower(value), f.GetInt(std::string(key) + "SearchType")});
    };
    add(&TrackText::title, "PerformanceTitle");
    add(&TrackText::artist, "PrimaryArtistName");
    add(&TrackText::version, "Version");
    add(&TrackText::album, "CDTitle");
    std::vector<int64_t> ids;
    if (fields.empty())
        return ids;

    auto reading = ReadTracks();
    for (const TrackText& track : m_tracks) {
        bool match = true;
        for (const Field& field : fields) {
            const std::string& text = track.*field.member;
            switch (field.type) {
            case 1: match = text == field.value; break;
            case 2: match = text.compare(0, field.value.size(), field.value) == 0; break;
            default: match = text.find(field.value) != std::string::npos;
            }
            if (!match)
                break;
        }
        if (match)
            ids.push_back(track.id);
    }
    return ids;
}

std::vector<int64_t> CCatalogue::ResolvePerformances(const std::string& rawTitle, const std::string& rawArtist)
{
    const std::string title = Lower(TrimBlanks(rawTitle)), artist = Lower(TrimBlanks(rawArtist));
    std::vector<int64_t> ids;
    if (title.empty() && artist.empty())
        return ids;
    const std::string titleWord = Lower(LongestWord(title)), artistWord = Lower(LongestWord(artist));
    auto contains = [](const std::string& text, const std::string& part) {
        return !part.empty() && text.find(part) != std::string::npos;
    };
    struct Candidate {
        int64_t id;
        bool exact;
        double score;
    };
    std::vector<Candidate> candidates;
    size_t near = 0;
    {
        // The loaded texts, not SQL: a scan of them costs a fraction of lower() per row.
        auto reading = ReadTracks();
        for (const TrackText& track : m_tracks) {
            if (!contains(track.title, title) && !contains(track.artist, artist) && !contains(track.title, titleWord) &&
                !contains(track.artist, artistWord))
                continue;
            bool exact = track.title == title && (artist.empty() || track.artist == artist);
            // The cap on candidates never drops an exact match.
            if (!exact && ++near > kMaxCandidates)
                continue;
            double score = title.empty() ? Likeness(track.artist, artist)
                           : artist.empty()
                               ? Likeness(track.title, title)
                               : 0.65 * Likeness(track.title, title) + 0.35 * Likeness(track.artist, artist);
            candidates.push_back({track.id, exact, score});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
        if (x.exact != y.exact)
            return x.exact;
        if (x.score != y.score)
            return x.score > y.score;
        return x.id < y.id;
    });
    for (size_t i = 0; i < candidates.size() && i < kFirstPage; ++i)
        ids.push_back(candidates[i].id);
    return ids;
}

std::vector<int64_t> CCatalogue::ResolveArtists(const std::string& rawName)
{
    std::string name = TrimBlanks(rawName);
    std::vector<int64_t> ids;
    if (name.empty())
        return ids;
    struct Candidate {
        int64_t id;
        bool exact;
        double score;
    };
    std::vector<Candidate> candidates;
    {
        auto db = m_db.Acquire();
        CQuery q = db->Prepare("SELECT id, name FROM artists WHERE instr(lower(name), lower(?1)) > 0 OR "
                               "instr(lower(?1), lower(name)) > 0 OR (?2 <> '' AND instr(lower(name), lower(?2)) > 0) "
                               "ORDER BY lower(name) = lower(?1) DESC LIMIT 5000");
        q.Bind(1, name).Bind(2, LongestWord(name));
        while (q.Step())
            candidates.push_back({q.Int(0), Lower(q.Text(1)) == Lower(name), Likeness(q.Text(1), name)});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
        if (x.exact != y.exact)
            return x.exact;
        if (x.score != y.score)
            return x.score > y.score;
        return x.id < y.id;
    });
    for (size_t i = 0; i < candidates.size() && i < kFirstPage; ++i)
        ids.push_back(candidates[i].id);
    return ids;
}

int64_t CCatalogue::CreateArtist(int64_t userId, const NewArtist& artist, std::string& error)
{
    std::string name = TrimBlanks(artist.name);
    if (name.empty() || name.size() > 200) {
        error = "An artist needs a name of at most 200 characters";
        return 0;
    }
    auto db = m_db.Acquire();
    CTransaction transaction(*db);
    {
        CQuery existing = db->Prepare("SELECT id FROM artists WHERE name = ?1 COLLATE NOCASE ORDER BY id LIMIT 1");
        existing.Bind(1, name);
        if (existing.Step())
            return existing.Int(0);
    }
    db->Prepare("INSERT INTO artists(name, official_url, place_of_birth, date_of_birth, place_of_death, date_of_death, "
                "created_by, created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
        .Bind(1, name)
        .Bind(2, TrimBlanks(artist.officialUrl))
        .Bind(3, TrimBlanks(artist.placeOfBirth))
        .Bind(4, TrimBlanks(artist.dateOfBirth))
        .Bind(5, TrimBlanks(artist.placeOfDeath))
        .Bind(6, TrimBlanks(artist.dateOfDeath))
        .Bind(7, userId)
        .Bind(8, m_clock())
        .Run();
    int64_t id = db->LastInsertId();
    transaction.Commit();
    return id;
}

int64_t CCatalogue::CreatePerformance(int64_t userId, const NewPerformance& performance, std::string& error)
{
    std::string title = TrimBlanks(performance.songName), artistName = TrimBlanks(performance.artistName);
    std::string version = TrimBlanks(performance.version);
    if (title.empty() || title.size() > 200 || version.size() > 200) {
        error = "A track needs a title of at most 200 characters";
        return 0;
    }
    if (!IsKnownSource(performance.sourceId)) {
        error = "Unknown track source " + std::to_string(performance.sourceId);
        return 0;
    }
    int64_t artistId = 0;
    {
        auto db = m_db.Acquire();
        if (performance.artistId > 0 && Exists(*db, SummaryKind::Artist, performance.artistId))
            artistId = performance.artistId;
    }
    if (artistId == 0) {
        if (artistName.empty()) {
            error = "A track needs a known artist";
            return 0;
        }
        NewArtist artist;
        artist.name = artistName;
        artistId = CreateArtist(userId, artist, error);
        if (artistId == 0)
            return 0;
    }
    int64_t id = 0;
    {
        auto db = m_db.Acquire();
        int64_t genre = performance.genreId;
        if (genre != 0 && !CLookupTables::Contains(*db, "Genres", genre))
            genre = 0;
        CTransaction transaction(*db);
        {
            CQuery existing =
                db->Prepare("SELECT id FROM performances WHERE artist_id = ?1 AND title = ?2 COLLATE NOCASE "
                            "AND version = ?3 COLLATE NOCASE ORDER BY id LIMIT 1");
            existing.Bind(1, artistId).Bind(2, title).Bind(3, version);
            if (existing.Step())
                return existing.Int(0);
        }
        db->Prepare("INSERT INTO performances(title, artist_id, version, length, genre_id, source_id, has_preview, "
                    "created_by, "
                    "created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0, ?7, ?8)")
            .Bind(1, title)
            .Bind(2, artistId)
            .Bind(3, version)
            .Bind(4, std::max<int64_t>(0, performance.length))
            .Bind(5, genre)
            .Bind(6, performance.sourceId)
            .Bind(7, userId)
            .Bind(8, m_clock())
            .Run();
        id = db->LastInsertId();
        transaction.Commit();
    }
    std::string storedArtist;
    {
        auto db = m_db.Acquire();
        CQuery q = db->Prepare("SELECT name FROM artists WHERE id = ?1");
        q.Bind(1, artistId);
        if (q.Step())
            storedArtist = q.Text(0);
    }
    // Not while holding a connection: a search loading the texts waits for one.
    AddTrackText(id, title, storedArtist, version);
    return id;
}

std::vector<int64_t> CCatalogue::PlaylistsOf(int64_t userId)
{
    std::vector<int64_t> ids;
    auto db = m_db.Acquire();
    CQuery q = db->Prepare("SELECT id FROM playlists WHERE owner_id = ?1 ORDER BY id");
    q.Bind(1, userId);
    while (q.Step())
        ids.push_back(q.Int(0));
    return ids;
}

bool CCatalogue::WritePlaylistDetail(CXmlWriter& xml, int64_t playlistId, int64_t viewer)
{
    auto db = m_db.Acquire();
    int64_t created = 0, updated = 0, listened = 0;
    {
        CQuery q = db->Prepare("SELECT created, updated, times_listened FROM playlists WHERE id = ?1 "
                               "AND (is_public = 1 OR owner_id = ?2)");
        q.Bind(1, playlistId).Bind(2, viewer);
        if (!q.Step())
            return false;
        created = q.Int(0);
        updated = q.Int(1);
        listened = q.Int(2);
    }
    std::vector<int64_t> tracks;
    std::vector<std::string> comments;
    {
        CQuery q =
            db->Prepare("SELECT performance_id, comment FROM playlist_tracks WHERE playlist_id = ?1 ORDER BY position");
        q.Bind(1, playlistId);
        while (q.Step()) {
            tracks.push_back(q.Int(0));
            comments.push_back(q.Text(1));
        }
    }
    xml.Open("PlaylistDetail");
    WriteSummaries(xml, *db, SummaryKind::Playlist, {playlistId}, nullptr, nullptr, viewer);
    xml.Element("CreationDate", FormatDate(created)).Element("DateUpdated", FormatDate(updated));
    xml.Element("TimesListened", listened);
    WriteSummaries(xml, *db, SummaryKind::Performance, tracks, nullptr, &comments);
    xml.Close();
    return true;
}

int64_t CCatalogue::SavePlaylist(int64_t userId, const PlaylistInput& input, std::string& error)
{
    std::string name = TrimBlanks(input.name);
    if (name.empty() || name.size() > 200) {
        error = "A playlist needs a name of at most 200 characters";
        return 0;
    }
    if (input.tracks.size() > 1000) {
        error = "A playlist holds at most 1000 tracks";
        return 0;
    }
    auto db = m_db.Acquire();
    if (input.genreId != 0 && !CLookupTables::Contains(*db, "Genres", input.genreId)) {
        error = "Unknown genre";
        return 0;
    }
    if (input.moodId != 0 && !CLookupTables::Contains(*db, "Mood", input.moodId)) {
        error = "Unknown mood";
        return 0;
    }
    for (size_t i = 0; i < input.tracks.size(); ++i) {
        if (!Exists(*db, SummaryKind::Performance, input.tracks[i].performanceId)) {
            error = "Track " + std::to_string(i + 1) + " is not in the catalogue";
            return 0;
        }
    }
    CTransaction transaction(*db);
    int64_t now = m_clock();
    int64_t id = input.id;
    if (id == 0) {
        db->Prepare("INSERT INTO playlists(owner_id, name, description, theme, genre_id, mood_id, is_public, created, "
                    "updated) "
                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?8)")
            .Bind(1, userId)
            .Bind(2, name)
            .Bind(3, input.description)
            .Bind(4, TrimBlanks(input.theme))
            .Bind(5, input.genreId)
            .Bind(6, input.moodId)
            .Bind(7, input.isPublic ? 1 : 0)
            .Bind(8, now)
            .Run();
        id = db->LastInsertId();
    } else {
        {
            CQuery owner = db->Prepare("SELECT owner_id FROM playlists WHERE id = ?1");
            owner.Bind(1, id);
            if (!owner.Step()) {
                error = "There is no playlist " + std::to_string(id);
                return 0;
            }
            if (owner.Int(0) != userId) {
                error = "Only its owner can change this playlist";
                return 0;
            }
        }
        db->Prepare("UPDATE playlists SET name = ?1, description = ?2, theme = ?3, genre_id = ?4, mood_id = ?5, "
                    "is_public = ?6, updated = ?7 WHERE id = ?8")
            .Bind(1, name)
            .Bind(2, input.description)
            .Bind(3, TrimBlanks(input.theme))
            .Bind(4, input.genreId)
            .Bind(5, input.moodId)
            .Bind(6, input.isPublic ? 1 : 0)
            .Bind(7, now)
            .Bind(8, id)
            .Run();
        db->Prepare("DELETE FROM playlist_tracks WHERE playlist_id = ?1").Bind(1, id).Run();
    }
    for (size_t i = 0; i < input.tracks.size(); ++i)
        db->Prepare(
              "INSERT INTO playlist_tracks(playlist_id, position, performance_id, comment) VALUES (?1, ?2, ?3, ?4)")
            .Bind(1, id)
            .Bind(2, static_cast<int64_t>(i + 1))
            .Bind(3, input.tracks[i].performanceId)
            .Bind(4, input.tracks[i].comment)
            .Run();
    transaction.Commit();
    return id;
}

bool CCatalogue::DeletePlaylist(int64_t userId, int64_t playlistId, std::string& error)
{
    auto db = m_db.Acquire();
    CTransaction transaction(*db);
    {
        CQuery owner = db->Prepare("SELECT owner_id FROM playlists WHERE id = ?1");
        owner.Bind(1, playlistId);
        if (!owner.Step()) {
            error = "There is no playlist " + std::to_string(playlistId);
            return false;
        }
        if (owner.Int(0) != userId) {
            error = "Only its owner can delete this playlist";
            return false;
        }
    }
    db->Prepare("DELETE FROM bookmarks WHERE kind = 2 AND item_id = ?1").Bind(1, playlistId).Run();
    db->Prepare("DELETE FROM playlists WHERE id = ?1").Bind(1, playlistId).Run();
    transaction.Commit();
    return true;
}

int64_t CCatalogue::CountListen(int64_t playlistId, int64_t viewer)
{
    auto db = m_db.Acquire();
    db->Prepare(
          "UPDATE playlists SET times_listened = times_listened + 1 WHERE id = ?1 AND (is_public = 1 OR owner_id = ?2)")
        .Bind(1, playlistId)
        .Bind(2, viewer)
        .Run();
    if (db->Changes() == 0)
        return -1;
    CQuery q = db->Prepare("SELECT times_listened FROM playlists WHERE id = ?1");
    q.Bind(1, playlistId);
    return q.Step() ? q.Int(0) : -1;
}

bool CCatalogue::HasPreview(int64_t performanceId)
{
    auto db = m_db.Acquire();
    CQuery q = db->Prepare("SELECT has_preview FROM performances WHERE id = ?1");
    q.Bind(1, performanceId);
    return q.Step() && q.Int(0) != 0;
}

}  // namespace corvanta::server
