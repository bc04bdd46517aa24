#pragma once
// The candidates of each lookup of a resolve request, under the lookup's key:
// the worker thread stores the records it read from an answer while the
// user-interface thread reads them and takes them away.
#include "client/catalogue/AnswerXml.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

template <class Record>
class CCandidateStore {
public:
    using Candidates = std::vector<std::unique_ptr<Record>>;

    /// Reads every element of that name in answer through read (an answer
    /// that is not a document gives none) and keeps the records under key.
    template <class Reader>
    void StoreAnswer(std::int32_t key, const std::string& answer, std::u16string_view element, Reader read)
    {
        Candidates candidates;
        if (const XmlDocumentPtr document = LoadAnswerDocument(answer))
            for (const CXmlNode* node : ElementsNamed(*document, element))
                candidates.push_back(read(*node));
        std::lock_guard lock(m_lock);
        m_results[key] = std::move(candidates);
    }

    bool Has(std::int32_t key) const
    {
        std::lock_guard lock(m_lock);
        return m_results.count(key) != 0;
    }
    std::int32_t Count(std::int32_t key) const
    {
        std::lock_guard lock(m_lock);
        const auto found = m_results.find(key);
        return found == m_results.end() ? 0 : static_cast<std::int32_t>(found->second.size());
    }
    /// Still owned by the store; nullptr when the key or the index is unknown.
    const Record* Get(std::int32_t key, std::int32_t index) const
    {
        std::lock_guard lock(m_lock);
        const auto found = m_results.find(key);
        if (found == m_results.end() || index < 0 || static_cast<std::size_t>(index) >= found->second.size())
            return nullptr;
        return found->second[static_cast<std::size_t>(index)].get();
    }
    /// Hands every candidate of key to the caller and forgets the key.
    Candidates Take(std::int32_t key)
    {
        std::lock_guard lock(m_lock);
        const auto found = m_results.find(key);
        if (found == m_results.end())
            return {};
        Candidates taken = std::move(found->second);
        m_results.erase(found);
        return taken;
    }

private:
    mutable std::mutex m_lock;
    std::map<std::int32_t, Candidates> m_results;
};
