#pragma once
// A session and a favorites model pointed at a loopback server, for the
// browser panes. Pages the panes open are answered by that server.
#include "client/app/Session.h"
#include "client/favorites/FavoritesModel.h"
#include "client/ui/web/WebBrowser2.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class WebPaneFixture : public testing::Test {
protected:
    static constexpr const char* kToken = "tok42";
    static constexpr std::int32_t kUserId = 31;
    // Generous: page loads in the offscreen engine take a second or two, more on a busy machine.
    static constexpr int kBoundMs = 60000;

    void SetUp() override
    {
        m_session.ServerSettings().SetServerHost(CLoopbackHttpServer::kHost);
        m_session.ServerSettings().SetPortOverride(m_server.Port(), m_server.Port());
        SetActiveServerSettings(&m_session.ServerSettings());
        m_favorites = std::make_unique<CFavoritesModel>([this] { return m_session.Token(); });
        m_session.AddSessionListener(m_favorites.get());
    }

    void TearDown() override
    {
        m_session.RemoveSessionListener(m_favorites.get());
        m_favorites.reset();
        SetActiveServerSettings(nullptr);
    }

    /// Answers path (relative to the production folder) with an HTML page.
    void ServeHtml(const std::string& path, const std::string& html)
    {
        m_server.SetResponse("/corvanta/production/" + path, [html](const RecordedRequest&) {
            return ScriptedResponse{200, html, "text/html"};
        });
    }

    void LogIn() { m_session.AdoptSession("demo", kUserId, kToken); }

    /// "http://127.0.0.1:<port>/corvanta/production/" + rest.
    std::string Base(const std::string& rest = {}) const
    {
        return m_session.ServerSettings().GetServerBaseUrl(false) + rest;
    }

    static std::string Requested(const CWebBrowser2& browser)
    {
        return browser.page()->requestedUrl().toEncoded().toStdString();
    }

    /// Runs the event loop until browser was asked for url.
    static bool WaitForRequested(const CWebBrowser2& browser, const std::string& url)
    {
        return QTest::qWaitFor([&] { return Requested(browser) == url; }, kBoundMs);
    }

    /// Clicks at (in window's coordinates) until done holds. A page takes input
    /// only once its render widget is up, a moment after it has loaded; a
    /// click that comes earlier is lost, so it is sent again after a pause.
    static bool ClickUntil(QWidget* window, QPoint at, const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(kBoundMs);
        do {
            QTest::mouseMove(window->windowHandle(), at);
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
            if (QTest::qWaitFor(done, 2000))
                return true;
        } while (!deadline.hasExpired());
        return false;
    }

    CLoopbackHttpServer m_server;
    CSession m_session;
    std::unique_ptr<CFavoritesModel> m_favorites;
};
