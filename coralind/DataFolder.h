#pragma once
#include <string>

/// The folder that holds the track library: $CORVANTA_DATA_DIR when set, else
/// $XDG_DATA_HOME/corvanta (~/.local/share/corvanta), created when missing.
/// Returned also when it cannot be created; opening a file in it then fails.
std::string DataFolder();
