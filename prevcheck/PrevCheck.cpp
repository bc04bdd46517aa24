#include "prevcheck/PrevCheck.h"

#include "prevcheck/CommandLine.h"
#include "prevcheck/OldVersion.h"
#include "prevcheck/ProcessStart.h"

void RunPrevCheck(IPrevCheckPrompt& prompt)
{
    const auto command = FindUninstallCommand();
    if (!command)
        return;
    if (!prompt.AskToUninstall())
        return;
    if (!StartProcessAndWait(SplitCommandLine(*command)))
        prompt.ShowStartError();
}
