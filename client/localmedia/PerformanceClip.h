#pragma once
// The clipboard record of one performance: a zero-filled block of 788 bytes,
// integers as 32-bit little-endian values, each text in a 256-byte field that
// holds at most 255 bytes followed by zero bytes.
#include "client/catalogue/PerformanceSummary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kPerformanceClipSize = 788;
constexpr std::size_t kPerformanceClipTextMax = 255;
/// The clipboard format the record travels under.
inline constexpr char kPerformanceClipFormat[] = "CorvantaPerformance";

/// Builds the block; texts longer than 255 bytes are cut at the last whole
/// UTF-8 character that fits.
std::array<std::uint8_t, kPerformanceClipSize> EncodePerformanceClip(const PerformanceSummary& performance);

/// Fills a new record from a block; the fields the block does not carry stay
/// empty or 0. nullopt when the block is shorter than 788 bytes; bytes after
/// the first 788 are ignored, and a text field without a zero byte is cut at
/// 255 bytes.
std::optional<PerformanceSummary> DecodePerformanceClip(std::span<const std::uint8_t> block);

/// The clipboard as the local media code needs it; the user interface
/// implements it over the system clipboard.
class IClipboardStore {
public:
    virtual ~IClipboardStore() = default;
    /// Replaces the clipboard's content with one block under the format and,
    /// when text is not empty, the same content as plain text for other programs.
    virtual bool SetData(std::string_view format, std::vector<std::uint8_t> data, std::string_view text) = 0;
    /// The block under the format; nullopt when the clipboard offers none.
    virtual std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) const = 0;
};

/// The record, with "Artist - Title" as its plain-text form.
bool CopyPerformanceToClipboard(IClipboardStore& clipboard, const PerformanceSummary& performance);
/// "ArtistName - SongName".
std::string PerformanceClipText(const PerformanceSummary& performance);
/// nullopt when the clipboard holds no (or no whole) performance record.
std::optional<PerformanceSummary> ReadPerformanceFromClipboard(const IClipboardStore& clipboard);
