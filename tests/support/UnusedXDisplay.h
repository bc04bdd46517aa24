#pragma once
// An X display number no local server listens on, for a DISPLAY that does not open.
#include <filesystem>
#include <string>

inline int UnusedXDisplay()
{
    int display = 71;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(display)))
        ++display;
    return display;
}
