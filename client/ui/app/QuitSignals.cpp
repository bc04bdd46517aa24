#include "client/ui/app/QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

int g_writeEnd = -1;
constexpr int kSignals[] = {SIGINT, SIGTERM};

extern "C" void OnQuitSignal(int number)
{
    // Only async-signal-safe calls here. The next such signal acts as usual.
    std::signal(number, SIG_DFL);
    const char byte = static_cast<char>(number);
    const ssize_t written = write(g_writeEnd, &byte, 1);
    static_cast<void>(written);
}

}  // namespace

CQuitSignals::CQuitSignals(std::function<void()> quit) : m_quit(std::move(quit))
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_pipe[0] = m_pipe[1] = -1;
        return;
    }
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CQuitSignals::OnSignal);
    for (int number : kSignals) {
        struct sigaction action {};
        action.sa_handler = OnQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(number, &action, nullptr);
    }
}

CQuitSignals::~CQuitSignals()
{
    if (m_pipe[0] < 0)
        return;
    for (int number : kSignals)
        std::signal(number, SIG_DFL);
    g_writeEnd = -1;
    delete m_notifier;
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void CQuitSignals::OnSignal()
{
    char bytes[16];
    while (read(m_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (m_quit)
        m_quit();
}
