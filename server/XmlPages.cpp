#include "server/XmlPages.h"

#include "server/Accounts.h"
#include "server/Bookmarks.h"
#include "server/Catalogue.h"
#include "server/Database.h"
#include "server/FormFields.h"
#include "server/LookupTables.h"
#include "server/XmlWriter.h"
#include "shared/PagePaths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace corvanta::server {

namespace {

constexpr const char* kLoginException = CXmlPages::kLoginException;
constexpr const char* kSessionException = CXmlPages::kSessionException;
constexpr const char* kInputException = CXmlPages::kInputException;
constexpr const char* kServerException = CXmlPages::kServerException;
constexpr const char* kSecurityException = CXmlPages::kSecurityException;
const char* const kNoSession = "Your session has ended, please log in again";

std::string SessionAnswer(const LoginResult& result, const std::string& handle)
{
    CXmlWriter xml;
    xml.Open("Login").Open("Session").Attribute("userToken", result.token);
    xml.Element("UserID", result.userId).Element("Handle", handle);
    return xml.Finish();
}

// The favorites pages read an Error element where the others read an Exception;
// an answer to a missing session carries both.
std::string NoSessionForFavorites()
{
    CXmlWriter xml;
    xml.Open("Response")
        .Element("Exception", std::string(kSessionException) + ": " + kNoSession)
        .Element("Error", kNoSession);
    return xml.Finish();
}

// A refusal that every page's reader understands: an Exception for most pages,
// an Error for the favorites pages.
std::string Refusal(const char* className, const std::string& message)
{
    CXmlWriter xml;
    xml.Open("Response").Element("Exception", std::string(className) + ": " + message).Element("Error", message);
    return xml.Finish();
}

bool ContainsIgnoringCase(const std::string& text, const std::string& part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

std::vector<int64_t> IdList(const std::string& text, size_t limit)
{
    std::vector<int64_t> ids;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, ',') && ids.size() < limit) {
        int64_t id = CFormFields::ToInt(part);
        if (id > 0)
            ids.push_back(id);
    }
    return ids;
}

}  // namespace

CXmlPages::CXmlPages(CDatabase& db, CAccounts& accounts, CCatalogue& catalogue, CBookmarks& bookmarks,
                     ServerSettings settings)
    : m_db(db), m_accounts(accounts), m_catalogue(catalogue), m_bookmarks(bookmarks), m_settings(std::move(settings))
{
    auto simple = [this](std::string (CXmlPages::*member)(const CFormFields&)) {
        return [this, member](const CFormFields& f, const PageContext&) { return (this->*member)(f); };
    };
    auto search = [this](int kind) {
        return [this, kind](const CFormFields& f, const PageContext&) { return Search(kind, f); };
    };
    m_pages["UserLogin.jsp"] = [this](const CFormFields& f, const PageContext& context) { return Login(f, context); };
    m_pages["UpdateSession.jsp"] = simple(&CXmlPages::UpdateSession);
    m_pages["CreateUser.jsp"] = simple(&CXmlPages::CreateUser);
    m_pages["CheckForUpgrade.jsp"] = simple(&CXmlPages::CheckForUpgrade);
    m_pages["TablesToXML.jsp"] = [this](const CFormFields&, const PageContext&) { return Tables(); };
    m_pages["GetUserPlaylists.jsp"] = simple(&CXmlPages::UserPlaylists);
    m_pages["GetPlaylistDetails.jsp"] = simple(&CXmlPages::PlaylistDetails);
    m_pages["search/GetSummaries.jsp"] = simple(&CXmlPages::Summaries);
    m_pages["fulfill/fulfillperformance.jsp"] = [this](const CFormFields& f, const PageContext& context) {
        return FulfillPerformance(f, context.previewBase);
    };
    m_pages["fulfill/FulfillPlaylist.jsp"] = simple(&CXmlPages::FulfillPlaylist);
    m_pages["bookmark/GetUserBookmarks.jsp"] = simple(&CXmlPages::UserBookmarks);
    m_pages["bookmark/AddBookmark.jsp"] = simple(&CXmlPages::AddBookmark);
    m_pages["bookmark/DeleteBookmark.jsp"] = simple(&CXmlPages::DeleteBookmark);
    m_pages["bookmark/MoveBookmark.jsp"] = simple(&CXmlPages::MoveBookmark);
    m_pages["search/SearchForPlaylists.jsp"] = search(static_cast<int>(SummaryKind::Playlist));
    m_pages["search/SearchForUsers.jsp"] = search(static_cast<int>(SummaryKind::User));
    m_pages["search/SearchForArtists.jsp"] = search(static_cast<int>(SummaryKind::Artist));
    m_pages["search/SearchForPerformances.jsp"] = search(static_cast<int>(SummaryKind::Performance));
    m_pages["search/ResolvePerformances.jsp"] = simple(&CXmlPages::ResolvePerformances);
    m_pages["search/ResolveArtists.jsp"] = simple(&CXmlPages::ResolveArtists);
    m_pages["UpdateArtistXML.jsp"] = simple(&CXmlPages::UpdateArtist);
    m_pages["UpdatePerformanceXML.jsp"] = simple(&CXmlPages::UpdatePerformance);
    m_pages["UpdatePlaylistXML.jsp"] = simple(&CXmlPages::UpdatePlaylist);
    m_pages["UpdateProfileXML.jsp"] = simple(&CXmlPages::UpdateProfile);
}

