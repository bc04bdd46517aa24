#pragma once
// The two loaders every answer hook and the editor go through.
#include <string>
#include <string_view>

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlParser.h"

/// Parses 8-bit text up to its first NUL (or the end of the view). On failure
/// prints "Failed to load document\n" on standard output and returns nullptr;
/// the parser's message is left in *result when given.
XmlDocumentPtr LoadXmlFromText(std::string_view text, XmlParseResult* result = nullptr);
/// Reads the file's bytes and parses them; a file that cannot be read fails
/// the same way (message "Cannot open file '<path>'").
XmlDocumentPtr LoadXmlFromFile(const std::string& path, XmlParseResult* result = nullptr);

/// Holds one document pointer, none until loaded. The wrapper never releases
/// the document: the code that loaded it does (or takes it with Detach()).
class CXmlDocumentWrapper {
public:
    /// Loads from a NUL-terminated text; returns the document or nullptr.
    CXmlDocument* LoadFromText(const char* text);
    CXmlDocument* LoadFromFile(const std::string& path);

    CXmlDocument* Document() const { return m_document; }
    /// Hands the document over as an owning pointer and forgets it.
    XmlDocumentPtr Detach();
    /// The outcome of the last load.
    const XmlParseResult& LastResult() const { return m_result; }

private:
    CXmlDocument* m_document = nullptr;
    XmlParseResult m_result;
};
