#pragma once
// Where the community's web pages live, for the client and for the server: the
// pages the client's browsers show and the member's own pages, and the details
// host whose links the home pane opens in its detail viewer. Constants only;
// client and server both stand on this folder and on nothing of each other.
#include <string>
#include <string_view>

namespace PagePaths {

// Everything the server answers lies below this path; a client's base URL
// ("http://host:port/corvanta/production/") ends with it.
inline constexpr char kProduction[] = "/corvanta/production/";

// Below the production folder, as they follow a base URL.
inline constexpr char kXmlPages[] = "orvane/";  // the XML pages: kXmlPages + "UserLogin.jsp"
inline constexpr char kWebPages[] = "tessarin/";
inline constexpr char kDetails[] = "tessarin/details/";  // the detail pages below
inline constexpr char kHome[] = "tessarin/home/index.html";
inline constexpr char kHelp[] = "tessarin/help/version1.1/helpindex.htm";
inline constexpr char kStyleSheet[] = "tessarin/style.css";
inline constexpr char kPreviews[] = "tessarin/preview/";  // then the track number and ".wav"
inline constexpr char kUpdateProfile[] = "orvane/UpdateProfile.jsp";
inline constexpr char kStatistics[] = "orvane/ViewStatistics.jsp";
inline constexpr char kAddBookmark[] = "orvane/bookmark/AddBookmark.jsp";
inline constexpr char kShowUpdatedPlaymaker[] = "orvane/ShowUpdatedPlaymaker.jsp";
inline constexpr char kPreviewUpdatedPlaymaker[] = "orvane/PreviewUpdatedPlaymaker.jsp";

// The detail pages, in kDetails.
inline constexpr char kNoDetails[] = "NoDetails.htm";
inline constexpr char kPerformanceDetail[] = "ShowPerformanceDetail.jsp";
inline constexpr char kArtistDetail[] = "ShowArtistDetail.jsp";
inline constexpr char kPlaymakerDetail[] = "ShowPlaymakerDetail.jsp";
inline constexpr char kPlaylistDetail[] = "ShowPlaylistDetail.jsp";
inline constexpr char kEmailPlaymaker[] = "EmailPlaymaker.jsp";
inline constexpr char kEmailFriend[] = "EmailFriend.jsp";

// The host name of the home page's item links ("http://<host>/artist/show?15").
// The home pane opens links to it in its detail viewer; no server answers to it.
inline constexpr char kDetailsHost[] = "details.corvanta.local";

// The path the server answers a page at: kProduction, then page.
inline std::string ServerPath(std::string_view page)
{
    return std::string(kProduction).append(page);
}

}  // namespace PagePaths
