#pragma once
// The shell's "open" verb and the temporary folder.
#include <functional>
#include <string>

/// Opens a file or address with the desktop's default program (xdg-open, started
/// directly, never through a shell). Returns at once; false when it could not be started.
bool ShellOpen(const std::string& target);

/// Replaces what ShellOpen does (tests record the targets); an empty handler restores it.
void SetShellOpenHandler(std::function<bool(const std::string&)> handler);

/// The temporary folder with its trailing "/": $TMPDIR when set, else /tmp/.
std::string TemporaryFolder();
