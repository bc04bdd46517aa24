// What the upgrade check keeps from its answers, one after another.
#include "SessionFixture.h"

#include "client/app/CheckForUpgradeRequest.h"

#include <vector>

namespace {

class ReadableUpgradeCheck : public CCheckForUpgradeRequest {
public:
    using CCheckForUpgradeRequest::ParseAnswer;
};

struct Fields {
    bool answered;
    bool available;
    bool failed;
    const char* newVersion;
    const char* downloadUrl;
    bool showOnCompletion;
    const char* downloadAddress;
};

void ExpectFields(const CCheckForUpgradeRequest& request, const Fields& expected)
{
    EXPECT_EQ(request.Answered(), expected.answered);
    EXPECT_EQ(request.UpgradeAvailable(), expected.available);
    EXPECT_EQ(request.LastAnswerFailed(), expected.failed);
    EXPECT_EQ(request.NewVersion(), expected.newVersion);
    EXPECT_EQ(request.DownloadUrl(), expected.downloadUrl);
    EXPECT_EQ(request.ShowStatusOnCompletion(), expected.showOnCompletion);
    EXPECT_EQ(request.DownloadAddress(), expected.downloadAddress);
}

TEST(UpgradeCheckTest, SingleAnswers)
{
    struct Case {
        const char* answer;
        Fields expected;
    };
    const Case cases[] = {
        {"<U><UpgradeAvailable>1</UpgradeAvailable><NewVersion>2.0</NewVersion>"
         "<DownloadURL>http://d/x</DownloadURL></U>",
         {true, true, false, "2.0", "http://d/x", true, "http://d/x"}},
        {"<U><UpgradeAvailable>-3</UpgradeAvailable><NewVersion>2.1</NewVersion></U>",
         {true, true, false, "2.1", kProductWebSite, true, kProductWebSite}},
        {"<U><UpgradeAvailable>1</UpgradeAvailable><DownloadURL/></U>",
         {true, true, false, "", "", true, kProductWebSite}},
        {"<U><UpgradeAvailable>0</UpgradeAvailable><NewVersion>9</NewVersion></U>",
         {true, false, false, "", "", false, kProductWebSite}},
        {"<U><UpgradeAvailable>yes</UpgradeAvailable></U>", {true, false, false, "", "", false, kProductWebSite}},
        {"<U><Other>1</Other></U>", {false, false, true, "", "", false, kProductWebSite}},
        {"not xml", {false, false, true, "", "", false, kProductWebSite}},
        {"", {false, false, true, "", "", false, kProductWebSite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ReadableUpgradeCheck request;
        request.ParseAnswer(c.answer, 0, 0);
        ExpectFields(request, c.expected);
    }
}

TEST(UpgradeCheckTest, AnsweredAndAvailableAreNeverCleared)
{
    ReadableUpgradeCheck request;
    request.ParseAnswer("<U><UpgradeAvailable>1</UpgradeAvailable><NewVersion>2.0</NewVersion></U>", 0, 0);
    request.ParseAnswer("garbage", 0, 0);
    ExpectFields(request, {true, true, true, "2.0", kProductWebSite, false, kProductWebSite});
    request.ParseAnswer("<U><UpgradeAvailable>0</UpgradeAvailable><NewVersion>3.0</NewVersion></U>", 0, 0);
    ExpectFields(request, {true, true, false, "2.0", kProductWebSite, true, kProductWebSite});
}

class UpgradeListener : public IRequestListener {
public:
    void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { ++completed; }
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { ++failed; }
    int completed = 0;
    int failed = 0;
};

using UpgradeCheckExchangeTest = SessionFixture;

// Two checks in flight while the fields are read from this thread: the lock
// keeps reads whole (run under the thread sanitizer to see it).
TEST_F(UpgradeCheckExchangeTest, ConcurrentChecksAndReads)
{
    m_plain.SetResponse(PagePath("CheckForUpgrade.jsp"), 200,
                        "<U><UpgradeAvailable>1</UpgradeAvailable><NewVersion>2.0</NewVersion></U>");
    CCheckForUpgradeRequest request;
    UpgradeListener listener;
    request.AddListener(&listener);
    request.Check("1.0");
    request.Check("1.0");
    ASSERT_TRUE(m_pump.RunUntil([&] {
        static_cast<void>(request.NewVersion());
        return listener.completed == 2;
    }));
    ExpectFields(request, {true, true, false, "2.0", kProductWebSite, true, kProductWebSite});
    request.RemoveListener(&listener);
}

TEST_F(UpgradeCheckExchangeTest, CommandAsksAgainOnlyUntilAnAnswerWasRead)
{
    const std::string page = PagePath("CheckForUpgrade.jsp");
    CCheckForUpgradeRequest request;
    UpgradeListener listener;
    request.AddListener(&listener);
    struct Step {
        const char* answer;
        bool shownFromStore;
        std::size_t requests;
    };
    const Step steps[] = {
        {"not xml", false, 1},
        {"<U><UpgradeAvailable>0</UpgradeAvailable></U>", false, 2},
        {"<U><UpgradeAvailable>1</UpgradeAvailable></U>", true, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.answer);
        m_plain.SetResponse(page, 200, step.answer);
        const int before = listener.completed;
        EXPECT_EQ(request.CheckOnDemand("1.0"), step.shownFromStore);
        if (!step.shownFromStore) {
            ASSERT_TRUE(m_pump.RunUntil([&] { return listener.completed > before; }));
        }
        EXPECT_EQ(m_plain.RequestCount(), step.requests);
    }
    EXPECT_TRUE(request.Answered());
    EXPECT_FALSE(request.UpgradeAvailable());
    EXPECT_FALSE(request.ShowStatusOnCompletion());
    request.RemoveListener(&listener);
}

}  // namespace
