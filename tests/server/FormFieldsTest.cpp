#include "server/FormFields.h"
#include "server/XmlPages.h"
#include "server/XmlWriter.h"

#include <gtest/gtest.h>

using corvanta::server::CFormFields;
using corvanta::server::CXmlPages;
using corvanta::server::CXmlWriter;

TEST(ServerFormFields, DecodesLikeAStandardFormDecoder)
{
    struct Case {
        const char* body;
        const char* key;
        const char* value;
    } cases[] = {
        {"a=b+c", "a", "b c"},
        {"a=%26%2B%25%3D%23", "a", "&+%=#"},
        {"a=1&a=2", "a", "2"},
        {"a=50%", "a", "50%"},
        {"a=%zz", "a", "%zz"},
        {"flag&b=1", "flag", ""},
        {"a=x=y", "a", "x=y"},
        // Decoded once only: an escaped "%" stays a "%".
        {"a=Mix%2050%2550", "a", "Mix 50%50"},
        {"a=Blue%2520", "a", "Blue%20"},
        {"", "a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(CFormFields::Parse(c.body).Get(c.key), c.value);
    }
}

TEST(ServerFormFields, NumbersReadLikeTheClientReadsThem)
{
    struct Case {
        const char* text;
        int64_t value;
    } cases[] = {{"42", 42}, {"  7x", 7}, {"-3", -3}, {"", 0}, {"abc", 0}, {"99999999999999", 2147483647}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CFormFields::ToInt(c.text), c.value);
    }
}

TEST(ServerUpgradeCheck, VersionComparison)
{
    struct Case {
        const char* newest;
        const char* current;
        bool newer;
    } cases[] = {{"1.2.0", "1.1.0.5", true}, {"1.1.0.5", "1.1.0.5", false},
                 {"1.1", "1.1.0.0", false},  {"1.10", "1.9", true},
                 {"1.0", "", true},          {"2.0", "10.0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.newest) + " vs " + c.current);
        EXPECT_EQ(CXmlPages::IsNewer(c.newest, c.current), c.newer);
    }
}

TEST(ServerXmlWriter, EscapesTextAndAttributes)
{
    CXmlWriter xml;
    xml.Open("A").Attribute("v", "x\"<&>'").Element("B", "</B><C>&amp;\x01").Open("Empty").Close();
    // Line breaks as references: the client's exchange splits the answer at raw line feeds.
    xml.Element("L", "one\r\ntwo\nthree");
    EXPECT_EQ(xml.Finish(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<A v=\"x&quot;&lt;&amp;&gt;&apos;\">"
                            "<B>&lt;/B&gt;&lt;C&gt;&amp;amp; </B><Empty/><L>one&#13;&#10;two&#10;three</L></A>\n");
}

TEST(ServerXmlWriter, RepairsWhatIsNotUtf8)
{
    struct Case {
        const char* text;
        const char* written;
    } cases[] = {
        {"Caf\xE9", "Caf\xC3\xA9"},                                                                  // a Latin-1 byte
        {"Caf\xC3\xA9 \xE2\x99\xAB \xF0\x9F\x8E\xB5", "Caf\xC3\xA9 \xE2\x99\xAB \xF0\x9F\x8E\xB5"},  // valid stays
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                                            // overlong
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},                                                // a surrogate
        {"\xEF\xBF\xBF", "\xC3\xAF\xC2\xBF\xC2\xBF"},                                                // not a character
        {"x\xE2\x82", "x\xC3\xA2\xC2\x82"},                                                          // cut short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CXmlWriter::Escape(c.text), c.written);
        EXPECT_EQ(CXmlWriter::ValidUtf8(c.text), c.written);
    }
}
