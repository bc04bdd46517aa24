#include "platform/com/ComTypes.h"

#include <gtest/gtest.h>

namespace {

constexpr GUID kSample = {0xD9BFD3F2, 0x4D42, 0x4419, {0x9F, 0x59, 0x9C, 0xA6, 0x89, 0x8E, 0xB9, 0x54}};

TEST(GuidTest, ParsesTheBracedFormInEitherCase)
{
    for (const char* text : {"{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}", "{d9bfd3f2-4d42-4419-9f59-9ca6898eb954}"}) {
        SCOPED_TRACE(text);
        const auto parsed = ParseGuid(text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(*parsed, kSample);
    }
}

TEST(GuidTest, RejectsAnythingElse)
{
    const char* cases[] = {
        "",
        "D9BFD3F2-4D42-4419-9F59-9CA6898EB954",     // no braces
        "{D9BFD3F2-4D42-4419-9F59-9CA6898EB95}",    // short
        "{D9BFD3F2-4D42-4419-9F59-9CA6898EB9544}",  // long
        "{D9BFD3F2-4D42-4419-9F599-CA6898EB954}",   // dash misplaced
        "{D9BFD3F2-4D42-4419-9F59-9CA6898EB95G}",   // not hex
        "{D9BFD3F2+4D42-4419-9F59-9CA6898EB954}",
        "(D9BFD3F2-4D42-4419-9F59-9CA6898EB954)",
        "{ 9BFD3F2-4D42-4419-9F59-9CA6898EB954}",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseGuid(text));
    }
}

TEST(GuidTest, FormatsUpperCaseAndRoundTrips)
{
    EXPECT_EQ(FormatGuid(kSample), "{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}");
    EXPECT_EQ(FormatGuid(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
    const GUID edge = {0xFFFFFFFF, 0x0001, 0xFFFF, {0, 0xFF, 1, 0x10, 0, 0, 0, 0xAB}};
    EXPECT_EQ(ParseGuid(FormatGuid(edge)), edge);
}

TEST(GuidTest, EqualityLooksAtEveryByte)
{
    GUID other = kSample;
    EXPECT_EQ(other, kSample);
    other.Data4[7] ^= 1;
    EXPECT_FALSE(other == kSample);
}

}  // namespace
