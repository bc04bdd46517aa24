#pragma once
// What the four search requests share: one key per posted search, and per key
// the summaries and the identifiers of all matches that its answer brought.
#include "client/protocol/SummaryRequest.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

/// One text field of a search: the text and how the server is to match it.
struct SearchText {
    std::string text;
    std::int32_t searchType = 0;
};

/// One numeric field (a lookup table identifier); 0 leaves it out.
struct SearchNumber {
    std::int32_t value = 0;
    std::int32_t searchType = 0;
};

template <class Record>
class CSearchRequest : public CSummaryRequest {
public:
    ~CSearchRequest() override;

    /// Summaries of that search; 0 before its answer arrived.
    std::int32_t Count(std::int32_t key) const;
    /// Still owned by the request; nullptr when out of range.
    const Record* Summary(std::int32_t key, std::int32_t index) const;
    /// All matches of that search; empty before its answer arrived.
    std::vector<std::uint32_t> Identifiers(std::int32_t key) const;
    /// Whether the answer of that key has been stored.
    bool HasResult(std::int32_t key) const;
    /// Frees the results of a search that is no longer shown.
    void ReleaseResult(std::int32_t key);

    /// The key the next search will get.
    std::int32_t LastKey() const { return m_keyCounter.load(); }

protected:
    CSearchRequest(const char* page, const char16_t* summaryElement);

    /// Posts the body with value 2 = the new key; returns the key.
    std::int32_t PostSearch(const std::string& body, std::int32_t value1);
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    struct Result {
        std::vector<std::unique_ptr<Record>> summaries;
        std::vector<std::uint32_t> identifiers;
    };

    const char16_t* m_summaryElement;
    std::atomic<std::int32_t> m_keyCounter{0};
    mutable std::mutex m_mutex;  // the hook stores while the user-interface thread reads
    std::map<std::int32_t, std::unique_ptr<Result>> m_results;
};

/// Appends "&" (when body is not empty) and part to body.
void AppendSearchPart(std::string& body, const std::string& part);
/// "Key=value&KeySearchType=n" with the value made form-safe.
std::string SearchTextPart(const char* key, const SearchText& field);
std::string SearchNumberPart(const char* key, const SearchNumber& field);
