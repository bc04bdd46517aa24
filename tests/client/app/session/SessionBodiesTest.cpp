// What each session, sign-up and upgrade exchange puts on the wire.
#include "SessionFixture.h"

#include "client/app/CheckForUpgradeRequest.h"
#include "client/app/CreateUserRequest.h"
#include "client/app/Preferences.h"
#include "client/app/UpdateSessionRequest.h"
#include "client/app/UserLoginRequest.h"
#include "client/protocol/RequestListener.h"

#include <functional>
#include <memory>

namespace {

class CountingListener : public IRequestListener {
public:
    void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { ++completed; }
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { ++failed; }
    int completed = 0;
    int failed = 0;
};

using SessionBodiesTest = SessionFixture;

TEST_F(SessionBodiesTest, EachExchangeSendsItsBodyToItsPage)
{
    CPreferences().SetString(Pref::PreviousSession, "41 7");
    NewUserEntries entries;
    entries.handle = "new user";
    entries.password = "a&b=c";
    entries.email = "n@x.org";
    entries.verifyQuestion = "pet name:dog";
    entries.answer = "50% off";
    entries.referral = 3;
    entries.corvantaMail = false;
    entries.thirdPartyMail = true;

    struct Case {
        const char* name;
        bool secure;
        const char* page;
        bool posted;
        std::function<void(CServerRequest*&, std::unique_ptr<CServerRequest>&)> run;
        std::string body;
    };
    const Case cases[] = {
        {"login", true, "UserLogin.jsp", false,
         [](CServerRequest*&, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CUserLoginRequest>();
             std::string error;
             request->Login("ann lee", "p+w=1&2%#", error);
             keep = std::move(request);
         },
         "Action=Login&App=Tessarin&UserHandle=ann lee&PWD=p%2Bw%3D1%262%25%23&PrevSession=41 7"},
        {"posted login", true, "UserLogin.jsp", true,
         [](CServerRequest*& posted, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CUserLoginRequest>();
             request->LoginPosted("ann lee", "pw");
             posted = request.get();
             keep = std::move(request);
         },
         "Action=Login&App=Tessarin&UserHandle=ann+lee&PWD=pw&PrevSession=41+7"},
        {"logout", true, "UserLogin.jsp", false,
         [](CServerRequest*&, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CUserLoginRequest>();
             request->LogoutKeepingPreviousSession("s:1 2");
             keep = std::move(request);
         },
         "Action=Logout&UserToken=s:1 2"},
        {"posted logout", true, "UserLogin.jsp", true,
         [](CServerRequest*& posted, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CUserLoginRequest>();
             request->Logout("s:1 2", true);
             posted = request.get();
             keep = std::move(request);
         },
         "Action=Logout&UserToken=s:1+2"},
        {"create user", true, "CreateUser.jsp", false,
         [&entries](CServerRequest*&, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CCreateUserRequest>();
             request->Create(entries);
             keep = std::move(request);
         },
         "App=Tessarin&Action=submit&UserHandle=new user&PWD=a%26b%3Dc&Email=n@x.org"
         "&VerifyQuestion=pet%20name:dog&Answer=50%25%20off&Referal=3"
         "&CorvantaEmail=false&ThirdPartyEmail=true"},
        {"upgrade check with an empty version", false, "CheckForUpgrade.jsp", true,
         [](CServerRequest*& posted, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CCheckForUpgradeRequest>();
             request->Check("");
             posted = request.get();
             keep = std::move(request);
         },
         "version="},
        {"upgrade check", false, "CheckForUpgrade.jsp", true,
         [](CServerRequest*& posted, std::unique_ptr<CServerRequest>& keep) {
             auto request = std::make_unique<CCheckForUpgradeRequest>();
             request->Check("1.1.0.5 beta");
             posted = request.get();
             keep = std::move(request);
         },
         "version=1.1.0.5+beta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLoopbackHttpServer& server = c.secure ? m_secure : m_plain;
        const std::size_t before = server.RequestCount();
        CountingListener listener;
        CServerRequest* posted = nullptr;
        std::unique_ptr<CServerRequest> request;
        c.run(posted, request);
        if (c.posted) {
            posted->AddListener(&listener);
            ASSERT_TRUE(m_pump.RunUntil([&] { return listener.completed + listener.failed > 0; }));
            posted->RemoveListener(&listener);
        }
        ASSERT_EQ(server.RequestCount(), before + 1);
        const RecordedRequest sent = server.LastRequest();
        EXPECT_EQ(sent.method, "POST");
        EXPECT_EQ(sent.path, PagePath(c.page));
        EXPECT_EQ(sent.body, c.body);
    }
}

TEST_F(SessionBodiesTest, FormValuesComeBackAsTypedThroughTheFormDecoder)
{
    CUserLoginRequest request;
    std::string error;
    request.Login("a+b", "x&y=z%20#1", error);
    const RecordedRequest sent = m_secure.LastRequest();
    EXPECT_EQ(sent.Form("UserHandle"), "a+b");
    EXPECT_EQ(sent.Form("PWD"), "x&y=z%20#1");
    EXPECT_EQ(sent.Form("PrevSession"), "");
}

TEST_F(SessionBodiesTest, LogoutClearsPreviousSessionUnlessAskedToKeepIt)
{
    CUserLoginRequest request;
    CPreferences().SetString(Pref::PreviousSession, "99");
    request.LogoutKeepingPreviousSession("t:99");
    EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), "99");
    request.Logout("t:99", false);
    EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), "");
}

TEST_F(SessionBodiesTest, KeepAliveBody)
{
    EXPECT_EQ(CUpdateSessionRequest::KeepAliveBody("ab:12"), "UserToken=ab:12&App=Tessarin");
    EXPECT_EQ(CUpdateSessionRequest::KeepAliveBody("a&b"), "UserToken=a%26b&App=Tessarin");
}

}  // namespace
