// Loads server-shaped answers into the tree and walks them the way the answer
// hooks do, beside libxml2 and pugixml doing the same work.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <malloc.h>

#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchFigure.h"
#include "client/xml/XmlDocument.h"
#include "client/xml/XmlParser.h"
#include "client/xml/XmlText.h"

// Every allocation of the process passes here, so the three libraries are
// measured alike: bytes in use (as the allocator sizes them) and their peak.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void __libc_free(void*);

namespace {
std::atomic<long long> g_inUse{0};
std::atomic<long long> g_peak{0};
bool g_counting = false;  // only while a peak is measured: timing runs pay nothing

void Count(long long delta)
{
    if (!g_counting)
        return;
    long long now = g_inUse.fetch_add(delta) + delta;
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}
}  // namespace

extern "C" void* malloc(size_t size)
{
    void* p = __libc_malloc(size);
    if (p && g_counting)
        Count(static_cast<long long>(malloc_usable_size(p)));
    return p;
}

extern "C" void* calloc(size_t count, size_t size)
{
    void* p = __libc_calloc(count, size);
    if (p && g_counting)
        Count(static_cast<long long>(malloc_usable_size(p)));
    return p;
}

extern "C" void* realloc(void* old, size_t size)
{
    if (!g_counting)
        return __libc_realloc(old, size);
    long long before = old ? static_cast<long long>(malloc_usable_size(old)) : 0;
    void* p = __libc_realloc(old, size);
    if (p)
        Count(static_cast<long long>(malloc_usable_size(p)) - before);
    else if (size == 0 && old)
        Count(-before);
    return p;
}

extern "C" void free(void* p)
{
    if (p && g_counting)
        Count(-static_cast<long long>(malloc_usable_size(p)));
    __libc_free(p);
}

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}

// Indented PerformanceSummary records, then a long list of IDs, as the search
// pages answer.
std::string MakeAnswer(std::size_t targetBytes)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SearchResults>\r\n";
    std::size_t records = 0;
    const std::size_t recordShare = targetBytes * 7 / 10;
    while (out.size() < recordShare) {
        std::size_t n = records++;
        out += "  <PerformanceSummary>\r\n";
        out += "    <PerformanceID>" + std::to_string(100000 + n) + "</PerformanceID>\r\n";
        out += "    <Title>" + Escape("Song & Dance <Live> No. " + std::to_string(n)) + "</Title>\r\n";
        out += "    <Duration>" + std::to_string(180 + n % 240) + "</Duration>\r\n";
        out += "    <Rating>" + std::to_string(n % 5) + "</Rating>\r\n";
        out += "    <Added>2003-04-" + std::to_string(10 + n % 18) + " 12:00:00</Added>\r\n";
        out += "    <PrimaryArtist>\r\n";
        out += "      <ArtistID>" + std::to_string(5000 + n % 700) + "</ArtistID>\r\n";
        out += "      <Name>" + Escape("The Quartet & Friends " + std::to_string(n % 700)) + "</Name>\r\n";
        out += "    </PrimaryArtist>\r\n";
        out += "  </PerformanceSummary>\r\n";
    }
    out += "  <IDs>\r\n";
    for (std::size_t n = 0; out.size() < targetBytes; ++n)
        out += "    <ID>" + std::to_string(200000 + n) + "</ID>\r\n";
    out += "  </IDs>\r\n</SearchResults>\r\n";
    return out;
}

struct Walked {
    std::size_t records = 0;
    long long sum = 0;
};

Walked LoadAndWalkOurs(const std::string& text, XmlDocumentPtr* keep)
{
    Walked walked;
    XmlDocumentPtr document = ParseXml(text);
    if (!document) {
        std::fprintf(stderr, "our parser refused the answer\n");
        std::exit(1);
    }
    XmlNodeListPtr records(document->getElementsByTagName(u"PerformanceSummary"));
    while (CXmlNode* record = records->nextNode()) {
        ++walked.records;
        for (CXmlNode* child = record->firstChild(); child; child = child->nextSibling())
            walked.sum += ParseDecimal(ElementText(child)) + static_cast<long long>(ElementText(child).size());
    }
    XmlNodeListPtr ids(document->getElementsByTagName(u"ID"));
    while (CXmlNode* id = ids->nextNode())
        walked.sum += ParseDecimal(ElementText(id));
    if (keep)
        *keep = std::move(document);
    return walked;
}

void CollectLibxml(xmlNode* node, const char* name, std::vector<xmlNode*>& out)
{
    // Pre-order over the element tree, like getElementsByTagName.
    for (xmlNode* n = node; n;) {
        if (n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0)
            out.push_back(n);
        if (n->children) {
            n = n->children;
            continue;
        }
        while (n != node && !n->next)
            n = n->parent;
        n = n == node ? nullptr : n->next;
    }
}

const char* LibxmlText(xmlNode* element)
{
    xmlNode* child = element->children;
    return child && child->type == XML_TEXT_NODE ? reinterpret_cast<const char*>(child->content) : "";
}

