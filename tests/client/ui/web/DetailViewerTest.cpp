#include "client/ui/web/DetailViewer.h"

#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/shell/CommandTarget.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/web/WebBrowser2.h"
#include "tests/client/ui/web/WebPaneFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <memory>

namespace {

class DetailViewerTest : public WebPaneFixture {
protected:
    std::unique_ptr<CDetailViewer> MakeViewer(CFavoritesModel* favorites)
    {
        auto viewer = std::make_unique<CDetailViewer>(m_session, favorites);
        viewer->Create(nullptr, 0);
        return viewer;
    }
};

// A link clicked with the mouse in a real page reaches the interception: the
// add link becomes a favorite and the page stays. The escapes in the name are
// decoded by our rule only, after the pairs were split.
TEST_F(DetailViewerTest, ClickedAddLinkBecomesFavoriteAndPageStays)
{
    LogIn();
    ServeHtml("tessarin/details/ShowPerformanceDetail.jsp",
              "<html><body style='margin:0'><a id='add' style='display:block;width:200px;height:40px' href='" +
                  Base("orvane/bookmark/AddBookmark.jsp?bookmarkType=3&newBookmarkItemID=77"
                       "&songName=Rock%20%26%20Roll%2B1&artistName=X") +
                  "'>Add</a></body></html>");
    auto viewer = MakeViewer(m_favorites.get());
    viewer->resize(400, 300);
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    CWebBrowser2* browser = viewer->Browser();
    QSignalSpy loaded(browser->page(), &QWebEnginePage::loadFinished);
    viewer->ShowPerformanceDetail(5);
    ASSERT_TRUE(loaded.wait(kBoundMs));

    const QPoint at = browser->mapTo(viewer.get(), QPoint(20, 20));
    ASSERT_TRUE(ClickUntil(viewer.get(), at, [&] { return m_favorites->TrackCount() == 1; }));
    EXPECT_EQ(m_favorites->Track(0)->performanceID, 77);
    EXPECT_EQ(m_favorites->Track(0)->SongName, "Rock & Roll+1");
    EXPECT_EQ(m_favorites->Track(0)->ArtistName, "X");
    EXPECT_EQ(browser->url().toEncoded().toStdString(),
              Base("tessarin/details/ShowPerformanceDetail.jsp?performance=5&UserToken=tok42"));
    for (const RecordedRequest& request : m_server.RequestsTo("/corvanta/production/orvane/bookmark/AddBookmark.jsp"))
        EXPECT_EQ(request.method, "POST") << "the link itself was followed";
    // Detail pages are asked for past the cache.
    const auto pages = m_server.RequestsTo("/corvanta/production/tessarin/details/ShowPerformanceDetail.jsp");
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.back().Header("Cache-Control"), "no-cache");
}

struct AddLinkCase {
    const char* name;
    std::string url;  // "~" stands for the production folder's address
    bool cancels;
    std::int32_t type;  // 0: no favorite
    std::int32_t id;
    std::string first, second, third;
};

