#include "platform/Dispatcher.h"

#include <atomic>

namespace {
std::atomic<IUiDispatcher*> g_dispatcher{nullptr};
}

void SetUiDispatcher(IUiDispatcher* dispatcher)
{
    g_dispatcher.store(dispatcher);
}

IUiDispatcher* GetUiDispatcher()
{
    return g_dispatcher.load();
}

void PostToUiThread(std::function<void()> task)
{
    if (IUiDispatcher* dispatcher = g_dispatcher.load())
        dispatcher->Post(std::move(task));
}
