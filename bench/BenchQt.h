#pragma once
// What a benchmark with widgets sets before its QApplication: the offscreen
// platform (unless another is asked for) and a private runtime folder; and
// how it times the user-interface thread's own work.
#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <time.h>
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

/// What earlier steps left for the event loop (layouts, paints) is done first.
inline void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

/// The calling thread's own processor time: what other threads and the server
/// do meanwhile is not counted.
inline double ThreadMillis()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
