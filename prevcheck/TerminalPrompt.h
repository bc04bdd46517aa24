#pragma once
// The program's two messages on a terminal, for when there is no display.
#include "prevcheck/PrevCheck.h"

#include <iosfwd>
#include <string_view>

/// "y" or "yes" in any letter case, blanks around allowed.
bool IsYesAnswer(std::string_view line);

class CTerminalPrompt : public IPrevCheckPrompt {
public:
    CTerminalPrompt(std::istream& in, std::ostream& out, std::ostream& err) : m_in(in), m_out(out), m_err(err) {}

    /// Prints the question and reads one line; end of input counts as No.
    bool AskToUninstall() override;
    void ShowStartError() override;

private:
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
};
