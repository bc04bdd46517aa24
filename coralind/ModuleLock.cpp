#include "coralind/ModuleLock.h"

#include <atomic>

namespace {
std::atomic<long> g_locks{0};
}

void ModuleLock()
{
    g_locks.fetch_add(1);
}

void ModuleUnlock()
{
    g_locks.fetch_sub(1);
}

long ModuleLockCount()
{
    return g_locks.load();
}
