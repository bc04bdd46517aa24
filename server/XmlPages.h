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

struct SServerSettings {
    std::string newestVersion;   // empty: never offer an upgrade
    std::string downloadUrl;
};

// The XML pages under orvane/: each reads a form body and answers a document.
// Refusals are answered inside the document (Exception or Error), never as a crash.
class CXmlPages {
public:
    CXmlPages(CDatabase& db, CAccounts& accounts, CCatalogue& catalogue, CBookmarks& bookmarks, SServerSettings settings);

    bool Knows(const std::string& page) const { return m_pages.count(page) != 0; }
    // page is relative to orvane/, for example "bookmark/AddBookmark.jsp"; previewBase
    // is the plain address the preview links start with ("http://host:port").
    std::string Answer(const std::string& page, const std::string& body, const std::string& previewBase);

    static std::string Exception(const std::string& className, const std::string& message);
    static std::string Error(const std::string& message);

    // Newer when some dotted number part is higher; missing parts count as 0.
    static bool IsNewer(const std::string& candidate, const std::string& current);

private:
    using Handler = std::function<std::string(const CFormFields&, const std::string&)>;

    std::string Login(const CFormFields& f);
    std::string UpdateSession(const CFormFields& f);
    std::string CreateUser(const CFormFields& f);
    std::string CheckForUpgrade(const CFormFields& f);
    std::string Tables();
    std::string UserPlaylists(const CFormFields& f);
    std::string PlaylistDetails(const CFormFields& f);
    std::string Summaries(const CFormFields& f);
    std::string FulfillPerformance(const CFormFields& f, const std::string& previewBase);
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
    SServerSettings m_settings;
    std::map<std::string, Handler> m_pages;
};

} // namespace corvanta::server
