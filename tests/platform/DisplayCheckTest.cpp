// Which platforms a program would hand to Qt, with displays that do and do
// not open: a listening socket stands in for a Wayland compositor.
#include "platform/DisplayCheck.h"

#include "tests/support/ScopedTestFolders.h"
#include "tests/support/UnusedXDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class DisplayCheck : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kNames) {
            if (const char* value = std::getenv(name))
                m_saved[name] = value;
            unsetenv(name);
        }
        setenv("XDG_RUNTIME_DIR", Folder().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_listener >= 0)
            close(m_listener);
        for (const char* name : kNames) {
            const auto saved = m_saved.find(name);
            if (saved == m_saved.end())
                unsetenv(name);
            else
                setenv(name, saved->second.c_str(), 1);
        }
    }

    std::string Folder() const { return m_folders.RootText(); }

    static void Use(const std::map<std::string, std::string>& environment)
    {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            unsetenv(name);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
    }

    /// A socket listening at path, as a compositor's does.
    void Listen(const std::string& path)
    {
        m_listener = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(m_listener, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        ASSERT_EQ(bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(m_listener, 4), 0);
    }

    static constexpr const char* kNames[] = {"DISPLAY",          "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                             "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR", "QT_PLUGIN_PATH"};
    CScopedTestFolders m_folders;
    std::map<std::string, std::string> m_saved;
    int m_listener = -1;
};

const auto kAnyPlugin = [](std::string_view) { return true; };

TEST_F(DisplayCheck, PlatformsWhoseDisplayOpens)
{
    const std::string unusedX = ":" + std::to_string(UnusedXDisplay());
    Listen(Folder() + "/wayland-7");
    const struct {
        const char* name;
        std::map<std::string, std::string> environment;
        bool pluginsInstalled;
        std::string expected;
    } cases[] = {
        {"no display at all", {}, true, ""},
        {"an X display that does not open", {{"DISPLAY", unusedX}}, true, ""},
        {"a Wayland display that does not open", {{"WAYLAND_DISPLAY", "wayland-8"}, {"DISPLAY", unusedX}}, true, ""},
        {"a Wayland display that opens", {{"WAYLAND_DISPLAY", "wayland-7"}, {"DISPLAY", unusedX}}, true, "wayland"},
        {"the same by its full path", {{"WAYLAND_DISPLAY", Folder() + "/wayland-7"}}, true, "wayland"},
        {"but without its plugin", {{"WAYLAND_DISPLAY", "wayland-7"}}, false, ""},
        {"a Wayland session's default display", {{"XDG_SESSION_TYPE", "wayland"}}, true, ""},
        {"Qt told the platforms, with options",
         {{"QT_QPA_PLATFORM", "xcb;wayland-egl:option;offscreen"},
          {"WAYLAND_DISPLAY", "wayland-7"},
          {"DISPLAY", unusedX}},
         true,
         "wayland-egl:option"},
        {"Qt told to show nothing", {{"QT_QPA_PLATFORM", "offscreen"}, {"WAYLAND_DISPLAY", "wayland-7"}}, true, ""},
        {"Qt told X11 only", {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-7"}}, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Use(c.environment);
        EXPECT_EQ(OpenablePlatforms([&](std::string_view) { return c.pluginsInstalled; }), c.expected);
    }

    // A session's default display is "wayland-0" in the runtime folder.
    close(m_listener);
    Listen(Folder() + "/wayland-0");
    Use({{"XDG_SESSION_TYPE", "wayland"}});
    EXPECT_EQ(OpenablePlatforms(kAnyPlugin), "wayland");
    setenv("XDG_RUNTIME_DIR", (Folder() + "/elsewhere").c_str(), 1);
    EXPECT_EQ(OpenablePlatforms(kAnyPlugin), "");
}

TEST_F(DisplayCheck, OnlyX11AndWaylandAreCheckedHere)
{
    const struct {
        const char* requested;  // QT_QPA_PLATFORM; empty: not set
        bool checkable;
    } cases[] = {
        {"", true},     {"xcb", true}, {"wayland-egl:option;xcb", true}, {"offscreen", false}, {"xcb;offscreen", false},
        {"vnc", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        Use(*c.requested ? std::map<std::string, std::string>{{"QT_QPA_PLATFORM", c.requested}}
                         : std::map<std::string, std::string>{});
        EXPECT_EQ(OnlyCheckablePlatformsRequested(), c.checkable);
    }
}

TEST_F(DisplayCheck, PlatformPluginsAreLookedForInQtsFolderAndThePluginPath)
{
    const std::filesystem::path own = Folder() + "/qt", extra = Folder() + "/extra";
    for (const auto& [folder, file] : {std::pair{own, "libqxcb.so"}, std::pair{extra, "libqwayland-egl.so"}}) {
        std::filesystem::create_directories(folder / "platforms");
        std::ofstream(folder / "platforms" / file) << "plugin";
    }
    EXPECT_TRUE(PlatformPluginInstalled("xcb", own.string()));
    EXPECT_FALSE(PlatformPluginInstalled("wayland", own.string()));
    setenv("QT_PLUGIN_PATH", (Folder() + "/none:" + extra.string()).c_str(), 1);
    EXPECT_TRUE(PlatformPluginInstalled("wayland", own.string()));
    EXPECT_TRUE(PlatformPluginInstalled("wayland-egl", Folder() + "/none"));
    EXPECT_FALSE(PlatformPluginInstalled("eglfs", own.string()));
}

}  // namespace
