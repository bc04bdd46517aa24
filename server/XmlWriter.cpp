#include "server/XmlWriter.h"

namespace corvanta::server {

CXmlWriter::CXmlWriter() { m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

std::string CXmlWriter::Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // A raw CR would reach the reader as a plain line feed (end-of-line handling).
        case '\r': out += "&#13;"; break;
        default:
            // Control characters other than tab and line breaks are not allowed in XML 1.0.
            if (u < 0x20 && c != '\t' && c != '\n')
                out += ' ';
            else
                out += c;
        }
    }
    return out;
}

void CXmlWriter::EndStartTag()
{
    if (m_inStartTag) {
        m_out += '>';
        m_inStartTag = false;
    }
}

CXmlWriter& CXmlWriter::Open(std::string_view name)
{
    EndStartTag();
    m_out += '<';
    m_out += name;
    m_open.emplace_back(name);
    m_inStartTag = true;
    return *this;
}

CXmlWriter& CXmlWriter::Attribute(std::string_view name, std::string_view value)
{
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    m_out += Escape(value);
    m_out += '"';
    return *this;
}

CXmlWriter& CXmlWriter::Attribute(std::string_view name, int64_t value)
{
    return Attribute(name, std::to_string(value));
}

CXmlWriter& CXmlWriter::Element(std::string_view name, std::string_view text)
{
    Open(name);
    Text(text);
    return Close();
}

CXmlWriter& CXmlWriter::Element(std::string_view name, int64_t value)
{
    return Element(name, std::to_string(value));
}

CXmlWriter& CXmlWriter::Text(std::string_view text)
{
    EndStartTag();
    m_out += Escape(text);
    return *this;
}

CXmlWriter& CXmlWriter::Raw(std::string_view fragment)
{
    EndStartTag();
    m_out += fragment;
    return *this;
}

CXmlWriter& CXmlWriter::Close()
{
    if (m_open.empty())
        return *this;
    if (m_inStartTag) {
        m_out += "/>";
        m_inStartTag = false;
    } else {
        m_out += "</";
        m_out += m_open.back();
        m_out += '>';
    }
    m_open.pop_back();
    return *this;
}

std::string CXmlWriter::Finish()
{
    while (!m_open.empty())
        Close();
    m_out += '\n';
    return std::move(m_out);
}

} // namespace corvanta::server
