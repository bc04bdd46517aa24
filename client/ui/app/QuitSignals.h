#pragma once
// SIGINT and SIGTERM end the program the way closing its window does (logout,
// placement and preferences written) instead of killing it on the spot. The
// handler only writes a byte to a pipe; the callback runs on the
// user-interface thread. A second signal kills the program as usual.
#include <QObject>

#include <functional>

class QSocketNotifier;

class CQuitSignals : public QObject {
public:
    /// Installs the handlers; quit runs on the user-interface thread when a
    /// signal arrives. One instance at a time.
    explicit CQuitSignals(std::function<void()> quit);
    /// Restores the default actions.
    ~CQuitSignals() override;
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

private:
    void OnSignal();

    std::function<void()> m_quit;
    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
