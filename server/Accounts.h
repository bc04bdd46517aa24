#pragma once

#include "server/LoginThrottle.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvanta::server {

class CDatabase;

struct Member {
    int64_t userId = 0;
    std::string handle;
};

struct LoginResult {
    bool ok = false;
    std::string token;
    int64_t userId = 0;
    std::string error;       // a message without ":" (the client shows the part after the last one)
    bool throttled = false;  // refused before the password was looked at
};

struct NewMember {
    std::string handle;
    std::string password;
    std::string email;
    std::string verifyQuestion;
    std::string verifyAnswer;
    int64_t referral = 0;
    bool ownMail = false;
    bool partnerMail = false;
};

// Members, their passwords and their sessions.
class CAccounts {
public:
    using Clock = std::function<int64_t()>;  // seconds since the epoch
    static constexpr int64_t kSessionIdleLimit = 30 * 60;
    // Sessions a member keeps; a new login ends the oldest beyond these.
    static constexpr int kSessionsPerMember = 5;
    static constexpr size_t kMaxHandle = 25;
    static constexpr size_t kMaxPassword = 20;

    CAccounts(CDatabase& db, Clock clock, int pbkdf2Iterations);

    // prevSession names an earlier session of the same member, which is closed.
    // Failures slow further attempts for the member and for the peer address.
    LoginResult Login(const std::string& handle, const std::string& password, const std::string& prevSession,
                      const std::string& peer);
    LoginResult Create(const NewMember& member);
    void Logout(const std::string& token);
    // The member of a live session; keeps it alive.
    std::optional<Member> Validate(const std::string& token);

    std::string ProfileXml(int64_t userId);
    // Empty on success, else the reason for the refusal.
    std::string UpdateProfile(int64_t userId, const std::string& xml);

    int64_t Now() const { return m_clock(); }
    int Iterations() const { return m_iterations; }

    static std::string DefaultProfile(const std::string& handle, const std::string& email);

private:
    LoginResult OpenSession(int64_t userId);

    CDatabase& m_db;
    Clock m_clock;
    int m_iterations;
    CLoginThrottle m_throttle;
};

}  // namespace corvanta::server
