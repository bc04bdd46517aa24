#include "prevcheck/OldVersion.h"

#include "platform/Registry.h"

#include <algorithm>

const std::array<const char*, 6> kHarmoluxUninstallKeys = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 5.0",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 4.0",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 3.0",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 2.2",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 2.1",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 2.0",
};

std::optional<std::string> ReadUninstallString(const CRegKey& key)
{
    const auto value = key.QueryValue("UninstallString");
    if (!value || value->data.size() > kUninstallStringBufferSize)
        return std::nullopt;
    const auto& bytes = value->data;
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
}

std::optional<std::string> FindUninstallCommand()
{
    for (const char* path : kHarmoluxUninstallKeys) {
        if (const auto key = CRegKey::Open(RegHive::LocalMachine, path))
            return ReadUninstallString(*key);
    }
    return std::nullopt;
}
