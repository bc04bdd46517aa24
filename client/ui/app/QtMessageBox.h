#pragma once
// The program's message boxes on QMessageBox, installed into the platform's
// message-box seam, and the transport error box of the exchanges.
#include <string>

/// Shows a modal box now: the buttons and icon of type, the application
/// title as caption when caption is empty. From another thread it waits
/// for the user-interface thread to show it.
int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned type);

/// Routes ShowMessageBox to ShowQtMessageBox, and transport errors (reported
/// on worker threads) to an error box shown on the user-interface thread.
void InstallQtMessageBoxes();
/// Restores the platform defaults.
void UninstallQtMessageBoxes();
