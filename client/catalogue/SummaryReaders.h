#pragma once
// Readers of the summary elements of the server's answers. Each takes an
// element and returns a new record that the caller owns.
#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"

#include <memory>

class CXmlNode;

std::unique_ptr<PlaylistSummary> ReadPlaylistSummary(const CXmlNode& element);
std::unique_ptr<PerformanceSummary> ReadPerformanceSummary(const CXmlNode& element);
std::unique_ptr<ArtistSummary> ReadArtistSummary(const CXmlNode& element);
std::unique_ptr<UserSummary> ReadUserSummary(const CXmlNode& element);
/// A UserSummary from a Playmaker element.
std::unique_ptr<UserSummary> ReadPlaymaker(const CXmlNode& element);
/// An ArtistSummary from a PrimaryArtist element.
std::unique_ptr<ArtistSummary> ReadPrimaryArtist(const CXmlNode& element);

/// One overload per record, for code that is generic over the kind.
inline void ReadSummary(const CXmlNode& e, std::unique_ptr<PlaylistSummary>& out)
{
    out = ReadPlaylistSummary(e);
}
inline void ReadSummary(const CXmlNode& e, std::unique_ptr<PerformanceSummary>& out)
{
    out = ReadPerformanceSummary(e);
}
inline void ReadSummary(const CXmlNode& e, std::unique_ptr<ArtistSummary>& out)
{
    out = ReadArtistSummary(e);
}
inline void ReadSummary(const CXmlNode& e, std::unique_ptr<UserSummary>& out)
{
    out = ReadUserSummary(e);
}
