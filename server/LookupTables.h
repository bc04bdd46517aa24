#pragma once

#include <cstdint>
#include <string>

namespace corvanta::server {

class CConnection;

// The community's choice lists (genres, moods, member data), kept in the database.
class CLookupTables {
public:
    // Fills the tables on a fresh database; leaves existing ones alone.
    static void SeedIfEmpty(CConnection& db);
    // The Select/Item document that the client loads.
    static std::string ToXml(CConnection& db);
    static bool Contains(CConnection& db, const std::string& table, int64_t id);
    static std::string Text(CConnection& db, const std::string& table, int64_t id);
};

}  // namespace corvanta::server
