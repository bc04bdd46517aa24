#pragma once
// corvanta-server with a fresh demo community at a scale, in a temporary
// folder, as a process of its own as it would be; the requests of this
// process go to it, and demo is logged in. A bench that fails to start it ends.
// The bench compiles tests/support/ServerProcess.cpp and defines
// CORVANTA_SERVER_PROGRAM.
#include "client/app/UserLoginRequest.h"
#include "client/protocol/ServerSettings.h"
#include "tests/support/ServerProcess.h"

#include <cstdio>
#include <cstdlib>
#include <string>

class CDemoServer {
public:
    CDemoServer(const char* bench, int scale)
        : m_server(CORVANTA_SERVER_PROGRAM, {"--demo", "--demo-scale", std::to_string(scale), "--quiet"})
    {
        if (!m_server.Serving()) {
            std::fprintf(stderr, "%s: the server did not start\n%s", bench, m_server.Output().c_str());
            std::exit(1);
        }
        setenv("CORVANTA_CA_FILE", m_server.CertificateFile().c_str(), 1);
        m_settings.SetServerHost("127.0.0.1");
        m_settings.SetPortOverride(m_server.HttpPort(), m_server.HttpsPort());
        SetActiveServerSettings(&m_settings);
        CUserLoginRequest login;
        std::string error;
        if (Failed(login.Login("demo", "demo", error))) {
            std::fprintf(stderr, "%s: no login: %s\n", bench, error.c_str());
            std::exit(1);
        }
        m_token = login.Token();
    }
    ~CDemoServer() { SetActiveServerSettings(nullptr); }
    CDemoServer(const CDemoServer&) = delete;
    CDemoServer& operator=(const CDemoServer&) = delete;

    const std::string& Token() const { return m_token; }
    /// The address of a page on the plain port ("search/GetSummaries.jsp").
    std::string PageUrl(const std::string& page) const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.HttpPort()) + "/corvanta/production/orvane/" + page;
    }

private:
    CServerProcess m_server;
    CServerSettings m_settings;
    std::string m_token;
};
