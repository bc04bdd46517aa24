#pragma once
// A typed key/value store in the manner of the Windows registry, kept as
// human-readable text files under one folder (see README, "Registry files").
// A file that cannot be read or parsed is named on stderr and read as an
// empty key. Safe to use from several threads and processes at once.
// Key paths and value names compare ignoring case. Every read goes to the
// files, so a change made by another process is seen at once.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class RegHive { CurrentUser, LocalMachine, ClassesRoot };

/// Value types, numbered as the registry numbers them.
enum class RegType : std::uint32_t { String = 1, Binary = 3, Dword = 4 };

/// A value as stored: its type and its bytes. A string's bytes include the
/// terminating NUL, as the registry stores REG_SZ.
struct RegValue {
    RegType type = RegType::Binary;
    std::vector<std::uint8_t> data;
};

class CRegKey {
public:
    /// Opens an existing key; nullptr when it does not exist.
    static std::unique_ptr<CRegKey> Open(RegHive hive, std::string_view path);
    /// Opens a key, creating it and any missing parents; nullptr when that fails.
    static std::unique_ptr<CRegKey> Create(RegHive hive, std::string_view path);
    /// Deletes a key with every key and value below it; false when it did not
    /// exist, and for a hive itself (an empty path).
    static bool DeleteTree(RegHive hive, std::string_view path);

    /// The empty name is the key's default value.
    std::optional<RegValue> QueryValue(std::string_view name) const;
    bool SetValue(std::string_view name, const RegValue& value);
    bool DeleteValue(std::string_view name);

    /// Convenience forms: GetString/GetDword check the stored type.
    bool SetString(std::string_view name, std::string_view text);
    bool SetDword(std::string_view name, std::uint32_t value);
    std::optional<std::string> GetString(std::string_view name) const;
    std::optional<std::uint32_t> GetDword(std::string_view name) const;

    /// Value names as first written, in the order they were first written.
    std::vector<std::string> ValueNames() const;
    /// Sub-key names as first written, sorted ignoring case (as the registry lists them).
    std::vector<std::string> SubKeyNames() const;

    RegHive Hive() const { return m_hive; }
    /// The path as given to Open or Create, without empty or trailing parts.
    const std::string& Path() const { return m_path; }

    ~CRegKey();

private:
    CRegKey(RegHive hive, std::string path, std::string folder);
    RegHive m_hive;
    std::string m_path;
    std::string m_folder;
};

/// The folder that holds the store: $CORVANTA_REGISTRY_DIR, else
/// $XDG_CONFIG_HOME/corvanta/registry (~/.config when XDG_CONFIG_HOME is unset).
std::string RegistryRootFolder();

/// Parses "HKCU", "HKEY_CURRENT_USER", "HKLM", "HKEY_LOCAL_MACHINE", "HKCR",
/// "HKEY_CLASSES_ROOT" (ignoring case).
std::optional<RegHive> ParseRegHive(std::string_view name);
const char* RegHiveName(RegHive hive);
