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

struct SWebAnswer {
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
    SWebAnswer Answer(const std::string& page, const std::string& method, const CFormFields& fields);

    static std::string ErrorPage(int status);
    static std::string Html(const std::string& text);
    static const char* StyleSheet();

private:
    SWebAnswer NoDetails();
    SWebAnswer Performance(const CFormFields& f);
    SWebAnswer Artist(const CFormFields& f);
    SWebAnswer Playmaker(const CFormFields& f);
    SWebAnswer Playlist(const CFormFields& f);
    SWebAnswer EmailPlaymaker(const std::string& method, const CFormFields& f);
    SWebAnswer EmailFriend(const std::string& method, const CFormFields& f);
    SWebAnswer Home();
    SWebAnswer Help();
    SWebAnswer UpdateProfile(const std::string& method, const CFormFields& f);
    SWebAnswer Statistics(const CFormFields& f);
    SWebAnswer AddBookmarkOutside();
    SWebAnswer UpdatedPlaymaker(const CFormFields& f);
    // The member whose session the page was opened with, 0 without one.
    int64_t Viewer(const CFormFields& f);

    using PageHandler = std::function<SWebAnswer(const std::string& method, const CFormFields& fields)>;

    CDatabase& m_db;
    CAccounts& m_accounts;
    CCatalogue& m_catalogue;
    std::map<std::string, PageHandler> m_pages;
};

} // namespace corvanta::server
