#pragma once

#include <cstdint>

namespace corvanta::server {

class CConnection;

// A made-up community to try the client with: the same data on every machine
// (fixed-seed generator), written once in one transaction.
class CDemoData {
public:
    static constexpr int kMembers = 30;
    static constexpr int kArtists = 320;
    static constexpr int kTracksPerArtist = 10;
    static constexpr int kPlaylists = 100;

    // False when the database was seeded before (nothing is changed then).
    static bool SeedOnce(CConnection& db, int pbkdf2Iterations, int64_t now);
};

} // namespace corvanta::server
