#include "client/catalogue/OleDateTime.h"

#include "platform/Text.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <locale>
#include <optional>
#include <vector>

namespace {

using namespace std::chrono;

constexpr sys_days kOleEpoch = sys_days{year{1899} / December / 30};

bool ValidParts(int y, int mo, int d, int h, int mi, int s)
{
    if (y < 100 || y > 9999 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return false;
    if (mo < 1 || mo > 12 || d < 1)
        return false;
    return year_month_day{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}}.ok();
}

struct Token {
    enum Kind { Number, Word, Separator } kind = Number;
    int value = 0;       // Number
    int digits = 0;      // Number
    std::string text;    // Word (lower case)
    char separator = 0;  // Separator
};

std::optional<std::vector<Token>> Tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= '0' && c <= '9') {
            Token t;
            t.kind = Token::Number;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
                if (t.digits < 9)
                    t.value = t.value * 10 + (text[i] - '0');
                ++t.digits;
                ++i;
            }
            tokens.push_back(t);
        } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') {
            Token t;
            t.kind = Token::Word;
            while (i < text.size() && ((static_cast<unsigned char>(text[i]) | 0x20) >= 'a') &&
                   ((static_cast<unsigned char>(text[i]) | 0x20) <= 'z'))
                t.text.push_back(static_cast<char>(text[i++] | 0x20));
            tokens.push_back(t);
        } else if (c == '/' || c == '-' || c == '.' || c == ':' || c == ',') {
            Token sep;
            sep.kind = Token::Separator;
            sep.separator = static_cast<char>(c);
            tokens.push_back(sep);
            ++i;
        } else if (IsBlank(static_cast<char>(c))) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

int MonthFromWord(const std::string& word)
{
    static constexpr std::array<const char*, 12> kMonths = {"january",   "february", "march",    "april",
                                                            "may",       "june",     "july",     "august",
                                                            "september", "october",  "november", "december"};
    if (word.size() < 3)
        return 0;
    for (size_t m = 0; m < kMonths.size(); ++m) {
        const std::string_view name = kMonths[m];
        if (word.size() <= name.size() && name.substr(0, word.size()) == word)
            return static_cast<int>(m) + 1;
    }
    if (word == "sept")
        return 9;
    return 0;
}

int ExpandYear(const Token& t)
{
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

int CurrentYear()
{
    const year_month_day today{floor<days>(system_clock::now())};
    return static_cast<int>(today.year());
}

}  // namespace

DateOrder UserDateOrder()
{
    try {
        const std::locale user("");
        switch (std::use_facet<std::time_get<char>>(user).date_order()) {
        case std::time_base::dmy: return DateOrder::DayMonthYear;
        case std::time_base::ymd:
        case std::time_base::ydm: return DateOrder::YearMonthDay;
        default: return DateOrder::MonthDayYear;
        }
    } catch (const std::exception&) {
        return DateOrder::MonthDayYear;
    }
}

COleDateTime COleDateTime::Invalid()
{
    COleDateTime result;
    result.m_status = invalid;
    return result;
}

COleDateTime COleDateTime::FromParts(int y, int mo, int d, int h, int mi, int s)
{
    if (!ValidParts(y, mo, d, h, mi, s))
        return Invalid();
    const sys_days date{year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}};
    const double dayCount = static_cast<double>((date - kOleEpoch).count());
    const double fraction = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
    return COleDateTime(dayCount >= 0 ? dayCount + fraction : dayCount - fraction);
}

bool COleDateTime::GetParts(Parts& parts) const
{
    if (m_status != valid || !std::isfinite(m_days) || std::fabs(m_days) > 3e6)
        return false;
    double whole = std::trunc(m_days);
    long long seconds = std::llround(std::fabs(m_days - whole) * 86400.0);
    if (seconds >= 86400) {  // rounding carried into the next day
        seconds -= 86400;
        whole += m_days >= 0 ? 1 : -1;
    }
    const year_month_day date{kOleEpoch + days{static_cast<long long>(whole)}};
    parts.year = static_cast<int>(date.year());
    parts.month = static_cast<int>(static_cast<unsigned>(date.month()));
    parts.day = static_cast<int>(static_cast<unsigned>(date.day()));
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    return true;
}

std::string COleDateTime::FormatIso() const
{
    Parts p{};
    if (!GetParts(p))
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return buffer;
}

