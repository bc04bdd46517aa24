#pragma once
// Where the community's pages live, for the server and for the client: the XML
// pages the client posts to, the web pages its browsers show, and the details
// host whose links the home pane opens in its detail viewer. Constants only, so
// the client may include this header without linking anything of the server.

namespace corvanta::server {

// Everything the server answers lies below this path.
inline constexpr const char* kProductionPath = "/corvanta/production/";
// The XML pages ("UserLogin.jsp", "bookmark/AddBookmark.jsp", ...) and the
// member's own web pages (UpdateProfile.jsp, ViewStatistics.jsp).
inline constexpr const char* kXmlPagesPath = "/corvanta/production/orvane/";
// The web pages: details/, home/, help/, the style sheet and the previews.
inline constexpr const char* kWebPagesPath = "/corvanta/production/tessarin/";
inline constexpr const char* kDetailsPagesPath = "/corvanta/production/tessarin/details/";
inline constexpr const char* kHomePagePath = "/corvanta/production/tessarin/home/index.html";
inline constexpr const char* kHelpPagePath = "/corvanta/production/tessarin/help/version1.1/helpindex.htm";
inline constexpr const char* kStyleSheetPath = "/corvanta/production/tessarin/style.css";
// Track previews: this path, the performance number, ".wav".
inline constexpr const char* kPreviewPath = "/corvanta/production/tessarin/preview/";
inline constexpr const char* kUpdateProfilePath = "/corvanta/production/orvane/UpdateProfile.jsp";
inline constexpr const char* kStatisticsPath = "/corvanta/production/orvane/ViewStatistics.jsp";
inline constexpr const char* kAddBookmarkPath = "/corvanta/production/orvane/bookmark/AddBookmark.jsp";

// The host name of the home page's detail links ("http://<host>/artist/show?15").
// The client's home pane compares link hosts with this same name and opens such
// links in its detail viewer; no real server answers to it.
inline constexpr const char* kDetailsHost = "details.corvanta.local";

} // namespace corvanta::server
