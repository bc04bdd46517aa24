// corvanta: the desktop client.
#include "client/ui/app/BrowserSandbox.h"
#include "client/ui/app/ClientApp.h"
#include "client/ui/base/QtUiDispatcher.h"

#include "platform/Threading.h"

#include <QApplication>
#include <QCommandLineParser>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (SwitchOffBrowserSandboxForRoot(geteuid()))
        std::fputs("corvanta: running as root, so the browser engine runs without its sandbox "
                   "(QTWEBENGINE_DISABLE_SANDBOX=1); run corvanta as an ordinary user to keep it\n",
                   stderr);
    QApplication application(argc, argv);
    // The program takes no arguments: the command line is read and ignored.
    QCommandLineParser parser;
    parser.parse(QApplication::arguments());
    CQtUiDispatcher dispatcher;
    CClientApp app;
    const int code = app.Run();
    // A post still under way (a login sent just before the window closed)
    // must not find the libraries it runs on torn down by the exit.
    if (!WaitForWorkerThreads(std::chrono::seconds(10))) {
        std::fflush(nullptr);
        std::quick_exit(code);
    }
    return code;
}
