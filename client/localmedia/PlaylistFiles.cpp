#include "client/localmedia/PlaylistFiles.h"

#include "client/localmedia/PlaylistRows.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::string text;
    char buffer[16384];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return text;
}

// The file is written whole or reported as not written.
bool WriteWholeFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

// Lines end with "\n"; a trailing line end starts no line, and a carriage
// return before the line end is dropped.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

void AddLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.push_back('\n');
}

}  // namespace

std::vector<std::string> ParseM3U(std::string_view text, std::string_view playlistPath)
{
    // Without any "/" the playlist lies in the current folder and relative
    // entries stay relative; "/list.m3u" has the root as its folder.
    const auto slash = playlistPath.rfind('/');
    const bool hasFolder = slash != std::string_view::npos;
    const std::string_view folder = hasFolder ? playlistPath.substr(0, slash) : std::string_view();

    std::vector<std::string> entries;
    for (std::string_view line : SplitLines(text)) {
        if (line == "#EXTM3U" || line.starts_with("#EXTINF:"))
            continue;
        if (line.starts_with('/') || line.find(':') != std::string_view::npos) {
            entries.emplace_back(line);
            continue;
        }
        std::string relative(line);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        entries.push_back(hasFolder ? std::string(folder) + "/" + relative : relative);
    }
    return entries;
}

std::optional<std::vector<std::string>> ReadM3U(const std::string& path)
{
    const auto text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    return ParseM3U(*text, path);
}

std::vector<std::string> ParsePLS(std::string_view text)
{
    const auto lines = SplitLines(text);
    if (lines.empty())
        return {};
    std::string first(lines.front());
    std::transform(first.begin(), first.end(), first.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (first != "[PLAYLIST]")
        return {};

    std::vector<std::string> entries;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // The number after "File" is not used: entries keep the file's order.
        if (!line.starts_with("File"))
            continue;
        const auto equals = line.find('=');
        entries.emplace_back(equals == std::string_view::npos ? line : line.substr(equals + 1));
    }
    return entries;
}

std::optional<std::vector<std::string>> ReadPLS(const std::string& path)
{
    const auto text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    return ParsePLS(*text);
}

int WriteM3U(const std::string& path, const IPlaylistRows& rows)
{
    std::string out;
    int written = 0;
    for (int row = 0; row < rows.GetTrackCount(); ++row) {
        const std::string file = rows.GetLocalFilePath(row);
        if (file.empty())
            continue;
        AddLine(out, file);
        ++written;
    }
    return WriteWholeFile(path, out) ? written : 0;
}

int WritePLS(const std::string& path, const IPlaylistRows& rows)
{
    std::string out;
    AddLine(out, "[playlist]");
    int written = 0;
    for (int row = 0; row < rows.GetTrackCount(); ++row) {
        const std::string file = rows.GetLocalFilePath(row);
        if (file.empty())
            continue;
        // A row not yet matched has no file in the library; its own file is
        // the one it stands for, so an entry is never left empty.
        std::string entry = rows.GetLibraryPath(row);
        if (entry.empty())
            entry = file;
        ++written;
        AddLine(out, "File" + std::to_string(written) + "=" + entry);
    }
    AddLine(out, "NumberOfEntries=" + std::to_string(written));
    return WriteWholeFile(path, out) ? written : 0;
}

int WriteTextListing(const std::string& path, const PlaylistListingHeader& header, const IPlaylistRows& rows)
{
    std::string out;
    AddLine(out, WithLineFeeds(header.title) + " by " + WithLineFeeds(header.playmaker));
    AddLine(out, "");
    if (!header.description.empty()) {
        AddLine(out, WithLineFeeds(header.description));
        AddLine(out, "");
    }
    AddLine(out, "");
    int listed = 0;
    // Tracks keep their place in the playlist as their number, so numbers
    // skip the rows that are no catalogue performance.
    for (int row = 0; row < rows.GetTrackCount(); ++row) {
        if (rows.GetPerformanceID(row) == 0)
            continue;
        AddLine(out, "Track " + std::to_string(row + 1) + ": " + rows.GetArtist(row) + " / " + rows.GetTitle(row));
        AddLine(out, "");
        const std::string comment = rows.GetComment(row);
        if (!comment.empty()) {
            AddLine(out, WithLineFeeds(comment));
            AddLine(out, "");
        }
        AddLine(out, "");
        ++listed;
    }
    return WriteWholeFile(path, out) ? listed : 0;
}
