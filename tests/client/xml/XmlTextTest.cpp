#include "client/xml/XmlText.h"

#include <gtest/gtest.h>

#include <limits>

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlParser.h"
#include "platform/Utf.h"

namespace {

TEST(XmlText, ReadsDecimalNumbersLikeTheAnswersNeed)
{
    struct Case {
        const char* text;
        long long value;
    } cases[] = {
        {"42", 42},
        {"  \t\n-17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {" - 5", 0},
        {"007", 7},
        {"9223372036854775807", std::numeric_limits<long long>::max()},
        {"99999999999999999999", std::numeric_limits<long long>::max()},
        {"-9223372036854775808", std::numeric_limits<long long>::min()},
        {"-99999999999999999999", std::numeric_limits<long long>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDecimal(std::string_view(c.text)), c.value);
        EXPECT_EQ(ParseDecimal(Utf8ToUtf16(c.text)), c.value);
    }
}

TEST(XmlText, FindsElementsTextsAndAttributes)
{
    XmlParseResult result;
    XmlDocumentPtr document =
        ParseXml("<Answer><PerformanceSummary id='5'><Title> Song</Title><Empty/><Nested><X/>after</Nested>"
                 "<PrimaryArtist><Name>Band</Name></PrimaryArtist></PerformanceSummary><Exception>a.b.C: "
                 "failed</Exception></Answer>",
                 &result);
    ASSERT_TRUE(document) << result.message;
    CXmlNode* summary = FirstElementByTagName(document.get(), u"PerformanceSummary");
    ASSERT_TRUE(summary);
    EXPECT_TRUE(AttributeValue(summary, u"id") == u"5");
    EXPECT_TRUE(AttributeValue(summary, u"ID").empty());
    EXPECT_TRUE(ElementText(ChildElement(summary, u"Title")) == u"Song");
    EXPECT_TRUE(ElementText(ChildElement(summary, u"Empty")).empty());
    EXPECT_TRUE(ElementText(ChildElement(summary, u"Nested")).empty());
    EXPECT_TRUE(ElementText(ChildElement(summary, u"Missing")).empty());
    EXPECT_TRUE(ElementText(nullptr).empty());
    EXPECT_EQ(ChildElement(summary, u"Name"), nullptr);
    EXPECT_EQ(ElementTextUtf8(FirstElementByTagName(document.get(), u"Name")), "Band");
    EXPECT_EQ(ElementTextUtf8(FirstElementByTagName(document.get(), u"Exception")), "a.b.C: failed");
    EXPECT_EQ(FirstElementByTagName(document.get(), u"exception"), nullptr);
    EXPECT_EQ(FirstElementByTagName(nullptr, u"Answer"), nullptr);
    EXPECT_EQ(FirstElementByTagName(document.get(), u"Answer"), document->documentElement());
}

}  // namespace
