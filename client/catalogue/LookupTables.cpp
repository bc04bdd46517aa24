#include "client/catalogue/LookupTables.h"

#include "client/catalogue/AnswerXml.h"
#include "client/xml/XmlNode.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kDefaultDocument = "<?xml version=\"1.0\"?>\n"
                                         "<Document>\n"
                                         "<Select Name=\"Country\">"
                                         "<Item ID=\"0\" Text=\"unknown\"/>"
                                         "<Item ID=\"1190\" Text=\"USA\"/>"
                                         "</Select>\n"
                                         "<Select Name=\"HeardAboutSource\">"
                                         "<Item ID=\"0\" Text=\"unspecified\"/>"
                                         "</Select>\n"
                                         "<Select Name=\"MaritalStatus\">"
                                         "<Item ID=\"0\" Text=\"unspecified\"/>"
                                         "<Item ID=\"1\" Text=\"Single\"/>"
                                         "<Item ID=\"2\" Text=\"Married\"/>"
                                         "<Item ID=\"3\" Text=\"Taken\"/>"
                                         "<Item ID=\"4\" Text=\"Swingin'\"/>"
                                         "</Select>\n"
                                         "<Select Name=\"SexCode\">"
                                         "<Item ID=\"0\" Text=\"unspecified\"/>"
                                         "<Item ID=\"1\" Text=\"Female\"/>"
                                         "<Item ID=\"2\" Text=\"Male\"/>"
                                         "</Select>\n"
                                         "<Select Name=\"Genres\">\n"
                                         "<Item ID=\"0\" Text=\"Unknown\">"
                                         "<Select Name=\"SubGenres\" Size=\"1\" ID=\"0\">"
                                         "<Item ID=\"0\" Text=\"Unknown\"/>"
                                         "</Select></Item>\n"
                                         "<Item ID=\"201\" Text=\"Rock\">"
                                         "<Select Name=\"SubGenres\" Size=\"5\" ID=\"201\">"
                                         "<Item ID=\"201\" Text=\"Rock\"/>"
                                         "<Item ID=\"205\" Text=\"Prog &amp; Art Rock\"/>"
                                         "<Item ID=\"210\" Text=\"Boogie &amp; Blues Rock\"/>"
                                         "<Item ID=\"215\" Text=\"Classic Rock\"/>"
                                         "<Item ID=\"220\" Text=\"Folk Rock\"/>"
                                         "</Select></Item>\n"
                                         "</Select>\n"
                                         "</Document>\n";

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    const std::string_view bv = b;
    return std::equal(a.begin(), a.end(), bv.begin(), bv.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

CLookupTables::CLookupTables() : m_tables(std::make_shared<const Map>()) {}

const char* CLookupTables::DefaultDocument()
{
    return kDefaultDocument;
}

std::shared_ptr<const LookupList> CLookupTables::Lookup(const std::string& name) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_tables->find(name);
    return found == m_tables->end() ? nullptr : found->second;
}

void CLookupTables::Add(const std::string& name, LookupItem item)
{
    std::lock_guard lock(m_mutex);
    auto tables = std::make_shared<Map>(*m_tables);
    auto list = std::make_shared<LookupList>();
    if (const auto found = tables->find(name); found != tables->end())
        *list = *found->second;
    list->push_back(std::move(item));
    (*tables)[name] = std::move(list);
    m_tables = std::move(tables);
}

void CLookupTables::Clear()
{
    std::lock_guard lock(m_mutex);
    m_tables = std::make_shared<const Map>();
}

bool CLookupTables::Load(const std::string& documentText, bool clearFirst)
{
    const XmlDocumentPtr document = LoadAnswerDocument(documentText);
    if (!document)
        return false;

    // The new items, table by table, in document order.
    std::vector<std::pair<std::string, LookupItem>> items;
    for (const CXmlNode* select : ElementsNamed(*document, u"Select")) {
        const std::string name = TrimBlanks(AttributeText(*select, u"Name").value_or(std::string()));
        if (EqualsIgnoringCase(name, "SubGenres"))
            continue;
        for (const CXmlNode* child = select->firstChild(); child; child = child->nextSibling()) {
            if (child->nodeType() != XmlNodeType::Element || !EqualsIgnoringCase(child->nodeName(), u"Item"))
                continue;
            const std::string id = TrimBlanks(AttributeText(*child, u"ID").value_or(std::string()));
            if (id.empty())
                continue;
            items.emplace_back(name, LookupItem{DecimalNumber(id),
                                                TrimBlanks(AttributeText(*child, u"Text").value_or(std::string()))});
        }
    }

    std::lock_guard lock(m_mutex);
    std::map<std::string, std::shared_ptr<LookupList>> rebuilt;
    if (!clearFirst)
        for (const auto& [name, list] : *m_tables)
            rebuilt[name] = std::make_shared<LookupList>(*list);
    for (auto& [name, item] : items) {
        auto& list = rebuilt[name];
        if (!list)
            list = std::make_shared<LookupList>();
        list->push_back(std::move(item));
    }
    auto tables = std::make_shared<Map>();
    for (auto& [name, list] : rebuilt)
        tables->emplace(name, std::move(list));
    m_tables = std::move(tables);
    return true;
}

void CLookupTables::LoadDefaults()
{
    Load(kDefaultDocument, false);
}

std::vector<std::string> CLookupTables::Names() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& entry : *m_tables)
        names.push_back(entry.first);
    return names;
}
