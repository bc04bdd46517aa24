// The shared text helpers: percent decoding in both forms, trimming, line ends.
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Text, PercentDecodeTakesTwoHexDigitsOfEitherCase)
{
    const struct {
        const char* what;
        std::string text;
        std::string kept;     // '+' stays '+'
        std::string asSpace;  // '+' is a space (form decoding)
    } cases[] = {
        {"nothing escaped", "plain", "plain", "plain"},
        {"both cases", "a%2fb%2Fc%7e", "a/b/c~", "a/b/c~"},
        {"a plus sign", "a+b%2B", "a+b+", "a b+"},
        {"a NUL byte", "x%00y", std::string("x\0y", 3), std::string("x\0y", 3)},
        {"a high byte", "%C3%A9", "\xC3\xA9", "\xC3\xA9"},
        {"a lone percent", "100%", "100%", "100%"},
        {"one digit at the end", "a%4", "a%4", "a%4"},
        {"not hex", "%zz%4g", "%zz%4g", "%zz%4g"},
        {"an escaped percent is not decoded twice", "%2541", "%41", "%41"},
        {"empty", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PercentDecode(c.text), c.kept);
        EXPECT_EQ(PercentDecode(c.text, PlusSign::Space), c.asSpace);
    }
}

TEST(Text, TrimBlanksRemovesTheCLocaleBlanksAtBothEnds)
{
    const struct {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {"", ""},       {" \t\r\n\v\f", ""}, {"  a b  ", "a b"},
        {"\ta\n", "a"}, {"x", "x"},          {"\xA0x\xA0", "\xA0x\xA0"},  // no-break space is not a blank here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TrimBlanks(c.text), c.trimmed);
    }
}

TEST(Text, WithLineFeedsDropsOnlyACarriageReturnBeforeALineFeed)
{
    EXPECT_EQ(WithLineFeeds("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(WithLineFeeds("a\rb\r"), "a\rb\r");
    EXPECT_EQ(WithLineFeeds("\r\r\n\n"), "\r\n\n");
    EXPECT_EQ(WithLineFeeds(""), "");
}

}  // namespace
