#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace corvanta::server {

class CAccounts;
class CCatalogue;
class CDatabase;
class CFormFields;

struct WebAnswer {
    int status = 200;
    std::string body;
    std::string contentType = "text/html; charset=UTF-8";
};

// The community's web pages: detail pages, mail forms, the front page, help,
// and the member's profile and statistics pages. Every inserted text is escaped.
class CWebPages {
public:
    CWebPages(CDatabase& db, CAccounts& accounts, CCatalogue& catalogue);

    // page is relative to the production folder ("tessarin/details/NoDetails.htm",
    // "orvane/UpdateProfile.jsp"); fields hold the query and, for a POST, the form.
    WebAnswer Answer(const std::string& page, const std::string& method, const CFormFields& fields);

    static std::string ErrorPage(int status);
    static std::string Html(const std::string& text);
    static const char* StyleSheet();

private:
    WebAnswer NoDetails();
    WebAnswer Performance(const CFormFields& f);
    WebAnswer Artist(const CFormFields& f);
    WebAnswer Playmaker(const CFormFields& f);
    WebAnswer Playlist(const CFormFields& f);
    WebAnswer EmailPlaymaker(const std::string& method, const CFormFields& f);
    WebAnswer EmailFriend(const std::string& method, const CFormFields& f);
    WebAnswer Home();
    WebAnswer Help();
    WebAnswer UpdateProfile(const std::string& method, const CFormFields& f);
    WebAnswer Statistics(const CFormFields& f);
    WebAnswer AddBookmarkOutside();
    WebAnswer UpdatedPlaymaker(const CFormFields& f);
    // The member whose session the page was opened with, 0 without one.
    int64_t Viewer(const CFormFields& f);

    using PageHandler = std::function<WebAnswer(const std::string& method, const CFormFields& fields)>;

    CDatabase& m_db;
    CAccounts& m_accounts;
    CCatalogue& m_catalogue;
    std::map<std::string, PageHandler> m_pages;
};

}  // namespace corvanta::server
