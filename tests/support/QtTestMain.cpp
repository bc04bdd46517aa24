// The test main of widget tests: one QApplication on the offscreen platform
// and the program's dispatcher on its event loop.
#include "client/ui/base/QtUiDispatcher.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The browser engine refuses to start as root with its sandbox on; the
    // test's ENVIRONMENT property holds only the first variable of its list.
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder; test runs as root have none.
        const std::string runtime = "/tmp/corvanta-test-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    // Qt WebEngine wants shared OpenGL contexts set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    CQtUiDispatcher dispatcher;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
