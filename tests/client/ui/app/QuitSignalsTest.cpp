// SIGINT and SIGTERM reach the user-interface thread as a request to quit,
// once each; the next one acts as usual.
#include "AppFixture.h"

#include "client/ui/app/QuitSignals.h"

#include <QThread>

#include <csignal>

namespace {

TEST(QuitSignals, ASignalBecomesOneQuitOnTheUserInterfaceThread)
{
    for (int number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(number);
        int quits = 0;
        bool onUiThread = false;
        {
            CQuitSignals quitSignals([&] {
                ++quits;
                onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            });
            ASSERT_EQ(raise(number), 0);
            ASSERT_TRUE(SpinUntil([&] { return quits > 0; }));
            EXPECT_TRUE(onUiThread);
            // The handler is gone after the first signal: the default action is back.
            struct sigaction current {};
            sigaction(number, nullptr, &current);
            EXPECT_EQ(current.sa_handler, SIG_DFL);
        }
        EXPECT_EQ(quits, 1);
    }
}

}  // namespace
