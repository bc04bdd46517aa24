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
    struct Case {
        const char* page;
        const char* body;
        bool secure;
    } cases[] = {
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=bob&PWD=wrong&PrevSession=", true},
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=nobody&PWD=right&PrevSession=", true},
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=bob&PWD=right&PrevSession=", false},  // plain port
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
    for (const Case& c : cases) {
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
    m_now += 25 * 60;  // 50 minutes after login, 25 after the keep-alive
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
    HttpAnswer answer = Exchange(Url("CheckForUpgrade.jsp", true), &body, m_server->CertificatePath());
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.status, 200);
    EXPECT_NE(answer.body.find("<UpgradeAvailable>1</UpgradeAvailable>"), std::string::npos);
    // Without trusting the certificate the exchange is refused.
    HttpAnswer untrusted = Exchange(Url("CheckForUpgrade.jsp", true), &body, "/etc/ssl/certs/ca-certificates.crt");
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
    HttpAnswer answer = Exchange(Url("UserLogin.jsp", true), &body, m_server->CertificatePath());
    EXPECT_EQ(answer.status, 413);
    // The server goes on serving.
    EXPECT_EQ(Text(Post("CheckForUpgrade.jsp", "version=9"), "//UpgradeAvailable"), "0");
}

TEST_F(SessionPages, PasswordsNeverCrossThePlainPortHoweverTheRequestIsWritten)
{
    std::string token = SignUp("jill", "pw");
    struct Case {
        const char* page;
        std::string body;
        bool get;
    } cases[] = {
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=jill&PWD=pw&PrevSession=", false},
        {"UserLogin.jsp", "Action=%4Cogin&App=Tessarin&UserHandle=jill&PWD=pw&PrevSession=", false},
        {"UserLogin.jsp", "Act%69on=Login&App=Tessarin&UserHandle=jill&PWD=pw&PrevSession=", false},
        {"UserLogin.jsp", "Action=Login&App=Tessarin&UserHandle=jill&PWD=pw&PrevSession=", true},
        {"UserLogin.jsp", "Action=L%6Fgin&UserHandle=jill&P%57D=pw", true},
        {"UserLogin.jsp", "UserHandle=jill&PWD=pw", false},
        {"UserLogin.jsp", "Action=Logout&UserToken=" + token + "&PWD=pw", false},
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=kim&PWD=x&Email=k@example.org&Referal=1", false},
        {"CreateUser.jsp", "App=Tessarin&Action=submit&UserHandle=kim&PWD=x&Email=k@example.org&Referal=1", true},
        {"UpdateProfileXML.jsp", "UserToken=" + token + "&Action=Update&PWD=new&UserXML=%3CUserProfile%2F%3E", false},
        {"UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin&pwd=pw", false},
        {"UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin&NewPassword=pw", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + (c.get ? " GET " : " POST ") + c.body);
        HttpAnswer answer = c.get ? Exchange(Url(c.page) + "?" + c.body, nullptr) : Exchange(Url(c.page), &c.body);
        EXPECT_EQ(answer.status, 200);
        EXPECT_NE(answer.body.find("SecurityException"), std::string::npos) << answer.body;
        EXPECT_EQ(answer.body.find("<Session"), std::string::npos);
    }
    // Nothing of it took effect: no member was made, the session goes on.
    EXPECT_TRUE(Login("kim", "x").empty());
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin"), "//Exception"), 0u);

    // The web pages refuse password fields on the plain port too.
    for (const std::string& page : {"orvane/UpdateProfile.jsp?UserToken=" + token + "&PWD=x",
                                    std::string("tessarin/details/ShowArtistDetail.jsp?artist=1&password=x")}) {
        SCOPED_TRACE(page);
        EXPECT_EQ(Exchange(WebUrl(page), nullptr).status, 403);
    }
    // Logging out carries no password and stays possible; over TLS all of it works.
    EXPECT_EQ(Count(Post("UserLogin.jsp", "Action=Logout&UserToken=" + token), "//Exception"), 0u);
    EXPECT_FALSE(Login("jill", "pw").empty());
}

