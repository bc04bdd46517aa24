// corvanta: the desktop client.
#include "client/ui/app/BrowserSandbox.h"
#include "client/ui/app/ClientApp.h"
#include "client/ui/base/QtUiDispatcher.h"

#include "platform/DisplayCheck.h"
#include "platform/Threading.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

// "DISPLAY=:73, WAYLAND_DISPLAY unset, ...": what a member looks at first.
std::string DisplaySettings()
{
    std::string text;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        text += (text.empty() ? "" : ", ") + std::string(name) + (value ? std::string("=") + value : " unset");
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (SwitchOffBrowserSandboxForRoot(geteuid()))
        std::fputs("corvanta: running as root, so the browser engine runs without its sandbox "
                   "(QTWEBENGINE_DISABLE_SANDBOX=1); run corvanta as an ordinary user to keep it\n",
                   stderr);
    // Qt aborts when none of the platforms it tries opens: it is handed only
    // those seen to open. A platform asked for by name that cannot be checked
    // here (offscreen, vnc) is left to Qt. Without a display the program ends
    // saying so: drawing nowhere, it could be neither seen nor closed.
    if (OnlyCheckablePlatformsRequested()) {
        const std::string plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString();
        const std::string platforms =
            OpenablePlatforms([&](std::string_view platform) { return PlatformPluginInstalled(platform, plugins); });
        if (platforms.empty()) {
            std::fprintf(stderr,
                         "corvanta: no display could be opened (%s); start corvanta in a desktop session, "
                         "or set DISPLAY or WAYLAND_DISPLAY to a display that answers\n",
                         DisplaySettings().c_str());
            return 1;
        }
        setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
    }
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
