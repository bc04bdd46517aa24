#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvanta::server {

// Slows password guessing, per member and per client address. Each keeps its
// failures; past a few, every further attempt must wait a pause that doubles
// with each failure up to a ceiling, and an attempt that comes before its pause
// is over is refused without its password being looked at. Refusing costs no
// thread and no hash, and parallel attempts gain nothing: while over its
// allowance a key admits one attempt per pause.
//
// An attacker cannot lock a member out for good: a member's pause never exceeds
// its ceiling, failures are forgotten after a quiet while, and an address the
// member logged in from lately is not held back by the member's failures, only
// by its own. A success forgets nothing, so the member's own logins give an
// attacker no fresh allowance.
class CLoginThrottle {
public:
    using Clock = std::function<int64_t()>;  // seconds

    struct Policy {
        int freeFailures;    // failures before pauses start
        int64_t firstPause;  // seconds, doubled by each further failure
        int64_t maxPause;
    };
    static constexpr Policy kMemberPolicy{5, 2, 60};
    static constexpr Policy kAddressPolicy{20, 1, 300};
    static constexpr int64_t kForgetAfter = 15 * 60;      // failures of a key quiet this long are forgotten
    static constexpr int64_t kTrustFor = 30 * 24 * 3600;  // an address a member logged in from
    static constexpr size_t kMaxKeys = 100000;            // per kind; the oldest quiet ones go first

    explicit CLoginThrottle(Clock clock) : m_clock(std::move(clock)) {}

    // 0 when the attempt may be checked (and then Failed or Succeeded must
    // follow), else the seconds until it may.
    int64_t Admit(const std::string& member, const std::string& address);
    void Failed(const std::string& member, const std::string& address);
    void Succeeded(const std::string& member, const std::string& address);

private:
    struct KeyState {
        int failures = 0;
        int pending = 0;  // admitted and not yet reported
        int64_t lastFailure = 0;
        int64_t openAt = 0;  // no attempt before this
    };
    struct TrustedAddress {
        std::string address;
        int64_t since;
    };
    using Keys = std::unordered_map<std::string, KeyState>;

    static int64_t Pause(const Policy& policy, int failures);
    static int64_t Wait(Keys& keys, const std::string& name, const Policy& policy, int64_t now);
    static void Reserve(Keys& keys, const std::string& name, const Policy& policy, int64_t now);
    static void Report(Keys& keys, const std::string& name, const Policy& policy, int64_t now, bool failed);
    static void Prune(Keys& keys, int64_t now);
    bool Trusted(const std::string& member, const std::string& address, int64_t now) const;

    Clock m_clock;
    std::mutex m_lock;
    Keys m_members;
    Keys m_addresses;
    std::unordered_map<std::string, std::vector<TrustedAddress>> m_trusted;
};

}  // namespace corvanta::server
