#pragma once
// M3U and PLS playlists (read and written) and the plain-text listing
// (written). Lines are written with "\n"; on reading, a carriage return that
// ends a line is dropped, so files written on Windows read the same.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IPlaylistRows;

/// The entries of an M3U playlist in file order. "#EXTM3U" lines and lines
/// beginning with "#EXTINF:" are skipped. An entry beginning with "/" or
/// holding ":" (a drive letter or a URL) is kept as it is; any other is
/// relative to the playlist's folder, with "\" taken as a folder separator.
std::vector<std::string> ParseM3U(std::string_view text, std::string_view playlistPath);
/// nullopt when the file cannot be read.
std::optional<std::vector<std::string>> ReadM3U(const std::string& path);

/// The "File" values of a PLS playlist in file order; none unless the first
/// line is "[playlist]" in any letter case. Paths are kept as they are.
std::vector<std::string> ParsePLS(std::string_view text);
std::optional<std::vector<std::string>> ReadPLS(const std::string& path);

/// Each writer creates or truncates its file and returns the number of file
/// entries written; 0 when the file cannot be written.

/// One line per track that has a local file.
int WriteM3U(const std::string& path, const IPlaylistRows& rows);
/// "[playlist]", "File<n>=" for each track that has a local file, then
/// "NumberOfEntries=<n>".
int WritePLS(const std::string& path, const IPlaylistRows& rows);

struct PlaylistListingHeader {
    std::string title;
    std::string playmaker;
    std::string description;
};
/// A readable listing of the playlist's catalogue tracks; returns the number
/// of tracks listed.
int WriteTextListing(const std::string& path, const PlaylistListingHeader& header, const IPlaylistRows& rows);
