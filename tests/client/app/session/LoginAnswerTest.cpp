// What the login reader keeps from each kind of answer, and the error text of
// a synchronous login.
#include "SessionFixture.h"

#include "client/app/CreateUserRequest.h"
#include "client/app/Preferences.h"
#include "client/app/UserLoginRequest.h"

namespace {

class ReadableLogin : public CUserLoginRequest {
public:
    using CUserLoginRequest::ParseAnswer;
};

using LoginAnswerTest = SessionFixture;

TEST_F(LoginAnswerTest, ReaderKeepsTokenIdentifierExceptionAndPreviousSession)
{
    struct Case {
        const char* answer;
        const char* token;
        std::int32_t userId;
        const char* exception;
        const char* previousSession;  // "old" when left alone
    };
    const Case cases[] = {
        {"<A><Session userToken=\"abc:123\"><UserID>42</UserID></Session></A>", "abc:123", 42, "", "123"},
        {"<Session userToken=\"plain\"><UserID>7</UserID></Session>", "plain", 7, "", "plain"},
        {"<Session userToken=\"a:b:c\"><UserID> -5x</UserID></Session>", "a:b:c", -5, "", "b:c"},
        {"<Session userToken=\"\"><UserID>3</UserID></Session>", "", 3, "", "old"},
        {"<Session userToken=\"tok:\"><UserID>3</UserID></Session>", "tok:", 3, "", "old"},
        {"<Session><UserID>9</UserID></Session>", "", 9, "", "old"},
        {"<Session userToken=\"t\"><UserID>1</UserID><x/><UserID>2</UserID></Session>", "t", 2, "", "t"},
        {"<Session userToken=\"t\"><UserIDs>1</UserIDs><userid>5</userid></Session>", "t", 0, "", "t"},
        {"<Session userToken=\"t\"><UserID><b>4</b></UserID></Session>", "t", 0, "", "t"},
        {"<A><Exception>com.velmar.LoginException: Bad password</Exception></A>", "", 0, " Bad password", "old"},
        {"<A><Exception>a:b: c</Exception></A>", "", 0, " c", "old"},
        {"<A><Exception>no colon here</Exception></A>", "", 0, "no colon here", "old"},
        {"<A><Exception>:leading</Exception></A>", "", 0, ":leading", "old"},
        {"<A><Exception/></A>", "", 0, "", "old"},
        {"not xml at all", "", 0, "", "old"},
        {"", "", 0, "", "old"},
        {"<Playlists><Playlist ID=\"1\"/></Playlists>", "", 0, "", "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        CPreferences().SetString(Pref::PreviousSession, "old");
        ReadableLogin request;
        request.ParseAnswer(c.answer, 0, 0);
        EXPECT_EQ(request.Token(), c.token);
        EXPECT_EQ(request.UserId(), c.userId);
        EXPECT_EQ(request.ExceptionText(), c.exception);
        EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), c.previousSession);
    }
}

TEST_F(LoginAnswerTest, SynchronousLoginReportsTheBestErrorText)
{
    struct Case {
        const char* name;
        int status;
        const char* body;
        HRESULT result;
        const char* error;
    };
    const Case cases[] = {
        {"success", 200, "<Session userToken=\"k:5\"><UserID>5</UserID></Session>", S_OK, ""},
        {"exception", 200, "<E><Exception>x.AuthException: Unknown user</Exception></E>", E_FAIL, " Unknown user"},
        {"no session", 200, "<E>nothing</E>", E_FAIL, "<E>nothing</E>\n\r"},
        {"empty answer", 200, "", E_FAIL, "Server Error"},
        {"server error", 500, "down", E_FAIL, "down\n\r"},
        {"session without identifier", 200, "<Session userToken=\"k\"/>", E_FAIL, "<Session userToken=\"k\"/>\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_secure.SetResponse(PagePath("UserLogin.jsp"), c.status, c.body);
        CUserLoginRequest request;
        std::string error = "stale";
        EXPECT_EQ(request.Login("h", "p", error), c.result);
        EXPECT_EQ(error, c.error);
    }
}

TEST_F(LoginAnswerTest, CreateFailsWithoutTokenAndShowsTheServerText)
{
    struct Case {
        const char* name;
        int status;
        const char* body;
        HRESULT result;
        const char* shown;  // nullptr: no message
    };
    const Case cases[] = {
        {"created", 200, "<Session userToken=\"n:8\"><UserID>8</UserID></Session>", S_OK, nullptr},
        {"refused", 200, "<E><Exception>x.UserExists: Handle taken</Exception></E>", E_FAIL, " Handle taken"},
        {"no token", 200, "<Session><UserID>8</UserID></Session>", E_FAIL, "<Session><UserID>8</UserID></Session>\n\r"},
        {"empty answer", 200, "", E_FAIL, nullptr},
        {"server error", 500, "oops", E_FAIL, "oops\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        m_secure.SetResponse(PagePath("CreateUser.jsp"), c.status, c.body);
        CCreateUserRequest request;
        EXPECT_EQ(request.Create(NewUserEntries{}), c.result);
        if (c.shown) {
            ASSERT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(m_messages[0].text, c.shown);
            EXPECT_EQ(m_messages[0].caption, "Error Creating User");
        } else {
            EXPECT_TRUE(m_messages.empty());
        }
        if (Succeeded(c.result)) {
            EXPECT_EQ(request.Token(), "n:8");
            EXPECT_EQ(request.UserId(), 8);
        }
    }
}

}  // namespace
