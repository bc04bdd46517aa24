#pragma once
// Reading the links the browser panes intercept: their query text and numbers
// (platform/Text.h decodes their escaped names). No Qt: the texts are URLs in
// their encoded form.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace LinkText {

/// The decimal integer at the start of text (blanks and a sign allowed
/// before the digits); 0 when there is none. Values beyond 32 bits saturate.
std::int32_t LeadingInteger(const std::string& text);

/// The text after the last '?' of path; the whole path when it has none.
std::string AfterLastQuestionMark(const std::string& path);

/// "k1=v1&k2=v2" as pairs in order; a pair without '=' has an empty value.
std::vector<std::pair<std::string, std::string>> SplitQuery(const std::string& query);

}  // namespace LinkText
