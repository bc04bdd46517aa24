#pragma once
// The member's preferences: the values under one per-user registry key.
// A CPreferences is short-lived: construct one for a read or write sequence
// and let it go. Nothing here reports an error; a key that cannot be opened
// reads as defaults and ignores writes.
#include <memory>
#include <string>
#include <string_view>

#include "platform/Result.h"

class CRegKey;

/// The preference value names, as stored.
namespace Pref {
constexpr const char* AppServer = "appserver";
constexpr const char* DefaultPorts = "defaultports";
constexpr const char* PreviouslyRun = "previouslyrun";
constexpr const char* AutoLogin = "autologin";
constexpr const char* UserHandle = "userhandle";
constexpr const char* Password = "password";
constexpr const char* PreviousSession = "Previous Session";
constexpr const char* MainX = "mainX";
constexpr const char* MainY = "mainY";
constexpr const char* MainCX = "mainCX";
constexpr const char* MainCY = "mainCY";
constexpr const char* Maximize = "maximize";
constexpr const char* HomeWidth = "homeWidth";
constexpr const char* AllowServerDialog = "allowserverdialog";
}  // namespace Pref

class CPreferences {
public:
    /// HKEY_CURRENT_USER, created when missing.
    static constexpr const char* KeyPath = "software\\corvanta\\tessarin\\preferences";

    CPreferences();
    ~CPreferences();
    CPreferences(const CPreferences&) = delete;
    CPreferences& operator=(const CPreferences&) = delete;

    /// The stored text up to its first NUL, whatever the stored type; empty when absent.
    std::string GetString(std::string_view name) const;
    /// The value's bytes (at most 4, zero-extended) as a number; fallback when the
    /// key is not open, the value is absent or it holds more than 4 bytes.
    DWORD GetNumber(std::string_view name, DWORD fallback) const;
    DWORD GetNumber(std::string_view name) const { return GetNumber(name, 0); }

    /// REG_SZ; the stored length counts the terminating NUL.
    void SetString(std::string_view name, std::string_view text);
    /// REG_DWORD of 4 bytes.
    void SetNumber(std::string_view name, DWORD value);

    bool IsOpen() const { return m_key != nullptr; }

private:
    std::unique_ptr<CRegKey> m_key;
};
