#include "client/ui/web/LinkText.h"

#include "platform/Text.h"

#include <cctype>
#include <limits>

namespace LinkText {

std::int32_t LeadingInteger(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return value >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(value);
}

std::string AfterLastQuestionMark(const std::string& path)
{
    const std::size_t mark = path.rfind('?');
    return mark == std::string::npos ? path : path.substr(mark + 1);
}

std::vector<std::pair<std::string, std::string>> SplitQuery(const std::string& query)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(start, end - start);
        if (!pair.empty()) {
            const std::size_t equals = pair.find('=');
            if (equals == std::string::npos)
                pairs.emplace_back(pair, std::string());
            else
                pairs.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        }
        start = end + 1;
    }
    return pairs;
}

}  // namespace LinkText
