#include "platform/Threading.h"
#include "tests/support/TestPump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
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

TEST(WorkerThreads, BodiesRunAtOnceSideBySideOnThreadsKeptFromEarlierBodies)
{
    // Bodies run on the same threads one after another, without waiting for
    // one another: each of a burst waits until all of it runs.
    thread_local int bodiesRunHere = 0;
    for (const int burst : {1, 6, 3, 6}) {
        SCOPED_TRACE(burst);
        std::mutex lock;
        std::condition_variable changed;
        int started = 0;
        std::atomic<int> together{0};
        std::atomic<int> onThreadsThatRanOne{0};
        for (int i = 0; i < burst; ++i)
            StartWorkerThread([&] {
                if (bodiesRunHere++ > 0)
                    ++onThreadsThatRanOne;
                std::unique_lock held(lock);
                ++started;
                changed.notify_all();
                if (changed.wait_for(held, std::chrono::seconds(10), [&] { return started == burst; }))
                    ++together;
            });
        ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        EXPECT_EQ(RunningWorkerThreads(), 0);
        EXPECT_EQ(together, burst) << "no body waited for another";
        // The threads of the last burst wait for the next one.
        if (burst == 3) {
            EXPECT_EQ(onThreadsThatRanOne, 3);
        }
    }
}

TEST(WorkerThreads, TheEndIsWaitedForWithWhatTheBodyHeld)
{
    auto held = std::make_shared<int>(7);
    std::weak_ptr<int> watch = held;
    CManualResetEvent release;
    StartWorkerThread([held = std::move(held), &release] { release.Wait(); });
    EXPECT_EQ(RunningWorkerThreads(), 1);
    release.Set();
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(10)));
    EXPECT_TRUE(watch.expired());
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
