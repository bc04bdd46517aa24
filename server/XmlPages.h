#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace corvanta::server {

class CAccounts;
class CBookmarks;
class CCatalogue;
class CDatabase;
class CFormFields;

struct ServerSettings {
    std::string newestVersion;  // empty: never offer an upgrade
    std::string downloadUrl;
};

// Where a request came from, as far as a page needs to know.
struct PageContext {
    std::string previewBase;  // the plain address preview links start with ("http://host:port")
    std::string peer;         // the client's address
    bool secure = false;      // came over TLS
};

// The XML pages under orvane/: each reads a form body and answers a document.
// Refusals are answered inside the document (Exception or Error), never as a crash.
class CXmlPages {
public:
    CXmlPages(CDatabase& db, CAccounts& accounts, CCatalogue& catalogue, CBookmarks& bookmarks,
              ServerSettings settings);

    bool Knows(const std::string& page) const { return m_pages.count(page) != 0; }
    // page is relative to orvane/, for example "bookmark/AddBookmark.jsp". Over a
    // plain connection a request that carries a password is refused, decided on
    // the fields as the page reads them; so is any text longer than its field holds.
    std::string Answer(const std::string& page, const std::string& body, const PageContext& context);

    // The most a field's text may hold (after form decoding), for the fields
    // every page reads; a refusal names the field.
    static size_t FieldLimit(const std::string& key);
    static constexpr size_t kMaxFields = 2100;  // a full playlist: 1000 tracks and comments
    // A password field, or a page that takes one.
    static bool CarriesPassword(const std::string& page, const CFormFields& fields);

    // The exception classes a refusal names.
    static constexpr const char* kLoginException = "com.velmar.orvane.LoginException";
    static constexpr const char* kSessionException = "com.velmar.orvane.SessionException";
    static constexpr const char* kInputException = "com.velmar.orvane.ValidationException";
    static constexpr const char* kServerException = "com.velmar.orvane.ServerException";
    static constexpr const char* kSecurityException = "com.velmar.orvane.SecurityException";

    static std::string Exception(const std::string& className, const std::string& message);
    // The answer of a page that failed inside the server.
    static std::string ServerFailure()
    {
        return Exception(kServerException, "The server could not complete the request");
    }
    static std::string Error(const std::string& message);

    // Newer when some dotted number part is higher; missing parts count as 0.
    static bool IsNewer(const std::string& candidate, const std::string& current);

private:
    using Handler = std::function<std::string(const CFormFields&, const PageContext&)>;

    std::string Login(const CFormFields& f, const PageContext& context);
    std::string UpdateSession(const CFormFields& f);
    std::string CreateUser(const CFormFields& f);
    std::string CheckForUpgrade(const CFormFields& f);
    std::string Tables();
    std::string UserPlaylists(const CFormFields& f);
    std::string PlaylistDetails(const CFormFields& f);
    std::string Summaries(const CFormFields& f);
    std::string FulfillPerformance(const CFormFields& f, const std::string& previewBase);
    // The member whose session the request names, if any: the owner sees private playlists.
    int64_t Viewer(const CFormFields& f);
    std::string FulfillPlaylist(const CFormFields& f);
    std::string UserBookmarks(const CFormFields& f);
    std::string AddBookmark(const CFormFields& f);
    std::string DeleteBookmark(const CFormFields& f);
    std::string MoveBookmark(const CFormFields& f);
    std::string Search(int kind, const CFormFields& f);
    std::string ResolvePerformances(const CFormFields& f);
    std::string ResolveArtists(const CFormFields& f);
    std::string UpdateArtist(const CFormFields& f);
    std::string UpdatePerformance(const CFormFields& f);
    std::string UpdatePlaylist(const CFormFields& f);
    std::string UpdateProfile(const CFormFields& f);

    CDatabase& m_db;
    CAccounts& m_accounts;
    CCatalogue& m_catalogue;
    CBookmarks& m_bookmarks;
    ServerSettings m_settings;
    std::map<std::string, Handler> m_pages;
};

}  // namespace corvanta::server
