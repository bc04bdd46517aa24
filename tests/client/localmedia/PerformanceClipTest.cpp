#include "client/localmedia/PerformanceClip.h"

#include <gtest/gtest.h>

#include <map>

namespace {

PerformanceSummary SampleRecord()
{
    PerformanceSummary record;
    record.performanceID = 0x01020304;
    record.SongName = "Blue in Green";
    record.clientNumber = -2;
    record.primaryArtistID = 77;
    record.ArtistName = "Miles Davis";
    record.PerformanceSourceID = 5;
    record.previewAvailable = 1;
    record.Version = "Remastered";
    return record;
}

std::int32_t IntAt(const std::array<std::uint8_t, kPerformanceClipSize>& block, std::size_t at)
{
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(block[at]) | static_cast<std::uint32_t>(block[at + 1]) << 8 |
        static_cast<std::uint32_t>(block[at + 2]) << 16 | static_cast<std::uint32_t>(block[at + 3]) << 24);
}

std::string TextAt(const std::array<std::uint8_t, kPerformanceClipSize>& block, std::size_t at)
{
    return std::string(reinterpret_cast<const char*>(block.data() + at));
}

TEST(PerformanceClip, LayoutOfTheBlock)
{
    const auto block = EncodePerformanceClip(SampleRecord());
    EXPECT_EQ(block[0], 0x04);
    EXPECT_EQ(block[3], 0x01);
    EXPECT_EQ(IntAt(block, 0), 0x01020304);
    EXPECT_EQ(TextAt(block, 4), "Blue in Green");
    EXPECT_EQ(IntAt(block, 260), -2);
    EXPECT_EQ(IntAt(block, 264), 77);
    EXPECT_EQ(TextAt(block, 268), "Miles Davis");
    EXPECT_EQ(IntAt(block, 524), 5);
    EXPECT_EQ(IntAt(block, 528), 1);
    EXPECT_EQ(TextAt(block, 532), "Remastered");
    // Zero-filled past every text.
    for (std::size_t i = 4 + 13; i < 260; ++i)
        ASSERT_EQ(block[i], 0) << i;
    for (std::size_t i = 532 + 10; i < kPerformanceClipSize; ++i)
        ASSERT_EQ(block[i], 0) << i;
}

TEST(PerformanceClip, RoundTripCarriesOnlyTheBlockFields)
{
    PerformanceSummary record = SampleRecord();
    record.Comment = "not carried";
    record.localFilePath = "/music/x.mp3";
    record.Ranking = 9;
    record.BookmarkID = 12;
    record.playAvailable = 1;
    const auto block = EncodePerformanceClip(record);
    const auto pasted = DecodePerformanceClip(block);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->performanceID, record.performanceID);
    EXPECT_EQ(pasted->SongName, record.SongName);
    EXPECT_EQ(pasted->clientNumber, record.clientNumber);
    EXPECT_EQ(pasted->primaryArtistID, record.primaryArtistID);
    EXPECT_EQ(pasted->ArtistName, record.ArtistName);
    EXPECT_EQ(pasted->PerformanceSourceID, record.PerformanceSourceID);
    EXPECT_EQ(pasted->previewAvailable, record.previewAvailable);
    EXPECT_EQ(pasted->Version, record.Version);
    EXPECT_TRUE(pasted->Comment.empty());
    EXPECT_TRUE(pasted->localFilePath.empty());
    EXPECT_EQ(pasted->Ranking, 0);
    EXPECT_EQ(pasted->BookmarkID, 0);
    EXPECT_EQ(pasted->playAvailable, 0);
}

TEST(PerformanceClip, TextLimits)
{
    const std::string accented = "\xC3\xA9";  // one character, two bytes
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"300 characters", std::string(300, 's'), std::string(255, 's')},
        {"exactly 255", std::string(255, 's'), std::string(255, 's')},
        {"character across the limit", std::string(254, 's') + accented, std::string(254, 's')},
        {"character ending at the limit", std::string(253, 's') + accented + "t", std::string(253, 's') + accented},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PerformanceSummary record = SampleRecord();
        record.SongName = c.text;
        record.ArtistName = c.text;
        record.Version = c.text;
        const auto block = EncodePerformanceClip(record);
        EXPECT_EQ(block[4 + 255], 0);
        EXPECT_EQ(IntAt(block, 260), -2);
        const auto pasted = DecodePerformanceClip(block);
        ASSERT_TRUE(pasted);
        EXPECT_EQ(pasted->SongName, c.expected);
        EXPECT_EQ(pasted->ArtistName, c.expected);
        EXPECT_EQ(pasted->Version, c.expected);
    }
}

TEST(PerformanceClip, DecodingNeverReadsPastTheBlock)
{
    const auto block = EncodePerformanceClip(SampleRecord());
    std::vector<std::uint8_t> bytes(block.begin(), block.end());

    EXPECT_FALSE(DecodePerformanceClip({}));
    EXPECT_FALSE(DecodePerformanceClip(std::span(bytes).first(kPerformanceClipSize - 1)));

    // A system clipboard may hand over a larger block; the rest is ignored.
    bytes.resize(1000, 0xEE);
    ASSERT_TRUE(DecodePerformanceClip(bytes));
    EXPECT_EQ(DecodePerformanceClip(bytes)->Version, "Remastered");

    // Text fields with no zero byte end at 255 bytes, before the next field.
    std::vector<std::uint8_t> unterminated(kPerformanceClipSize, 'x');
    const auto pasted = DecodePerformanceClip(unterminated);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->SongName, std::string(255, 'x'));
    EXPECT_EQ(pasted->ArtistName, std::string(255, 'x'));
    EXPECT_EQ(pasted->Version, std::string(255, 'x'));
    EXPECT_EQ(pasted->primaryArtistID, 0x78787878);
}

class CMemoryClipboard : public IClipboardStore {
public:
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> formats;
    std::string text;

    bool SetData(std::string_view format, std::vector<std::uint8_t> data, std::string_view plainText) override
    {
        formats.clear();
        formats[std::string(format)] = std::move(data);
        text = plainText;
        return true;
    }
    std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) const override
    {
        const auto found = formats.find(format);
        if (found == formats.end())
            return std::nullopt;
        return found->second;
    }
};

TEST(PerformanceClip, ThroughTheClipboard)
{
    CMemoryClipboard clipboard;
    EXPECT_FALSE(ReadPerformanceFromClipboard(clipboard));

    ASSERT_TRUE(CopyPerformanceToClipboard(clipboard, SampleRecord()));
    ASSERT_EQ(clipboard.formats.count("CorvantaPerformance"), 1u);
    EXPECT_EQ(clipboard.formats["CorvantaPerformance"].size(), kPerformanceClipSize);
    const auto pasted = ReadPerformanceFromClipboard(clipboard);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->SongName, "Blue in Green");
    EXPECT_EQ(pasted->ArtistName, "Miles Davis");
    EXPECT_EQ(pasted->Version, "Remastered");
    EXPECT_EQ(clipboard.text, "Miles Davis - Blue in Green") << "other programs paste artist and title";

    clipboard.formats["CorvantaPerformance"].resize(100);
    EXPECT_FALSE(ReadPerformanceFromClipboard(clipboard));
    clipboard.SetData("text/plain", {'a'}, {});
    EXPECT_FALSE(ReadPerformanceFromClipboard(clipboard));
}

}  // namespace
