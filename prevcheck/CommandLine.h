#pragma once
// Splitting a command line into words the way a Windows process start and
// its C runtime do, so registered uninstall strings mean what they meant
// there. No shell is involved.
#include <string>
#include <string_view>
#include <vector>

/// Words are separated by blanks and tabs outside double quotes. The first
/// word (the program) takes quotes as grouping only. In the others, "" inside
/// quotes is a literal quote, 2n backslashes before a quote give n backslashes
/// and a grouping quote, 2n+1 give n backslashes and a literal quote, and
/// backslashes elsewhere are literal.
std::vector<std::string> SplitCommandLine(std::string_view line);
