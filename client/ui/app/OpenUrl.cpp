#include "client/ui/app/OpenUrl.h"

#include "platform/Shell.h"

bool OpenUrl(const std::string& url)
{
    return !url.empty() && ShellOpen(url);
}