std::string CXmlPages::Exception(const std::string& className, const std::string& message)
{
    CXmlWriter xml;
    xml.Open("Response").Element("Exception", className + ": " + message);
    return xml.Finish();
}

std::string CXmlPages::Error(const std::string& message)
{
    CXmlWriter xml;
    xml.Open("Response").Element("Error", message);
    return xml.Finish();
}

bool CXmlPages::IsNewer(const std::string& candidate, const std::string& current)
{
    auto parts = [](const std::string& text) {
        std::vector<int64_t> numbers;
        std::stringstream stream(text);
        std::string part;
        while (std::getline(stream, part, '.'))
            numbers.push_back(CFormFields::ToInt(part));
        return numbers;
    };
    std::vector<int64_t> a = parts(candidate), b = parts(current);
    size_t n = std::max(a.size(), b.size());
    a.resize(n, 0);
    b.resize(n, 0);
    return a > b;
}

size_t CXmlPages::FieldLimit(const std::string& key)
{
    // Free text that the client escapes before form-encoding may arrive up to
    // three times as long as what it holds once decoded by the page.
    static const std::map<std::string, size_t> kLimits = {
        {"UserHandle", 25},
        {"PWD", 20},
        {"Email", 100},
        {"VerifyQuestion", 600},
        {"Answer", 600},
        {"UserToken", 80},
        {"user", 80},
        {"PrevSession", 20},
        {"Name", 600},
        {"Description", 12000},
        {"PrimaryTheme", 600},
        {"Theme", 200},
        {"SongName", 600},
        {"ArtistName", 600},
        {"Version", 600},
        {"PerformanceTitle", 200},
        {"PrimaryArtistName", 200},
        {"CDTitle", 200},
        {"PlaylistTitle", 200},
        {"OfficialURL", 500},
        {"PlaceOfBirth", 200},
        {"PlaceOfDeath", 200},
        {"DateOfBirth", 50},
        {"DateOfDeath", 50},
        {"IDs", 4096},
        {"UserXML", 256 * 1024},
    };
    auto it = kLimits.find(key);
    if (it != kLimits.end())
        return it->second;
    if (key.rfind("TrackComment", 0) == 0)
        return 3000;
    return 256;
}

bool CXmlPages::CarriesPassword(const std::string& page, const CFormFields& fields)
{
    if (page == "CreateUser.jsp" || (page == "UserLogin.jsp" && fields.Get("Action") != "Logout"))
        return true;
    for (const auto& [key, value] : fields.All())
        if (ContainsIgnoringCase(key, "pwd") || ContainsIgnoringCase(key, "password"))
            return true;
    return false;
}

std::string CXmlPages::Answer(const std::string& page, const std::string& body, const PageContext& context)
{
    auto it = m_pages.find(page);
    if (it == m_pages.end())
        return Exception(kServerException, "Unknown page");
    try {
        // A profile document may also come as it was serialized, without form
        // encoding: then it runs from its key to the end, "&" and "+" included.
        // Form-encoded, its attributes' "=" (and any "&") would be escaped.
        size_t raw = body.find("UserXML=<");
        bool rawProfile = page == "UpdateProfileXML.jsp" && raw != std::string::npos &&
                          (raw == 0 || body[raw - 1] == '&') && body.find_first_of("=&", raw + 8) != std::string::npos;
        std::string_view form = rawProfile ? std::string_view(body).substr(0, raw) : std::string_view(body);
        if (static_cast<size_t>(std::count(form.begin(), form.end(), '&')) >= kMaxFields)
            return Refusal(kInputException, "The request holds too many fields");
        CFormFields fields = CFormFields::Parse(form);
        if (rawProfile)
            fields.Set("UserXML", body.substr(raw + 8));
        // Passwords never cross the plain port.
        if (!context.secure && CarriesPassword(page, fields))
            return Exception(kSecurityException, "Please log in over the secure connection");
        for (const auto& [key, value] : fields.All())
            if (value.size() > FieldLimit(key))
                return Refusal(kInputException, "The field " + key.substr(0, 40) + " may hold at most " +
                                                    std::to_string(FieldLimit(key)) + " characters");
        return it->second(fields, context);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error in %s: %s\n", page.c_str(), e.what());
        return ServerFailure();
    }
}

