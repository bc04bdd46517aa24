#pragma once
// corvanta-server started by a test as a member would start it: its own data
// folder in a temporary folder, free loopback ports, and stopped with SIGTERM
// when the test ends. Its standard error is read as it comes, so the test can
// wait for a line instead of sleeping.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CServerProcess {
public:
    /// Starts program with "--data <temp>/data --host 127.0.0.1 --http-port 0
    /// --https-port 0" and the extra arguments (e.g. "--demo"), and waits
    /// until it serves or bound passes. Logins are made cheap to check.
    explicit CServerProcess(const std::string& program, const std::vector<std::string>& extraArgs = {"--demo"},
                            std::chrono::seconds bound = std::chrono::seconds(180));
    /// SIGTERM, waits for the program to end, and removes its folder.
    ~CServerProcess();
    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    bool Serving() const { return m_httpPort != 0; }
    std::uint16_t HttpPort() const { return m_httpPort; }
    std::uint16_t HttpsPort() const { return m_httpsPort; }
    /// The server's certificate, to trust through CORVANTA_CA_FILE.
    std::string CertificateFile() const { return (m_folder / "data" / "cert.pem").string(); }
    /// What the program wrote to its standard error so far.
    std::string Output() const;

private:
    void ReadOutput(int fd);

    std::filesystem::path m_folder;
    int m_pid = -1;
    std::uint16_t m_httpPort = 0;
    std::uint16_t m_httpsPort = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_output;
    bool m_ended = false;
    std::thread m_reader;
};
