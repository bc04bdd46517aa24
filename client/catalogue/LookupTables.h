#pragma once
// The named choice lists of the client (genres, moods, profile lists...).
// Readers on any thread get immutable snapshots: a rebuild is made aside and
// swapped in whole, so nobody sees a half-filled table.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct LookupItem {
    std::int32_t identifier = 0;
    std::string text;
    bool operator==(const LookupItem&) const = default;
};

using LookupList = std::vector<LookupItem>;

class CLookupTables {
public:
    CLookupTables();

    /// The items of the table, in document order; nullptr when there is no such
    /// table. Names are case-sensitive. The list stays valid while held.
    std::shared_ptr<const LookupList> Lookup(const std::string& name) const;
    /// Appends item to the table, creating the table when needed.
    void Add(const std::string& name, LookupItem item);
    void Clear();
    /// Enters every Select of the document (except SubGenres ones). False, and
    /// nothing changed, when the text is not a document.
    bool Load(const std::string& documentText, bool clearFirst);
    void LoadDefaults();
    /// The table names, sorted.
    std::vector<std::string> Names() const;

    /// The built-in document loaded before the server's tables arrive.
    static const char* DefaultDocument();

private:
    using Map = std::map<std::string, std::shared_ptr<const LookupList>>;

    mutable std::mutex m_mutex;
    std::shared_ptr<const Map> m_tables;
};
