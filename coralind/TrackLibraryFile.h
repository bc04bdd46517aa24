#pragma once
// The track library file: one "%d,%s\n" line per change ("%d,\n" removes),
// opened and closed around each use. Compaction replaces it through
// ReplaceFileDurably (platform/DurableFile.h), so a crash or a full disk never
// loses it.
#include <cstdint>
#include <string>
#include <string_view>

class CTrackMap;

/// The steps a test can make fail (or stop the process at) through the seam;
/// compaction's own steps fail through SetFileReplaceFaultHook.
enum class LibraryFileStep { Open, Read, Append };
/// Returns true to make `step` fail as the system call would. nullptr: no faults.
using LibraryFileFaultHook = bool (*)(LibraryFileStep step);
void SetLibraryFileFaultHook(LibraryFileFaultHook hook);

/// The track number of a line, read as atoi reads it (blanks, sign, digits;
/// no digits gives 0), held within the 32-bit range.
std::int32_t ParseTrackNumber(std::string_view text);
/// Applies the lines of `text` in order: "n,path" sets, "n," removes; a
/// line without a comma is track 0 with the whole line as its path.
void ApplyLibraryText(std::string_view text, CTrackMap& map);

class CTrackLibraryFile {
public:
    explicit CTrackLibraryFile(std::string path) : m_path(std::move(path)) {}

    /// Opens the file for reading and writing (created when missing, never
    /// truncated) and applies its lines to `map`; false on a file error.
    bool Read(CTrackMap& map);
    /// Replaces the file with one line per track of `map` in its order. On
    /// failure the old file stays as it was; false then.
    bool Compact(const CTrackMap& map);
    /// Appends one entry or removal line; on failure the file is left as it was.
    bool AppendEntry(std::int32_t id, std::string_view path);
    bool AppendRemoval(std::int32_t id) { return AppendEntry(id, {}); }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
