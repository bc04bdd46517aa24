#include "platform/Url.h"
#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(CanonicalizeUrlText, EscapesOnlyUnsafeCharacters)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"plain-text_1.2~", "plain-text_1.2~"},
        {"a b", "a%20b"},
        {"<>\"{}|\\^`", "%3C%3E%22%7B%7D%7C%5C%5E%60"},
        {"%&+=#:/?;@!$'()*,[]", "%&+=#:/?;@!$'()*,[]"},
        {std::string("\t\r\n\x01\x7f", 5), "%09%0D%0A%01%7F"},
        {"caf\xC3\xA9", "caf%C3%A9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(CanonicalizeUrlText(c.in), c.out);
    }
}

TEST(EncodeFormValue, CanonicalizesPiecesSplitBeforeColons)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"a b:c d", "a%20b:c%20d"},
        {":lead", ":lead"},
        {"::", "::"},
        {"x: y :z", "x:%20y%20:z"},
        {"no colon here", "no%20colon%20here"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(EncodeFormValue(c.in), c.out);
    }
}

TEST(FormValue, StandardDecoderRecoversTheText)
{
    const std::string texts[] = {
        "Rock & Roll",
        "1+1=2",
        "100%",
        "#1 hit",
        "a&b=c+d%e#f",
        "%26 already",
        "time: 12:30",
        "  two  spaces ",
        "Bj\xC3\xB6rk \xE2\x99\xAB",
        "plain",
        "",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string raw = "q=" + FormValue(text) + "&next=1";
        std::string posted = raw;
        std::replace(posted.begin(), posted.end(), ' ', '+');
        for (const std::string& body : {raw, posted}) {
            const auto form = DecodeFormBody(body);
            ASSERT_EQ(form.size(), 2u) << body;
            EXPECT_EQ(form[0], (std::pair<std::string, std::string>("q", text)));
            EXPECT_EQ(form[1], (std::pair<std::string, std::string>("next", "1")));
        }
    }
}

TEST(FormValue, LeavesTextWithoutSpecialCharactersAlone)
{
    const std::string text = "a b:c/d?e~f\xC3\xA9<>\"";
    EXPECT_EQ(FormValue(text), text);
    EXPECT_EQ(FormValue("&+%=#"), "%26%2B%25%3D%23");
}

TEST(EncodedFormValue, WritesTheEncodedTextThatOneFormDecodeUndoes)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        // Without & + % = # the text goes out as EncodeFormValue writes it.
        {"My List", "My%20List"},
        {"first<BR>second", "first%3CBR%3Esecond"},
        {":lead", ":lead"},
        {"caf\xC3\xA9", "caf%C3%A9"},
        {"Mix 50%50", "Mix%2050%2550"},
        {"a%41b", "a%2541b"},
        {"Sun & Sea", "Sun%20%26%20Sea"},
        {"x+y=z #1", "x%2By%3Dz%20%231"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(EncodedFormValue(c.in), c.out);
        const auto form = DecodeFormBody("q=" + EncodedFormValue(c.in));
        ASSERT_EQ(form.size(), 1u);
        EXPECT_EQ(form[0].second, c.in);
    }
}

TEST(SplitUrl, ReadsSchemeHostPortAndPath)
{
    const struct {
        std::string url;
        bool ok;
        DWORD service;
        std::string host;
        std::uint16_t port;
        std::string path;
    } cases[] = {
        {"https://h:443/corvanta/production/orvane/UserLogin.jsp", true, kServiceHttps, "h", 443,
         "/corvanta/production/orvane/UserLogin.jsp"},
        {"http://example.org:7001/corvanta/", true, kServiceHttp, "example.org", 7001, "/corvanta/"},
        {"http://example.org/a/b.jsp", true, kServiceHttp, "example.org", 80, "/a/b.jsp"},
        {"HTTPS://Example.org", true, kServiceHttps, "Example.org", 443, "/"},
        {"http://user:pw@h:81/x", true, kServiceHttp, "h", 81, "/x"},
        {"http://[::1]:8080/x", true, kServiceHttp, "::1", 8080, "/x"},
        {"http://h:99999/x", false, kServiceHttp, "h", 80, "/x"},
        {"http://h:/x", false, kServiceHttp, "h", 80, "/x"},
        {"gopher2://h/x", false, kServiceUnknown, "h", 0, "/x"},
        {"no scheme", false, kServiceUnknown, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        UrlParts parts;
        EXPECT_EQ(SplitUrl(c.url, parts), c.ok);
        EXPECT_EQ(parts.serviceType, c.service);
        EXPECT_EQ(parts.host, c.host);
        EXPECT_EQ(parts.port, c.port);
        EXPECT_EQ(parts.objectPath, c.path);
    }
}
