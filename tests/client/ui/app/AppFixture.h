#pragma once
// Shared by the application tests: a private registry folder, plain and
// secure loopback servers that the active settings point at, and a message
// box that records what it was asked to show.
#include "client/protocol/ServerSettings.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/QtSpin.h"
#include "tests/support/ScopedTestFolders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned type = 0;
};

class AppFixture : public testing::Test {
protected:
    static constexpr const char* kLoginPage = "/corvanta/production/orvane/UserLogin.jsp";

    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_secure.TrustCertificate();
        m_settings.SetServerHost(CLoopbackHttpServer::kHost);
        m_settings.SetPortOverride(m_plain.Port(), m_secure.Port());
        SetActiveServerSettings(&m_settings);
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned type) {
            m_messages.push_back({text, caption, type});
            return kIdOk;
        });
    }

    void TearDown() override
    {
        WaitForWorkerThreads(std::chrono::seconds(20));
        QCoreApplication::processEvents();
        SetMessageBoxHandler({});
        SetActiveServerSettings(nullptr);
        unsetenv("CORVANTA_CA_FILE");
    }

    CScopedTestFolders m_folders;  // a private registry, removed with the test
    const std::string m_temp = m_folders.RootText();
    CLoopbackHttpServer m_plain{false};
    CLoopbackHttpServer m_secure{true};
    CServerSettings m_settings;
    std::vector<ShownMessage> m_messages;
};
