#include "server/WebPages.h"

#include "server/Accounts.h"
#include "server/Catalogue.h"
#include "server/Database.h"
#include "server/FormFields.h"
#include "server/LookupTables.h"
#include "server/ObjectNotation.h"
#include "server/XmlWriter.h"
#include "shared/PagePaths.h"

#include <pugixml.hpp>

#include <cstring>
#include <sstream>
#include <vector>

namespace corvanta::server {

namespace {

// Short names for what every page does many times over: text escaped for
// HTML, text escaped for an address, a number as text.
std::string HtmlText(const std::string& text)
{
    return CWebPages::Html(text);
}
std::string UrlText(const std::string& text)
{
    return CFormFields::PercentEncode(text);
}
std::string Number(int64_t n)
{
    return std::to_string(n);
}

std::string Page(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           HtmlText(title) + " - Corvanta</title>\n<link rel=\"stylesheet\" href=\"" +
           PagePaths::ServerPath(PagePaths::kStyleSheet) + "\">\n</head>\n<body>\n<main>\n" + body +
           "</main>\n</body>\n</html>\n";
}

std::string Paragraphs(const std::string& text)
{
    // Line breaks arrive as CR LF or as the "<BR>" of the client's comments.
    std::string escaped = HtmlText(text), out;
    for (size_t i = 0; i < escaped.size();) {
        if (escaped.compare(i, 10, "&#13;&#10;") == 0 || escaped.compare(i, 10, "&lt;BR&gt;") == 0) {
            out += "<br>";
            i += 10;
        } else if (escaped.compare(i, 5, "&#10;") == 0) {
            out += "<br>";
            i += 5;
        } else {
            out += escaped[i++];
        }
    }
    return out;
}

std::string TokenPart(const CFormFields& f)
{
    return "&amp;UserToken=" + HtmlText(UrlText(f.Get("UserToken")));
}

std::string DetailLink(const std::string& page, const char* key, int64_t id, const CFormFields& f,
                       const std::string& text)
{
    return "<a href=\"" + page + "?" + key + "=" + Number(id) + TokenPart(f) + "\">" + HtmlText(text) + "</a>";
}

std::string AddLink(int kind, int64_t id, const std::vector<std::pair<const char*, std::string>>& names)
{
    std::string href = PagePaths::ServerPath(PagePaths::kAddBookmark) + "?bookmarkType=" + Number(kind) +
                       "&newBookmarkItemID=" + Number(id);
    for (const auto& name : names)
        href += std::string("&") + name.first + "=" + UrlText(name.second);
    return "<a class=\"button\" href=\"" + HtmlText(href) + "\">&#9733; Add to favorites</a>";
}

std::string Duration(int64_t seconds)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
    return buffer;
}

std::string DateOnly(int64_t unixSeconds)
{
    return CCatalogue::FormatDate(unixSeconds).substr(0, 10);
}

bool IsWebAddress(const std::string& url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

std::string Nav(const CFormFields& f)
{
    (void)f;
    return "<nav><a href=\"" + PagePaths::ServerPath(PagePaths::kHome) + "\">Corvanta</a></nav>\n";
}

}  // namespace

CWebPages::CWebPages(CDatabase& db, CAccounts& accounts, CCatalogue& catalogue)
    : m_db(db), m_accounts(accounts), m_catalogue(catalogue)
{
    // Every page by its path below the production folder.
    auto plain = [this](WebAnswer (CWebPages::*page)()) {
        return [this, page](const std::string&, const CFormFields&) { return (this->*page)(); };
    };
    auto withFields = [this](WebAnswer (CWebPages::*page)(const CFormFields&)) {
        return [this, page](const std::string&, const CFormFields& f) { return (this->*page)(f); };
    };
    auto withMethod = [this](WebAnswer (CWebPages::*page)(const std::string&, const CFormFields&)) {
        return [this, page](const std::string& method, const CFormFields& f) { return (this->*page)(method, f); };
    };
    const std::string details = PagePaths::kDetails;
    const std::string home = PagePaths::kHome;
    m_pages[PagePaths::kStyleSheet] = [](const std::string&, const CFormFields&) {
        return WebAnswer{200, StyleSheet(), "text/css; charset=UTF-8"};
    };
    m_pages[details + PagePaths::kNoDetails] = plain(&CWebPages::NoDetails);
    m_pages[details + PagePaths::kPerformanceDetail] = withFields(&CWebPages::Performance);
    m_pages[details + PagePaths::kArtistDetail] = withFields(&CWebPages::Artist);
    m_pages[details + PagePaths::kPlaymakerDetail] = withFields(&CWebPages::Playmaker);
    m_pages[details + PagePaths::kPlaylistDetail] = withFields(&CWebPages::Playlist);
    m_pages[details + PagePaths::kEmailPlaymaker] = withMethod(&CWebPages::EmailPlaymaker);
    m_pages[details + PagePaths::kEmailFriend] = withMethod(&CWebPages::EmailFriend);
    // The home page also answers at its folder's own address, with or without the slash.
    const std::string homeFolder = home.substr(0, home.rfind('/') + 1);
    for (const std::string& path : {home, homeFolder, homeFolder.substr(0, homeFolder.size() - 1)})
        m_pages[path] = plain(&CWebPages::Home);
    m_pages[PagePaths::kHelp] = plain(&CWebPages::Help);
    m_pages[PagePaths::kUpdateProfile] = withMethod(&CWebPages::UpdateProfile);
    m_pages[PagePaths::kStatistics] = withFields(&CWebPages::Statistics);
    m_pages[PagePaths::kAddBookmark] = plain(&CWebPages::AddBookmarkOutside);
    m_pages[PagePaths::kShowUpdatedPlaymaker] = withFields(&CWebPages::UpdatedPlaymaker);
    m_pages[PagePaths::kPreviewUpdatedPlaymaker] = withFields(&CWebPages::UpdatedPlaymaker);
}

std::string CWebPages::Html(const std::string& text)
{
    return CXmlWriter::Escape(text);
}

const char* CWebPages::StyleSheet()
{
    return "body{margin:0;font:15px/1.45 system-ui,-apple-system,'Segoe UI',sans-serif;color:#222;background:#f4f2ee}\n"
           "main{max-width:46rem;margin:0 auto;padding:1rem 1.25rem 2rem}\n"
           "nav{margin-bottom:.5rem}nav a{font-weight:600;color:#7a1f2b;text-decoration:none}\n"
           "h1{font-size:1.5rem;margin:.25rem 0 .5rem}h2{font-size:1.1rem;margin:1.4rem 0 .4rem;color:#7a1f2b}\n"
           "a{color:#1d4f91}table{border-collapse:collapse;width:100%}th,td{text-align:left;padding:.3rem .4rem;"
           "border-bottom:1px solid #ddd;vertical-align:top}th{background:#e8e4dc}\n"
           "dl{display:grid;grid-template-columns:max-content 1fr;gap:.2rem 1rem}dt{color:#666}dd{margin:0}\n"
           ".button{display:inline-block;margin:.4rem .4rem 0 0;padding:.3rem "
           ".7rem;border-radius:4px;background:#7a1f2b;"
           "color:#fff;text-decoration:none}.muted{color:#777}.notice{padding:.6rem;background:#fff6d6;border-radius:"
           "4px}\n"
           "form label{display:block;margin:.5rem 0 "
           ".15rem}input,textarea,select{font:inherit;width:100%;max-width:30rem;"
           "box-sizing:border-box}button{font:inherit;margin-top:.7rem;padding:.35rem 1rem}\n"
           ".columns{display:grid;grid-template-columns:repeat(auto-fit,minmax(14rem,1fr));gap:1rem}ol,ul{padding-left:"
           "1.3rem}\n";
}

std::string CWebPages::ErrorPage(int status)
{
    std::string title = status == 404 ? "Page not found" : status == 413 ? "Request too large" : "Request failed";
    return Page(title, "<h1>" + HtmlText(title) + "</h1>\n<p class=\"muted\">Status " + Number(status) + ".</p>\n");
}

WebAnswer CWebPages::Answer(const std::string& page, const std::string& method, const CFormFields& f)
{
    const auto found = m_pages.find(page);
    if (found == m_pages.end())
        return {404, ErrorPage(404)};
    try {
        return found->second(method, f);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error in %s: %s\n", page.c_str(), e.what());
        return {500, ErrorPage(500)};
    }
}

WebAnswer CWebPages::NoDetails()
{
    return {200,
            Page("No details", "<h1>Nothing selected</h1>\n<p class=\"muted\">Pick a playlist, a track, an artist or a "
                               "playmaker anywhere in Corvanta to see its details here.</p>\n")};
}

WebAnswer CWebPages::Performance(const CFormFields& f)
{
    int64_t id = f.GetInt("performance");
    auto db = m_db.Acquire();
    CQuery q = db->Prepare("SELECT p.title, p.version, p.album, p.length, p.genre_id, p.has_preview, a.id, a.name, "
                           "(SELECT count(*) FROM bookmarks b WHERE b.kind = 3 AND b.item_id = p.id) "
                           "FROM performances p JOIN artists a ON a.id = p.artist_id WHERE p.id = ?1");
    q.Bind(1, id);
    if (!q.Step())
        return {404, Page("Unknown track",
                          Nav(f) + "<h1>Unknown track</h1>\n<p>There is no track " + Number(id) + ".</p>\n")};
    std::string title = q.Text(0), version = q.Text(1), album = q.Text(2), artist = q.Text(7);
    int64_t length = q.Int(3), genre = q.Int(4), artistId = q.Int(6), bookmarks = q.Int(8);
    bool preview = q.Int(5) != 0;
    std::string body = Nav(f) + "<h1>" + HtmlText(title) +
                       (version.empty() ? "" : " <span class=\"muted\">(" + HtmlText(version) + ")</span>") +
                       "</h1>\n<p>by " + DetailLink("ShowArtistDetail.jsp", "artist", artistId, f, artist) +
                       "</p>\n<dl>";
    body += "<dt>Album</dt><dd>" + HtmlText(album.empty() ? "-" : album) + "</dd>";
    body += "<dt>Length</dt><dd>" + Duration(length) + "</dd>";
    body += "<dt>Genre</dt><dd>" + HtmlText(CLookupTables::Text(*db, "Genres", genre)) + "</dd>";
    body += "<dt>Favorite of</dt><dd>" + Number(bookmarks) + " playmakers</dd></dl>\n";
    if (preview)
        body += "<h2>Preview</h2>\n<audio controls preload=\"none\" src=\"" +
                PagePaths::ServerPath(PagePaths::kPreviews) + Number(id) + ".wav\"></audio>\n";
    else
        body += "<p class=\"muted\">No preview is available for this track.</p>\n";
    body += "<p>" + AddLink(3, id, {{"songName", title}, {"artistName", artist}, {"albumName", version}}) + "</p>\n";
    body += "<h2>In playlists</h2>\n<ul>";
    CQuery lists =
        db->Prepare("SELECT DISTINCT pl.id, pl.name FROM playlist_tracks t JOIN playlists pl ON pl.id = t.playlist_id "
                    "WHERE t.performance_id = ?1 AND pl.is_public = 1 ORDER BY pl.name LIMIT 50");
    lists.Bind(1, id);
    int count = 0;
    while (lists.Step()) {
        body += "<li>" + DetailLink("ShowPlaylistDetail.jsp", "playlist", lists.Int(0), f, lists.Text(1)) + "</li>";
        ++count;
    }
    if (!count)
        body += "<li class=\"muted\">Not in any playlist yet.</li>";
    body += "</ul>\n";
    return {200, Page(title, body)};
}

WebAnswer CWebPages::Artist(const CFormFields& f)
{
    int64_t id = f.GetInt("artist");
    auto db = m_db.Acquire();
    CQuery q = db->Prepare("SELECT name, official_url, place_of_birth, date_of_birth, place_of_death, date_of_death "
                           "FROM artists WHERE id = ?1");
    q.Bind(1, id);
    if (!q.Step())
        return {404, Page("Unknown artist",
                          Nav(f) + "<h1>Unknown artist</h1>\n<p>There is no artist " + Number(id) + ".</p>\n")};
    std::string name = q.Text(0), url = q.Text(1);
    std::string body = Nav(f) + "<h1>" + HtmlText(name) + "</h1>\n<dl>";
    if (!url.empty())
        body += "<dt>Web site</dt><dd>" +
                (IsWebAddress(url) ? "<a href=\"" + HtmlText(url) + "\">" + HtmlText(url) + "</a>" : HtmlText(url)) +
                "</dd>";
    if (!q.Text(2).empty() || !q.Text(3).empty())
        body += "<dt>Born</dt><dd>" + HtmlText(q.Text(2)) + " " + HtmlText(q.Text(3)) + "</dd>";
    if (!q.Text(4).empty() || !q.Text(5).empty())
        body += "<dt>Died</dt><dd>" + HtmlText(q.Text(4)) + " " + HtmlText(q.Text(5)) + "</dd>";
    body += "</dl>\n<p>" + AddLink(1, id, {{"name", name}}) +
            "</p>\n<h2>Tracks</h2>\n<table><tr><th>Title</th><th>Version</th>"
            "<th>Album</th><th>Length</th></tr>";
    CQuery tracks = db->Prepare("SELECT id, title, version, album, length FROM performances WHERE artist_id = ?1 "
                                "ORDER BY title COLLATE NOCASE, id");
    tracks.Bind(1, id);
    while (tracks.Step())
        body += "<tr><td>" + DetailLink("ShowPerformanceDetail.jsp", "performance", tracks.Int(0), f, tracks.Text(1)) +
                "</td><td>" + HtmlText(tracks.Text(2)) + "</td><td>" + HtmlText(tracks.Text(3)) + "</td><td>" +
                Duration(tracks.Int(4)) + "</td></tr>";
    body += "</table>\n";
    return {200, Page(name, body)};
}

WebAnswer CWebPages::Playmaker(const CFormFields& f)
{
    int64_t id = f.GetInt("playmaker");
    auto db = m_db.Acquire();
    std::string handle, profile;
    int64_t created = 0, accepts = 0;
    {
        CQuery q = db->Prepare("SELECT handle, created, accepts_email, profile_xml FROM users WHERE id = ?1");
        q.Bind(1, id);
        if (!q.Step())
            return {404, Page("Unknown playmaker", Nav(f) + "<h1>Unknown playmaker</h1>\n<p>There is no playmaker " +
                                                       Number(id) + ".</p>\n")};
        handle = q.Text(0);
        created = q.Int(1);
        accepts = q.Int(2);
        profile = q.Text(3);
    }
    std::string body =
        Nav(f) + "<h1>" + HtmlText(handle) + "</h1>\n<dl><dt>Member since</dt><dd>" + DateOnly(created) + "</dd>";
    pugi::xml_document doc;
    pugi::xml_node user;
    if (!profile.empty() && doc.load_buffer(profile.data(), profile.size()))
        user = FindObject(doc.document_element(), "com.velmar.orvane.data.User", nullptr);
    pugi::xml_node name = FindObject(user, "com.velmar.orvane.data.Name", nullptr);
    if (name && !IsPrivateObject(name)) {
        std::string full = ObjectText(FindObject(name, nullptr, "myFirst")) + " " +
                           ObjectText(FindObject(name, nullptr, "myMiddle")) + " " +
                           ObjectText(FindObject(name, nullptr, "myLast"));
        body += "<dt>Name</dt><dd>" + HtmlText(full) + "</dd>";
    }
    pugi::xml_node address = FindObject(user, "com.velmar.orvane.data.Address", nullptr);
    if (address && !IsPrivateObject(address) && !ObjectText(FindObject(address, nullptr, "city")).empty())
        body += "<dt>Lives in</dt><dd>" + HtmlText(ObjectText(FindObject(address, nullptr, "city"))) + " " +
                HtmlText(ObjectText(FindObject(address, nullptr, "state"))) + "</dd>";
    body += "</dl>\n";
    std::string picture = ObjectText(FindObject(FindObject(user, nullptr, "myPictureUrl"), nullptr, "myAddress"));
    if (IsWebAddress(picture))
        body += "<p><img src=\"" + HtmlText(picture) + "\" alt=\"Picture of " + HtmlText(handle) +
                "\" style=\"max-width:10rem\"></p>\n";
    body += "<p>" + AddLink(4, id, {{"name", handle}});
    if (accepts)
        body += "<a class=\"button\" href=\"EmailPlaymaker.jsp?playmaker=" + Number(id) + "\">Send a message</a>";
    body += "</p>\n";
    pugi::xml_node homepages = FindObject(user, nullptr, "myHomepages");
    std::string pages;
    for (pugi::xml_node item : homepages.children("Object")) {
        std::string url = ObjectText(FindObject(item, nullptr, "myAddress"));
        std::string text = ObjectText(FindObject(item, nullptr, "myDescription"));
        if (IsWebAddress(url))
            pages += "<li><a href=\"" + HtmlText(url) + "\">" + HtmlText(text.empty() ? url : text) + "</a></li>";
    }
    if (!pages.empty())
        body += "<h2>Home pages</h2>\n<ul>" + pages + "</ul>\n";
    for (const char* list : {"myLoveList", "myHateList"}) {
        std::string entries;
        for (pugi::xml_node item : FindObject(user, nullptr, list).children()) {
            if (!EqualsIgnoringCase(item.name(), "Item"))
                continue;
            std::string key = ObjectText(FindObject(item.child("Key"), nullptr, nullptr));
            std::string values;
            for (pugi::xml_node value : FindObject(item.child("Value"), nullptr, nullptr).children("Object"))
                values += (values.empty() ? "" : ", ") + ObjectText(value);
            entries += "<dt>" + HtmlText(key) + "</dt><dd>" + HtmlText(values) + "</dd>";
        }
        if (!entries.empty())
            body += std::string("<h2>") + (std::strcmp(list, "myLoveList") == 0 ? "Loves" : "Hates") + "</h2>\n<dl>" +
                    entries + "</dl>\n";
    }
    body += "<h2>Playlists</h2>\n<ul>";
    CQuery lists =
        db->Prepare("SELECT id, name, times_listened FROM playlists WHERE owner_id = ?1 AND is_public = 1 ORDER BY id");
    lists.Bind(1, id);
    int count = 0;
    while (lists.Step()) {
        body += "<li>" + DetailLink("ShowPlaylistDetail.jsp", "playlist", lists.Int(0), f, lists.Text(1)) +
                " <span class=\"muted\">(" + Number(lists.Int(2)) + " listens)</span></li>";
        ++count;
    }
    if (!count)
        body += "<li class=\"muted\">No playlists yet.</li>";
    body += "</ul>\n";
    return {200, Page(handle, body)};
}

WebAnswer CWebPages::Playlist(const CFormFields& f)
{
    int64_t id = f.GetInt("playlist");
    const int64_t viewer = Viewer(f);
    auto db = m_db.Acquire();
    CQuery q = db->Prepare(
        "SELECT pl.name, pl.description, pl.theme, pl.genre_id, pl.mood_id, pl.created, pl.updated, "
        "pl.times_listened, u.id, u.handle, (SELECT count(*) FROM bookmarks b WHERE b.kind = 2 AND b.item_id = pl.id) "
        "FROM playlists pl JOIN users u ON u.id = pl.owner_id WHERE pl.id = ?1 "
        "AND (pl.is_public = 1 OR pl.owner_id = ?2)");
    q.Bind(1, id).Bind(2, viewer);
    if (!q.Step())
        return {404, Page("Unknown playlist",
                          Nav(f) + "<h1>Unknown playlist</h1>\n<p>There is no playlist " + Number(id) + ".</p>\n")};
    std::string name = q.Text(0), owner = q.Text(9);
    std::string body = Nav(f) + "<h1>" + HtmlText(name) + "</h1>\n<p>by " +
                       DetailLink("ShowPlaymakerDetail.jsp", "playmaker", q.Int(8), f, owner) + "</p>\n";
    if (!q.Text(1).empty())
        body += "<p>" + Paragraphs(q.Text(1)) + "</p>\n";
    body += "<dl><dt>Genre</dt><dd>" + HtmlText(CLookupTables::Text(*db, "Genres", q.Int(3))) + "</dd>";
    body += "<dt>Mood</dt><dd>" + HtmlText(CLookupTables::Text(*db, "Mood", q.Int(4))) + "</dd>";
    body += "<dt>Theme</dt><dd>" + HtmlText(q.Text(2)) + "</dd>";
    body += "<dt>Created</dt><dd>" + DateOnly(q.Int(5)) + "</dd><dt>Updated</dt><dd>" + DateOnly(q.Int(6)) + "</dd>";
    body += "<dt>Listened</dt><dd>" + Number(q.Int(7)) + " times</dd><dt>Favorite of</dt><dd>" + Number(q.Int(10)) +
            " playmakers</dd></dl>\n";
    body += "<p>" + AddLink(2, id, {{"name", name}, {"playmakerName", owner}}) +
            "<a class=\"button\" href=\"EmailFriend.jsp?playlist=" + Number(id) + "\">Tell a friend</a></p>\n";
    body += "<h2>Tracks</h2>\n<table><tr><th>#</th><th>Title</th><th>Artist</th><th>Comment</th></tr>";
    CQuery tracks =
        db->Prepare("SELECT t.position, p.id, p.title, p.version, a.id, a.name, t.comment FROM playlist_tracks t "
                    "JOIN performances p ON p.id = t.performance_id JOIN artists a ON a.id = p.artist_id "
                    "WHERE t.playlist_id = ?1 ORDER BY t.position");
    tracks.Bind(1, id);
    while (tracks.Step()) {
        std::string title = tracks.Text(2) + (tracks.Text(3).empty() ? "" : " (" + tracks.Text(3) + ")");
        body += "<tr><td>" + Number(tracks.Int(0)) + "</td><td>" +
                DetailLink("ShowPerformanceDetail.jsp", "performance", tracks.Int(1), f, title) + "</td><td>" +
                DetailLink("ShowArtistDetail.jsp", "artist", tracks.Int(4), f, tracks.Text(5)) + "</td><td>" +
                Paragraphs(tracks.Text(6)) + "</td></tr>";
    }
    body += "</table>\n";
    return {200, Page(name, body)};
}

WebAnswer CWebPages::EmailPlaymaker(const std::string& method, const CFormFields& f)
{
    int64_t id = f.GetInt("playmaker");
    auto db = m_db.Acquire();
    std::string handle;
    {
        CQuery q = db->Prepare("SELECT handle, accepts_email FROM users WHERE id = ?1");
        q.Bind(1, id);
        if (!q.Step() || q.Int(1) == 0)
            return {404,
                    Page("No messages",
                         Nav(f) + "<h1>Messages not possible</h1>\n<p>This playmaker does not take messages.</p>\n")};
        handle = q.Text(0);
    }
    if (method == "POST") {
        std::string from = f.Get("from"), message = f.Get("message");
        if (from.empty() || message.empty() || message.size() > 4000)
            return {400,
                    Page("Message",
                         Nav(f) + "<h1>Message not sent</h1>\n<p class=\"notice\">Please give your name and a message "
                                  "of at most 4000 characters.</p>\n")};
        db->Prepare("INSERT INTO outbox(kind, sender, recipient, subject_id, message, created) VALUES ('playmaker', "
                    "?1, ?2, ?3, ?4, ?5)")
            .Bind(1, from)
            .Bind(2, handle)
            .Bind(3, id)
            .Bind(4, message)
            .Bind(5, m_accounts.Now())
            .Run();
        return {200, Page("Message sent", Nav(f) + "<h1>Message sent</h1>\n<p>Your message to " + HtmlText(handle) +
                                              " is on its way.</p>\n")};
    }
    std::string body = Nav(f) + "<h1>Message to " + HtmlText(handle) +
                       "</h1>\n<form method=\"post\" action=\"EmailPlaymaker.jsp?playmaker=" + Number(id) +
                       "\">\n<label for=\"from\">Your name or e-mail</label><input id=\"from\" name=\"from\" "
                       "maxlength=\"100\" required>\n"
                       "<label for=\"message\">Message</label><textarea id=\"message\" name=\"message\" rows=\"6\" "
                       "maxlength=\"4000\" required></textarea>\n"
                       "<button type=\"submit\">Send</button>\n</form>\n";
    return {200, Page("Message to " + handle, body)};
}

WebAnswer CWebPages::EmailFriend(const std::string& method, const CFormFields& f)
{
    int64_t id = f.GetInt("playlist");
    const int64_t viewer = Viewer(f);
    auto db = m_db.Acquire();
    std::string name;
    {
        CQuery q = db->Prepare("SELECT name FROM playlists WHERE id = ?1 AND (is_public = 1 OR owner_id = ?2)");
        q.Bind(1, id).Bind(2, viewer);
        if (!q.Step())
            return {404, Page("Unknown playlist", Nav(f) + "<h1>Unknown playlist</h1>\n")};
        name = q.Text(0);
    }
    if (method == "POST") {
        std::string to = f.Get("to"), from = f.Get("from"), message = f.Get("message");
        if (to.find('@') == std::string::npos || to.size() > 100 || from.empty() || message.size() > 4000)
            return {400, Page("Tell a friend",
                              Nav(f) + "<h1>Not sent</h1>\n<p class=\"notice\">Please give your friend's e-mail "
                                       "address and your name.</p>\n")};
        db->Prepare("INSERT INTO outbox(kind, sender, recipient, subject_id, message, created) VALUES ('friend', ?1, "
                    "?2, ?3, ?4, ?5)")
            .Bind(1, from)
            .Bind(2, to)
            .Bind(3, id)
            .Bind(4, message)
            .Bind(5, m_accounts.Now())
            .Run();
        return {200, Page("Sent", Nav(f) + "<h1>Sent</h1>\n<p>We told " + HtmlText(to) + " about &ldquo;" +
                                      HtmlText(name) + "&rdquo;.</p>\n")};
    }
    std::string body =
        Nav(f) + "<h1>Tell a friend about &ldquo;" + HtmlText(name) +
        "&rdquo;</h1>\n<form method=\"post\" action=\"EmailFriend.jsp?playlist=" + Number(id) +
        "\">\n<label for=\"to\">Your friend's e-mail</label><input id=\"to\" name=\"to\" type=\"email\" "
        "maxlength=\"100\" required>\n"
        "<label for=\"from\">Your name</label><input id=\"from\" name=\"from\" maxlength=\"100\" required>\n"
        "<label for=\"message\">A few words</label><textarea id=\"message\" name=\"message\" rows=\"5\" "
        "maxlength=\"4000\"></textarea>\n"
        "<button type=\"submit\">Send</button>\n</form>\n";
    return {200, Page("Tell a friend", body)};
}

WebAnswer CWebPages::Home()
{
    auto db = m_db.Acquire();
    const std::string details = std::string("http://") + PagePaths::kDetailsHost;
    std::string body = "<h1>Corvanta</h1>\n<p>Playlists made by people who love music. Browse what the community made "
                       "lately, or <a href=\"" +
                       PagePaths::ServerPath(PagePaths::kUpdateProfile) +
                       "\">update your profile</a> and "
                       "<a href=\"" +
                       PagePaths::ServerPath(PagePaths::kStatistics) +
                       "\">see your statistics</a>.</p>\n<div class=\"columns\">\n";
    body += "<section><h2>Newest playlists</h2><ol>";
    {
        CQuery q =
            db->Prepare("SELECT pl.id, pl.name, u.id, u.handle FROM playlists pl JOIN users u ON u.id = pl.owner_id "
                        "WHERE pl.is_public = 1 ORDER BY pl.created DESC, pl.id DESC LIMIT 10");
        while (q.Step())
            body += "<li><a href=\"index.html?showplaylist=" + Number(q.Int(0)) + "\">" + HtmlText(q.Text(1)) +
                    "</a> <span class=\"muted\">by "
                    "<a href=\"index.html?showplaymaker=" +
                    Number(q.Int(2)) + "\">" + HtmlText(q.Text(3)) + "</a></span></li>";
    }
    body += "</ol></section>\n<section><h2>Top playmakers</h2><ol>";
    {
        CQuery q = db->Prepare("SELECT u.id, u.handle, (SELECT count(*) FROM playlists p WHERE p.owner_id = u.id AND "
                               "p.is_public = 1) AS lists, "
                               "(SELECT count(*) FROM bookmarks b WHERE b.kind = 4 AND b.item_id = u.id) AS fans "
                               "FROM users u ORDER BY fans * 3 + lists DESC, u.id LIMIT 10");
        while (q.Step())
            body += "<li><a href=\"index.html?showplaymaker=" + Number(q.Int(0)) + "\">" + HtmlText(q.Text(1)) +
                    "</a> <span class=\"muted\">" + Number(q.Int(2)) +
                    (q.Int(2) == 1 ? " playlist, " : " playlists, ") + Number(q.Int(3)) +
                    (q.Int(3) == 1 ? " fan" : " fans") + "</span></li>";
    }
    body += "</ol></section>\n<section><h2>Top tracks</h2><ol>";
    {
        // Scored in one pass over favorites and public playlists' tracks, not per
        // track; tracks nobody chose fill the list by number.
        CQuery q = db->Prepare(
            "WITH scored AS (SELECT pid, sum(w) AS score FROM ("
            "SELECT item_id AS pid, 3 AS w FROM bookmarks WHERE kind = 3 UNION ALL "
            "SELECT t.performance_id, 1 FROM playlist_tracks t JOIN playlists pl ON pl.id = t.playlist_id AND "
            "pl.is_public = 1"
            ") GROUP BY pid), "
            "chosen AS (SELECT * FROM (SELECT pid, score FROM scored ORDER BY score DESC, pid LIMIT 10) UNION ALL "
            "SELECT id, 0 FROM (SELECT id FROM performances WHERE id NOT IN (SELECT pid FROM scored) ORDER BY id LIMIT "
            "10)) "
            "SELECT p.id, p.title, a.id, a.name FROM chosen c JOIN performances p ON p.id = c.pid "
            "JOIN artists a ON a.id = p.artist_id ORDER BY c.score DESC, p.id LIMIT 10");
        while (q.Step())
            body += "<li><a href=\"" + details + "/recording/show?" + Number(q.Int(0)) + "\">" + HtmlText(q.Text(1)) +
                    "</a> <span class=\"muted\">by "
                    "<a href=\"" +
                    details + "/artist/show?" + Number(q.Int(2)) + "\">" + HtmlText(q.Text(3)) + "</a></span></li>";
    }
    body += "</ol></section>\n</div>\n<p class=\"muted\"><a href=\"" + PagePaths::ServerPath(PagePaths::kHelp) +
            "\">Help</a></p>\n";
    return {200, Page("Home", body)};
}

WebAnswer CWebPages::Help()
{
    std::string body =
        "<h1>Corvanta help</h1>\n<h2>Getting started</h2>\n<p>Log in with your login name and password, or sign up as "
        "a new "
        "member from the login window. The Home tab shows what the community made lately; the detail pane on the right "
        "shows "
        "whatever you pick.</p>\n<h2>Making a playlist</h2>\n<ol><li>Open the Create tab and press New.</li><li>Type "
        "an artist and "
        "a title in the empty row, or drop MP3 files on the list.</li><li>Each row is matched against the catalogue; "
        "rows that "
        "say &ldquo;click here&rdquo; offer suggestions or let you add a new track.</li><li>Press Publish.</li></ol>\n"
        "<h2>Favorites</h2>\n<p>Add playlists, tracks, artists and playmakers to your favorites from any list or "
        "detail page, and "
        "drag them into the order you like.</p>\n<h2>Searching</h2>\n<p>Search matches any part of a name, ignoring "
        "case. Results "
        "arrive fifty at a time as you scroll.</p>\n";
    return {200, Page("Help", body)};
}

WebAnswer CWebPages::AddBookmarkOutside()
{
    return {200, Page("Add to favorites",
                      "<h1>Add to favorites</h1>\n<p>Favorites are kept by the Corvanta program: open this "
                      "page from Corvanta's detail pane to add the item.</p>\n")};
}

int64_t CWebPages::Viewer(const CFormFields& f)
{
    if (!f.Has("UserToken"))
        return 0;
    auto member = m_accounts.Validate(f.Get("UserToken"));
    return member ? member->userId : 0;
}

WebAnswer CWebPages::UpdatedPlaymaker(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return {403, Page("Log in", "<h1>Please log in</h1>\n<p>Open this page from Corvanta after logging in.</p>\n")};
    CFormFields forward;
    forward.Set("playmaker", Number(member->userId));
    forward.Set("UserToken", f.Get("UserToken"));
    return Playmaker(forward);
}

WebAnswer CWebPages::UpdateProfile(const std::string& method, const CFormFields& f)
{
    std::string token = f.Get("UserToken");
    auto member = m_accounts.Validate(token);
    if (!member)
        return {403, Page("Log in",
                          "<h1>Please log in</h1>\n<p>Your profile can be edited from Corvanta once you are logged "
                          "in.</p>\n")};
    std::string xml = m_accounts.ProfileXml(member->userId);
    pugi::xml_document doc;
    doc.load_buffer(xml.data(), xml.size());
    pugi::xml_node user = FindObject(doc.document_element(), "com.velmar.orvane.data.User", nullptr);
    pugi::xml_node name = FindObject(user, "com.velmar.orvane.data.Name", nullptr);
    pugi::xml_node email = FindObject(user, "com.velmar.orvane.data.Email", nullptr);
    pugi::xml_node address = FindObject(user, "com.velmar.orvane.data.Address", nullptr);
    pugi::xml_node picture = FindObject(user, nullptr, "myPictureUrl");
    struct Field {
        const char* key;
        const char* label;
        pugi::xml_node node;
    };
    std::vector<Field> fields = {
        {"first", "First name", FindObject(name, nullptr, "myFirst")},
        {"middle", "Middle initial", FindObject(name, nullptr, "myMiddle")},
        {"last", "Last name", FindObject(name, nullptr, "myLast")},
        {"email", "E-mail", FindObject(email, nullptr, "myAddress")},
        {"city", "City", FindObject(address, nullptr, "city")},
        {"picture", "Picture address", FindObject(picture, nullptr, "myAddress")},
    };
    std::string notice;
    if (method == "POST") {
        for (const Field& field : fields)
            if (f.Has(field.key))
                SetObjectText(field.node, f.Get(field.key).substr(0, 200));
        std::ostringstream out;
        doc.save(out, "", pugi::format_raw);
        std::string error = m_accounts.UpdateProfile(member->userId, out.str());
        notice = error.empty()
                     ? "<p class=\"notice\">Your profile was saved. <a href=\"PreviewUpdatedPlaymaker.jsp?UserToken=" +
                           HtmlText(UrlText(token)) +
                           "\">See how others see it</a> or <a href=\"ShowUpdatedPlaymaker.jsp?UserToken=" +
                           HtmlText(UrlText(token)) + "\">go back home</a>.</p>\n"
                     : "<p class=\"notice\">Not saved: " + HtmlText(error) + "</p>\n";
    }
    std::string body = Nav(f) + "<h1>Your profile</h1>\n" + notice +
                       "<form method=\"post\" action=\"UpdateProfile.jsp?UserToken=" + HtmlText(UrlText(token)) +
                       "&amp;App=Tessarin\">\n";
    for (const Field& field : fields)
        body += std::string("<label for=\"") + field.key + "\">" + field.label + "</label><input id=\"" + field.key +
                "\" name=\"" + field.key + "\" maxlength=\"200\" value=\"" + HtmlText(ObjectText(field.node)) + "\">\n";
    body += "<button type=\"submit\">Save</button>\n</form>\n";
    return {200, Page("Your profile", body)};
}

WebAnswer CWebPages::Statistics(const CFormFields& f)
{
    auto member = m_accounts.Validate(f.Get("UserToken"));
    if (!member)
        return {
            403,
            Page("Log in",
                 "<h1>Please log in</h1>\n<p>Your statistics are shown from Corvanta once you are logged in.</p>\n")};
    auto db = m_db.Acquire();
    CQuery totals = db->Prepare(
        "SELECT (SELECT count(*) FROM playlists WHERE owner_id = ?1), "
        "(SELECT ifnull(sum(times_listened), 0) FROM playlists WHERE owner_id = ?1), "
        "(SELECT count(*) FROM bookmarks b JOIN playlists p ON b.kind = 2 AND b.item_id = p.id WHERE p.owner_id = ?1), "
        "(SELECT count(*) FROM bookmarks WHERE kind = 4 AND item_id = ?1), "
        "(SELECT count(*) FROM bookmarks WHERE user_id = ?1)");
    totals.Bind(1, member->userId);
    totals.Step();
    std::string body = Nav(f) + "<h1>Statistics for " + HtmlText(member->handle) + "</h1>\n<dl>";
    body += "<dt>Playlists</dt><dd>" + Number(totals.Int(0)) + "</dd><dt>Listens</dt><dd>" + Number(totals.Int(1)) +
            "</dd>";
    body += "<dt>Your playlists in favorites</dt><dd>" + Number(totals.Int(2)) +
            "</dd><dt>Playmakers who follow you</dt><dd>" + Number(totals.Int(3)) + "</dd><dt>Your favorites</dt><dd>" +
            Number(totals.Int(4)) + "</dd></dl>\n";
    body += "<h2>Your playlists</h2>\n<table><tr><th>Playlist</th><th>Listens</th><th>Favorite of</th></tr>";
    CQuery lists =
        db->Prepare("SELECT p.id, p.name, p.times_listened, (SELECT count(*) FROM bookmarks b WHERE b.kind = 2 AND "
                    "b.item_id = p.id) FROM playlists p WHERE p.owner_id = ?1 ORDER BY p.times_listened DESC, p.id");
    lists.Bind(1, member->userId);
    while (lists.Step())
        body += "<tr><td>" + HtmlText(lists.Text(1)) + "</td><td>" + Number(lists.Int(2)) + "</td><td>" +
                Number(lists.Int(3)) + "</td></tr>";
    body += "</table>\n";
    return {200, Page("Statistics", body)};
}

}  // namespace corvanta::server
