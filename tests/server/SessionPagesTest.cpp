#include "tests/server/ServerTestEnv.h"

#include <sys/stat.h>

namespace corvanta::server::test {

using SessionPages = CServerFixture;

TEST_F(SessionPages, LoginAnswersASessionWithAPrefixedNumericToken)
{
    SignUp("alice", "pw1");
    int64_t userId = 0;
    std::string token = Login("alice", "pw1", &userId);
    ASSERT_NE(token.find(':'), std::string::npos);
    std::string number = token.substr(token.find(':') + 1);
    EXPECT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_GT(userId, 0);
    // Handles are matched ignoring case.
    EXPECT_FALSE(Login("ALICE", "pw1").empty());
}

TEST_F(SessionPages, RefusalsAnswerAnExceptionWithClassAndMessage)
{
    SignUp("bob", "right");
    struct SCase {
        const char* page;
        const char* body;
        bool secure;
    } cases[] = {
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=bob&PWD=wrong&PrevSession=", true},
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=nobody&PWD=right&PrevSession=", true},
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=bob&PWD=right&PrevSession=", false}, // plain port
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=BOB&PWD=x&Email=b@example.org&Referal=1", true},
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=carol&PWD=x&Email=&Referal=1", true},
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=carol&PWD=x&Email=c@example.org&Referal=0", true},
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=carol&PWD=x&Email=c@example.org&Referal=999", true},
        {"UpdateSession.jsp", "UserToken=&App=Tessarin", false},
        {"UpdateSession.jsp", "UserToken=forged:1&App=Tessarin", false},
        {"GetUserPlaylists.jsp", "user=", false},
        {"bookmark/GetUserBookmarks.jsp", "user=abc", false},
        {"UpdatePlaylistXML.jsp", "UserToken=&App=Tessarin&Action=Create&ID=0&Name=x&EntryCount=0", false},
        {"UpdateProfileXML.jsp", "UserToken=", false},
        {"UpdateArtistXML.jsp", "UserToken=&App=Tessarin&Action=Create&ID=0&Name=x", false},
        {"UpdatePerformanceXML.jsp", "UserToken=&App=Tessarin&Action=Create&ID=0&SongName=x&ArtistName=y", false},
        // The favorites pages answer an Error as well (their refusals are read from it).
        {"bookmark/AddBookmark.jsp", "user=&bookmarkType=2&numberOfItems=1&newBookmarkItemID1=1", false},
        {"bookmark/DeleteBookmark.jsp", "user=x:1&bookmarkType1=2&numberOfItems=1&bookmarkID1=1", false},
        {"bookmark/MoveBookmark.jsp", "user=&bookmarkType=2&bookmarkID1=1&newPreviousBookmarkID=0", false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + c.body);
        auto doc = Post(c.page, c.body, c.secure);
        std::string exception = Text(doc, "//Exception");
        ASSERT_FALSE(exception.empty());
        size_t colon = exception.rfind(':');
        ASSERT_NE(colon, std::string::npos);
        EXPECT_GT(colon, 0u);
        EXPECT_GT(exception.size(), colon + 2);
        EXPECT_EQ(Count(doc, "//Session"), 0u);
    }
}

TEST_F(SessionPages, PrevSessionClosesOnlyTheMembersOwnEarlierSession)
{
    SignUp("dora");
    std::string first = Login("dora", "secret");
    std::string other = SignUp("eve");
    std::string otherNumber = other.substr(other.find(':') + 1);
    // Someone else's session number is ignored.
    Login("dora", "secret", nullptr, otherNumber);
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + other + "&App=Tessarin"), "//Exception"), 0u);

    std::string second = Login("dora", "secret", nullptr, first.substr(first.find(':') + 1));
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + first + "&App=Tessarin"), "//Exception"), 1u);
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + second + "&App=Tessarin"), "//Exception"), 0u);
}

