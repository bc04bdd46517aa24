#include "server/LoginThrottle.h"

#include <gtest/gtest.h>

using corvanta::server::CLoginThrottle;

namespace {

class LoginThrottle : public ::testing::Test {
protected:
    int64_t m_now = 1000;
    CLoginThrottle m_throttle{[this] { return m_now; }};

    // Failures against member, or against as many names starting with it when spread.
    void Fail(int times, const std::string& member, const std::string& address, bool spread = false)
    {
        for (int i = 0; i < times; ++i) {
            const std::string name = spread ? member + std::to_string(i) : member;
            ASSERT_EQ(m_throttle.Admit(name, address), 0) << i;
            m_throttle.Failed(name, address);
        }
    }
};

}  // namespace

TEST_F(LoginThrottle, AnAttemptUnderWayPastTheAllowanceHoldsBackTheOnesSentBesideIt)
{
    Fail(CLoginThrottle::kMemberPolicy.freeFailures, "ann", "10.0.0.1");
    m_now += CLoginThrottle::kMemberPolicy.firstPause;
    // The first is let through; those sent beside it, before it is answered, are not.
    EXPECT_EQ(m_throttle.Admit("ann", "10.0.0.1"), 0);
    EXPECT_GT(m_throttle.Admit("ann", "10.0.0.2"), 0);
    EXPECT_GT(m_throttle.Admit("ann", "10.0.0.3"), 0);
    m_throttle.Failed("ann", "10.0.0.1");
    EXPECT_EQ(m_throttle.Admit("ann", "10.0.0.2"), 2 * CLoginThrottle::kMemberPolicy.firstPause);
}

TEST_F(LoginThrottle, ASuccessRenewsNoAllowance)
{
    Fail(CLoginThrottle::kAddressPolicy.freeFailures - 1, "x", "10.0.0.9", true);
    ASSERT_EQ(m_throttle.Admit("bob", "10.0.0.9"), 0);
    m_throttle.Succeeded("bob", "10.0.0.9");
    // The address used its allowance on many names; a success of its own does not renew it.
    Fail(1, "y", "10.0.0.9", true);
    EXPECT_GT(m_throttle.Admit("z", "10.0.0.9"), 0);
    EXPECT_EQ(m_throttle.Admit("bob", "10.0.0.10"), 0);
    m_throttle.Succeeded("bob", "10.0.0.10");

    // Nor does the member's own login renew the guesses against it.
    Fail(CLoginThrottle::kMemberPolicy.freeFailures, "cid", "10.0.0.20");
    m_now += CLoginThrottle::kMemberPolicy.firstPause;
    ASSERT_EQ(m_throttle.Admit("cid", "10.0.0.21"), 0);
    m_throttle.Succeeded("cid", "10.0.0.21");
    // The next guess waits out its pause as before and earns a longer one.
    ASSERT_EQ(m_throttle.Admit("cid", "10.0.0.20"), 0);
    m_throttle.Failed("cid", "10.0.0.20");
    EXPECT_EQ(m_throttle.Admit("cid", "10.0.0.20"), 2 * CLoginThrottle::kMemberPolicy.firstPause);
    // The address the member logged in from is not held back by them.
    EXPECT_EQ(m_throttle.Admit("cid", "10.0.0.21"), 0);
}
