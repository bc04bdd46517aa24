#pragma once
// Where the application server is: host and port pair, and the base URL of
// its pages.
#include "platform/Result.h"

#include <cstdint>
#include <mutex>
#include <string>

/// Host used when the "appserver" preference is empty.
inline constexpr const char* kDefaultServerHost = "localhost";

class CServerSettings {
public:
    CServerSettings() = default;
    CServerSettings(std::string host, DWORD defaultPorts);

    std::string ServerHost() const;
    void SetServerHost(std::string host);
    /// Non-zero selects ports 80/443, zero the application-server ports 7001/7002.
    DWORD DefaultPorts() const;
    void SetDefaultPorts(DWORD defaultPorts);

    /// Seam for tests and local servers: a non-zero port replaces the one the
    /// port table would give for that scheme. Real use keeps both at 0.
    void SetPortOverride(std::uint16_t plainPort, std::uint16_t securePort);

    /// The port an exchange uses for the given scheme.
    std::uint16_t Port(bool secure) const;
    /// "http[s]://host:port/corvanta/production/".
    std::string GetServerBaseUrl(bool secure) const;

private:
    mutable std::mutex m_mutex;
    std::string m_host = kDefaultServerHost;
    DWORD m_defaultPorts = 1;
    std::uint16_t m_plainOverride = 0;
    std::uint16_t m_secureOverride = 0;
};

/// Installs the settings every request reads (the application object's);
/// nullptr goes back to built-in defaults. The settings must outlive their use.
void SetActiveServerSettings(CServerSettings* settings);
/// The installed settings, or a process-wide default instance.
CServerSettings& ActiveServerSettings();
