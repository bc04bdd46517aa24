#include "platform/Threading.h"
#include "tests/support/TestPump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

TEST(ManualResetEvent, StaysSetUntilReset)
{
    CManualResetEvent event;
    EXPECT_FALSE(event.Wait(std::chrono::milliseconds(1)));
    event.Set();
    EXPECT_TRUE(event.Wait(std::chrono::milliseconds(1)));
    EXPECT_TRUE(event.Wait(std::chrono::milliseconds(1)));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}

TEST(TestPump, DeliversWorkerTasksInPostingOrderOnTheCallingThread)
{
    CTestPump pump;
    std::vector<int> seen;
    const auto uiThread = std::this_thread::get_id();
    std::atomic<bool> wrongThread{false};
    StartWorkerThread([&] {
        for (int i = 0; i < 100; ++i)
            PostToUiThread([&, i] {
                if (std::this_thread::get_id() != uiThread)
                    wrongThread = true;
                seen.push_back(i);
            });
    });
    ASSERT_TRUE(pump.RunUntil([&] { return seen.size() == 100; }));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(10)));
    EXPECT_FALSE(wrongThread);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(seen[i], i);
}

TEST(TestPump, ATaskThatPumpsAgainRunsTheRestInPostingOrder)
{
    // A message box's nested loop pumps inside a task; the tasks behind it must
    // not overtake the ones posted before them.
    CTestPump pump;
    std::vector<int> seen;
    PostToUiThread([&] {
        seen.push_back(1);
        PostToUiThread([&] { seen.push_back(4); });
        pump.RunPending();
    });
    PostToUiThread([&] { seen.push_back(2); });
    PostToUiThread([&] { seen.push_back(3); });
    pump.RunPending();
    pump.RunPending();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}
