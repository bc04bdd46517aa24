#pragma once
// What only the user interface has, as the application core asks for it
// during start-up and exit. The program's application object implements it;
// every call comes on the user-interface thread, in the order shown.
#include <string>

class CCheckForUpgradeRequest;
class ILoginPrompt;

class IClientShell {
public:
    /// Start-up, after the keep-alive has started: create the main frame, make
    /// it the main window, show it and paint it at once.
    virtual void CreateMainWindow() = 0;
    /// Start-up: the welcome dialog, modal and without a parent, at every start.
    virtual void RunWelcomeDialog(const std::string& versionText) = 0;
    /// False once the member has closed the main window (for instance during
    /// the welcome dialog): the steps that need it are then skipped.
    virtual bool MainWindowExists() const = 0;
    /// Start-up, while the main window exists: remember the frame's detail pane
    /// and create the hidden preview browser (none when its window fails).
    virtual void CreatePreviewBrowser() = 0;
    /// The Login dialog of the login flow, at start-up and for "Log In".
    virtual ILoginPrompt& LoginPrompt() = 0;
    /// Start-up, while the main window exists, after the login flow.
    virtual void AcceptDroppedFiles() = 0;

    /// Navigates the preview browser to url; nothing when there is none.
    virtual void NavigatePreview(const std::string& url) = 0;
    /// Creates or shows the "Upgrade Status" window from the request's answer.
    virtual void ShowUpgradeStatus(const CCheckForUpgradeRequest& request) = 0;

    /// Exit, after the requests are gone: delete the preview browser and the
    /// upgrade status window.
    virtual void DestroyExitWindows() = 0;

protected:
    ~IClientShell() = default;
};