std::string CXmlPages::Login(const CFormFields& f, const PageContext& context)
{
    std::string action = f.Get("Action");
    if (action == "Logout") {
        m_accounts.Logout(f.Get("UserToken"));
        CXmlWriter xml;
        xml.Open("Logout").Element("Status", "LoggedOut");
        return xml.Finish();
    }
    if (action != "Login")
        return Exception(kInputException, "Unknown action");
    std::string handle = f.Get("UserHandle");
    LoginResult result = m_accounts.Login(handle, f.Get("PWD"), f.Get("PrevSession"), context.peer);
    if (!result.ok)
        return Exception(kLoginException, result.error);
    return SessionAnswer(result, handle);
}

std::string CXmlPages::UpdateSession(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    CXmlWriter xml;
    xml.Open("Session").Element("UserID", member->userId).Element("Status", "Alive");
    return xml.Finish();
}

std::string CXmlPages::CreateUser(const CFormFields& f)
{
    NewMember member;
    member.handle = f.Get("UserHandle");
    member.password = f.Get("PWD");
    member.email = f.Get("Email");
    member.verifyQuestion = f.Get("VerifyQuestion");
    member.verifyAnswer = f.Get("Answer");
    member.referral = f.GetInt("Referal");
    member.ownMail = f.Get("CorvantaEmail") == "true";
    member.partnerMail = f.Get("ThirdPartyEmail") == "true";
    LoginResult result = m_accounts.Create(member);
    if (!result.ok)
        return Exception(kInputException, result.error);
    return SessionAnswer(result, member.handle);
}

std::string CXmlPages::CheckForUpgrade(const CFormFields& f)
{
    bool newer = !m_settings.newestVersion.empty() && IsNewer(m_settings.newestVersion, f.Get("version"));
    CXmlWriter xml;
    xml.Open("Upgrade").Element("UpgradeAvailable", newer ? 1 : 0);
    if (newer) {
        xml.Element("NewVersion", m_settings.newestVersion);
        if (!m_settings.downloadUrl.empty())
            xml.Element("DownloadURL", m_settings.downloadUrl);
    }
    return xml.Finish();
}

std::string CXmlPages::Tables()
{
    auto db = m_db.Acquire();
    return CLookupTables::ToXml(*db);
}

