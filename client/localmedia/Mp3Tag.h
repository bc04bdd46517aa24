#pragma once
// The ID3 version 1 tag at the end of an MP3 file, and the title and artist
// an MP3 file brings into a playlist.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

constexpr std::size_t kMp3TagSize = 128;

/// The tag's texts and bytes; all empty or 0 when the file has no tag.
struct Mp3Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    std::uint8_t track = 0;
    std::uint8_t genre = 0;
};

/// Why a file could not be used; the text names the file and is shown as it is.
struct FileError {
    std::string path;
    std::string text;
};

/// Reads the tag held in the last 128 bytes of a file; an empty tag when the
/// block does not begin with "TAG".
Mp3Tag ParseMp3Tag(std::span<const std::uint8_t, kMp3TagSize> block);

/// Reads the tag of a file. A file that cannot be opened or read, or is
/// shorter than 128 bytes, gives nullopt and fills error when given.
std::optional<Mp3Tag> ReadMp3Tag(const std::string& path, FileError* error = nullptr);

/// The file name without its folder and without the text from its last "." on.
std::string TitleFromFileName(const std::string& path);

struct Mp3TrackText {
    std::string title;
    std::string artist;
};

/// The title and artist a dropped or imported MP3 file gets: the tag's, or,
/// when both are empty, the file name as title and an empty artist.
std::optional<Mp3TrackText> ReadMp3TrackText(const std::string& path, FileError* error = nullptr);
