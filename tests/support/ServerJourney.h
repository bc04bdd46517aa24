#pragma once
// What a member's journey against corvanta-server --demo started by the test
// shares: the fixture with the server and the main frame, demo's login through
// the Login dialog's hook, and a request of the test's own posted and waited
// for, to see what the server then holds. The test defines
// CORVANTA_SERVER_PROGRAM and links corvanta_ui_frame and corvanta_test_server.
#include "client/app/LoginPrompt.h"
#include "client/app/Session.h"
#include "client/app/UserLoginRequest.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerRequest.h"
#include "client/ui/frame/ChildView.h"
#include "client/ui/frame/MainFrame.h"
#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/PaneServices.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/support/QtSpin.h"
#include "tests/support/ScopedTestFolders.h"
#include "tests/support/ServerProcess.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Logs demo in (password demo) as the Login dialog would.
class CDemoLogin : public ILoginPrompt {
public:
    bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) override
    {
        std::string error;
        if (Failed(request.Login("demo", "demo", error)))
            return false;
        result.handle = "demo";
        result.password = "demo";
        result.token = request.Token();
        result.userId = request.UserId();
        return true;
    }
};

/// Posts with send and runs the event loop until request has answered; false
/// when it failed or no answer came within the bound.
inline bool AwaitAnswer(CServerRequest& request, const std::function<void()>& send)
{
    struct Completion : IRequestListener {
        void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { done = true; }
        void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { done = failed = true; }
        bool done = false;
        bool failed = false;
    } completion;
    request.AddListener(&completion);
    send();
    const bool told = SpinUntil([&] { return completion.done; });
    request.RemoveListener(&completion);
    return told && !completion.failed;
}

/// A journey's fixture: corvanta-server --demo in a temporary folder, the
/// session pointed at it, message boxes recorded instead of shown, and a main
/// frame over the services the test gives. The frame goes first at the end,
/// before the models it shows.
class CDemoJourney : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.Serving()) << m_server.Output();
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("CORVANTA_CA_FILE", m_server.CertificateFile().c_str(), 1);
        m_session.ServerSettings().SetServerHost("127.0.0.1");
        m_session.ServerSettings().SetPortOverride(m_server.HttpPort(), m_server.HttpsPort());
        SetActiveServerSettings(&m_session.ServerSettings());
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            m_messages.push_back(text);
            return kIdOk;
        });
    }
    void TearDown() override
    {
        m_frame.reset();
        for (ISessionListener* listener : m_sessionListeners)
            m_session.RemoveSessionListener(listener);
        EXPECT_TRUE(WaitForWorkerThreads(std::chrono::seconds(30)));
        QCoreApplication::processEvents();
        SetMessageBoxHandler({});
        SetActiveServerSettings(nullptr);
        unsetenv("CORVANTA_CA_FILE");
    }

    /// listener hears the session from now until the test ends.
    void ListenToSession(ISessionListener* listener)
    {
        m_session.AddSessionListener(listener);
        m_sessionListeners.push_back(listener);
    }
    /// The main window over services, shown.
    void MakeFrame(const PaneServices& services)
    {
        m_frame = std::make_unique<CMainFrame>(m_session, services, nullptr);
        m_frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
    }
    /// Clicks tab index of the main window's strip.
    void ClickTab(int index)
    {
        CColorTabCtrl* strip = m_frame->GetChildView()->TabStrip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->GetItemRect(index).center());
    }

    CScopedTestFolders m_folders;  // a private registry for the frame's placement
    CServerProcess m_server{CORVANTA_SERVER_PROGRAM};
    CSession m_session;
    std::unique_ptr<CMainFrame> m_frame;
    std::vector<std::string> m_messages;

private:
    std::vector<ISessionListener*> m_sessionListeners;
};
