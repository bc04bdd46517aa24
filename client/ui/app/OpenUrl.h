#pragma once
// Opens a web address or file with the desktop's default program.
#include <string>

/// The shell's "open" verb on url; false when nothing could be started.
bool OpenUrl(const std::string& url);
