#include "client/search/SearchRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

void AppendSearchPart(std::string& body, const std::string& part)
{
    if (!body.empty())
        body += '&';
    body += part;
}

std::string SearchTextPart(const char* key, const SearchText& field)
{
    return std::string(key) + '=' + FormValue(field.text) + '&' + key +
           "SearchType=" + std::to_string(field.searchType);
}

std::string SearchNumberPart(const char* key, const SearchNumber& field)
{
    return std::string(key) + '=' + std::to_string(field.value) + '&' + key +
           "SearchType=" + std::to_string(field.searchType);
}

template <class Record>
CSearchRequest<Record>::CSearchRequest(const char* page, const char16_t* summaryElement)
    : m_summaryElement(summaryElement)
{
    SetPage(page, false);
}

template <class Record>
CSearchRequest<Record>::~CSearchRequest()
{
    CancelPendingJobs();
}

template <class Record>
std::int32_t CSearchRequest<Record>::PostSearch(const std::string& body, std::int32_t value1)
{
    const std::int32_t key = ++m_keyCounter;
    Post(body, value1, key);
    return key;
}

template <class Record>
void CSearchRequest<Record>::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t key)
{
    auto result = std::make_unique<Result>();
    if (const XmlDocumentPtr document = LoadAnswerDocument(answer)) {
        for (const CXmlNode* element : ElementsNamed(*document, m_summaryElement)) {
            std::unique_ptr<Record> record;
            ReadSummary(*element, record);
            result->summaries.push_back(std::move(record));
        }
        for (const CXmlNode* element : ElementsNamed(*document, u"ID"))
            result->identifiers.push_back(static_cast<std::uint32_t>(ElementNumber(*element)));
    }
    std::lock_guard lock(m_mutex);
    m_results[key] = std::move(result);
}

template <class Record>
std::int32_t CSearchRequest<Record>::Count(std::int32_t key) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_results.find(key);
    return found == m_results.end() ? 0 : static_cast<std::int32_t>(found->second->summaries.size());
}

template <class Record>
const Record* CSearchRequest<Record>::Summary(std::int32_t key, std::int32_t index) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_results.find(key);
    if (found == m_results.end() || index < 0 || static_cast<std::size_t>(index) >= found->second->summaries.size())
        return nullptr;
    return found->second->summaries[static_cast<std::size_t>(index)].get();
}

template <class Record>
std::vector<std::uint32_t> CSearchRequest<Record>::Identifiers(std::int32_t key) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_results.find(key);
    return found == m_results.end() ? std::vector<std::uint32_t>() : found->second->identifiers;
}

template <class Record>
bool CSearchRequest<Record>::HasResult(std::int32_t key) const
{
    std::lock_guard lock(m_mutex);
    return m_results.count(key) != 0;
}

template <class Record>
void CSearchRequest<Record>::ReleaseResult(std::int32_t key)
{
    std::lock_guard lock(m_mutex);
    m_results.erase(key);
}

template class CSearchRequest<PlaylistSummary>;
template class CSearchRequest<UserSummary>;
template class CSearchRequest<ArtistSummary>;
template class CSearchRequest<PerformanceSummary>;
