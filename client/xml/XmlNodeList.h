#pragma once
// A snapshot of nodes with a cursor, owned and released by whoever asked for it.
#include <cstddef>
#include <memory>
#include <vector>

class CXmlNode;

class CXmlNodeList {
public:
    explicit CXmlNodeList(std::vector<CXmlNode*> nodes) : m_nodes(std::move(nodes)) {}

    /// The node at index, or nullptr when index >= length().
    CXmlNode* item(std::size_t index) const { return index < m_nodes.size() ? m_nodes[index] : nullptr; }
    std::size_t length() const { return m_nodes.size(); }
    void reset() { m_cursor = 0; }
    /// The entry at the cursor, then advances; nullptr at the end.
    CXmlNode* nextNode() { return m_cursor < m_nodes.size() ? m_nodes[m_cursor++] : nullptr; }
    /// Deletes the list (never the nodes).
    void release() { delete this; }

private:
    std::vector<CXmlNode*> m_nodes;
    std::size_t m_cursor = 0;
};

/// Deleter for std::unique_ptr over anything with release() (documents, lists).
struct XmlRelease {
    template <class T>
    void operator()(T* object) const
    {
        if (object)
            object->release();
    }
};

using XmlNodeListPtr = std::unique_ptr<CXmlNodeList, XmlRelease>;
