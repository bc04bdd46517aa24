#include "client/protocol/ServerSettings.h"

#include "shared/PagePaths.h"

#include <atomic>

namespace {
std::atomic<CServerSettings*> g_active{nullptr};
}

CServerSettings::CServerSettings(std::string host, DWORD defaultPorts)
    : m_host(std::move(host)), m_defaultPorts(defaultPorts)
{
}

std::string CServerSettings::ServerHost() const
{
    std::lock_guard lock(m_mutex);
    return m_host;
}

void CServerSettings::SetServerHost(std::string host)
{
    std::lock_guard lock(m_mutex);
    m_host = std::move(host);
}

DWORD CServerSettings::DefaultPorts() const
{
    std::lock_guard lock(m_mutex);
    return m_defaultPorts;
}

void CServerSettings::SetDefaultPorts(DWORD defaultPorts)
{
    std::lock_guard lock(m_mutex);
    m_defaultPorts = defaultPorts;
}

void CServerSettings::SetPortOverride(std::uint16_t plainPort, std::uint16_t securePort)
{
    std::lock_guard lock(m_mutex);
    m_plainOverride = plainPort;
    m_secureOverride = securePort;
}

std::uint16_t CServerSettings::Port(bool secure) const
{
    std::lock_guard lock(m_mutex);
    if (const std::uint16_t overridden = secure ? m_secureOverride : m_plainOverride)
        return overridden;
    if (m_defaultPorts != 0)
        return secure ? 443 : 80;
    return secure ? 7002 : 7001;
}

std::string CServerSettings::GetServerBaseUrl(bool secure) const
{
    const std::uint16_t port = Port(secure);
    std::lock_guard lock(m_mutex);
    return std::string(secure ? "https://" : "http://") + m_host + ":" + std::to_string(port) + PagePaths::kProduction;
}

void SetActiveServerSettings(CServerSettings* settings)
{
    g_active.store(settings);
}

CServerSettings& ActiveServerSettings()
{
    static CServerSettings defaults;
    CServerSettings* active = g_active.load();
    return active != nullptr ? *active : defaults;
}