TEST_F(SessionPages, FailedLoginsSlowTheMembersNextAttemptsWithoutLockingItOut)
{
    SignUp("ivy", "right");
    const std::string attacker = "127.0.0.2", home = "127.0.0.3", elsewhere = "127.0.0.4";
    auto attempt = [&](const std::string& password, const std::string& from) {
        auto doc = Post("UserLogin.jsp",
                        "Action=Login&App=Tessarin&UserHandle=IVY&PWD=" + password + "&PrevSession=", true, from);
        std::string exception = Text(doc, "//Exception");
        if (exception.find("Invalid login name or password") != std::string::npos)
            return std::string("wrong");
        if (exception.find("Too many failed logins") != std::string::npos)
            return std::string("wait");
        return exception.empty() && Count(doc, "//Session") == 1 ? std::string("in") : exception;
    };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(attempt("guess", attacker), "wrong") << i;
    // From here attempts are refused before the password is looked at, the right one
    // too and from any address the member has not logged in from.
    EXPECT_EQ(attempt("right", attacker), "wait");
    EXPECT_EQ(attempt("right", elsewhere), "wait");
    // Each failure doubles the pause: 2 s, then 4 s, then 8 s.
    m_now += 2;
    EXPECT_EQ(attempt("guess", attacker), "wrong");
    EXPECT_EQ(attempt("guess", attacker), "wait");
    m_now += 3;
    EXPECT_EQ(attempt("guess", attacker), "wait");
    m_now += 1;
    EXPECT_EQ(attempt("guess", attacker), "wrong");
    m_now += 7;
    EXPECT_EQ(attempt("right", home), "wait");
    m_now += 1;
    EXPECT_EQ(attempt("right", home), "in");

    // The member's login gives the guesser no fresh allowance: its next guess
    // earns the next pause, which holds back new addresses, not the member's own.
    EXPECT_EQ(attempt("guess", attacker), "wrong");
    EXPECT_EQ(attempt("guess", attacker), "wait");
    EXPECT_EQ(attempt("right", elsewhere), "wait");
    EXPECT_EQ(attempt("right", home), "in");

    // However long it goes on, a pause never passes a minute.
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        m_now += 60;
        EXPECT_EQ(attempt("guess", "127.0.0." + std::to_string(10 + round)), "wrong");
    }
    // A quarter of an hour without failures forgets them.
    m_now += 15 * 60;
    EXPECT_EQ(attempt("right", elsewhere), "in");
}

TEST_F(SessionPages, FailedLoginsSlowTheAddressTheyComeFrom)
{
    SignUp("max", "right");
    // Twenty failures over as many login names, then the address waits, for every name.
    for (int i = 0; i < 20; ++i) {
        auto doc =
            Post("UserLogin.jsp", "Action=Login&UserHandle=nobody" + std::to_string(i) + "&PWD=x", true, "127.0.0.5");
        EXPECT_NE(Text(doc, "//Exception").find("Invalid login name or password"), std::string::npos) << i;
    }
    auto held = Post("UserLogin.jsp", "Action=Login&UserHandle=max&PWD=right", true, "127.0.0.5");
    EXPECT_NE(Text(held, "//Exception").find("Too many failed logins"), std::string::npos);
    EXPECT_EQ(Count(Post("UserLogin.jsp", "Action=Login&UserHandle=max&PWD=right", true, "127.0.0.6"), "//Session"),
              1u);
    m_now += 1;
    EXPECT_EQ(Count(Post("UserLogin.jsp", "Action=Login&UserHandle=max&PWD=right", true, "127.0.0.5"), "//Session"),
              1u);
}

TEST_F(SessionPages, AMemberKeepsItsNewestFiveSessions)
{
    std::vector<std::string> tokens = {SignUp("lena")};
    for (int i = 0; i < 6; ++i)
        tokens.push_back(Login("lena", "secret"));
    for (size_t i = 0; i < tokens.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + tokens[i] + "&App=Tessarin"), "//Session/UserID"),
                  i >= 2 ? 1u : 0u);
    }
}

}  // namespace corvanta::server::test
