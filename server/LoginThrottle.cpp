#include "server/LoginThrottle.h"

#include <algorithm>

namespace corvanta::server {

int64_t CLoginThrottle::Pause(const Policy& policy, int failures)
{
    if (failures < policy.freeFailures)
        return 0;
    int64_t pause = policy.firstPause;
    for (int i = policy.freeFailures; i < failures && pause < policy.maxPause; ++i)
        pause *= 2;
    return std::min(pause, policy.maxPause);
}

int64_t CLoginThrottle::Wait(Keys& keys, const std::string& name, const Policy& policy, int64_t now)
{
    auto it = keys.find(name);
    if (it == keys.end())
        return 0;
    KeyState& key = it->second;
    if (key.pending == 0 && now - key.lastFailure >= kForgetAfter) {
        keys.erase(it);
        return 0;
    }
    if (key.failures + key.pending < policy.freeFailures)
        return 0;
    return std::max<int64_t>(0, key.openAt - now);
}

void CLoginThrottle::Reserve(Keys& keys, const std::string& name, const Policy& policy, int64_t now)
{
    KeyState& key = keys[name];
    // Past the allowance the attempt takes the pause it would earn by failing,
    // so attempts sent side by side are refused until it is over.
    key.openAt = std::max(key.openAt, now + Pause(policy, key.failures + key.pending + 1));
    ++key.pending;
}

void CLoginThrottle::Report(Keys& keys, const std::string& name, const Policy& policy, int64_t now, bool failed)
{
    auto it = keys.find(name);
    if (it == keys.end())
        return;
    KeyState& key = it->second;
    if (key.pending > 0)
        --key.pending;
    if (failed) {
        ++key.failures;
        key.lastFailure = now;
    }
    int64_t openAt = key.failures >= policy.freeFailures ? key.lastFailure + Pause(policy, key.failures) : 0;
    // Another attempt still under way keeps the pause it reserved.
    key.openAt = key.pending > 0 ? std::max(key.openAt, openAt) : openAt;
    if (key.failures == 0 && key.pending == 0)
        keys.erase(it);
}

void CLoginThrottle::Prune(Keys& keys, int64_t now)
{
    if (keys.size() <= kMaxKeys)
        return;
    for (auto it = keys.begin(); it != keys.end();) {
        const KeyState& key = it->second;
        bool quiet = key.pending == 0 && (now - key.lastFailure >= kForgetAfter || key.openAt <= now);
        it = quiet ? keys.erase(it) : std::next(it);
    }
}

bool CLoginThrottle::Trusted(const std::string& member, const std::string& address, int64_t now) const
{
    auto it = m_trusted.find(member);
    if (it == m_trusted.end())
        return false;
    return std::any_of(it->second.begin(), it->second.end(),
                       [&](const TrustedAddress& t) { return t.address == address && now - t.since < kTrustFor; });
}

int64_t CLoginThrottle::Admit(const std::string& member, const std::string& address)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const int64_t now = m_clock();
    Prune(m_members, now);
    Prune(m_addresses, now);
    int64_t wait = Wait(m_addresses, address, kAddressPolicy, now);
    if (!Trusted(member, address, now))
        wait = std::max(wait, Wait(m_members, member, kMemberPolicy, now));
    if (wait > 0)
        return wait;
    Reserve(m_addresses, address, kAddressPolicy, now);
    Reserve(m_members, member, kMemberPolicy, now);
    return 0;
}

void CLoginThrottle::Failed(const std::string& member, const std::string& address)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const int64_t now = m_clock();
    Report(m_addresses, address, kAddressPolicy, now, true);
    Report(m_members, member, kMemberPolicy, now, true);
}

void CLoginThrottle::Succeeded(const std::string& member, const std::string& address)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const int64_t now = m_clock();
    // The failures stay: an attacker gains no fresh allowance from the member's own
    // login, and the member's addresses are not held back by them anyway.
    Report(m_addresses, address, kAddressPolicy, now, false);
    Report(m_members, member, kMemberPolicy, now, false);
    std::vector<TrustedAddress>& trusted = m_trusted[member];
    trusted.erase(
        std::remove_if(trusted.begin(), trusted.end(),
                       [&](const TrustedAddress& t) { return t.address == address || now - t.since >= kTrustFor; }),
        trusted.end());
    trusted.insert(trusted.begin(), {address, now});
    if (trusted.size() > 4)
        trusted.resize(4);
}

}  // namespace corvanta::server
