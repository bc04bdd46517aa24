#include "prevcheck/TerminalPrompt.h"

#include "platform/Text.h"

#include <istream>
#include <ostream>
#include <string>

bool IsYesAnswer(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return false;
    line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    std::string lower(line);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower == "y" || lower == "yes";
}

bool CTerminalPrompt::AskToUninstall()
{
    m_out << kQuestionCaption << "\n" << WithLineFeeds(kQuestionText) << "\n[y/N] " << std::flush;
    std::string line;
    if (!std::getline(m_in, line))
        return false;
    return IsYesAnswer(line);
}

void CTerminalPrompt::ShowStartError()
{
    m_err << kErrorCaption << ": " << kErrorText << std::endl;
}
