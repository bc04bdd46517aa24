#include "client/catalogue/PerformanceSummary.h"

std::string PerformanceDisplayText(const PerformanceSummary& performance)
{
    std::string text = performance.ArtistName + " : " + performance.SongName;
    if (!performance.Version.empty())
        text += " (" + performance.Version + ")";
    return text;
}
