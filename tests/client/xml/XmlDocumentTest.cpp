#include "client/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlParser.h"

namespace {

XmlDocumentPtr Parse(std::string_view text)
{
    XmlParseResult result;
    XmlDocumentPtr document = ParseXml(text, &result);
    EXPECT_TRUE(document) << result.message;
    return document;
}

TEST(XmlDocument, NodesCarryTheirTypesNamesAndValues)
{
    XmlDocumentPtr document = Parse("<?p data?><!--note--><A b='v'>text</A>");
    ASSERT_TRUE(document);
    CXmlNode* pi = document->firstChild();
    CXmlNode* comment = pi->nextSibling();
    CXmlNode* element = document->documentElement();
    CXmlNode* text = element->firstChild();
    CXmlNode* attribute = element->attributes()->getNamedItem(u"b");
    ASSERT_TRUE(attribute);
    CXmlNode* cdata = document->createCDATASection(u"c");
    CXmlNode* reference = document->createEntityReference(u"ent");

    struct Case {
        const CXmlNode* node;
        XmlNodeType type;
        int number;
        std::u16string_view name;
        std::u16string_view value;
    } cases[] = {
        {element, XmlNodeType::Element, 1, u"A", u""},
        {attribute, XmlNodeType::Attribute, 2, u"b", u"v"},
        {text, XmlNodeType::Text, 3, u"#text", u"text"},
        {cdata, XmlNodeType::CDataSection, 4, u"#cdata-section", u"c"},
        {reference, XmlNodeType::EntityReference, 5, u"ent", u""},
        {pi, XmlNodeType::ProcessingInstruction, 7, u"p", u"data"},
        {comment, XmlNodeType::Comment, 8, u"#comment", u"note"},
        {document.get(), XmlNodeType::Document, 9, u"#document", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(c.node->nodeType(), c.type);
        EXPECT_EQ(static_cast<int>(c.node->nodeType()), c.number);
        EXPECT_TRUE(c.node->nodeName() == c.name);
        EXPECT_TRUE(c.node->nodeValue() == c.value);
        EXPECT_EQ(c.node->ownerDocument(), document.get());
        EXPECT_EQ(c.node->attributes() != nullptr, c.type == XmlNodeType::Element);
    }
    EXPECT_EQ(text->parentNode(), element);
    EXPECT_EQ(element->parentNode(), document.get());
    EXPECT_EQ(comment->previousSibling(), pi);
    EXPECT_EQ(document->lastChild(), element);
    EXPECT_EQ(element->attributes()->getNamedItem(u"B"), nullptr);
    EXPECT_EQ(element->attributes()->item(1), nullptr);
}

TEST(XmlDocument, GetElementsByTagNameWalksInDocumentOrder)
{
    XmlDocumentPtr document = Parse("<B id='1'><A><B id='2'><B id='3'/></B></A><B id='4'/><b id='5'/></B>");
    ASSERT_TRUE(document);
    XmlNodeListPtr list(document->getElementsByTagName(u"B"));
    ASSERT_EQ(list->length(), 4u);
    std::u16string ids;
    while (CXmlNode* node = list->nextNode())
        ids += node->attributes()->getNamedItem(u"id")->nodeValue();
    EXPECT_EQ(ids, u"1234");
    EXPECT_EQ(list->nextNode(), nullptr);
    list->reset();
    EXPECT_EQ(list->nextNode(), list->item(0));
    EXPECT_EQ(list->item(4), nullptr);

    XmlNodeListPtr none(document->getElementsByTagName(u"session"));
    EXPECT_EQ(none->length(), 0u);
    EXPECT_EQ(none->nextNode(), nullptr);

    XmlDocumentPtr empty(CXmlDocument::Create());
    XmlNodeListPtr nothing(empty->getElementsByTagName(u"B"));
    EXPECT_EQ(nothing->length(), 0u);
}

TEST(XmlDocument, ListsAreSnapshots)
{
    XmlDocumentPtr document = Parse("<A><B/><C/></A>");
    ASSERT_TRUE(document);
    CXmlNode* root = document->documentElement();
    XmlNodeListPtr children(root->childNodes());
    root->removeChild(root->firstChild());
    root->appendChild(document->createElement(u"D"));
    ASSERT_EQ(children->length(), 2u);
    EXPECT_TRUE(children->item(0)->nodeName() == u"B");
    EXPECT_TRUE(children->item(1)->nodeName() == u"C");
    XmlNodeListPtr now(root->childNodes());
    ASSERT_EQ(now->length(), 2u);
    EXPECT_TRUE(now->item(1)->nodeName() == u"D");
}

TEST(XmlDocument, BuildsAndEditsTrees)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    EXPECT_EQ(document->documentElement(), nullptr);
    EXPECT_FALSE(document->hasChildNodes());
    CXmlNode* root = document->createElement(u"Profile");
    EXPECT_EQ(root->parentNode(), nullptr);
    EXPECT_EQ(document->appendChild(root), root);
    EXPECT_EQ(document->documentElement(), root);
    EXPECT_EQ(document->appendChild(document->createElement(u"Second")), nullptr);
    EXPECT_EQ(document->appendChild(document->createTextNode(u"loose")), nullptr);
    EXPECT_TRUE(document->appendChild(document->createComment(u"fine")));

    CXmlNode* a = root->appendChild(document->createElement(u"a"));
    CXmlNode* b = root->appendChild(document->createElement(u"b"));
    CXmlNode* c = root->appendChild(document->createElement(u"c"));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(root->removeChild(b), b);
    EXPECT_EQ(b->parentNode(), nullptr);
    EXPECT_EQ(a->nextSibling(), c);
    EXPECT_EQ(c->previousSibling(), a);
    EXPECT_EQ(root->removeChild(b), nullptr);
    EXPECT_EQ(a->removeChild(c), nullptr);
    EXPECT_EQ(b->ownerDocument(), document.get());

    // Moving a node detaches it first; cycles and foreign nodes are refused.
    EXPECT_EQ(c->appendChild(a), a);
    EXPECT_EQ(root->firstChild(), c);
    EXPECT_EQ(root->lastChild(), c);
    EXPECT_EQ(a->parentNode(), c);
    EXPECT_EQ(a->appendChild(root), nullptr);
    EXPECT_EQ(a->appendChild(a), nullptr);
    XmlDocumentPtr other(CXmlDocument::Create());
    EXPECT_EQ(root->appendChild(other->createElement(u"x")), nullptr);
    CXmlNode* text = document->createTextNode(u"t");
    EXPECT_EQ(text->appendChild(document->createElement(u"y")), nullptr);
    EXPECT_EQ(root->appendChild(nullptr), nullptr);

    EXPECT_TRUE(a->setAttribute(u"k", u"1"));
    EXPECT_TRUE(a->setAttribute(u"j", u"2"));
    EXPECT_TRUE(a->setAttribute(u"k", u"3"));
    ASSERT_EQ(a->attributes()->length(), 2u);
    EXPECT_TRUE(a->attributes()->item(0)->nodeValue() == u"3");
    EXPECT_TRUE(a->attributes()->item(1)->nodeName() == u"j");
    EXPECT_FALSE(text->setAttribute(u"k", u"1"));

    text->setNodeValue(u"changed");
    EXPECT_TRUE(text->nodeValue() == u"changed");
    a->setNodeValue(u"ignored");
    EXPECT_TRUE(a->nodeValue().empty());
    a->attributes()->getNamedItem(u"j")->setNodeValue(u"9");
    EXPECT_TRUE(a->getAttributeNode(u"j")->nodeValue() == u"9");

    // The document element can be removed and another one appended.
    EXPECT_EQ(document->removeChild(root), root);
    EXPECT_EQ(document->documentElement(), nullptr);
    CXmlNode* replacement = document->createElement(u"New");
    EXPECT_EQ(document->appendChild(replacement), replacement);
    EXPECT_EQ(document->documentElement(), replacement);
}

TEST(XmlDocument, ManyChildrenAndLongChainsStayCheap)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    CXmlNode* root = document->appendChild(document->createElement(u"R"));
    for (int i = 0; i < 200000; ++i)
        root->appendChild(document->createElement(u"C"));
    CXmlNode* deep = root;
    for (int i = 0; i < 100000; ++i)
        deep = deep->appendChild(document->createElement(u"C"));
    XmlNodeListPtr all(document->getElementsByTagName(u"C"));
    EXPECT_EQ(all->length(), 300000u);
}

}  // namespace