std::string CXmlPages::UserPlaylists(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("user"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    std::vector<int64_t> ids = m_catalogue.PlaylistsOf(member->userId);
    CXmlWriter xml;
    xml.Open("Playlists");
    auto db = m_db.Acquire();
    CCatalogue::WriteSummaries(xml, *db, SummaryKind::Playlist, ids, nullptr, nullptr, member->userId);
    return xml.Finish();
}

int64_t CXmlPages::Viewer(const CFormFields& f)
{
    for (const char* key : {"UserToken", "user"}) {
        if (!f.Has(key))
            continue;
        auto member = m_accounts.Validate(f.Get(key));
        return member ? member->userId : 0;
    }
    return 0;
}

std::string CXmlPages::PlaylistDetails(const CFormFields& f)
{
    CXmlWriter xml;
    xml.Open("Response");
    if (!m_catalogue.WritePlaylistDetail(xml, f.GetInt("playlist"), Viewer(f)))
        return Error("There is no such playlist");
    return xml.Finish();
}

std::string CXmlPages::Summaries(const CFormFields& f)
{
    static const std::map<std::string, SummaryKind> kKinds = {{"PLAYLIST", SummaryKind::Playlist},
                                                              {"USER", SummaryKind::User},
                                                              {"ARTIST", SummaryKind::Artist},
                                                              {"PERFORMANCE", SummaryKind::Performance}};
    auto kind = kKinds.find(f.Get("Type"));
    if (kind == kKinds.end())
        return Error("Unknown summary type");
    std::vector<int64_t> ids = IdList(f.Get("IDs"), 200);
    const int64_t viewer = kind->second == SummaryKind::Playlist ? Viewer(f) : 0;
    CXmlWriter xml;
    xml.Open("Summaries");
    auto db = m_db.Acquire();
    CCatalogue::WriteSummaries(xml, *db, kind->second, ids, nullptr, nullptr, viewer);
    return xml.Finish();
}

std::string CXmlPages::FulfillPerformance(const CFormFields& f, const std::string& previewBase)
{
    int64_t id = f.GetInt("PerformanceID");
    if (!m_catalogue.HasPreview(id))
        return Error("No preview is available for this track");
    CXmlWriter xml;
    xml.Open("Fulfillment")
        .Element("URL", previewBase + PagePaths::ServerPath(PagePaths::kPreviews) + std::to_string(id) + ".wav");
    return xml.Finish();
}

std::string CXmlPages::FulfillPlaylist(const CFormFields& f)
{
    int64_t id = f.GetInt("PlaylistID");
    int64_t count = m_catalogue.CountListen(id, Viewer(f));
    if (count < 0)
        return Error("There is no such playlist");
    CXmlWriter xml;
    xml.Open("Fulfillment").Element("PlaylistID", id).Element("TimesListened", count);
    return xml.Finish();
}

std::string CXmlPages::UserBookmarks(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("user"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    CXmlWriter xml;
    xml.Open("Bookmarks");
    m_bookmarks.WriteAll(xml, member->userId);
    return xml.Finish();
}

std::string CXmlPages::AddBookmark(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("user"));
    if (!member)
        return NoSessionForFavorites();
    int64_t count = f.GetInt("numberOfItems");
    if (count < 1 || count > 500)
        return Error("Bad number of items");
    std::vector<int64_t> items;
    for (int64_t i = 1; i <= count; ++i)
        items.push_back(f.GetInt("newBookmarkItemID" + std::to_string(i)));
    std::vector<int64_t> ids;
    std::string error;
    if (!m_bookmarks.Add(member->userId, f.GetInt("bookmarkType"), items, ids, error))
        return Error(error);
    CXmlWriter xml;
    xml.Open("Bookmarks");
    for (int64_t id : ids)
        xml.Element("BookmarkID", id);
    return xml.Finish();
}

std::string CXmlPages::DeleteBookmark(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("user"));
    if (!member)
        return NoSessionForFavorites();
    int64_t count = f.GetInt("numberOfItems");
    if (count < 1 || count > 500)
        return Error("Bad number of items");
    std::vector<int64_t> ids;
    for (int64_t i = 1; i <= count; ++i)
        ids.push_back(f.GetInt("bookmarkID" + std::to_string(i)));
    std::string error;
    if (!m_bookmarks.Remove(member->userId, f.GetInt("bookmarkType1"), ids, error))
        return Error(error);
    CXmlWriter xml;
    xml.Open("Bookmarks").Element("DeleteSuccess", count);
    return xml.Finish();
}

std::string CXmlPages::MoveBookmark(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("user"));
    if (!member)
        return NoSessionForFavorites();
    std::string error;
    if (!m_bookmarks.Move(member->userId, f.GetInt("bookmarkType"), f.GetInt("bookmarkID1"),
                          f.GetInt("newPreviousBookmarkID"), error))
        return Error(error);
    CXmlWriter xml;
    xml.Open("Bookmarks").Element("MoveSuccessful", 1);
    return xml.Finish();
}

std::string CXmlPages::Search(int kind, const CFormFields& f)
{
    SummaryKind summaryKind = static_cast<SummaryKind>(kind);
    std::vector<int64_t> ids = m_catalogue.Search(summaryKind, f);
    std::vector<int64_t> first(ids.begin(),
                               ids.begin() + static_cast<std::ptrdiff_t>(std::min(ids.size(), CCatalogue::kFirstPage)));
    CXmlWriter xml;
    xml.Open("SearchResults").Attribute("count", static_cast<int64_t>(ids.size()));
    {
        auto db = m_db.Acquire();
        CCatalogue::WriteSummaries(xml, *db, summaryKind, first);
    }
    for (int64_t id : ids)
        xml.Element("ID", id);
    return xml.Finish();
}

std::string CXmlPages::ResolvePerformances(const CFormFields& f)
{
    std::vector<int64_t> ids = m_catalogue.ResolvePerformances(f.Get("PerformanceTitle"), f.Get("PrimaryArtistName"));
    CXmlWriter xml;
    xml.Open("Candidates");
    auto db = m_db.Acquire();
    CCatalogue::WriteSummaries(xml, *db, SummaryKind::Performance, ids);
    return xml.Finish();
}

