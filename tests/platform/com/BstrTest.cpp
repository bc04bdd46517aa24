#include "platform/com/Bstr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint32_t PrefixOf(BSTR s)
{
    std::uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<char*>(s) - 4, 4);
    return bytes;
}

TEST(BstrTest, CarriesItsByteLengthBeforeAndANulAfter)
{
    BSTR s = SysAllocString(u"tracks.txt");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(PrefixOf(s), 20u);
    EXPECT_EQ(SysStringLen(s), 10u);
    EXPECT_EQ(SysStringByteLen(s), 20u);
    EXPECT_EQ(s[10], u'\0');
    EXPECT_EQ(std::u16string(s), u"tracks.txt");
    SysFreeString(s);
}

TEST(BstrTest, LengthFormKeepsEmbeddedNulsAndZeroFillsWithoutSource)
{
    const char16_t text[] = {u'a', u'\0', u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(s[2], u'b');
    EXPECT_EQ(s[3], u'\0');
    EXPECT_EQ(BstrToUtf8(s), "a");  // text ends at the first NUL
    SysFreeString(s);

    BSTR blank = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(SysStringLen(blank), 4u);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(blank[i], u'\0');
    SysFreeString(blank);

    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

TEST(BstrTest, NullStringsAreEmptyAndFreeingThemIsHarmless)
{
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    EXPECT_EQ(BstrToUtf8(nullptr), "");
    SysFreeString(nullptr);
}

TEST(BstrTest, ConvertsUtf8BothWays)
{
    struct Case {
        const char* utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"/home/m/a,b.mp3", u"/home/m/a,b.mp3"},
        {"Bj\xC3\xB6rk", u"Bj\u00F6rk"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},  // a surrogate pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        BSTR s = SysAllocStringUtf8(c.utf8);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(std::u16string(s, SysStringLen(s)), c.utf16);
        EXPECT_EQ(BstrToUtf8(s), c.utf8);
        SysFreeString(s);
    }
}

TEST(BstrTest, MalformedTextFollowsThePlatformRule)
{
    // One rule for the runtime and its users: each maximal ill-formed part is one U+FFFD.
    BSTR s = SysAllocStringUtf8("a\xED\xA0\x80\xE2\x82z");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::u16string(s, SysStringLen(s)), u"a\uFFFD\uFFFD\uFFFD\uFFFDz");
    SysFreeString(s);
    const std::u16string lone = std::u16string(u"x") + char16_t(0xDC00);
    s = SysAllocStringLen(lone.data(), static_cast<UINT>(lone.size()));
    EXPECT_EQ(BstrToUtf8(s), "x\xEF\xBF\xBD");
    SysFreeString(s);
}

}  // namespace
