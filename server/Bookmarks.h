#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvanta::server {

class CDatabase;
class CXmlWriter;

// Each member's favorites: one ordered list per kind (1 artist, 2 playlist,
// 3 track, 4 playmaker).
class CBookmarks {
public:
    explicit CBookmarks(CDatabase& db) : m_db(db) {}

    static bool ValidKind(int64_t kind) { return kind >= 1 && kind <= 4; }

    // Appends the items in order; an item already in the list keeps its place and
    // its number. All or nothing: an unknown item refuses the whole request.
    bool Add(int64_t userId, int64_t kind, const std::vector<int64_t>& items, std::vector<int64_t>& bookmarkIds,
             std::string& error);
    bool Remove(int64_t userId, int64_t kind, const std::vector<int64_t>& bookmarkIds, std::string& error);
    // newPrevious 0 puts the favorite first.
    bool Move(int64_t userId, int64_t kind, int64_t bookmarkId, int64_t newPrevious, std::string& error);
    // The summaries of all four lists, each in the member's order.
    void WriteAll(CXmlWriter& xml, int64_t userId);

private:
    CDatabase& m_db;
};

}  // namespace corvanta::server
