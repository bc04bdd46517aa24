#pragma once
// The program's runner of synchronous exchanges (platform/BlockingCall.h).
// The exchange runs on a worker thread; the user-interface thread meanwhile
// runs a nested event loop, so every window keeps painting, and shows the
// progress window, which is application-modal: input to the program's other
// windows is blocked. The dispatcher is held for the whole call, so no
// posted notification is delivered before the exchange has returned.
#include <functional>
#include <memory>

class CProgressDlg;
class QWidget;

class CBlockingCallRunner {
public:
    /// The window the progress window is centred on (null: the screen),
    /// asked at each call.
    using OwnerSource = std::function<QWidget*()>;

    /// Installs itself as the process-wide runner for its lifetime. Make it
    /// on the user-interface thread after the QApplication.
    explicit CBlockingCallRunner(OwnerSource owner = {});
    ~CBlockingCallRunner();
    CBlockingCallRunner(const CBlockingCallRunner&) = delete;
    CBlockingCallRunner& operator=(const CBlockingCallRunner&) = delete;

    /// Runs work as described above when called on the user-interface thread,
    /// inline on any other thread.
    void Run(const std::function<void()>& work);

    /// The progress window of the innermost call under way, else nullptr.
    CProgressDlg* ProgressWindow() const { return m_current; }

private:
    OwnerSource m_owner;
    CProgressDlg* m_current = nullptr;
};
