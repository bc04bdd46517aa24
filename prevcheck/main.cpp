// prevcheck: run by the installer before the client is installed, offers to
// remove an older Harmolux. Takes no arguments and always exits with 0.
#include "platform/DisplayCheck.h"
#include "platform/Text.h"
#include "prevcheck/PrevCheck.h"
#include "prevcheck/TerminalPrompt.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QString>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

// Message boxes without owner and without icon; the application object is
// made only when a box is about to be shown.
class CMessageBoxPrompt : public IPrevCheckPrompt {
public:
    CMessageBoxPrompt(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

    bool AskToUninstall() override
    {
        EnsureApplication();
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kQuestionCaption),
                        QString::fromUtf8(WithLineFeeds(kQuestionText)), QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    void ShowStartError() override
    {
        EnsureApplication();
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kErrorCaption), QString::fromUtf8(kErrorText),
                        QMessageBox::Ok);
        box.exec();
    }

private:
    void EnsureApplication()
    {
        if (!m_application)
            m_application = std::make_unique<QApplication>(m_argc, m_argv);
    }

    int& m_argc;
    char** m_argv;
    std::unique_ptr<QApplication> m_application;
};

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::string plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString();
        const std::string platforms =
            OpenablePlatforms([&](std::string_view platform) { return PlatformPluginInstalled(platform, plugins); });
        if (!platforms.empty()) {
            // Qt tries only what was seen to open.
            setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
            CMessageBoxPrompt prompt(argc, argv);
            RunPrevCheck(prompt);
        } else {
            CTerminalPrompt prompt(std::cin, std::cout, std::cerr);
            RunPrevCheck(prompt);
        }
    } catch (...) {
        // Whatever happened, the installer goes on.
    }
    return 0;
}
