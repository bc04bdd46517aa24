#include "platform/BlockingCall.h"

#include <mutex>

namespace {
std::mutex g_mutex;
BlockingCallRunner g_runner;
thread_local unsigned t_message = 0;
}  // namespace

void SetBlockingCallRunner(BlockingCallRunner runner)
{
    std::lock_guard lock(g_mutex);
    g_runner = std::move(runner);
}

void RunBlockingCall(const std::function<void()>& work)
{
    BlockingCallRunner runner;
    {
        std::lock_guard lock(g_mutex);
        runner = g_runner;
    }
    if (runner)
        runner(work);
    else
        work();
}

CBlockingCallMessage::CBlockingCallMessage(unsigned messageId) : m_previous(t_message)
{
    t_message = messageId;
}

CBlockingCallMessage::~CBlockingCallMessage()
{
    t_message = m_previous;
}

unsigned CBlockingCallMessage::Current()
{
    return t_message;
}