TEST_F(SessionPages, SessionsExpireAfterThirtyIdleMinutesAndKeepAliveExtendsThem)
{
    std::string token = SignUp("fred");
    m_now += 25 * 60;
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin"), "//Session/UserID"), 1u);
    m_now += 25 * 60; // 50 minutes after login, 25 after the keep-alive
    EXPECT_EQ(Count(Post("GetUserPlaylists.jsp", "user=" + token), "//Exception"), 0u);
    m_now += 31 * 60;
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin"), "//Exception"), 1u);

    // The limit counts from the last use, to the second, however the uses are spaced.
    std::string later = Login("fred", "secret");
    for (int64_t step : {59, 30 * 60 - 1, 1, 30 * 60}) {
        m_now += step;
        EXPECT_EQ(Count(Post("GetUserPlaylists.jsp", "user=" + later), "//Exception"), 0u) << step;
    }
    m_now += 30 * 60 + 1;
    EXPECT_EQ(Count(Post("GetUserPlaylists.jsp", "user=" + later), "//Exception"), 1u);
}

TEST_F(SessionPages, LogoutEndsTheSession)
{
    std::string token = SignUp("gina");
    auto answer = Post("UserLogin.jsp", "Action=Logout&UserToken=" + token, true);
    EXPECT_EQ(Count(answer, "//Exception"), 0u);
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin"), "//Exception"), 1u);
    // A forged secret with a live session's number does not end that session.
    std::string live = Login("gina", "secret");
    std::string forged = "00" + live.substr(2);
    Post("UserLogin.jsp", "Action=Logout&UserToken=" + forged, true);
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + live + "&App=Tessarin"), "//Exception"), 0u);
}

TEST_F(SessionPages, SignUpAnswersLikeALoginWithEscapedFreeText)
{
    auto doc = Post("CreateUser.jsp",
                    "App=Tessarin&Action=submit&UserHandle=+hank+&PWD=p+w&Email=h@example.org&VerifyQuestion=Pet%3F"
                    "&Answer=Rex%20the%20dog&Referal=2&CorvantaEmail=false&ThirdPartyEmail=true",
                    true);
    EXPECT_FALSE(std::string(doc.select_node("//Session").node().attribute("userToken").value()).empty());
    EXPECT_GT(std::atoi(Text(doc, "//Session/UserID").c_str()), 0);
    // The handle was trimmed; the password keeps its blank.
    EXPECT_FALSE(Login("hank", "p+w").empty());
}

TEST_F(SessionPages, UpgradeCheckComparesWithTheNewestVersion)
{
    auto older = Post("CheckForUpgrade.jsp", "version=1.1.0.5");
    EXPECT_EQ(Text(older, "//UpgradeAvailable"), "1");
    EXPECT_EQ(Text(older, "//NewVersion"), "1.2.0");
    EXPECT_EQ(Text(older, "//DownloadURL"), "https://example.org/corvanta-1.2.0.deb");
    auto current = Post("CheckForUpgrade.jsp", "version=1.2.0");
    EXPECT_EQ(Text(current, "//UpgradeAvailable"), "0");
    EXPECT_EQ(Count(current, "//NewVersion"), 0u);
}

TEST_F(SessionPages, HttpsWorksWithTheGeneratedCertificateAndVerificationOn)
{
    std::string body = "version=1.0";
    SHttpAnswer answer = Exchange(Url("CheckForUpgrade.jsp", true), &body, m_server->CertificatePath());
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.status, 200);
    EXPECT_NE(answer.body.find("<UpgradeAvailable>1</UpgradeAvailable>"), std::string::npos);
    // Without trusting the certificate the exchange is refused.
    SHttpAnswer untrusted = Exchange(Url("CheckForUpgrade.jsp", true), &body, "/etc/ssl/certs/ca-certificates.crt");
    EXPECT_FALSE(untrusted.ok);
}

TEST_F(SessionPages, CertificateAndKeyAreReadableOnlyByTheOwner)
{
    for (const char* name : {"/data/cert.pem", "/data/key.pem"}) {
        SCOPED_TRACE(name);
        struct stat st {};
        ASSERT_EQ(stat((m_dir + name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
}

TEST_F(SessionPages, OversizedBodiesAreRefusedWith413)
{
    std::string body = "Action=Login&PWD=" + std::string(1024 * 1024 + 10, 'a');
    SHttpAnswer answer = Exchange(Url("UserLogin.jsp", true), &body, m_server->CertificatePath());
    EXPECT_EQ(answer.status, 413);
    // The server goes on serving.
    EXPECT_EQ(Text(Post("CheckForUpgrade.jsp", "version=9"), "//UpgradeAvailable"), "0");
}

} // namespace corvanta::server::test