Walked LoadAndWalkLibxml(const std::string& text, xmlDoc** keep)
{
    Walked walked;
    xmlDoc* document = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, XML_PARSE_NOBLANKS);
    if (!document) {
        std::fprintf(stderr, "libxml2 refused the answer\n");
        std::exit(1);
    }
    std::vector<xmlNode*> records;
    CollectLibxml(xmlDocGetRootElement(document), "PerformanceSummary", records);
    for (xmlNode* record : records) {
        ++walked.records;
        for (xmlNode* child = record->children; child; child = child->next) {
            const char* value = LibxmlText(child);
            walked.sum += std::atoll(value) + static_cast<long long>(std::strlen(value));
        }
    }
    std::vector<xmlNode*> ids;
    CollectLibxml(xmlDocGetRootElement(document), "ID", ids);
    for (xmlNode* id : ids)
        walked.sum += std::atoll(LibxmlText(id));
    if (keep)
        *keep = document;
    else
        xmlFreeDoc(document);
    return walked;
}

Walked LoadAndWalkPugi(const std::string& text, pugi::xml_document* keep)
{
    Walked walked;
    pugi::xml_document local;
    pugi::xml_document& document = keep ? *keep : local;
    if (!document.load_buffer(text.data(), text.size())) {
        std::fprintf(stderr, "pugixml refused the answer\n");
        std::exit(1);
    }
    std::vector<pugi::xml_node> records;
    std::vector<pugi::xml_node> ids;
    pugi::xml_node root = document.document_element();
    for (pugi::xml_node n = root; n;) {
        if (std::strcmp(n.name(), "PerformanceSummary") == 0)
            records.push_back(n);
        else if (std::strcmp(n.name(), "ID") == 0)
            ids.push_back(n);
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != root && !n.next_sibling())
            n = n.parent();
        n = n == root ? pugi::xml_node() : n.next_sibling();
    }
    for (pugi::xml_node record : records) {
        ++walked.records;
        for (pugi::xml_node child = record.first_child(); child; child = child.next_sibling()) {
            pugi::xml_node first = child.first_child();
            const char* value = first.type() == pugi::node_pcdata ? first.value() : "";
            walked.sum += std::atoll(value) + static_cast<long long>(std::strlen(value));
        }
    }
    for (pugi::xml_node id : ids) {
        pugi::xml_node first = id.first_child();
        walked.sum += std::atoll(first.type() == pugi::node_pcdata ? first.value() : "");
    }
    return walked;
}

// Best of several timed rounds, in MB/s.
double Throughput(const std::string& text, const std::function<void()>& once)
{
    auto clock = std::chrono::steady_clock::now;
    int rounds = std::max(5, static_cast<int>(40'000'000 / text.size()));
    double best = 1e100;
    for (int trial = 0; trial < 5; ++trial) {
        auto start = clock();
        for (int i = 0; i < rounds; ++i)
            once();
        double seconds = std::chrono::duration<double>(clock() - start).count() / rounds;
        best = std::min(best, seconds);
    }
    return static_cast<double>(text.size()) / best / 1e6;
}

// Peak heap growth while one document loads and is walked, with the document
// still held at the end.
double PeakKiB(const std::function<void()>& once)
{
    g_inUse.store(0);
    g_peak.store(0);
    g_counting = true;
    once();
    g_counting = false;
    return static_cast<double>(g_peak.load()) / 1024.0;
}

void Report(const char* what, const char* reference, double ours, double theirs, const char* unit)
{
    PrintFigure((std::string("xml ") + what).c_str(), reference, ours, theirs, unit);
}

}  // namespace

int main()
{
    xmlInitParser();
    struct Size {
        const char* label;
        std::size_t bytes;
    } sizes[] = {{"100KB", 100 * 1024}, {"2MB", 2 * 1024 * 1024}};
    for (const Size& size : sizes) {
        std::string text = MakeAnswer(size.bytes);
        Walked ours = LoadAndWalkOurs(text, nullptr);
        Walked libxml = LoadAndWalkLibxml(text, nullptr);
        Walked pugi = LoadAndWalkPugi(text, nullptr);
        if (ours.records != libxml.records || ours.sum != libxml.sum || ours.records != pugi.records ||
            ours.sum != pugi.sum) {
            std::fprintf(stderr, "the walks disagree: %zu/%lld %zu/%lld %zu/%lld\n", ours.records, ours.sum,
                         libxml.records, libxml.sum, pugi.records, pugi.sum);
            return 1;
        }

        double oursSpeed = Throughput(text, [&] { LoadAndWalkOurs(text, nullptr); });
        double libxmlSpeed = Throughput(text, [&] { LoadAndWalkLibxml(text, nullptr); });
        double pugiSpeed = Throughput(text, [&] { LoadAndWalkPugi(text, nullptr); });

        XmlDocumentPtr ourDocument;
        xmlDoc* libxmlDocument = nullptr;
        pugi::xml_document pugiDocument;
        double oursPeak = PeakKiB([&] { LoadAndWalkOurs(text, &ourDocument); });
        double libxmlPeak = PeakKiB([&] { LoadAndWalkLibxml(text, &libxmlDocument); });
        double pugiPeak = PeakKiB([&] { LoadAndWalkPugi(text, &pugiDocument); });
        xmlFreeDoc(libxmlDocument);

        std::string label = size.label;
        Report((label + " load+walk throughput").c_str(), "libxml2", oursSpeed, libxmlSpeed, "MB/s");
        Report((label + " load+walk throughput").c_str(), "pugixml", oursSpeed, pugiSpeed, "MB/s");
        Report((label + " peak memory").c_str(), "libxml2", oursPeak, libxmlPeak, "KiB");
        Report((label + " peak memory").c_str(), "pugixml", oursPeak, pugiPeak, "KiB");
    }
    xmlCleanupParser();
    return 0;
}
