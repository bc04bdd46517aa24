// Both loaders and the writer: whatever loads must write out and load again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlText.h"
#include "client/xml/XmlWriter.h"
#include "platform/Utf.h"

namespace {

std::string FilePath()
{
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder ? folder : "/tmp") + "/fuzz_xml_" + std::to_string(getpid()) + ".xml";
    }();
    return path;
}

// Touches every node the way answer hooks do, so the sanitizers see the reads.
std::size_t Walk(const CXmlDocument* document)
{
    std::size_t seen = 0;
    XmlNodeListPtr all(document->getElementsByTagName(u"ID"));
    while (const CXmlNode* node = all->nextNode())
        seen += static_cast<std::size_t>(ParseDecimal(ElementText(node)) & 1);
    const CXmlNode* root = document;
    for (const CXmlNode* node = root; node;) {
        seen += node->nodeName().size() + node->nodeValue().size();
        if (const CXmlNamedNodeMap* attributes = node->attributes())
            seen += attributes->length();
        if (node->firstChild()) {
            node = node->firstChild();
            continue;
        }
        while (node != root && !node->nextSibling())
            node = node->parentNode();
        node = node == root ? nullptr : node->nextSibling();
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The loaders' failure line would drown the fuzzer's own output.
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    XmlParseResult fromText;
    XmlDocumentPtr document = LoadXmlFromText(bytes, &fromText);

    if (FILE* file = std::fopen(FilePath().c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        XmlParseResult fromFile;
        XmlDocumentPtr again = LoadXmlFromFile(FilePath(), &fromFile);
        // Without a NUL both loaders see the same bytes and must agree.
        if (bytes.find('\0') == std::string::npos && bool(again) != bool(document))
            std::abort();
        if (again)
            Walk(again.get());
    }

    if (!document)
        return 0;
    Walk(document.get());
    std::u16string written = WriteXmlDocument(document.get());
    XmlParseResult reload;
    XmlDocumentPtr reloaded = LoadXmlFromText(Utf16ToUtf8(written), &reload);
    if (!reloaded) {
        std::fprintf(stderr, "written text does not load again: %s\n", reload.message.c_str());
        std::abort();
    }
    // A tree written out is a fixed point after one more round.
    std::u16string rewritten = WriteXmlDocument(reloaded.get());
    XmlDocumentPtr third = LoadXmlFromText(Utf16ToUtf8(rewritten));
    if (!third)
        std::abort();
    return 0;
}
