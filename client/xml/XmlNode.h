#pragma once
// One node of an XML document tree (DOM Level 1 Core subset, UTF-16 strings).
#include <cstdint>
#include <string_view>

class CXmlDocument;
class CXmlNamedNodeMap;
class CXmlNodeList;

/// DOM Level 1 node type numbers.
enum class XmlNodeType : std::uint8_t {
    Element = 1,
    Attribute = 2,
    Text = 3,
    CDataSection = 4,
    EntityReference = 5,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
};

/// A node owned by its document. Nodes are never deleted one by one: they live
/// until the document is released. Names and values are views into storage of
/// the document; a value view stays valid until that node's value is changed.
class CXmlNode {
public:
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    XmlNodeType nodeType() const { return m_type; }
    /// Tag name, attribute name, PI target, entity name or "#text" and the like.
    std::u16string_view nodeName() const { return {m_name, m_nameLength}; }
    /// Empty for elements, entity references and the document.
    std::u16string_view nodeValue() const
    {
        return m_type == XmlNodeType::Element ? std::u16string_view() : std::u16string_view(m_value, m_valueLength);
    }
    /// Changes the value of a text, CDATA, comment, PI or attribute node; no effect on others.
    void setNodeValue(std::u16string_view value);

    CXmlDocument* ownerDocument() const { return m_document; }
    CXmlNode* parentNode() const { return m_parent; }
    CXmlNode* firstChild() const { return m_firstChild; }
    CXmlNode* lastChild() const { return m_lastChild; }
    CXmlNode* previousSibling() const { return m_previous; }
    CXmlNode* nextSibling() const { return m_next; }
    bool hasChildNodes() const { return m_firstChild != nullptr; }

    /// The attribute map of an element (possibly empty); nullptr for other kinds.
    const CXmlNamedNodeMap* attributes() const;
    /// A new snapshot of the children; the caller releases it.
    CXmlNodeList* childNodes() const;

    /// Attaches child as the last child, first detaching it from where it was.
    /// Returns child, or nullptr when refused: a node of another document, an
    /// attribute or document node, this node or one of its ancestors, any child
    /// of a leaf kind, or a second element (or a text) under the document.
    CXmlNode* appendChild(CXmlNode* child);
    /// Detaches child (which must be a child of this node) and returns it; the
    /// document still owns it. nullptr when it is not a child of this node.
    CXmlNode* removeChild(CXmlNode* child);
    /// Elements only: sets the attribute, replacing the value of an existing one.
    /// Returns false on other kinds.
    bool setAttribute(std::u16string_view name, std::u16string_view value);

    /// Elements only: the attribute node named name, or nullptr.
    CXmlNode* getAttributeNode(std::u16string_view name) const;

protected:
    CXmlNode(XmlNodeType type, CXmlDocument* document) : m_type(type), m_document(document) {}
    ~CXmlNode() = default;

private:
    friend class CXmlDocument;
    friend class CXmlNamedNodeMap;
    friend class CXmlParser;

    void AttachLast(CXmlNode* child);

    XmlNodeType m_type;
    std::uint32_t m_nameLength = 0;
    std::uint32_t m_valueLength = 0;
    CXmlDocument* m_document;
    CXmlNode* m_parent = nullptr;
    CXmlNode* m_firstChild = nullptr;
    CXmlNode* m_lastChild = nullptr;
    CXmlNode* m_previous = nullptr;
    CXmlNode* m_next = nullptr;
    const char16_t* m_name = nullptr;
    // An element has no value, so its attribute map takes the value's place.
    union {
        const char16_t* m_value = nullptr;
        CXmlNamedNodeMap* m_attributes;  // elements with at least one attribute
    };
};
