#include "client/localmedia/PerformanceClip.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kTextField = kPerformanceClipTextMax + 1;

constexpr std::size_t kPerformanceIdAt = 0;
constexpr std::size_t kSongNameAt = 4;
constexpr std::size_t kFirstNumberAt = 260;
constexpr std::size_t kPrimaryArtistIdAt = 264;
constexpr std::size_t kArtistNameAt = 268;
constexpr std::size_t kSourceIdAt = 524;
constexpr std::size_t kPreviewAt = 528;
constexpr std::size_t kVersionAt = 532;
static_assert(kVersionAt + kTextField == kPerformanceClipSize);

using Block = std::array<std::uint8_t, kPerformanceClipSize>;

void PutInt(Block& block, std::size_t at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        block[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void PutText(Block& block, std::size_t at, const std::string& text)
{
    std::size_t length = std::min(text.size(), kPerformanceClipTextMax);
    // Never leave half a character behind.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(block.data() + at, text.data(), length);
}

std::int32_t GetInt(std::span<const std::uint8_t> block, std::size_t at)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(block[at + i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

std::string GetText(std::span<const std::uint8_t> block, std::size_t at)
{
    const auto field = block.subspan(at, kPerformanceClipTextMax);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

}  // namespace

std::array<std::uint8_t, kPerformanceClipSize> EncodePerformanceClip(const PerformanceSummary& performance)
{
    Block block{};
    PutInt(block, kPerformanceIdAt, performance.performanceID);
    PutText(block, kSongNameAt, performance.SongName);
    PutInt(block, kFirstNumberAt, performance.clientNumber);
    PutInt(block, kPrimaryArtistIdAt, performance.primaryArtistID);
    PutText(block, kArtistNameAt, performance.ArtistName);
    PutInt(block, kSourceIdAt, performance.PerformanceSourceID);
    PutInt(block, kPreviewAt, performance.previewAvailable);
    PutText(block, kVersionAt, performance.Version);
    return block;
}

std::optional<PerformanceSummary> DecodePerformanceClip(std::span<const std::uint8_t> block)
{
    if (block.size() < kPerformanceClipSize)
        return std::nullopt;
    PerformanceSummary record;
    record.performanceID = GetInt(block, kPerformanceIdAt);
    record.SongName = GetText(block, kSongNameAt);
    record.clientNumber = GetInt(block, kFirstNumberAt);
    record.primaryArtistID = GetInt(block, kPrimaryArtistIdAt);
    record.ArtistName = GetText(block, kArtistNameAt);
    record.PerformanceSourceID = GetInt(block, kSourceIdAt);
    record.previewAvailable = GetInt(block, kPreviewAt);
    record.Version = GetText(block, kVersionAt);
    return record;
}

bool CopyPerformanceToClipboard(IClipboardStore& clipboard, const PerformanceSummary& performance)
{
    const auto block = EncodePerformanceClip(performance);
    return clipboard.SetData(kPerformanceClipFormat, std::vector<std::uint8_t>(block.begin(), block.end()),
                             PerformanceClipText(performance));
}

std::string PerformanceClipText(const PerformanceSummary& performance)
{
    return performance.ArtistName + " - " + performance.SongName;
}

std::optional<PerformanceSummary> ReadPerformanceFromClipboard(const IClipboardStore& clipboard)
{
    const auto data = clipboard.GetData(kPerformanceClipFormat);
    if (!data)
        return std::nullopt;
    return DecodePerformanceClip(*data);
}
