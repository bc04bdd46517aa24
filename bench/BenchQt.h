#pragma once
// What a benchmark with widgets sets before its QApplication: the offscreen
// platform (unless another is asked for) and a private runtime folder.
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

inline void PrepareOffscreenQt()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/corvanta-bench-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}
