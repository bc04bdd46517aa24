#pragma once
// An XML document: the root of a tree and the owner of every node in it.
#include <memory>
#include <string_view>

#include "client/xml/XmlArena.h"
#include "client/xml/XmlNode.h"
#include "client/xml/XmlNodeList.h"

class CXmlDocument : public CXmlNode {
public:
    /// An empty document; release() it when done (or hold it in an XmlDocumentPtr).
    static CXmlDocument* Create();

    /// Deletes the document and every node it owns. Lists taken from it must
    /// be released by their holders; their nodes are gone after this.
    void release();

    /// The first element appended to the document, or nullptr.
    CXmlNode* documentElement() const { return m_documentElement; }

    /// Every element named name in the document element's subtree (itself
    /// included), in document order. The caller releases the list.
    CXmlNodeList* getElementsByTagName(std::u16string_view name) const;

    /// New nodes owned by this document, not yet in the tree.
    CXmlNode* createElement(std::u16string_view tagName);
    CXmlNode* createTextNode(std::u16string_view data);
    CXmlNode* createComment(std::u16string_view data);
    CXmlNode* createCDATASection(std::u16string_view data);
    CXmlNode* createProcessingInstruction(std::u16string_view target, std::u16string_view data);
    CXmlNode* createEntityReference(std::u16string_view name);
    CXmlNode* createAttribute(std::u16string_view name, std::u16string_view value);

private:
    friend class CXmlNode;
    friend class CXmlParser;

    CXmlDocument();
    ~CXmlDocument() = default;

    CXmlNode* NewNode(XmlNodeType type, const char16_t* name, std::size_t nameLength);
    CXmlNamedNodeMap* NewAttributeMap();

    CXmlArena m_arena;
    CXmlNode* m_documentElement = nullptr;
};

using XmlDocumentPtr = std::unique_ptr<CXmlDocument, XmlRelease>;