std::string CXmlPages::ResolveArtists(const CFormFields& f)
{
    std::vector<int64_t> ids = m_catalogue.ResolveArtists(f.Get("ArtistName"));
    CXmlWriter xml;
    xml.Open("Candidates");
    auto db = m_db.Acquire();
    CCatalogue::WriteSummaries(xml, *db, SummaryKind::Artist, ids);
    return xml.Finish();
}

std::string CXmlPages::UpdateArtist(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    if (f.Get("Action") != "Create")
        return Exception(kInputException, "Only new artists can be sent");
    NewArtist artist;
    artist.name = f.Get("Name");
    artist.officialUrl = f.Get("OfficialURL");
    artist.placeOfBirth = f.Get("PlaceOfBirth");
    artist.dateOfBirth = f.Get("DateOfBirth");
    artist.placeOfDeath = f.Get("PlaceOfDeath");
    artist.dateOfDeath = f.Get("DateOfDeath");
    std::string error;
    int64_t id = m_catalogue.CreateArtist(member->userId, artist, error);
    if (id == 0)
        return Exception(kInputException, error);
    CXmlWriter xml;
    xml.Open("Artist").Element("ArtistID", id);
    return xml.Finish();
}

std::string CXmlPages::UpdatePerformance(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    if (f.Get("Action") != "Create")
        return Exception(kInputException, "Only new tracks can be sent");
    NewPerformance performance;
    performance.songName = f.Get("SongName");
    performance.artistName = f.Get("ArtistName");
    performance.version = f.Get("Version");
    performance.artistId = f.GetInt("ArtistID");
    performance.length = f.GetInt("Length");
    performance.genreId = f.GetInt("PrimaryGenreID");
    performance.sourceId = f.Has("PerformanceSourceID") ? f.GetInt("PerformanceSourceID") : 1;
    std::string error;
    int64_t id = m_catalogue.CreatePerformance(member->userId, performance, error);
    if (id == 0)
        return Exception(kInputException, error);
    CXmlWriter xml;
    xml.Open("Performance").Element("PerformanceID", id);
    return xml.Finish();
}

std::string CXmlPages::UpdatePlaylist(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    std::string action = f.Get("Action");
    std::string error;
    int64_t id = f.GetInt("ID");
    if (action == "Delete") {
        if (!m_catalogue.DeletePlaylist(member->userId, id, error))
            return Exception(kInputException, error);
        CXmlWriter xml;
        xml.Open("Playlist").Element("PlaylistID", id).Element("DeleteSuccess", 1);
        return xml.Finish();
    }
    if (action != "Create" && action != "Update")
        return Exception(kInputException, "Unknown action");
    PlaylistInput input;
    input.id = action == "Create" ? 0 : id;
    if (action == "Update" && id <= 0)
        return Exception(kInputException, "An update needs the playlist's number");
    input.name = f.Get("Name");
    input.description = f.Get("Description");
    input.theme = f.Get("PrimaryTheme");
    input.genreId = f.GetInt("PrimaryGenreID");
    input.moodId = f.GetInt("PrimaryMoodID");
    input.isPublic = !f.Has("IsPublic") || f.GetInt("IsPublic") != 0;
    int64_t count = f.GetInt("EntryCount");
    if (count < 0 || count > 1000)
        return Exception(kInputException, "Bad number of tracks");
    for (int64_t i = 1; i <= count; ++i) {
        std::string n = std::to_string(i);
        input.tracks.push_back({f.GetInt("TrackID" + n), f.Get("TrackComment" + n)});
    }
    int64_t saved = m_catalogue.SavePlaylist(member->userId, input, error);
    if (saved == 0)
        return Exception(kInputException, error);
    CXmlWriter xml;
    xml.Open("Playlist").Element("PlaylistID", saved);
    return xml.Finish();
}

std::string CXmlPages::UpdateProfile(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return Exception(kSessionException, kNoSession);
    if (f.Get("Action") == "Update") {
        std::string error = m_accounts.UpdateProfile(member->userId, f.Get("UserXML"));
        if (!error.empty())
            return Exception(kInputException, error);
        CXmlWriter xml;
        xml.Open("Response").Element("Result", "OK");
        return xml.Finish();
    }
    return m_accounts.ProfileXml(member->userId);
}

}  // namespace corvanta::server
