#pragma once
// Shared by the session tests: a private registry folder, a plain and a secure
// loopback server that the active server settings point at, a user-interface
// pump and a recording message box.
#include "client/protocol/ServerSettings.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestPump.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string caption;
};

class SessionFixture : public testing::Test {
protected:
    static constexpr const char* kPagePrefix = "/corvanta/production/orvane/";

    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("CORVANTA_CA_FILE", m_secure.CertificateFile().c_str(), 1);
        m_settings.SetServerHost(CLoopbackHttpServer::kHost);
        m_settings.SetPortOverride(m_plain.Port(), m_secure.Port());
        SetActiveServerSettings(&m_settings);
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            m_messages.push_back({text, caption});
            return kIdOk;
        });
    }

    void TearDown() override
    {
        WaitForWorkerThreads(std::chrono::seconds(20));
        m_pump.RunPending();
        SetMessageBoxHandler({});
        SetActiveServerSettings(nullptr);
        unsetenv("CORVANTA_CA_FILE");
    }

    static std::string PagePath(const std::string& page) { return kPagePrefix + page; }

    CScopedTestFolders m_folders;  // a private registry, removed with the test
    const std::string m_temp = m_folders.RootText();
    CTestPump m_pump;
    CLoopbackHttpServer m_plain{false};
    CLoopbackHttpServer m_secure{true};
    CServerSettings m_settings;
    std::vector<ShownMessage> m_messages;
};
