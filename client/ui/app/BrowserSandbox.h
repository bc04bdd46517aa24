#pragma once
// The browser engine refuses to start its sandbox for the root user and ends
// the program instead ("Running as root without --no-sandbox is not
// supported"). As root the program therefore switches the sandbox off, as the
// engine's QTWEBENGINE_DISABLE_SANDBOX allows.
#include <sys/types.h>

/// For effectiveUser 0 sets QTWEBENGINE_DISABLE_SANDBOX=1 unless it is set
/// already (any value switches the sandbox off); true when it set it. Call
/// before the QApplication exists: the engine reads the switch as it starts.
bool SwitchOffBrowserSandboxForRoot(uid_t effectiveUser);
