#pragma once

#include <cstdint>

namespace corvanta::server {

class CConnection;

// A made-up community to try the client with: the same data on every machine
// (fixed-seed generator), written once in one transaction.
//
// scale multiplies it: scale times the members, artists (and so tracks) and
// playlists; the demo member's favorites are 50 per scale step, a quarter of
// each kind (scale 1 keeps the plain demo's 23). Members past the first 30 have
// the password "demo", so that seeding hashes no more passwords than scale 1.
class CDemoData {
public:
    static constexpr int kMembers = 30;
    static constexpr int kArtists = 320;
    static constexpr int kTracksPerArtist = 10;
    static constexpr int kPlaylists = 100;
    static constexpr int kMaxScale = 1000;

    // False when the database was seeded before (nothing is changed then).
    static bool SeedOnce(CConnection& db, int pbkdf2Iterations, int64_t now, int scale = 1);
};

}  // namespace corvanta::server
