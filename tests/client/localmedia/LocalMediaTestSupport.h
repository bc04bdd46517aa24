#pragma once
// Shared pieces of the local media tests: a temporary folder, file helpers
// and a playlist row list held in memory.
#include "client/localmedia/PlaylistRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class CTempFolder {
public:
    CTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-media-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
    }
    ~CTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path(const std::string& name = std::string()) const
    {
        return name.empty() ? m_path.string() : (m_path / name).string();
    }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A 128-byte ID3v1 block with title and artist; fields zero-padded.
inline std::string Id3Block(const std::string& title, const std::string& artist)
{
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    block.replace(3, title.size(), title);
    block.replace(33, artist.size(), artist);
    return block;
}

struct FakeRow {
    std::string title;
    std::string artist;
    std::int32_t performanceID = 0;
    std::string comment;
    std::string localFile;
    std::string libraryPath;

    bool operator==(const FakeRow&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const FakeRow& row)
{
    return out << "{" << row.title << " | " << row.artist << " | " << row.performanceID << " | " << row.comment << " | "
               << row.localFile << " | " << row.libraryPath << "}";
}

class CFakePlaylistRows : public IPlaylistRows {
public:
    std::vector<FakeRow> rows;

    int GetTrackCount() const override { return static_cast<int>(rows.size()); }
    std::string GetTitle(int row) const override { return rows.at(static_cast<std::size_t>(row)).title; }
    std::string GetArtist(int row) const override { return rows.at(static_cast<std::size_t>(row)).artist; }
    std::int32_t GetPerformanceID(int row) const override
    {
        return rows.at(static_cast<std::size_t>(row)).performanceID;
    }
    std::string GetComment(int row) const override { return rows.at(static_cast<std::size_t>(row)).comment; }
    std::string GetLocalFilePath(int row) const override { return rows.at(static_cast<std::size_t>(row)).localFile; }
    std::string GetLibraryPath(int row) const override { return rows.at(static_cast<std::size_t>(row)).libraryPath; }
    void AddTrackRow(const std::string& title, const std::string& artist, const std::string& filePath) override
    {
        rows.push_back(FakeRow{title, artist, 0, std::string(), filePath, std::string()});
    }
};
