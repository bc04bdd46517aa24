#pragma once
// The application object of the program: owns the client core, gives it the
// windows only the user interface has, and handles the application's menu
// commands. One instance, made on the user-interface thread after the
// QApplication.
#include "client/app/ClientShell.h"
#include "client/app/LoginPrompt.h"
#include "client/ui/shell/CommandTarget.h"
#include "client/ui/shell/QtClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QDialog>
#include <QWidget>

#include <memory>
#include <string>

class CBlockingCallRunner;
class CClientCore;
class CMainFrame;
class CModalWindowCloser;
class CPreviewBrowser;
class CProgressDlg;
class CSession;

class CClientApp : public QObject, public IClientShell, public ILoginPrompt, public ICommandTarget {
public:
    CClientApp();
    ~CClientApp() override;
    CClientApp(const CClientApp&) = delete;
    CClientApp& operator=(const CClientApp&) = delete;

    /// The instance, or nullptr.
    static CClientApp* Instance();

    /// Start-up, the message loop while the main window is open, then exit.
    /// Returns the loop's exit code.
    int Run();
    /// What SIGINT and SIGTERM do: close every modal window that is up or
    /// comes up from now on, and the main window; start-up, if still under
    /// way, goes no further.
    void RequestQuit();
    /// Start-up alone (Run's first part).
    void StartUp();
    /// Exit alone: the main window (if any) is closed first.
    void ShutDown();

    CClientCore& Core() { return *m_core; }
    CSession& Session();
    /// The main frame, or nullptr before it exists and after it closed.
    CMainFrame* MainWindow() const;

    /// The application's menu commands, the last target of the routing chain.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    /// The shell's "open" verb on url.
    void OpenUrl(const std::string& url);
    /// While a modal request runs, the main window takes no input.
    void DisableMainWindow();
    void EnableMainWindow();
    /// The busy window over parent, centred on the main window, showing
    /// string id; one at a time. HideProgress destroys it.
    void ShowProgress(QWidget* parent, unsigned stringId);
    void HideProgress();
    CProgressDlg* ProgressWindow() const;

    // IClientShell
    void CreateMainWindow() override;
    void RunWelcomeDialog(const std::string& versionText) override;
    bool MainWindowExists() const override;
    void CreatePreviewBrowser() override;
    ILoginPrompt& LoginPrompt() override { return *this; }
    void AcceptDroppedFiles() override;
    void NavigatePreview(const std::string& url) override;
    void ShowUpgradeStatus(const CCheckForUpgradeRequest& request) override;
    void DestroyExitWindows() override;

    // ILoginPrompt
    bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) override;

private:
    void RunCommand(unsigned id);
    void ShowAbout();
    void ShowOptions();
    void ShowServerOptions();
    void ToggleDetails();
    void CloseMainWindow();

    CQtClipboardStore m_clipboard;
    std::unique_ptr<CBlockingCallRunner> m_blockingCalls;
    std::unique_ptr<CClientCore> m_core;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_detailPane;
    QPointer<CPreviewBrowser> m_previewBrowser;
    // Owned here; also a child of the window it stands over, which may go first.
    QPointer<QDialog> m_progress;
    bool m_inMessageLoop = false;
    bool m_quitRequested = false;
    std::unique_ptr<CModalWindowCloser> m_modalCloser;
};
