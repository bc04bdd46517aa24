#pragma once
// Import of playlist and MP3 files into a playlist's rows, and export of the
// rows to a playlist file.
#include "client/localmedia/Mp3Tag.h"
#include "client/localmedia/PlaylistFiles.h"

#include <optional>
#include <string>

class IPlaylistRows;

enum class PlaylistFileKind { M3U, PLS, TextListing };

/// The text after the last "." of the file name (not of its folders); nullopt
/// when the name has no ".".
std::optional<std::string> FileExtension(const std::string& path);

/// Adds one MP3 file as a track row, titled as ReadMp3TrackText says. False,
/// with error filled, when the file cannot be read; nothing is added then.
bool AddMp3FileRow(IPlaylistRows& rows, const std::string& path, FileError* error = nullptr);

struct ImportResult {
    int added = 0;
    /// Set when a listed MP3 file could not be read; the import stopped
    /// there and the rows added before it stay.
    std::optional<FileError> error;
};

/// Chooses by the extension, ignoring case: "m3u" and "pls" add each listed
/// file, "mp3" adds that file, anything else adds nothing. A playlist file
/// that cannot be read adds nothing and reports nothing.
ImportResult ImportPlaylistFile(IPlaylistRows& rows, const std::string& path);

/// The kind of the export dialog's filter, counted from 1: M3U, PLS, then
/// the text listing for any other.
PlaylistFileKind ExportKindForFilter(int filterIndex);

struct ExportResult {
    std::string path;  ///< the file written
    int written = 0;   ///< the writer's count
};

/// Writes the rows in the chosen kind, whatever the extension typed; a path
/// without an extension gets the kind's own.
ExportResult ExportPlaylistFile(const std::string& chosenPath, PlaylistFileKind kind, const IPlaylistRows& rows,
                                const PlaylistListingHeader& header);
