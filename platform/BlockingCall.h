#pragma once
// Synchronous work on the user-interface thread, such as an exchange the
// caller must wait for. By default the work runs on the calling thread. The
// program installs a runner that runs it on a worker while the calling thread
// keeps its windows painted, shows that it is busy, blocks input and holds
// back every posted notification until the work has returned, so that for
// the caller the call is as synchronous as running it inline.
#include <functional>

/// Runs work and returns only once work has returned.
using BlockingCallRunner = std::function<void(const std::function<void()>& work)>;

/// Installs the runner; an empty one restores running work inline.
void SetBlockingCallRunner(BlockingCallRunner runner);

/// Runs work through the installed runner and returns after it has returned.
/// Exceptions of work reach the caller.
void RunBlockingCall(const std::function<void()>& work);

/// While one lives on a thread, blocking calls made there describe themselves
/// with string id messageId (0: no text). Scopes nest; the innermost counts.
class CBlockingCallMessage {
public:
    explicit CBlockingCallMessage(unsigned messageId);
    ~CBlockingCallMessage();
    CBlockingCallMessage(const CBlockingCallMessage&) = delete;
    CBlockingCallMessage& operator=(const CBlockingCallMessage&) = delete;

    /// The message of the innermost scope on this thread, or 0.
    static unsigned Current();

private:
    unsigned m_previous;
};
