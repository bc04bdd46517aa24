// Fetching the profile document and sending it back.
#include "ProfileSample.h"

#include "client/profile/ProfileRequest.h"
#include "client/profile/UserProfile.h"
#include "client/protocol/ServerSettings.h"
#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlText.h"
#include "client/xml/XmlWriter.h"
#include "platform/MessageBox.h"
#include "platform/Url.h"
#include "platform/Utf.h"
#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kPage = "/corvanta/production/orvane/UpdateProfileXML.jsp";

class ProfileRequestTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_settings.SetServerHost(CLoopbackHttpServer::kHost);
        m_settings.SetPortOverride(m_server.Port(), 0);
        SetActiveServerSettings(&m_settings);
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            m_messages.push_back(caption + "|" + text);
            return kIdOk;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler({});
        SetActiveServerSettings(nullptr);
    }

    CLoopbackHttpServer m_server;
    CServerSettings m_settings;
    std::vector<std::string> m_messages;
};

TEST_F(ProfileRequestTest, FetchKeepsTheDocument)
{
    m_server.SetResponse(kPage, 200, kProfileSample);
    CProfileRequest request;
    CXmlDocument* document = request.Fetch("tok:1 2");
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(request.Document(), document);
    EXPECT_EQ(m_server.LastRequest().body, "UserToken=tok:1 2");
    EXPECT_EQ(Utf16ToUtf8(CUserProfile(document).GetText(ProfileField::Handle)), "ann");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ProfileRequestTest, FailedOrUnreadableFetchGivesNoDocument)
{
    struct Case {
        int status;
        const char* body;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {500, "broken", {"Error|broken\n\r"}},
        {200, "not a document", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        m_messages.clear();
        CProfileRequest request;
        m_server.SetResponse(kPage, 200, kProfileSample);
        ASSERT_NE(request.Fetch("t"), nullptr);
        m_server.SetResponse(kPage, c.status, c.body);
        EXPECT_EQ(request.Fetch("t"), nullptr);
        EXPECT_EQ(request.Document(), nullptr);
        EXPECT_EQ(m_messages, c.messages);
    }
}

TEST_F(ProfileRequestTest, UpdateSendsTheDocumentFormEncoded)
{
    m_server.SetResponse(kPage, 200, kProfileSample);
    CProfileRequest request;
    CXmlDocument* document = request.Fetch("tok");
    ASSERT_NE(document, nullptr);
    CUserProfile(document).SetText(ProfileField::City, u"A+B=C 100%");

    m_server.SetResponse(kPage, 200, "<Result>OK</Result>");
    EXPECT_TRUE(request.Update("tok"));
    const std::string text = Utf16ToUtf8(WriteXmlDocument(document));
    const RecordedRequest sent = m_server.LastRequest();
    EXPECT_EQ(sent.body, "UserToken=tok&Action=Update&UserXML=" + FormValue(text));
    // What the server's form decoder gets is the document as written, whole.
    ASSERT_EQ(sent.form.size(), 3u);
    EXPECT_EQ(sent.Form("Action"), "Update");
    EXPECT_EQ(sent.Form("UserXML"), text);
    XmlDocumentPtr received = LoadXmlFromText(sent.Form("UserXML"));
    ASSERT_TRUE(received);
    const CUserProfile arrived(received.get());
    EXPECT_EQ(Utf16ToUtf8(arrived.GetText(ProfileField::City)), "A+B=C 100%");
    EXPECT_EQ(Utf16ToUtf8(arrived.GetText(ProfileField::LastName)), "Lee & Co");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ProfileRequestTest, UpdateOutcomes)
{
    struct Case {
        const char* name;
        int status;
        const char* body;
        bool accepted;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"accepted", 200, "<R>OK</R>", true, {}},
        {"refused", 200, "<R>Denied</R>", false, {"Error|<R>Denied</R>\n\r"}},
        {"failed exchange", 500, "OK", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        CProfileRequest request;
        m_server.SetResponse(kPage, 200, kProfileSample);
        ASSERT_NE(request.Fetch("t"), nullptr);
        m_server.SetResponse(kPage, c.status, c.body);
        EXPECT_EQ(request.Update("t"), c.accepted);
        EXPECT_EQ(m_messages, c.messages);
        EXPECT_NE(request.Document(), nullptr);  // the update's answer does not replace it
    }
}

TEST_F(ProfileRequestTest, UpdateWithoutDocumentSendsNothing)
{
    CProfileRequest request;
    EXPECT_FALSE(request.Update("t"));
    EXPECT_EQ(m_server.RequestCount(), 0u);
}

}  // namespace
