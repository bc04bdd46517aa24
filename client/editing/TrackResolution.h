#pragma once
// The outcome rules of the track suggestions, new artist and new track
// dialogs, without their windows. The dialogs call these; the requests are
// the catalogue's own.
#include "client/catalogue/PerformanceSummary.h"
#include "client/editing/ArtistRecord.h"

#include <cstdint>
#include <optional>
#include <string>

class CUpdateArtistRequest;
class CUpdatePerformanceRequest;

/// A typed artist or track name is acceptable once blanks at both ends are
/// removed and something is left.
bool NewNameAcceptable(const std::string& name);

/// Whether OK of the new artist and new track dialogs is enabled: adding a
/// new one needs an acceptable typed name, selecting one needs a selected row.
bool NewChoiceComplete(bool addNew, const std::string& typedName, bool rowSelected);

/// The artist record sent for a new artist: the name, empty texts and both
/// dates at day 0 (12/30/1899).
ArtistRecord NewArtistRecord(const std::string& name);

struct CreatedArtist {
    std::int32_t artistID = 0;
    std::string name;
};

/// After CreateArtist completed: the artist the dialog returns. nullopt when
/// the answer carried no ArtistID, which the dialog reports as "Could not
/// create artist." rather than handing on artist 0.
std::optional<CreatedArtist> ArtistCreated(const CUpdateArtistRequest& request, const std::string& typedName);

/// The track record sent for a new track.
PerformanceSummary NewTrackRecord(const std::string& artistName, std::int32_t artistID, const std::string& trackName);

/// After CreatePerformance completed: the track with its new number. nullopt
/// when the answer carried no PerformanceID ("Could not create track.").
std::optional<PerformanceSummary> TrackCreated(const CUpdatePerformanceRequest& request, PerformanceSummary track);
