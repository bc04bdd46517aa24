#include "client/ui/web/BlockingCallRunner.h"

#include "client/protocol/ServerRequest.h"
#include "client/protocol/ServerSettings.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/base/QtUiDispatcher.h"
#include "client/ui/shell/AnimationCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/web/ProgressDlg.h"
#include "platform/BlockingCall.h"
#include "platform/Dispatcher.h"
#include "platform/Http.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

constexpr int kBoundMs = 20000;

class BlockingCallRunnerTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_settings.SetServerHost(CLoopbackHttpServer::kHost);
        m_settings.SetPortOverride(m_server.Port(), m_server.Port());
        SetActiveServerSettings(&m_settings);
        m_request.SetPage("Probe.jsp", false);
        m_server.SetResponse(ServerPagePath("Probe.jsp"), 200, "<Answer/>");
    }

    void TearDown() override { SetActiveServerSettings(nullptr); }

    static bool ProgressWindowShown()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (dynamic_cast<CProgressDlg*>(window) != nullptr && window->isVisible())
                return true;
        return false;
    }

    CLoopbackHttpServer m_server;
    CServerSettings m_settings;
    CServerRequest m_request;
};

// While the exchange is held by the server: the progress window is up and
// modal, the other window ignores clicks, posted notifications wait; after
// it the window is gone and the notifications follow.
TEST_F(BlockingCallRunnerTest, ProgressWindowAroundExchangeWhileNotificationsWait)
{
    QWidget mainWindow;
    auto* button = new QPushButton("Press", &mainWindow);
    button->setGeometry(10, 10, 120, 30);
    mainWindow.resize(400, 300);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &mainWindow, [&] { ++clicks; });

    CBlockingCallRunner runner([&] { return &mainWindow; });
    CBlockingCallMessage message(IDS_PUBLISHING);
    m_server.Hold(ServerPagePath("Probe.jsp"));

    bool delivered = false;
    bool observed = false;
    bool heldAtServer = false, windowShown = false, windowModal = false, dispatcherHeld = false;
    bool deliveredDuring = true;
    std::string text;
    QTimer::singleShot(0, &mainWindow, [&] {
        heldAtServer = m_server.WaitForHeld(1);
        CProgressDlg* progress = runner.ProgressWindow();
        windowShown = progress != nullptr && progress->isVisible();
        windowModal = progress != nullptr && QApplication::activeModalWidget() == progress;
        text = progress != nullptr ? progress->Text() : std::string();
        dispatcherHeld = CQtUiDispatcher::Instance()->Held();
        PostToUiThread([&] { delivered = true; });
        const QPoint at = button->mapTo(&mainWindow, button->rect().center());
        QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        deliveredDuring = delivered;
        observed = true;
        m_server.Release(ServerPagePath("Probe.jsp"));
    });

    std::string answer;
    EXPECT_EQ(m_request.Execute("a=1", answer), S_OK);
    EXPECT_EQ(answer, "<Answer/>\n\r");
    ASSERT_TRUE(observed);
    EXPECT_TRUE(heldAtServer);
    EXPECT_TRUE(windowShown);
    EXPECT_TRUE(windowModal);
    EXPECT_EQ(text, "Publishing");
    EXPECT_TRUE(dispatcherHeld);
    EXPECT_FALSE(deliveredDuring);
    EXPECT_EQ(clicks, 0);

    EXPECT_EQ(runner.ProgressWindow(), nullptr);
    EXPECT_FALSE(ProgressWindowShown());
    EXPECT_FALSE(CQtUiDispatcher::Instance()->Held());
    EXPECT_FALSE(delivered) << "delivered before the caller went back to the event loop";
    EXPECT_TRUE(QTest::qWaitFor([&] { return delivered; }, kBoundMs));

    // Input reaches the other window again.
    QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {},
                      button->mapTo(&mainWindow, button->rect().center()));
    EXPECT_EQ(clicks, 1);
}

// An exchange that answers at once still shows the window, then hides it; a
// transport error it meets is reported while the call runs and shown on the
// user-interface thread once it has returned.
TEST_F(BlockingCallRunnerTest, FastAndFailingExchanges)
{
    CBlockingCallRunner runner;
    bool shownDuring = false;
    QTimer::singleShot(0, [&] { shownDuring = ProgressWindowShown(); });
    std::string answer;
    EXPECT_EQ(m_request.Execute("a=1", answer), S_OK);
    EXPECT_TRUE(shownDuring);
    EXPECT_FALSE(ProgressWindowShown());

    std::uint16_t closedPort = 0;
    {
        CLoopbackHttpServer gone;
        closedPort = gone.Port();
    }
    m_settings.SetPortOverride(closedPort, closedPort);
    Qt::HANDLE reportedOn = nullptr;
    Qt::HANDLE shownOn = nullptr;
    SetTransportErrorReporter([&](const std::string&) {
        reportedOn = QThread::currentThreadId();
        PostToUiThread([&] { shownOn = QThread::currentThreadId(); });
    });
    EXPECT_EQ(m_request.Execute("a=1", answer), E_FAIL);
    EXPECT_NE(reportedOn, nullptr);
    EXPECT_EQ(shownOn, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownOn != nullptr; }, kBoundMs));
    EXPECT_EQ(shownOn, QThread::currentThreadId());
    SetTransportErrorReporter(nullptr);
}

// Away from the user-interface thread the work runs inline, with no window.
TEST_F(BlockingCallRunnerTest, OtherThreadsRunInline)
{
    CBlockingCallRunner runner;
    std::thread::id ranOn;
    std::thread::id caller;
    std::thread other([&] {
        caller = std::this_thread::get_id();
        RunBlockingCall([&] { ranOn = std::this_thread::get_id(); });
    });
    other.join();
    EXPECT_EQ(ranOn, caller);
    EXPECT_EQ(runner.ProgressWindow(), nullptr);
}

TEST(ProgressDlgTest, EmptyUntilTextIsSetAndCentredOnScreenWithoutOwner)
{
    CProgressDlg progress;
    progress.Create(nullptr);
    auto* message = FindControlAs<QLabel>(&progress, IDC_PROGRESS_MESSAGE);
    auto* animation = FindControlAs<CAnimationCtrl>(&progress, IDC_PROGRESS_ANIMATION);
    ASSERT_NE(message, nullptr);
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(message->text().isEmpty());
    EXPECT_TRUE(animation->IsPlaying());
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.windowTitle(), "Corvanta");

    progress.SetTextId(IDS_CREATING_ARTIST);
    EXPECT_EQ(message->text(), "Creating Artist");
    progress.SetText("Creating Track");
    EXPECT_EQ(message->text(), "Creating Track");

    progress.CenterOn(nullptr);
    EXPECT_EQ(progress.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
}

}  // namespace
