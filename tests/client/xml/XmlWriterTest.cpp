#include "client/xml/XmlWriter.h"

#include <gtest/gtest.h>

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlParser.h"
#include "client/xml/XmlText.h"
#include "platform/Utf.h"

namespace {

std::string Written(std::string_view input)
{
    XmlParseResult result;
    XmlDocumentPtr document = ParseXml(input, &result);
    EXPECT_TRUE(document) << result.message;
    return document ? Utf16ToUtf8(WriteXmlDocument(document.get())) : std::string();
}

TEST(XmlWriter, WritesTheDocumentFormat)
{
    struct Case {
        const char* input;
        const char* output;
    } cases[] = {
        {"<A/>", "<A/>\r\n"},
        {"<A>a&amp;b</A>", "<A>a&amp;b</A>\r\n"},
        {"<A b='x&#10;y' c='&lt;&gt;&quot;&amp;&#9;&#13;'/>",
         "<A b=\"x&#10;y\" c=\"&lt;&gt;&quot;&amp;&#9;&#13;\"/>\r\n"},
        {"<?xml version='1.0'?><A><B>x</B><C><D/></C></A>",
         "<A>\r\n\t<B>x</B>\r\n\t<C>\r\n\t\t<D/>\r\n\t</C>\r\n</A>\r\n"},
        {"<A>one<B/>two</A>", "<A>\r\n\tone\r\n\t<B/>\r\n\ttwo\r\n</A>\r\n"},
        {"<!--c--><?p d?><A><!--in--><?q?></A>", "<!--c-->\r\n<?p d?>\r\n<A>\r\n\t<!--in-->\r\n\t<?q ?>\r\n</A>\r\n"},
        {"<A>\xE2\x82\xAC \"'</A>", "<A>\xE2\x82\xAC &quot;'</A>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(Written(c.input), c.output);
    }
}

TEST(XmlWriter, WritesBuiltTreesIncludingCDataAndReferences)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    CXmlNode* root = document->appendChild(document->createElement(u"Profile"));
    CXmlNode* item = root->appendChild(document->createElement(u"Item"));
    item->setAttribute(u"note", u"line\nbreak");
    item->appendChild(document->createTextNode(u"a&b"));
    CXmlNode* mixed = root->appendChild(document->createElement(u"Mixed"));
    mixed->appendChild(document->createCDATASection(u"<raw>"));
    mixed->appendChild(document->createEntityReference(u"ent"));
    mixed->appendChild(document->createProcessingInstruction(u"t", u"d"));
    EXPECT_EQ(Utf16ToUtf8(WriteXmlDocument(document.get())), "<Profile>\r\n"
                                                             "\t<Item note=\"line&#10;break\">a&amp;b</Item>\r\n"
                                                             "\t<Mixed>\r\n"
                                                             "\t\t<![CDATA[<raw>]]>\r\n"
                                                             "&ent;\r\n"
                                                             "\t\t<?t d?>\r\n"
                                                             "\t</Mixed>\r\n"
                                                             "</Profile>\r\n");
    EXPECT_EQ(Utf16ToUtf8(WriteXmlDocument(item)), "<Item note=\"line&#10;break\">a&amp;b</Item>\r\n");
    EXPECT_EQ(WriteXmlDocument(nullptr), u"");

    XmlDocumentPtr empty(CXmlDocument::Create());
    EXPECT_EQ(WriteXmlDocument(empty.get()), u"");
}

TEST(XmlWriter, WritesDeepTreesWithoutRecursion)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    CXmlNode* node = document->appendChild(document->createElement(u"A"));
    for (int i = 0; i < 3000; ++i)
        node = node->appendChild(document->createElement(u"A"));
    std::u16string text = WriteXmlDocument(document.get());
    EXPECT_EQ(text.substr(text.size() - 6), u"</A>\r\n");
    EXPECT_EQ(text.substr(0, 7), u"<A>\r\n\t<");
}

}  // namespace
