// corvanta: the desktop client.
#include "client/ui/app/ClientApp.h"
#include "client/ui/base/QtUiDispatcher.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The program takes no arguments: the command line is read and ignored.
    QCommandLineParser parser;
    parser.parse(QApplication::arguments());
    CQtUiDispatcher dispatcher;
    CClientApp app;
    return app.Run();
}
