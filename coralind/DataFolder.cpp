#include "coralind/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string DataFolder()
{
    std::string folder = Env("CORVANTA_DATA_DIR");
    if (folder.empty()) {
        std::string base = Env("XDG_DATA_HOME");
        // The base directory rules ignore a relative XDG_DATA_HOME.
        if (base.empty() || base.front() != '/')
            base = Env("HOME") + "/.local/share";
        folder = base + "/corvanta";
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}
