#include "prevcheck/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

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

} // namespace

std::string OpenablePlatforms(const std::function<bool(std::string_view platform)>& pluginInstalled)
{
    std::string requested = Environment("QT_QPA_PLATFORM");
    if (requested.empty()) {
        const bool wayland = !Environment("WAYLAND_DISPLAY").empty() || Environment("XDG_SESSION_TYPE") == "wayland";
        requested = wayland ? "wayland;xcb" : "xcb";
    }
    std::string openable;
    std::size_t start = 0;
    while (start <= requested.size()) {
        const std::size_t end = std::min(requested.find(';', start), requested.size());
        const std::string entry = requested.substr(start, end - start);
        start = end + 1;
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