bool COleDateTime::ParseDateTime(std::string_view text, DateOrder order)
{
    *this = Invalid();
    auto tokens = Tokenize(text);
    if (!tokens || tokens->empty())
        return false;
    std::vector<Token>& t = *tokens;

    // The time: H:MM[:SS[.fraction]] [AM|PM], or H AM|PM.
    int hour = 0, minute = 0, second = 0;
    bool haveTime = false;
    std::vector<Token> dateTokens;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool colonTime = t[i].kind == Token::Number && i + 2 < t.size() && t[i + 1].kind == Token::Separator &&
                               t[i + 1].separator == ':' && t[i + 2].kind == Token::Number;
        const bool meridiemTime = t[i].kind == Token::Number && i + 1 < t.size() && t[i + 1].kind == Token::Word &&
                                  (t[i + 1].text == "am" || t[i + 1].text == "pm");
        if (haveTime || (!colonTime && !meridiemTime)) {
            // An ISO "T" between date and time is a separator, not a word.
            if (t[i].kind == Token::Word && t[i].text == "t" && !haveTime)
                continue;
            dateTokens.push_back(t[i]);
            continue;
        }
        haveTime = true;
        hour = t[i].value;
        if (t[i].digits > 2)
            return false;
        size_t j = i + 1;
        if (colonTime) {
            if (t[i + 2].digits > 2)
                return false;
            minute = t[i + 2].value;
            j = i + 3;
            if (j + 1 < t.size() && t[j].kind == Token::Separator && t[j].separator == ':' &&
                t[j + 1].kind == Token::Number) {
                if (t[j + 1].digits > 2)
                    return false;
                second = t[j + 1].value;
                j += 2;
                if (j + 1 < t.size() && t[j].kind == Token::Separator && t[j].separator == '.' &&
                    t[j + 1].kind == Token::Number) {
                    // Fractions of a second round to the nearest second.
                    if (t[j + 1].digits >= 1 && t[j + 1].value >= 5 * std::pow(10, std::min(t[j + 1].digits, 9) - 1))
                        ++second;
                    j += 2;
                }
            }
        }
        if (j < t.size() && t[j].kind == Token::Word) {
            const std::string& w = t[j].text;
            if (w == "am" || w == "a" || w == "pm" || w == "p") {
                if (hour < 1 || hour > 12)
                    return false;
                const bool pm = w[0] == 'p';
                hour = hour % 12 + (pm ? 12 : 0);
                ++j;
            }
        }
        i = j - 1;
    }
    if (second == 60) {  // a rounded fraction
        second = 59;
    }

    // The date: numbers and at most one month name, with / - . , between them.
    std::vector<Token> numbers;
    int monthName = 0;
    char separator = 0;
    for (const Token& tok : dateTokens) {
        switch (tok.kind) {
        case Token::Number: numbers.push_back(tok); break;
        case Token::Word: {
            const int m = MonthFromWord(tok.text);
            if (m == 0 || monthName != 0)
                return false;
            monthName = m;
            break;
        }
        case Token::Separator:
            if (tok.separator == ':')
                return false;
            if (tok.separator != ',') {
                if (separator != 0 && separator != tok.separator)
                    return false;
                separator = tok.separator;
            }
            break;
        }
    }

    int y = 1899, mo = 12, d = 30;
    if (monthName != 0) {
        mo = monthName;
        if (numbers.size() == 2) {
            const bool yearFirst = numbers[0].digits > 2 || numbers[0].value > 31;
            d = yearFirst ? numbers[1].value : numbers[0].value;
            y = ExpandYear(yearFirst ? numbers[0] : numbers[1]);
        } else if (numbers.size() == 1) {
            d = numbers[0].value;
            y = CurrentYear();
        } else {
            return false;
        }
    } else if (numbers.size() == 3) {
        if (numbers[0].digits > 2 || order == DateOrder::YearMonthDay) {
            y = ExpandYear(numbers[0]);
            mo = numbers[1].value;
            d = numbers[2].value;
        } else if (order == DateOrder::DayMonthYear) {
            d = numbers[0].value;
            mo = numbers[1].value;
            y = ExpandYear(numbers[2]);
        } else {
            mo = numbers[0].value;
            d = numbers[1].value;
            y = ExpandYear(numbers[2]);
        }
    } else if (numbers.size() == 2) {
        const bool dayFirst = order == DateOrder::DayMonthYear;
        mo = dayFirst ? numbers[1].value : numbers[0].value;
        d = dayFirst ? numbers[0].value : numbers[1].value;
        y = CurrentYear();
    } else if (!numbers.empty() || !haveTime) {
        return false;
    }
    for (const Token& n : numbers)
        if (n.digits > 4)
            return false;

    if (!ValidParts(y, mo, d, hour, minute, second))
        return false;
    *this = FromParts(y, mo, d, hour, minute, second);
    return true;
}
