#include "client/xml/XmlDocumentWrapper.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

XmlDocumentPtr Finish(XmlDocumentPtr document)
{
    if (!document) {
        std::fputs("Failed to load document\n", stdout);
        std::fflush(stdout);
    }
    return document;
}

}  // namespace

XmlDocumentPtr LoadXmlFromText(std::string_view text, XmlParseResult* result)
{
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    return Finish(ParseXml(text, result));
}

XmlDocumentPtr LoadXmlFromFile(const std::string& path, XmlParseResult* result)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (file)
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        if (result) {
            *result = XmlParseResult{};
            result->message = "Cannot open file '" + path + "'";
        }
        return Finish(nullptr);
    }
    return Finish(ParseXml(bytes, result));
}

CXmlDocument* CXmlDocumentWrapper::LoadFromText(const char* text)
{
    m_document = LoadXmlFromText(text ? std::string_view(text) : std::string_view(), &m_result).release();
    return m_document;
}

CXmlDocument* CXmlDocumentWrapper::LoadFromFile(const std::string& path)
{
    m_document = LoadXmlFromFile(path, &m_result).release();
    return m_document;
}

XmlDocumentPtr CXmlDocumentWrapper::Detach()
{
    XmlDocumentPtr owned(m_document);
    m_document = nullptr;
    return owned;
}
