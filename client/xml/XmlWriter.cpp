#include "client/xml/XmlWriter.h"

#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlNode.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

void Indent(std::u16string& out, std::size_t level)
{
    out.append(level, u'\t');
}

void Escape(std::u16string& out, std::u16string_view text)
{
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string_view replacement;
        switch (text[i]) {
        case u'\t': replacement = u"&#9;"; break;
        case u'\n': replacement = u"&#10;"; break;
        case u'\r': replacement = u"&#13;"; break;
        case u'"': replacement = u"&quot;"; break;
        case u'&': replacement = u"&amp;"; break;
        case u'<': replacement = u"&lt;"; break;
        case u'>': replacement = u"&gt;"; break;
        default: continue;
        }
        out.append(text.substr(run, i - run));
        out.append(replacement);
        run = i + 1;
    }
    out.append(text.substr(run));
}

bool OnlyTextChild(const CXmlNode* element)
{
    const CXmlNode* child = element->firstChild();
    return child && !child->nextSibling() && child->nodeType() == XmlNodeType::Text;
}

// Everything up to the point where the node's children (if any) would go.
// Returns true when the children still have to be written.
bool WriteOpening(std::u16string& out, const CXmlNode* node, std::size_t level)
{
    switch (node->nodeType()) {
    case XmlNodeType::Element: {
        Indent(out, level);
        out += u'<';
        out.append(node->nodeName());
        if (const CXmlNamedNodeMap* attributes = node->attributes()) {
            for (const CXmlNode* attribute = attributes->first(); attribute; attribute = attribute->nextSibling()) {
                out += u' ';
                out.append(attribute->nodeName());
                out.append(u"=\"");
                Escape(out, attribute->nodeValue());
                out += u'"';
            }
        }
        if (!node->hasChildNodes()) {
            out.append(u"/>");
            out.append(kLineEnd);
            return false;
        }
        out += u'>';
        if (OnlyTextChild(node)) {
            Escape(out, node->firstChild()->nodeValue());
            out.append(u"</");
            out.append(node->nodeName());
            out += u'>';
            out.append(kLineEnd);
            return false;
        }
        out.append(kLineEnd);
        return true;
    }
    case XmlNodeType::Text:
        Indent(out, level);
        Escape(out, node->nodeValue());
        out.append(kLineEnd);
        return false;
    case XmlNodeType::CDataSection:
        Indent(out, level);
        out.append(u"<![CDATA[");
        out.append(node->nodeValue());
        out.append(u"]]>");
        out.append(kLineEnd);
        return false;
    case XmlNodeType::EntityReference:
        out += u'&';
        out.append(node->nodeName());
        out += u';';
        out.append(kLineEnd);
        return false;
    case XmlNodeType::ProcessingInstruction:
        Indent(out, level);
        out.append(u"<?");
        out.append(node->nodeName());
        out += u' ';
        out.append(node->nodeValue());
        out.append(u"?>");
        out.append(kLineEnd);
        return false;
    case XmlNodeType::Comment:
        Indent(out, level);
        out.append(u"<!--");
        out.append(node->nodeValue());
        out.append(u"-->");
        out.append(kLineEnd);
        return false;
    case XmlNodeType::Document: return node->hasChildNodes();
    case XmlNodeType::Attribute: return false;
    }
    return false;
}

void WriteClosing(std::u16string& out, const CXmlNode* node, std::size_t level)
{
    if (node->nodeType() != XmlNodeType::Element)
        return;
    Indent(out, level);
    out.append(u"</");
    out.append(node->nodeName());
    out += u'>';
    out.append(kLineEnd);
}

}  // namespace

std::u16string WriteXmlDocument(const CXmlNode* root)
{
    std::u16string out;
    if (!root)
        return out;
    out.reserve(1024);
    // Walk along the links instead of recursing, so a deep tree costs no stack.
    // The document's children sit at level 0, an element's one level deeper.
    auto childLevel = [&](std::size_t level, const CXmlNode* parent) {
        return parent->nodeType() == XmlNodeType::Document ? level : level + 1;
    };
    std::size_t level = 0;
    const CXmlNode* node = root;
    for (;;) {
        if (WriteOpening(out, node, level)) {
            level = childLevel(level, node);
            node = node->firstChild();
            continue;
        }
        while (node != root && !node->nextSibling()) {
            node = node->parentNode();
            if (node->nodeType() != XmlNodeType::Document)
                --level;
            WriteClosing(out, node, level);
        }
        if (node == root)
            break;
        node = node->nextSibling();
    }
    return out;
}
