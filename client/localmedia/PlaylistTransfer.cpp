#include "client/localmedia/PlaylistTransfer.h"

#include "client/localmedia/PlaylistRows.h"

#include <algorithm>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::optional<std::string> FileExtension(const std::string& path)
{
    const auto slash = path.rfind('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return std::nullopt;
    return path.substr(dot + 1);
}

bool AddMp3FileRow(IPlaylistRows& rows, const std::string& path, FileError* error)
{
    const auto text = ReadMp3TrackText(path, error);
    if (!text)
        return false;
    rows.AddTrackRow(text->title, text->artist, path);
    return true;
}

ImportResult ImportPlaylistFile(IPlaylistRows& rows, const std::string& path)
{
    ImportResult result;
    const std::string extension = Lower(FileExtension(path).value_or(std::string()));
    std::optional<std::vector<std::string>> entries;
    if (extension == "m3u")
        entries = ReadM3U(path);
    else if (extension == "pls")
        entries = ReadPLS(path);
    else if (extension == "mp3")
        entries = std::vector<std::string>{path};
    if (!entries)
        return result;

    for (const std::string& entry : *entries) {
        FileError error;
        if (!AddMp3FileRow(rows, entry, &error)) {
            result.error = std::move(error);
            break;
        }
        ++result.added;
    }
    return result;
}

PlaylistFileKind ExportKindForFilter(int filterIndex)
{
    switch (filterIndex) {
    case 1: return PlaylistFileKind::M3U;
    case 2: return PlaylistFileKind::PLS;
    default: return PlaylistFileKind::TextListing;
    }
}

ExportResult ExportPlaylistFile(const std::string& chosenPath, PlaylistFileKind kind, const IPlaylistRows& rows,
                                const PlaylistListingHeader& header)
{
    ExportResult result{chosenPath, 0};
    if (!FileExtension(chosenPath)) {
        switch (kind) {
        case PlaylistFileKind::M3U: result.path += ".m3u"; break;
        case PlaylistFileKind::PLS: result.path += ".pls"; break;
        case PlaylistFileKind::TextListing: result.path += ".txt"; break;
        }
    }
    switch (kind) {
    case PlaylistFileKind::M3U: result.written = WriteM3U(result.path, rows); break;
    case PlaylistFileKind::PLS: result.written = WritePLS(result.path, rows); break;
    case PlaylistFileKind::TextListing: result.written = WriteTextListing(result.path, header, rows); break;
    }
    return result;
}
