#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvanta::server {

// Builds an XML document as text; every inserted text and attribute value is escaped.
class CXmlWriter {
public:
    CXmlWriter();

    CXmlWriter& Open(std::string_view name);
    CXmlWriter& Attribute(std::string_view name, std::string_view value);
    CXmlWriter& Attribute(std::string_view name, int64_t value);
    // <name>text</name>
    CXmlWriter& Element(std::string_view name, std::string_view text);
    CXmlWriter& Element(std::string_view name, int64_t value);
    CXmlWriter& Text(std::string_view text);
    // Inserts an already well-formed fragment unchanged.
    CXmlWriter& Raw(std::string_view fragment);
    CXmlWriter& Close();

    // Closes what is still open and returns the document.
    std::string Finish();

    // Also repairs what is not UTF-8: a byte that starts no valid sequence is
    // taken as a Latin-1 character. The client's reader refuses a whole document
    // over one bad byte, so no stored text may reach an answer unrepaired.
    static std::string Escape(std::string_view text);
    // The text with the same repair and nothing escaped.
    static std::string ValidUtf8(std::string_view text);

private:
    void EndStartTag();

    std::string m_out;
    std::vector<std::string> m_open;
    bool m_inStartTag = false;
};

}  // namespace corvanta::server
