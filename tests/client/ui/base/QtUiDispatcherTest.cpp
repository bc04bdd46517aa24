#include "client/ui/base/QtUiDispatcher.h"
#include "tests/support/QtSpin.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(QtUiDispatcher, TasksFromManyThreadsRunOnTheUiThreadInPostOrderPerThread)
{
    constexpr int kThreads = 4;
    constexpr int kTasks = 500;
    std::vector<std::vector<int>> seen(kThreads);
    std::atomic<int> offThread{0};
    const auto uiThread = std::this_thread::get_id();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kTasks; ++i)
                PostToUiThread([&, t, i] {
                    if (std::this_thread::get_id() != uiThread)
                        ++offThread;
                    seen[t].push_back(i);
                });
        });
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(SpinUntil([&] {
        std::size_t total = 0;
        for (const auto& list : seen)
            total += list.size();
        return total == kThreads * kTasks;
    }));
    EXPECT_EQ(offThread.load(), 0);
    for (const auto& list : seen)
        for (int i = 0; i < kTasks; ++i)
            ASSERT_EQ(list[static_cast<std::size_t>(i)], i);
}

TEST(QtUiDispatcher, HeldTasksWaitAndKeepTheirOrder)
{
    auto* dispatcher = CQtUiDispatcher::Instance();
    ASSERT_NE(dispatcher, nullptr);
    std::vector<int> ran;
    // The first task opens a held section, as a synchronous exchange does.
    PostToUiThread([&] {
        ran.push_back(1);
        dispatcher->Hold();
    });
    PostToUiThread([&] { ran.push_back(2); });
    ASSERT_TRUE(SpinUntil([&] { return !ran.empty(); }));
    PostToUiThread([&] { ran.push_back(3); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, std::vector<int>{1});
    dispatcher->Hold();
    dispatcher->Release();  // nested: still held
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, std::vector<int>{1});
    dispatcher->Release();
    ASSERT_TRUE(SpinUntil([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(QtUiDispatcher, TasksRunInPostOrderWhenOneOpensANestedLoop)
{
    // The first task opens a nested loop, as a message box does, and waits there
    // for a task posted from another thread while it is open.
    std::vector<int> ran;
    bool nestedSawLast = false;
    PostToUiThread([&] {
        ran.push_back(1);
        std::thread([&] { PostToUiThread([&] { ran.push_back(4); }); }).join();
        nestedSawLast = SpinUntil([&] { return ran.back() == 4; });
        ran.push_back(5);
    });
    PostToUiThread([&] { ran.push_back(2); });
    PostToUiThread([&] { ran.push_back(3); });
    ASSERT_TRUE(SpinUntil([&] { return ran.size() == 5; }));
    EXPECT_TRUE(nestedSawLast);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5}));
}

}  // namespace
