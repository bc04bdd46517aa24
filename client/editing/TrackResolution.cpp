#include "client/editing/TrackResolution.h"

#include "client/editing/UpdateArtistRequest.h"
#include "client/editing/UpdatePerformanceRequest.h"

bool NewNameAcceptable(const std::string& name)
{
    return name.find_first_not_of(" \t") != std::string::npos;
}

bool NewChoiceComplete(bool addNew, const std::string& typedName, bool rowSelected)
{
    return addNew ? NewNameAcceptable(typedName) : rowSelected;
}

ArtistRecord NewArtistRecord(const std::string& name)
{
    ArtistRecord artist;
    artist.Name = name;
    return artist;
}

std::optional<CreatedArtist> ArtistCreated(const CUpdateArtistRequest& request, const std::string& typedName)
{
    if (request.ArtistID() == 0)
        return std::nullopt;
    return CreatedArtist{request.ArtistID(), typedName};
}

PerformanceSummary NewTrackRecord(const std::string& artistName, std::int32_t artistID, const std::string& trackName)
{
    PerformanceSummary track;
    track.ArtistName = artistName;
    track.primaryArtistID = artistID;
    track.SongName = trackName;
    return track;
}

std::optional<PerformanceSummary> TrackCreated(const CUpdatePerformanceRequest& request, PerformanceSummary track)
{
    if (request.PerformanceID() == 0)
        return std::nullopt;
    track.performanceID = request.PerformanceID();
    return track;
}
