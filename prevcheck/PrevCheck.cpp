#include "prevcheck/PrevCheck.h"

#include "prevcheck/CommandLine.h"
#include "prevcheck/OldVersion.h"
#include "prevcheck/ProcessStart.h"

std::string WithLineFeeds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

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
