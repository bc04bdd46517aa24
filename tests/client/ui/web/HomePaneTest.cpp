#include "client/ui/web/HomePane.h"

#include "client/resources/ResourceIds.h"
#include "client/ui/shell/CommandTarget.h"
#include "client/ui/web/DetailViewer.h"
#include "client/ui/web/WebBrowser2.h"
#include "shared/PagePaths.h"
#include "tests/client/ui/web/WebPaneFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <memory>

namespace {

class HomePaneTest : public WebPaneFixture {
protected:
    void MakePanes()
    {
        // As the frame makes them: constructed, never created through Create.
        m_viewer = std::make_unique<CDetailViewer>(m_session, m_favorites.get());
        m_home = std::make_unique<CHomePane>(m_session);
        m_home->SetDetailViewer(m_viewer.get());
    }

    void TearDown() override
    {
        m_home.reset();
        m_viewer.reset();
        WebPaneFixture::TearDown();
    }

    static std::string QueryValue(const RecordedRequest& request, const char* key)
    {
        const auto it = request.libraryForm.find(key);
        return it == request.libraryForm.end() ? std::string() : it->second;
    }

    std::string Expand(const std::string& url) const { return url.rfind('~', 0) == 0 ? Base(url.substr(1)) : url; }

    std::unique_ptr<CDetailViewer> m_viewer;
    std::unique_ptr<CHomePane> m_home;
};

struct HomeLinkCase {
    const char* name;
    std::string url;  // "~" stands for the production folder's address
    std::string headers;
    bool cancels;
    std::string detailPage;  // the detail viewer's page afterwards; empty: still NoDetails.htm
    std::string homeUrl;     // where the home pane went; empty: still the home page
    bool refreshPending;
};

TEST_F(HomePaneTest, LinksOfTheHomePage)
{
    const std::string details = std::string("http://") + PagePaths::kDetailsHost;
    const HomeLinkCase cases[] = {
        {"details host: artist", details + "/artist/show?15", "", true,
         "ShowArtistDetail.jsp?artist=15&UserToken=tok42"},
        {"details host: playlist", details + "/playlist/show?7", "", true,
         "ShowPlaylistDetail.jsp?playlist=7&UserToken=tok42"},
        {"details host: playmaker", details + "/playmaker/show?3", "", true,
         "ShowPlaymakerDetail.jsp?playmaker=3&UserToken=tok42"},
        {"details host: recording", details + "/recording/show?12", "", true,
         "ShowPerformanceDetail.jsp?performance=12&UserToken=tok42"},
        {"details host: playlist before playmaker", details + "/playmaker/playlist?4", "", true,
         "ShowPlaylistDetail.jsp?playlist=4&UserToken=tok42"},
        {"details host: not a number", details + "/artist/show?abc", "", true,
         "ShowArtistDetail.jsp?artist=0&UserToken=tok42"},
        {"details host: no word still cancels", details + "/other/show?4", "", true},
        {"?show playmaker", "~tessarin/home/index.html?showplaymaker=9", "", false,
         "ShowPlaymakerDetail.jsp?playmaker=9&UserToken=tok42"},
        {"?show playlist", "~tessarin/home/index.html?showplaylist=5", "", false,
         "ShowPlaylistDetail.jsp?playlist=5&UserToken=tok42"},
        {"?show artist", "~tessarin/home/index.html?showartist=2", "", false,
         "ShowArtistDetail.jsp?artist=2&UserToken=tok42"},
        {"?show recording", "~tessarin/home/index.html?showrecording=8", "", false,
         "ShowPerformanceDetail.jsp?performance=8&UserToken=tok42"},
        {"profile gets the token", "~orvane/UpdateProfile.jsp", "", true, "",
         "~orvane/UpdateProfile.jsp?UserToken=tok42&App=Tessarin", true},
        {"profile with a token proceeds", "~orvane/UpdateProfile.jsp?UserToken=tok42", "", false},
        {"profile with headers proceeds", "~orvane/UpdateProfile.jsp", "pragma:nocache", false},
        {"statistics get the token", "~orvane/ViewStatistics.jsp", "", true, "",
         "~orvane/ViewStatistics.jsp?UserToken=tok42"},
        {"statistics with headers proceed", "~orvane/ViewStatistics.jsp", "pragma:nocache", false},
        {"updated playmaker shown", "~orvane/ShowUpdatedPlaymaker.jsp?UserToken=tok42", "", true,
         "ShowPlaymakerDetail.jsp?playmaker=31&UserToken=tok42"},
        {"updated playmaker previewed", "~orvane/PreviewUpdatedPlaymaker.jsp?UserToken=tok42", "", true,
         "ShowPlaymakerDetail.jsp?playmaker=31&UserToken=tok42",
         "~orvane/UpdateProfile.jsp?UserToken=tok42&App=Tessarin"},
        {"other pages proceed", "~tessarin/home/index.html", "", false},
    };
    LogIn();
    for (const HomeLinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakePanes();
        ASSERT_TRUE(WaitForRequested(*m_home->Browser(), m_home->HomeUrl()));
        ASSERT_TRUE(WaitForRequested(*m_viewer->Browser(), m_viewer->DetailsUrl("NoDetails.htm")));

        EXPECT_EQ(m_home->InterceptNavigation(Expand(c.url), c.headers), c.cancels);
        EXPECT_EQ(m_home->RefreshPending(), c.refreshPending);
        const std::string detail = m_viewer->DetailsUrl(c.detailPage.empty() ? "NoDetails.htm" : c.detailPage);
        EXPECT_TRUE(WaitForRequested(*m_viewer->Browser(), detail)) << Requested(*m_viewer->Browser());
        const std::string home = c.homeUrl.empty() ? m_home->HomeUrl() : Expand(c.homeUrl);
        EXPECT_TRUE(WaitForRequested(*m_home->Browser(), home)) << Requested(*m_home->Browser());
    }
}

// A real page's profile link: reloaded once with the token, the reload
// carries the no-cache header and is not intercepted again, and the page is
// refreshed once after it completed.
TEST_F(HomePaneTest, ProfileLinkReloadedWithTokenThenRefreshedOnce)
{
    LogIn();
    ServeHtml("tessarin/home/index.html",
              "<html><body style='margin:0'><a style='display:block;width:200px;height:40px' href='" +
                  Base("orvane/UpdateProfile.jsp") + "'>Profile</a></body></html>");
    ServeHtml("orvane/UpdateProfile.jsp", "<html><body>profile</body></html>");
    MakePanes();
    m_home->resize(400, 300);
    m_home->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_home.get()));
    QSignalSpy loaded(m_home->Browser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() >= 1; }, kBoundMs));
    ASSERT_EQ(m_home->Browser()->url().toEncoded().toStdString(), m_home->HomeUrl());

    const QPoint at = m_home->Browser()->mapTo(m_home.get(), QPoint(20, 20));
    const std::string profile = PagePaths::ServerPath(PagePaths::kUpdateProfile);
    ASSERT_TRUE(ClickUntil(m_home.get(), at, [&] { return !m_server.RequestsTo(profile).empty(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.RequestsTo(profile).size() >= 2; }, kBoundMs));
    const int loadsBeforeRefreshDone = loaded.count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > loadsBeforeRefreshDone; }, kBoundMs));
    EXPECT_FALSE(m_home->RefreshPending());
    const auto requests = m_server.RequestsTo(profile);
    ASSERT_EQ(requests.size(), 2u);
    for (const RecordedRequest& request : requests) {
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(QueryValue(request, "UserToken"), "tok42");
        EXPECT_EQ(QueryValue(request, "App"), "Tessarin");
    }
    EXPECT_EQ(requests.front().Header("pragma"), "nocache");
    EXPECT_EQ(requests.front().Header("Cache-Control"), "no-cache");
    EXPECT_EQ(m_home->Browser()->url().toEncoded().toStdString(),
              Base("orvane/UpdateProfile.jsp?UserToken=tok42&App=Tessarin"));
}

