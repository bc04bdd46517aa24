#pragma once
// Summary elements as the server writes them, for the answers a test's
// loopback server gives.
#include <string>

namespace summary_xml {

inline std::string Playlist(int id, const char* name, int owner, const char* handle, int mail, int bookmark)
{
    return "<PlaylistSummary playlistID='" + std::to_string(id) + "'><Name>" + name +
           "</Name><Playmaker playmakerID='" + std::to_string(owner) + "'><PlaymakerName>" + handle +
           "</PlaymakerName><AcceptsEMail>" + std::to_string(mail) + "</AcceptsEMail></Playmaker><BookmarkID>" +
           std::to_string(bookmark) + "</BookmarkID></PlaylistSummary>";
}
inline std::string Playmaker(int id, const char* handle, int mail, int bookmark)
{
    return "<UserSummary userID='" + std::to_string(id) + "'><Handle>" + handle + "</Handle><AcceptsEMail>" +
           std::to_string(mail) + "</AcceptsEMail><BookmarkID>" + std::to_string(bookmark) +
           "</BookmarkID></UserSummary>";
}
inline std::string Artist(int id, const char* name, int bookmark)
{
    return "<ArtistSummary artistID='" + std::to_string(id) + "'><Name>" + name + "</Name><BookmarkID>" +
           std::to_string(bookmark) + "</BookmarkID></ArtistSummary>";
}
// PreviewAvailability 0 means a preview exists; no element, none.
inline std::string Track(int id, const char* artist, const char* song, bool preview, int bookmark)
{
    return "<PerformanceSummary performanceID='" + std::to_string(id) +
           "'><PrimaryArtist primaryArtistID='7'><ArtistName>" + artist + "</ArtistName></PrimaryArtist><SongName>" +
           song + "</SongName>" + (preview ? "<PreviewAvailability>0</PreviewAvailability>" : "") + "<BookmarkID>" +
           std::to_string(bookmark) + "</BookmarkID></PerformanceSummary>";
}

}  // namespace summary_xml
