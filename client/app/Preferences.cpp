#include "client/app/Preferences.h"

#include "platform/Registry.h"

CPreferences::CPreferences() : m_key(CRegKey::Create(RegHive::CurrentUser, KeyPath)) {}

CPreferences::~CPreferences() = default;

std::string CPreferences::GetString(std::string_view name) const
{
    if (!m_key)
        return {};
    const auto value = m_key->QueryValue(name);
    if (!value)
        return {};
    const auto& d = value->data;
    std::string text(d.begin(), d.end());
    return text.substr(0, text.find('\0'));
}

DWORD CPreferences::GetNumber(std::string_view name, DWORD fallback) const
{
    if (!m_key)
        return fallback;
    const auto value = m_key->QueryValue(name);
    if (!value || value->data.size() > 4)
        return fallback;
    DWORD number = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i)
        number |= static_cast<DWORD>(value->data[i]) << (8 * i);
    return number;
}

void CPreferences::SetString(std::string_view name, std::string_view text)
{
    if (m_key)
        m_key->SetString(name, text);
}

void CPreferences::SetNumber(std::string_view name, DWORD value)
{
    if (m_key)
        m_key->SetDword(name, value);
}
