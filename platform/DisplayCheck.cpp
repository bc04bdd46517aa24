#include "platform/DisplayCheck.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// libxcb reads DISPLAY and the authority file as Qt's X11 platform does.
bool XDisplayOpens()
{
    if (Environment("DISPLAY").empty())
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

// The compositor's socket: WAYLAND_DISPLAY (default "wayland-0"), absolute or
// in XDG_RUNTIME_DIR.
bool WaylandDisplayOpens()
{
    std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty())
        name = "wayland-0";
    std::string path = name;
    if (name.front() != '/') {
        const std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        path = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool opened = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return opened;
}

// The non-empty parts of text between separators.
std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The QT_QPA_PLATFORM entries Qt would try, options included.
std::vector<std::string> RequestedPlatforms()
{
    std::string requested = Environment("QT_QPA_PLATFORM");
    if (requested.empty()) {
        const bool wayland = !Environment("WAYLAND_DISPLAY").empty() || Environment("XDG_SESSION_TYPE") == "wayland";
        requested = wayland ? "wayland;xcb" : "xcb";
    }
    return Split(requested, ';');
}

}  // namespace

std::string OpenablePlatforms(const std::function<bool(std::string_view platform)>& pluginInstalled)
{
    std::string openable;
    for (const std::string& entry : RequestedPlatforms()) {
        // An entry may carry options after ":" ("xcb:nograb").
        const std::string platform = entry.substr(0, entry.find(':'));
        bool opens = false;
        if (platform == "xcb")
            opens = XDisplayOpens();
        else if (platform.starts_with("wayland"))
            opens = WaylandDisplayOpens();
        if (opens && pluginInstalled(platform))
            openable += (openable.empty() ? "" : ";") + entry;
    }
    return openable;
}

bool OnlyCheckablePlatformsRequested()
{
    for (const std::string& entry : RequestedPlatforms()) {
        const std::string platform = entry.substr(0, entry.find(':'));
        if (platform != "xcb" && !platform.starts_with("wayland"))
            return false;
    }
    return true;
}

bool PlatformPluginInstalled(std::string_view platform, const std::string& pluginsFolder)
{
    std::vector<std::string> folders = Split(Environment("QT_PLUGIN_PATH"), ':');
    folders.push_back(pluginsFolder);
    // Plugins are files named after their platform: libqxcb.so, libqwayland-egl.so.
    const std::string prefix = "libq" + std::string(platform);
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& file : std::filesystem::directory_iterator(folder + "/platforms", error)) {
            if (file.path().filename().string().starts_with(prefix) && file.is_regular_file(error))
                return true;
        }
    }
    return false;
}
