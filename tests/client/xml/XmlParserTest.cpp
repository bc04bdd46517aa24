#include "client/xml/XmlParser.h"

#include <gtest/gtest.h>

#include <string>

#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlText.h"
#include "client/xml/XmlWriter.h"
#include "platform/Utf.h"

namespace {

template <std::size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

XmlDocumentPtr Parse(std::string_view text)
{
    XmlParseResult result;
    XmlDocumentPtr document = ParseXml(text, &result);
    EXPECT_EQ(bool(document), result.ok) << result.message;
    EXPECT_TRUE(document) << text << "\n -> " << result.message;
    return document;
}

std::string ErrorOf(std::string_view text)
{
    XmlParseResult result;
    XmlDocumentPtr document = ParseXml(text, &result);
    EXPECT_FALSE(document) << text;
    EXPECT_FALSE(result.ok);
    return result.message;
}

// The tree in a compact form: element(children), "text", #comment, ?pi.
std::string Shape(const CXmlNode* node)
{
    std::string out;
    for (const CXmlNode* child = node->firstChild(); child; child = child->nextSibling()) {
        if (!out.empty())
            out += ' ';
        switch (child->nodeType()) {
        case XmlNodeType::Element:
            out += Utf16ToUtf8(child->nodeName());
            if (const CXmlNamedNodeMap* attributes = child->attributes()) {
                for (const CXmlNode* a = attributes->first(); a; a = a->nextSibling())
                    out += "[" + Utf16ToUtf8(a->nodeName()) + "=" + Utf16ToUtf8(a->nodeValue()) + "]";
            }
            if (child->hasChildNodes())
                out += "(" + Shape(child) + ")";
            break;
        case XmlNodeType::Text: out += "\"" + Utf16ToUtf8(child->nodeValue()) + "\""; break;
        case XmlNodeType::Comment: out += "#" + Utf16ToUtf8(child->nodeValue()); break;
        case XmlNodeType::ProcessingInstruction:
            out += "?" + Utf16ToUtf8(child->nodeName()) + ":" + Utf16ToUtf8(child->nodeValue());
            break;
        default: out += "<other>";
        }
    }
    return out;
}

TEST(XmlParser, BuildsTheTreeTheAnswersRelyOn)
{
    struct Case {
        const char* input;
        const char* shape;
    } cases[] = {
        {"<A><B>x</B><B>y</B></A>", "A(B(\"x\") B(\"y\"))"},
        {"<A>\n  <B/>\n</A>", "A(B)"},
        {"<A>  text</A>", "A(\"text\")"},
        {"<A>x \n</A>", "A(\"x \n\")"},
        {"<A><![CDATA[a<b]]></A>", "A(\"a<b\")"},
        {"<A>x<![CDATA[ y]]>z</A>", "A(\"x yz\")"},
        {"<A><![CDATA[]]></A>", "A"},
        {"<A>&amp;&#65;</A>", "A(\"&A\")"},
        {"<A>&lt;&gt;&quot;&apos;&#x42;&#x10000;</A>", "A(\"<>\"'B\xF0\x90\x80\x80\")"},
        {"<A>a\r\nb\rc</A>", "A(\"a\nb\nc\")"},
        {"<A a='1' b=\"two\" c = \"x'y\"/>", "A[a=1][b=two][c=x'y]"},
        {"<A a=\"&lt;&amp;&#10;\tb\r\nc\"/>", "A[a=<&\n b c]"},
        {"<A a='\"'/>", "A[a=\"]"},
        {"<!--top--><?pi data?><A><!-- in --><?go x  y?></A><!--end-->", "#top ?pi:data A(# in  ?go:x  y) #end"},
        {"<A><?empty?></A>", "A(?empty:)"},
        {"<A>a<!--c-->b</A>", "A(\"a\" #c \"b\")"},
        {"<A>]</A>", "A(\"]\")"},
        {"<A>]]</A>", "A(\"]]\")"},
        {"<r\xC3\xA9sum\xC3\xA9 \xC3\xA9t\xC3\xA9='\xE2\x82\xAC'>\xE6\x97\xA5</r\xC3\xA9sum\xC3\xA9>",
         "r\xC3\xA9sum\xC3\xA9[\xC3\xA9t\xC3\xA9=\xE2\x82\xAC](\"\xE6\x97\xA5\")"},
        {"<a:b xmlns:a='u' _x.y-z='1'/>", "a:b[xmlns:a=u][_x.y-z=1]"},
        {"<A></A >", "A"},
        {"\n\n<A/>\n\n", "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        XmlDocumentPtr document = Parse(c.input);
        if (document) {
            EXPECT_EQ(Shape(document.get()), c.shape);
        }
    }
}

TEST(XmlParser, ReadsTheDeclarationAndTheEncodings)
{
    struct Case {
        std::string input;
        const char* shape;
    } cases[] = {
        {"<?xml version=\"1.0\"?><A/>", "A"},
        {"<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\r\n<A/>", "A"},
        {"<?xml version=\"1.0\" encoding=\"UTF8\"?><A>\xC3\xA9</A>", "A(\"\xC3\xA9\")"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>\xE9</A>", "A(\"\xC3\xA9\")"},
        {"<?xml version=\"1.0\" encoding=\"ASCII\"?><A b='\xFF'/>", "A[b=\xC3\xBF]"},
        {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><A/>", "A"},
        {"<?xml version=\"1.0\" standalone=\"no\"?><A/>", "A"},
        {"\xEF\xBB\xBF<A>bom</A>", "A(\"bom\")"},
        {Bytes("\xFF\xFE<\0A\0>\0\xE9\0<\0/\0A\0>\0"), "A(\"\xC3\xA9\")"},
        {Bytes("\xFE\xFF\0<\0A\0/\0>"), "A"},
        {Bytes("<\0?\0x\0m\0l\0 \0v\0e\0r\0s\0i\0o\0n\0=\0'\0001\0.\0000\0'\0 \0e\0n\0c\0o\0d\0i\0n\0g\0="
               "\0'\0U\0T\0F\0-\0001\0006\0'\0?\0>\0<\0A\0/\0>\0"),
         "A"},
        {"<?xml-stylesheet href='a'?><A/>", "?xml-stylesheet:href='a' A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        XmlDocumentPtr document = Parse(c.input);
        if (document) {
            EXPECT_EQ(Shape(document.get()), c.shape);
        }
    }
}

TEST(XmlParser, ReplacesEntitiesOfTheInternalSubset)
{
    struct Case {
        const char* input;
        const char* shape;
    } cases[] = {
        {"<!DOCTYPE A [<!ENTITY e \"v\">]><A>&e;</A>", "A(\"v\")"},
        {"<!DOCTYPE A [<!ENTITY e 'x&#38;#38;y'>]><A>&e;</A>", "A(\"x&y\")"},
        {"<!DOCTYPE A [<!ENTITY e \"<B>in</B>\">]><A>a&e;b</A>", "A(\"a\" B(\"in\") \"b\")"},
        {"<!DOCTYPE A [<!ENTITY i 'I'><!ENTITY o 'o&i;o'>]><A t='&o;'>&o;</A>", "A[t=oIo](\"oIo\")"},
        {"<!DOCTYPE A [<!ENTITY e 'first'><!ENTITY e 'second'>]><A>&e;</A>", "A(\"first\")"},
        {"<!DOCTYPE A [<!ENTITY amp '&#38;#38;'>]><A>&amp;</A>", "A(\"&\")"},
        // "]]>" may stand in an attribute value, and may form across an entity's end.
        {"<!DOCTYPE A [<!ENTITY e 'a]]>b'>]><A b='&e;'/>", "A[b=a]]>b]"},
        {"<!DOCTYPE A [<!ENTITY e 'a]]'>]><A>&e;>b</A>", "A(\"a]]>b\")"},
        // Declarations before a parameter-entity reference still count; after it
        // only in a standalone document.
        {"<!DOCTYPE A [<!ENTITY e 'first'><!ENTITY % p SYSTEM 'p.ent'>%p;<!ENTITY e 'second'>]><A>&e;</A>",
         "A(\"first\")"},
        {"<?xml version='1.0' standalone='yes'?><!DOCTYPE A [<!ENTITY % p SYSTEM 'p.ent'>%p;<!ENTITY e 'x'>]>"
         "<A>&e;</A>",
         "A(\"x\")"},
        {"<!DOCTYPE A SYSTEM 'a.dtd'><A/>", "A"},
        {"<!DOCTYPE A PUBLIC '-//X//Y' \"a.dtd\" [ ]><A/>", "A"},
        {"<!DOCTYPE A [\n"
         "  <!ELEMENT A (B|C)*>\n"
         "  <!ELEMENT B EMPTY>\n"
         "  <!ELEMENT C ANY>\n"
         "  <!ELEMENT D (#PCDATA)>\n"
         "  <!ELEMENT E (#PCDATA|B|C)*>\n"
         "  <!ELEMENT F ((B,C?)+|(D*,E))>\n"
         "  <!ATTLIST A id ID #REQUIRED ref IDREF #IMPLIED refs IDREFS #IMPLIED>\n"
         "  <!ATTLIST B e ENTITY #IMPLIED es ENTITIES #IMPLIED n NMTOKEN 'x' ns NMTOKENS #FIXED \"a b\">\n"
         "  <!ATTLIST C kind (one|two|3) 'one' nt NOTATION (gif) #IMPLIED c CDATA '&lt;'>\n"
         "  <!ENTITY ext SYSTEM 'ext.xml'>\n"
         "  <!ENTITY pub PUBLIC '-//P' 'p.xml'>\n"
         "  <!ENTITY pic SYSTEM 'pic.gif' NDATA gif>\n"
         "  <!ENTITY % pe 'ignored'>\n"
         "  %pe;\n"
         "  <!NOTATION gif SYSTEM 'image/gif'>\n"
         "  <!NOTATION png PUBLIC '-//PNG'>\n"
         "  <!-- a comment --><?pi in subset?>\n"
         "]>\n<A>[&ext;]</A>",
         "A(\"[]\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        XmlDocumentPtr document = Parse(c.input);
        if (document) {
            EXPECT_EQ(Shape(document.get()), c.shape);
        }
    }
}

TEST(XmlParser, ReportsTheFirstErrorAndReturnsNoDocument)
{
    struct Case {
        std::string input;
        const char* message;
    } cases[] = {
        {"<A></B>", "End tag does not match start tag"},
        {"<A/><B/>", "Unexpected data trailing end of root element"},
        {"<A/>text", "Unexpected data trailing end of root element"},
        {"<A>]]></A>", "Character sequence ']]>' not allowed in element content"},
        {"<A>&nope;</A>", "Reference to undefined entity 'nope'"},
        {"<A b='&nope;'/>", "Undefined entity 'nope'"},
        {"<A>&amp</A>", "Expecting end of reference chSEMI_COLON"},
        {"<A>&#65</A>", "Expecting end of reference chSEMI_COLON"},
        {"<A>&#x4G;</A>", "Expecting end of reference chSEMI_COLON"},
        {"<A><!x></A>", "Expecting start of comment or CDATA"},
        {"<A></A x>", "Expecting chGREATER_THAN for element end tag"},
        {"<A>", "Expecting element content"},
        {"<A><B>text", "Expecting element content"},
        {"", "Unexpected end of input - expecting element start."},
        {"hello", "Unexpected character 'h' - expecting element start."},
        {"<A b></A>", "Unexpected character '>'"},
        {"<A b='1'c='2'/>", "Unexpected character 'c'"},
        {"<A/ >", "Unexpected character ' '"},
        {"<A><!-- a -- b --></A>", "Comment contains invalid character '-'"},
        {"<A><!-- \x01 --></A>", "Comment contains invalid character '#x1'"},
        {"<A><?pi \x02?></A>", "PI contains invalid character '#x2'"},
        {"<A><?pi$?></A>", "PI contains invalid character '$'"},
        {"<A b='<'/>", "The character '<' is not allowed in an attribute value"},
        {"<A>&#0;</A>", "The character '#0' is not valid for a character reference"},
        {"<A>&#xD800;</A>", "The character '#xD800' is not valid for a character reference"},
        {"<A>&#x110000;</A>", "The character '#x110000' is not valid for a character reference"},
        {"<A>&#;</A>", "The character '#' is not valid for a character reference"},
        {"<1A/>", "The character '1' is not valid for the start of a name"},
        {"<A><-B/></A>", "The character '-' is not valid for the start of a name"},
        {"<A>\x01</A>", "Invalid character '#x1'"},
        {"<A>\xC3</A>", "Invalid character '#xC3'"},
        {"<A>\xED\xA0\x80</A>", "Invalid character '#xED'"},
        {Bytes("<A>\0</A>"), "Invalid character '#x0'"},
        {"<A b='1' b='2'/>", "Attribute 'b' is already specified"},
        {"<?xml?><A/>", "XML decl must start with a version attribute"},
        {"<?xml encoding='UTF-8'?><A/>", "XML decl must start with a version attribute"},
        {"<?xml version '1.0'?><A/>", "Expecting equals after version start"},
        {"<?xml version=1.0?><A/>", "Expecting starting quote after verison number"},
        {"<?xml version='2.0'?><A/>", "Invalid character in version string"},
        {"<?xml version='1.0' foo='x'?><A/>", "Expecting encoding/standalone attribute or end of decl"},
        {"<?xml version='1.0' encoding 'UTF-8'?><A/>", "Expecting equals after encoding start"},
        {"<?xml version='1.0' encoding=UTF-8?><A/>", "Expecting starting quote encoding EQ"},
        {"<?xml version='1.0' encoding='UTF 8'?><A/>", "Invalid character in encoding string"},
        {"<?xml version='1.0' encoding='8UTF'?><A/>", "encoding attribute name string is ill formed"},
        {"<?xml version='1.0' encoding='EBCDIC'?><A/>", "Unsupported encoding 'EBCDIC'"},
        {"<?xml version='1.0' standalone 'yes'?><A/>", "Expecting equals after standalone start"},
        {"<?xml version='1.0' standalone=yes?><A/>", "Expecting starting quote standalone EQ"},
        {"<?xml version='1.0' standalone='maybe'?><A/>", "Invalid character in standalone string"},
        {"<?xml version='1.0' encoding='UTF-8' x?><A/>", "Invalid character 'x' - expecting SDDecl or end of PI"},
        {"<?xml version='1.0' standalone='no' x?><A/>", "XML decl must end with '?>'"},
        {"<?xml version='1.0'", "XML decl must end with '?>'"},
        {"<?xml version='1.0' standalone='no' encoding='UTF-8'?><A/>", "Unexpected state in xmldecl parse unit"},
        {"<A/><?xml version='1.0'?>", "Unexpected state in xmldecl parse unit"},
        {"<!DOCTYPE A [<!ENTITY e 'v' x>]><A/>", "Expecting close of entity chGREATER_THAN"},
        {"<!DOCTYPE A [<!ENTITY e SYSTEM 'a' NOTDATA x>]><A/>", "Expecting NDATA"},
        {"<!DOCTYPE A [<!ENTITY e'v'>]><A/>", "Expecting whitespace after EntityDecl name"},
        {"<!DOCTYPE A [<!ENTITY e BOGUS 'v'>]><A/>", "Expecting PUBLIC or SYSTEM for ExternalID"},
        {"<!DOCTYPE A BOGUS><A/>", "Expecting PUBLIC or SYSTEM for ExternalID"},
        {"<!DOCTYPE A [<!ELEMENT A EMPTY x>]><A/>", "Expecting closing chGREATER_THAN for element"},
        {"<!DOCTYPE A [<!ELEMENT A FULL>]><A/>", "Expecting opening left bracket, 'ANY' or 'EMPTY' after element name"},
        {"<!DOCTYPE A [<!ELEMENT A (B|C,D)>]><A/>", "Expecting closing ')' for choice/sequence"},
        {"<!DOCTYPE A [<!ELEMENT A (#PCDATA B)>]><A/>", "Expecting closing ')' for choice/sequence"},
        {"<!DOCTYPE A [<!ATTLIST A b CDATA REQUIRED>]><A/>", "Expecting a HASH"},
        {"<!DOCTYPE A [<!ATTLIST A b CDATA#REQUIRED>]><A/>", "Required whitespace is missing after AttType"},
        {"<!DOCTYPE A [<!ATTLIST A b STRING #REQUIRED>]><A/>", "Unknown attlist type 'STRING'"},
        {"<!DOCTYPE A [<!ATTLIST A b CDATA '<'>]><A/>", "The character '<' is not allowed in an attribute value"},
        {"<!DOCTYPE A [<!NOTATION n SYSTEM 'x' y>]><A/>", "Expecting closing chGREATER_THAN for notation decl"},
        {"<!DOCTYPE A [<!NOTATION n OTHER 'x'>]><A/>", "Expecting PUBLIC or SYSTEM for ExternalID"},
        {"<!DOCTYPE A [<!ENTITY e '<B>'>]><A>&e;</B></A>", "Unbalanced markup in entity 'e'"},
        {"<!DOCTYPE A [<!ENTITY e SYSTEM 'p' NDATA n>]><A>&e;</A>", "Reference to unparsed entity 'e'"},
        {"<!DOCTYPE A [<!ENTITY e SYSTEM 'p'>]><A b='&e;'/>", "Undefined entity 'e'"},
        {"<!DOCTYPE A [<!ENTITY e '&e;'>]><A>&e;</A>", "Recursive reference to entity 'e'"},
        {"<!DOCTYPE A [<!ENTITY a '&b;'><!ENTITY b '&a;'>]><A c='&a;'/>", "Recursive reference to entity 'a'"},
        // "]]>" reached through an entity is refused as in the document's own text,
        // whether the entity holds markup or not, and from a character reference too.
        {"<!DOCTYPE A [<!ENTITY e 'a]]>b'>]><A>&e;</A>", "Character sequence ']]>' not allowed in element content"},
        {"<!DOCTYPE A [<!ENTITY e 'a]]>b<B/>'>]><A>&e;</A>", "Character sequence ']]>' not allowed in element content"},
        {"<!DOCTYPE A [<!ENTITY e 'a]]&#62;b'>]><A>x&e;</A>",
         "Character sequence ']]>' not allowed in element content"},
        // After a parameter-entity reference, which is never read, declarations are
        // checked but not processed: the unread entity may have declared the name.
        {"<!DOCTYPE A [<!ENTITY % p '<!ENTITY e \"y\">'>%p;<!ENTITY e 'x'>]><A>&e;</A>",
         "Reference to undefined entity 'e'"},
        {"<!DOCTYPE A [<!ENTITY % p SYSTEM 'p.ent'>%p;<!ENTITY e 'x'>]><A b='&e;'/>", "Undefined entity 'e'"},
        {"<!DOCTYPE A [%p;<!ENTITY e 'v' x>]><A/>", "Expecting close of entity chGREATER_THAN"},
        {"<?xml version='1.0' standalone='no'?><!DOCTYPE A [%p;<!ENTITY e '<B/>'>]><A>&e;</A>",
         "Reference to undefined entity 'e'"},
        {Bytes("\xFF\xFE<\0A\0\x00\xD8"), "Invalid UTF-16 sequence"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(ErrorOf(c.input), c.message);
    }
}

TEST(XmlParser, GivesThePlaceOfTheError)
{
    XmlParseResult result;
    EXPECT_FALSE(ParseXml("<A>\n  <B>\n  </C>\n</A>", &result));
    EXPECT_EQ(result.line, 3u);
    EXPECT_EQ(result.column, 5u);
    EXPECT_EQ(result.offset, 14u);
}

TEST(XmlParser, BoundsEntityExpansion)
{
    std::string laughs = "<!DOCTYPE A [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 9; ++i) {
        std::string previous = "&l" + std::to_string(i - 1) + ";";
        std::string value;
        for (int k = 0; k < 10; ++k)
            value += previous;
        laughs += "<!ENTITY l" + std::to_string(i) + " '" + value + "'>";
    }
    std::string big(50000, 'x');
    std::string quadratic = "<!DOCTYPE A [<!ENTITY b '" + big + "'>]><A>";
    std::string quadraticAttribute = "<!DOCTYPE A [<!ENTITY b '" + big + "'>]><A";
    for (int i = 0; i < 1000; ++i) {
        quadratic += "&b;";
        quadraticAttribute += " a" + std::to_string(i) + "='&b;'";
    }
    struct Case {
        std::string input;
    } cases[] = {
        {laughs + "]><A>&l9;</A>"},
        {laughs + "]><A b='&l9;'/>"},
        {quadratic + "</A>"},
        {quadraticAttribute + "/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 60));
        EXPECT_EQ(ErrorOf(c.input), "Entity expansion exceeds the limit of 1048576 bytes");
    }

    std::string nested = "<!DOCTYPE A [<!ENTITY e0 '<B/>'>";
    for (int i = 1; i <= 20; ++i)
        nested += "<!ENTITY e" + std::to_string(i) + " '&e" + std::to_string(i - 1) + ";'>";
    EXPECT_EQ(ErrorOf(nested + "]><A>&e20;</A>"), "Entity references nested deeper than 16 levels");
    // Within the bounds the same shapes load.
    XmlDocumentPtr fine = Parse(nested + "]><A>&e10;</A>");
    ASSERT_TRUE(fine);
    EXPECT_EQ(Shape(fine.get()), "A(B)");
}

TEST(XmlParser, BoundsNestingDepthWithoutUsingTheStack)
{
    auto nest = [](std::size_t depth) {
        std::string text;
        for (std::size_t i = 0; i < depth; ++i)
            text += "<A>";
        for (std::size_t i = 0; i < depth; ++i)
            text += "</A>";
        return text;
    };
    EXPECT_TRUE(Parse(nest(256)));
    EXPECT_EQ(ErrorOf(nest(257)), "Elements nested deeper than 256 levels");
    EXPECT_EQ(ErrorOf(nest(1000000)), "Elements nested deeper than 256 levels");

    std::string model =
        "<!DOCTYPE A [<!ELEMENT A " + std::string(100000, '(') + "B" + std::string(100000, ')') + ">]><A/>";
    EXPECT_EQ(ErrorOf(model), "Content model nested deeper than 256 levels");

    XmlParseLimits deep;
    deep.maxDepth = 2000;
    XmlParseResult result;
    EXPECT_TRUE(ParseXml(nest(2000), &result, deep)) << result.message;
}

TEST(XmlParser, RoundTripsThroughTheWriter)
{
    struct Case {
        const char* input;
        bool sameTree;  // mixed content gains the writer's line breaks
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<Answer>\n  <Session>abc&amp;def</Session>\n  <User id=\"7\" "
         "name='a&quot;b'/>\n</Answer>",
         true},
        {"<A b=\"&#9;&#10;&#13;\"><B>x &lt;&gt; y</B><!--c--><?p d?></A>", true},
        {"<!DOCTYPE A [<!ENTITY e '<B>&#38;amp;</B>'>]><A>&e;<C><![CDATA[<&>]]></C></A>", true},
        {"<A>mixed<B>x</B>tail</A>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        XmlDocumentPtr first = Parse(c.input);
        ASSERT_TRUE(first);
        std::u16string written = WriteXmlDocument(first.get());
        XmlDocumentPtr second = Parse(Utf16ToUtf8(written));
        ASSERT_TRUE(second);
        if (c.sameTree) {
            EXPECT_EQ(Shape(second.get()), Shape(first.get()));
            EXPECT_EQ(WriteXmlDocument(second.get()), written);
        }
    }
}

}  // namespace
