#include "client/ui/app/BrowserSandbox.h"

#include <cstdlib>

bool SwitchOffBrowserSandboxForRoot(uid_t effectiveUser)
{
    if (effectiveUser != 0 || std::getenv("QTWEBENGINE_DISABLE_SANDBOX"))
        return false;
    return setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0) == 0;
}
