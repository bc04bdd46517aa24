#pragma once
// Whether the message boxes can be shown. Qt ends the process when none of the
// platforms it tries opens, so the program checks first and, when none opens,
// asks on the terminal instead.
#include <functional>
#include <string>
#include <string_view>

/// The platforms Qt would try (the list in QT_QPA_PLATFORM, else Wayland when
/// the session is one, then X11) whose display opens now and whose plugin is
/// installed, in that order, as a QT_QPA_PLATFORM list ("wayland;xcb"). Empty
/// when none does. Platforms that show the user nothing (offscreen, minimal)
/// or that cannot be checked here count as not opening.
std::string OpenablePlatforms(const std::function<bool(std::string_view platform)>& pluginInstalled);
