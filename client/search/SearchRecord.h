#pragma once
// One search of the controller: its query, all matching identifiers and the
// results fetched so far.
#include "client/catalogue/ItemRef.h"
#include "client/search/SearchQuery.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// A result of a search; it owns its item reference and the record behind it.
class CSearchResultItem {
public:
    template <class Record>
    explicit CSearchResultItem(std::unique_ptr<Record> record)
        : m_item(std::make_unique<CItemRef>(record.get())), m_record(std::move(record))
    {
    }
    CItemRef* Item() const { return m_item.get(); }

private:
    std::unique_ptr<CItemRef> m_item;
    std::shared_ptr<void> m_record;  // keeps the deleter of its own kind
};

struct CSearchRecord {
    std::int32_t index = 0;
    std::string title;     // not used
    std::int32_t key = 0;  // what the search request returned
    std::unique_ptr<CSearchQuery> query;
    std::vector<std::uint32_t> identifiers;  // all matches
    std::vector<std::unique_ptr<CSearchResultItem>> results;
    // Position of the first identifier not asked for yet.
    std::size_t nextIdentifier = 0;
};