TEST_F(HomePaneTest, SessionChangesGoHomeAndCommands)
{
    MakePanes();
    CWebBrowser2& browser = *m_home->Browser();
    ASSERT_TRUE(WaitForRequested(browser, m_home->HomeUrl()));
    EXPECT_EQ(m_home->HomeUrl(), Base("tessarin/home/index.html"));
    for (const bool login : {true, false}) {
        browser.Navigate(Base("tessarin/elsewhere.html"));
        ASSERT_TRUE(WaitForRequested(browser, Base("tessarin/elsewhere.html")));
        if (login)
            LogIn();
        else
            m_session.SetSession("");
        EXPECT_TRUE(WaitForRequested(browser, m_home->HomeUrl()));
    }

    for (unsigned id : {ID_VIEW_REFRESH, ID_VIEW_BACK, ID_VIEW_FORWARD, ID_BROWSER_BACK, ID_BROWSER_FORWARD,
                        ID_BROWSER_STOP, ID_BROWSER_REFRESH})
        EXPECT_TRUE(QueryCommand(*m_home, id).Enabled()) << id;
    EXPECT_FALSE(QueryCommand(*m_home, ID_FILE_LOGIN).Enabled());

    m_home->show();
    m_home->resize(300, 200);
    EXPECT_EQ(browser.geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(m_home->BackgroundColor(), QColor(212, 208, 200));
}

}  // namespace
