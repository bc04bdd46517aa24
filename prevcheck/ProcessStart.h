#pragma once
// Starting a program as a separate process and waiting for it.
#include <string>
#include <vector>

/// Starts words[0] with the other words as its arguments (a name without "/"
/// is looked up on PATH), with this process's environment and folder and no
/// open descriptors but the standard three; then waits, with no time limit,
/// until it ends. False when it could not be started; its outcome is not
/// reported.
bool StartProcessAndWait(const std::vector<std::string>& words);
