#pragma once
// Finding the uninstaller of an installed older Harmolux.
#include <array>
#include <cstddef>
#include <optional>
#include <string>

class CRegKey;

/// The uninstall keys under HKEY_LOCAL_MACHINE, newest version first.
extern const std::array<const char*, 6> kHarmoluxUninstallKeys;

/// The size of the buffer "UninstallString" is read into, its NUL included.
constexpr std::size_t kUninstallStringBufferSize = 1024;

/// The key's "UninstallString" as text, whatever type it is stored as;
/// nullopt when it is missing or needs more than 1024 bytes.
std::optional<std::string> ReadUninstallString(const CRegKey& key);

/// Opens the uninstall keys in order and reads the value of the first that
/// opens; no later key is tried, even when that read fails.
std::optional<std::string> FindUninstallCommand();
