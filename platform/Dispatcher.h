#pragma once
// The one way a worker thread hands work to the user-interface thread.
// Tasks run on that thread in the order they were posted. The program installs
// a dispatcher on its event loop; tests install a pump they drive themselves.
#include <functional>

class IUiDispatcher {
public:
    virtual void Post(std::function<void()> task) = 0;

protected:
    ~IUiDispatcher() = default;
};

/// Installs the process-wide dispatcher (nullptr uninstalls it).
void SetUiDispatcher(IUiDispatcher* dispatcher);
IUiDispatcher* GetUiDispatcher();

/// Posts task to the user-interface thread; without a dispatcher the task is dropped.
void PostToUiThread(std::function<void()> task);
