// The one UTF-8/UTF-16 codec: well-formed text both ways, and the one rule for
// malformed input (each maximal ill-formed part becomes one U+FFFD).
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf, WellFormedTextBothWays)
{
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"/home/m/a,b.mp3", u"/home/m/a,b.mp3"},
        {"Bj\xC3\xB6rk \xE2\x82\xAC", u"Bj\u00F6rk \u20AC"},
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},  // a surrogate pair
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\uFFFF\U0010FFFF"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

TEST(Utf, EachMaximalIllFormedPartBecomesOneReplacementCharacter)
{
    const struct {
        const char* what;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"a byte that starts nothing", "a\xFFz", u"a\uFFFDz"},
        {"a continuation byte alone", "\x80\xBF", u"\uFFFD\uFFFD"},
        {"a sequence cut short at the end", "\xF0\x9F\x8E", u"\uFFFD"},
        {"a sequence cut short by a letter", "\xE2\x82x", u"\uFFFDx"},
        {"an overlong form", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"an overlong three-byte form", "\xE0\x9F\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"a five-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        // The example of the Unicode Standard's chapter 3 (U+FFFD substitution).
        {"several in a row",
         "a\xF1\x80\x80\xE1\x80\xC2"
         "b\x80"
         "c\x80\xBF"
         "d",
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    }
    const std::u16string high(1, char16_t(0xD800)), low(1, char16_t(0xDC00));
    EXPECT_EQ(Utf16ToUtf8(high + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(u"x" + low), "x\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(low + high), "\xEF\xBF\xBD\xEF\xBF\xBD") << "a pair only in the right order";
}

TEST(Utf, DecodeAcceptsExactlyTheWellFormedSequences)
{
    // Every one- and two-byte input, and three-byte ones around the edges,
    // against the ranges of well-formed UTF-8.
    const auto wellFormed = [](const std::string& bytes) {
        const std::u16string wide = Utf8ToUtf16(bytes);
        return wide.find(u'\uFFFD') == std::u16string::npos;
    };
    for (int b0 = 0; b0 < 256; ++b0) {
        for (int b1 = 0; b1 < 256; ++b1) {
            const std::string bytes{static_cast<char>(b0), static_cast<char>(b1)};
            const char* p = bytes.data();
            char32_t c = 0;
            const bool decoded = DecodeUtf8(p, bytes.data() + 2, c);
            const bool expected = b0 < 0x80 || (b0 >= 0xC2 && b0 <= 0xDF && b1 >= 0x80 && b1 <= 0xBF);
            ASSERT_EQ(decoded, expected) << std::hex << b0 << " " << b1;
            EXPECT_EQ(p - bytes.data(), decoded ? (b0 < 0x80 ? 1 : 2) : 0) << "p stays where it was on failure";
            if (b0 >= 0x80) {
                EXPECT_EQ(wellFormed(bytes), expected);
            }
        }
    }
    for (const auto& [bytes, expected] :
         std::initializer_list<std::pair<std::string, bool>>{{"\xE0\xA0\x80", true},
                                                             {"\xE0\x9F\xBF", false},
                                                             {"\xED\x9F\xBF", true},
                                                             {"\xED\xA0\x80", false},
                                                             {"\xF0\x90\x80\x80", true},
                                                             {"\xF0\x8F\xBF\xBF", false},
                                                             {"\xF4\x8F\xBF\xBF", true},
                                                             {"\xF4\x90\x80\x80", false},
                                                             {"\xF5\x80\x80\x80", false},
                                                             {"\xE1\x80", false}}) {
        SCOPED_TRACE(bytes);
        const char* p = bytes.data();
        char32_t c = 0;
        EXPECT_EQ(DecodeUtf8(p, bytes.data() + bytes.size(), c), expected);
    }
}

}  // namespace
