#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace corvanta::server {

// The fields of an application/x-www-form-urlencoded body or a query string.
class CFormFields {
public:
    CFormFields() = default;
    // "+" is a blank and %XX a byte; a key given twice keeps its last value.
    static CFormFields Parse(std::string_view text);

    bool Has(const std::string& key) const { return m_fields.count(key) != 0; }
    bool Empty() const { return m_fields.empty(); }
    std::string Get(const std::string& key) const;
    // Decimal number; 0 when absent or not a number (leading blanks and a sign allowed).
    int64_t GetInt(const std::string& key) const;
    void Set(const std::string& key, const std::string& value) { m_fields[key] = value; }
    // The other's fields replace same-named ones.
    void Merge(const CFormFields& other)
    {
        for (const auto& [key, value] : other.m_fields)
            m_fields[key] = value;
    }

    // Every field, for checks that look at all of them.
    const std::map<std::string, std::string>& All() const { return m_fields; }

    static std::string PercentEncode(std::string_view text);
    static int64_t ToInt(std::string_view text);

private:
    std::map<std::string, std::string> m_fields;
};

}  // namespace corvanta::server