TEST_F(DetailViewerTest, AddLinksBecomeFavorites)
{
    LogIn();
    const AddLinkCase cases[] = {
        {"track",
         "~orvane/bookmark/AddBookmark.jsp?bookmarkType=3&newBookmarkItemID=77&songName=Blue%20Moon&artistName=X", true,
         3, 77, "Blue Moon", "X", ""},
        {"names decoded then trimmed",
         "~orvane/bookmark/AddBookmark.jsp?bookmarkType=2&newBookmarkItemID=12&name=%20%20Late%20Night%09"
         "&playmakerName=dj%2Bmix",
         true, 2, 12, "Late Night", "dj+mix", ""},
        {"a key twice keeps its last value",
         "~orvane/bookmark/"
         "AddBookmark.jsp?bookmarkType=4&newBookmarkItemID=1&newBookmarkItemID=9&name=first&name=Second",
         true, 4, 9, "Second", "", ""},
        {"plus stays and keys are exact",
         "~orvane/bookmark/AddBookmark.jsp?bookmarkType=1&newBookmarkItemID=5&name=A+B&Name=ignored", true, 1, 5, "A+B",
         "", ""},
        {"text after the last question mark",
         "~orvane/bookmark/AddBookmark.jsp?x=1?bookmarkType=1&newBookmarkItemID=6&name=Art", true, 1, 6, "Art", "", ""},
        {"no number gives 0, third name, bytes of escapes",
         "~orvane/bookmark/"
         "AddBookmark.jsp?bookmarkType=3&newBookmarkItemID=abc&songName=%E2%99%A5%zz&albumName=%41lbum",
         true, 3, 0, "\xE2\x99\xA5%zz", "", "Album"},
        {"unknown type adds nothing", "~orvane/bookmark/AddBookmark.jsp?BookmarkType=3&newBookmarkItemID=8", true, 0},
        {"page name is case-sensitive", "~orvane/bookmark/addbookmark.jsp?bookmarkType=3&newBookmarkItemID=8", false,
         0},
        {"only the path counts", "http://AddBookmark.jsp.example.com/page?bookmarkType=3&newBookmarkItemID=8", false,
         0},
        {"other pages proceed", "~tessarin/details/ShowArtistDetail.jsp?artist=3&UserToken=tok42", false, 0},
    };
    for (const AddLinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string url = c.url;
        if (url.front() == '~')
            url = Base(url.substr(1));
        CFavoritesModel favorites([this] { return m_session.Token(); });
        auto viewer = MakeViewer(&favorites);
        EXPECT_EQ(viewer->InterceptNavigation(url), c.cancels);
        for (std::int32_t type = 1; type <= 4; ++type)
            EXPECT_EQ(favorites.Count(type), type == c.type ? 1 : 0) << "type " << type;
        switch (c.type) {
        case 1:
            EXPECT_EQ(favorites.Artist(0)->artistID, c.id);
            EXPECT_EQ(favorites.Artist(0)->Name, c.first);
            break;
        case 2:
            EXPECT_EQ(favorites.Playlist(0)->playlistID, c.id);
            EXPECT_EQ(favorites.Playlist(0)->Name, c.first);
            EXPECT_EQ(favorites.Playlist(0)->Playmaker.Handle, c.second);
            break;
        case 3:
            EXPECT_EQ(favorites.Track(0)->performanceID, c.id);
            EXPECT_EQ(favorites.Track(0)->SongName, c.first);
            EXPECT_EQ(favorites.Track(0)->ArtistName, c.second);
            EXPECT_EQ(favorites.Track(0)->Version, c.third);
            break;
        case 4:
            EXPECT_EQ(favorites.Playmaker(0)->userID, c.id);
            EXPECT_EQ(favorites.Playmaker(0)->Handle, c.first);
            break;
        default: break;
        }
    }
}

