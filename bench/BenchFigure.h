#pragma once
// The one line every benchmark prints per figure:
//   FIGURE: NAME (REFERENCE): OURS vs THEIRS UNIT (ratio OURS/THEIRS)
#include <cstdio>

inline void PrintFigure(const char* name, const char* reference, double ours, double theirs, const char* unit,
                        int decimals = 1)
{
    std::printf("FIGURE: %s (%s): %.*f vs %.*f %s (ratio %.2f)\n", name, reference, decimals, ours, decimals, theirs,
                unit, theirs > 0 ? ours / theirs : 0.0);
    std::fflush(stdout);
}
