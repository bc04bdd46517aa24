#pragma once
// Whether a window can be shown. Qt ends the process with an abort when none
// of the platforms it tries opens, so a program checks first: prevcheck then
// asks on the terminal, corvanta says why it cannot start.
#include <functional>
#include <string>
#include <string_view>

/// The platforms Qt would try (the list in QT_QPA_PLATFORM, else Wayland when
/// the session is one, then X11) whose display opens now and whose plugin is
/// installed, in that order, as a QT_QPA_PLATFORM list ("wayland;xcb"). Empty
/// when none does. Platforms that show the user nothing (offscreen, minimal)
/// or that cannot be checked here count as not opening.
std::string OpenablePlatforms(const std::function<bool(std::string_view platform)>& pluginInstalled);

/// Whether every platform Qt would try is one OpenablePlatforms checks (X11,
/// Wayland); false when QT_QPA_PLATFORM names another (offscreen, vnc), which
/// only Qt can try.
bool OnlyCheckablePlatformsRequested();

/// Whether the plugin of platform ("xcb", "wayland-egl") lies in the
/// "platforms" folder under a folder of QT_PLUGIN_PATH or under pluginsFolder
/// (Qt's own, QLibraryInfo::path(QLibraryInfo::PluginsPath)).
bool PlatformPluginInstalled(std::string_view platform, const std::string& pluginsFolder);