TEST_F(DetailViewerTest, PagesCarryTheTokenOfTheMomentAndLoggedOutAddsNothing)
{
    auto viewer = MakeViewer(m_favorites.get());
    CWebBrowser2& browser = *viewer->Browser();
    EXPECT_TRUE(WaitForRequested(browser, Base("tessarin/details/NoDetails.htm")));
    viewer->ShowPlaylistDetail(42);
    EXPECT_TRUE(WaitForRequested(browser, Base("tessarin/details/ShowPlaylistDetail.jsp?playlist=42&UserToken=")));
    EXPECT_TRUE(viewer->InterceptNavigation(
        Base("orvane/bookmark/AddBookmark.jsp?bookmarkType=3&newBookmarkItemID=77&songName=S")));
    EXPECT_EQ(m_favorites->TrackCount(), 0);

    LogIn();
    const struct {
        void (CDetailViewer::*show)(std::int32_t);
        std::int32_t id;
        const char* page;
    } cases[] = {
        {&CDetailViewer::ShowPerformanceDetail, 7, "ShowPerformanceDetail.jsp?performance=7&UserToken=tok42"},
        {&CDetailViewer::ShowArtistDetail, 15, "ShowArtistDetail.jsp?artist=15&UserToken=tok42"},
        {&CDetailViewer::ShowPlaymakerDetail, 9, "ShowPlaymakerDetail.jsp?playmaker=9&UserToken=tok42"},
        {&CDetailViewer::ShowPlaylistDetail, 42, "ShowPlaylistDetail.jsp?playlist=42&UserToken=tok42"},
        {&CDetailViewer::EmailPlaymaker, 9, "EmailPlaymaker.jsp?playmaker=9"},
        {&CDetailViewer::EmailFriend, 42, "EmailFriend.jsp?playlist=42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        (viewer.get()->*c.show)(c.id);
        EXPECT_TRUE(WaitForRequested(browser, Base(std::string("tessarin/details/") + c.page)));
    }
    // A token with characters that would end the value early stays one value.
    m_session.SetSession("a&b#c d");
    viewer->ShowArtistDetail(15);
    EXPECT_TRUE(
        WaitForRequested(browser, Base("tessarin/details/ShowArtistDetail.jsp?artist=15&UserToken=a%26b%23c%20d")));
}

// Login and logout both bring back the empty page.
TEST_F(DetailViewerTest, SessionChangesShowNoDetails)
{
    auto viewer = MakeViewer(m_favorites.get());
    CWebBrowser2& browser = *viewer->Browser();
    for (const bool login : {true, false}) {
        viewer->ShowArtistDetail(3);
        ASSERT_TRUE(WaitForRequested(browser, viewer->DetailsUrl("ShowArtistDetail.jsp?artist=3&UserToken=") +
                                                  (login ? "" : kToken)));
        if (login)
            LogIn();
        else
            m_session.SetSession("");
        EXPECT_TRUE(WaitForRequested(browser, Base("tessarin/details/NoDetails.htm")));
    }
}

TEST_F(DetailViewerTest, BrowserCommandsAndHistory)
{
    auto viewer = MakeViewer(m_favorites.get());
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    CWebBrowser2& browser = *viewer->Browser();
    for (unsigned id : {ID_BROWSER_BACK, ID_BROWSER_FORWARD, ID_BROWSER_STOP, ID_BROWSER_REFRESH})
        EXPECT_TRUE(QueryCommand(*viewer, id).Enabled()) << id;
    for (unsigned id : {ID_VIEW_REFRESH, ID_VIEW_BACK, ID_VIEW_FORWARD})
        EXPECT_FALSE(viewer->OnCmdMsg(id, nullptr)) << id;

    QSignalSpy loaded(browser.page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() >= 1; }, kBoundMs));
    const QUrl first = browser.url();
    // No history yet: Back changes nothing.
    EXPECT_TRUE(RunCommand(*viewer, ID_BROWSER_BACK));
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.url(), first);

    viewer->ShowArtistDetail(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() >= 2; }, kBoundMs));
    EXPECT_TRUE(RunCommand(*viewer, ID_BROWSER_BACK));
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser.url() == first; }, kBoundMs));
    EXPECT_TRUE(RunCommand(*viewer, ID_BROWSER_FORWARD));
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser.url() != first; }, kBoundMs));
}

TEST_F(DetailViewerTest, BrowserBelowTheButtonRow)
{
    auto viewer = MakeViewer(m_favorites.get());
    viewer->show();
    viewer->resize(300, 200);
    EXPECT_EQ(viewer->Browser()->geometry(), QRect(0, 26, 300, 172));
    viewer->resize(500, 400);
    EXPECT_EQ(viewer->Browser()->geometry(), QRect(0, 26, 500, 372));
    for (int id : {IDC_DETAIL_BACK, IDC_DETAIL_FORWARD, IDC_DETAIL_STOP, IDC_DETAIL_REFRESH}) {
        QWidget* button = FindControl(viewer.get(), id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_LE(button->geometry().bottom(), 25) << id;
    }
    EXPECT_EQ(viewer->BackgroundColor(), QColor(212, 208, 200));
}

}  // namespace
