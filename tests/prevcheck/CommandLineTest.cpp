#include "prevcheck/CommandLine.h"
#include "prevcheck/TerminalPrompt.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, Words)
{
    const struct {
        const char* line;
        Words expected;
    } cases[] = {
        {"/opt/harmolux/uninstall", {"/opt/harmolux/uninstall"}},
        {"  /bin/un   -a\t-b  ", {"/bin/un", "-a", "-b"}},
        {"\"/opt/Harmolux 5/un\" -f\"/opt/Harmolux 5/un.isu\"", {"/opt/Harmolux 5/un", "-f/opt/Harmolux 5/un.isu"}},
        {"/bin/un \"two words\" three", {"/bin/un", "two words", "three"}},
        {"/bin/un \"\" x", {"/bin/un", "", "x"}},
        {"/bin/un a\"b c\"d", {"/bin/un", "ab cd"}},
        {"/bin/un \"say \"\"hi\"\"\"", {"/bin/un", "say \"hi\""}},
        {"/bin/un \\\"quoted\\\"", {"/bin/un", "\"quoted\""}},
        {"/bin/un C:\\dir\\file", {"/bin/un", "C:\\dir\\file"}},
        {"/bin/un \"C:\\dir\\\\\" next", {"/bin/un", "C:\\dir\\", "next"}},
        {"/bin/un a\\\\\\\"b", {"/bin/un", "a\\\"b"}},
        {"\"C:\\Program Files\\un.exe\" x", {"C:\\Program Files\\un.exe", "x"}},
        {"/bin/un \"unterminated arg", {"/bin/un", "unterminated arg"}},
        {"", {}},
        {" \t ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitCommandLine(c.line), c.expected);
    }
}

TEST(TerminalPrompt, Answers)
{
    const struct {
        const char* input;
        bool yes;
    } cases[] = {
        {"y\n", true},   {"yes\n", true}, {"YES\r\n", true}, {" Y \n", true},   {"y", true},     {"n\n", false},
        {"no\n", false}, {"\n", false},   {"", false},       {"yess\n", false}, {"ye\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        std::istringstream in(c.input);
        std::ostringstream out;
        std::ostringstream err;
        CTerminalPrompt prompt(in, out, err);
        EXPECT_EQ(prompt.AskToUninstall(), c.yes);
        EXPECT_EQ(out.str(),
                  "Old version detected\nInstallShield found a previous version of Harmolux installed on your "
                  "computer.\nDo you want to uninstall it?\n\n NOTE: Uninstall will not remove settings or database "
                  "files.\n[y/N] ");
        EXPECT_TRUE(err.str().empty());
    }
}

TEST(TerminalPrompt, ErrorGoesToTheErrorStream)
{
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    CTerminalPrompt(in, out, err).ShowStartError();
    EXPECT_EQ(err.str(), "Error: Unable to start uninstall.\n");
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
