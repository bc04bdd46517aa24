#pragma once
// Runs the Qt event loop until a condition holds, with a bound, for widget
// tests that wait on what the program's dispatcher delivers.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <functional>

/// Runs the Qt event loop until done() holds or boundMs passes.
inline bool SpinUntil(const std::function<bool()>& done, int boundMs = 20000)
{
    QDeadlineTimer deadline(boundMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}
