#include "prevcheck/CommandLine.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void SkipBlanks(std::string_view line, std::size_t& at)
{
    while (at < line.size() && IsBlank(line[at]))
        ++at;
}

std::string ProgramWord(std::string_view line, std::size_t& at)
{
    std::string word;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"')
            quoted = !quoted;
        else if (IsBlank(c) && !quoted)
            break;
        else
            word.push_back(c);
    }
    return word;
}

std::string ArgumentWord(std::string_view line, std::size_t& at)
{
    std::string word;
    bool quoted = false;
    while (at < line.size()) {
        const char c = line[at];
        if (c == '\\') {
            std::size_t count = 0;
            while (at < line.size() && line[at] == '\\') {
                ++count;
                ++at;
            }
            if (at < line.size() && line[at] == '"') {
                word.append(count / 2, '\\');
                if (count % 2 == 1) {
                    word.push_back('"');
                    ++at;
                }
            } else {
                word.append(count, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                word.push_back('"');
                at += 2;
                continue;
            }
            quoted = !quoted;
            ++at;
            continue;
        }
        if (IsBlank(c) && !quoted)
            break;
        word.push_back(c);
        ++at;
    }
    return word;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    SkipBlanks(line, at);
    if (at == line.size())
        return words;
    words.push_back(ProgramWord(line, at));
    for (;;) {
        SkipBlanks(line, at);
        if (at == line.size())
            break;
        words.push_back(ArgumentWord(line, at));
    }
    return words;
}
