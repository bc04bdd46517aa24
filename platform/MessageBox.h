#pragma once
// The one message-box function of the program. The user interface installs a
// handler that shows a real box; tests install one that records what was shown.
#include <functional>
#include <string>

enum MessageBoxType : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
};

enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

/// caption empty means the application title.
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

/// Installs the handler (an empty one restores the default, which writes to stderr
/// and answers OK or Yes).
void SetMessageBoxHandler(MessageBoxHandler handler);

/// Shows a message box and returns the button pressed.
int ShowMessageBox(const std::string& text, const std::string& caption = {}, unsigned type = kMbOk);
