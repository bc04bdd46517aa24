#include "client/ui/web/DetailViewer.h"

#include "client/resources/ResourceIds.h"
#include "client/ui/web/WebBrowser2.h"
#include "tests/client/ui/web/WebPaneFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

namespace {

class DetailViewerTest : public WebPaneFixture {};

// A link clicked with the mouse in a real page reaches the interception: the
// add link becomes a favorite and the page stays.
TEST_F(DetailViewerTest, ClickedAddLinkBecomesFavoriteAndPageStays)
{
    LogIn();
    ServeHtml("tessarin/details/ShowPerformanceDetail.jsp",
                                "<html><body style='margin:0'><a id='add' style='display:block;width:200px;"
                                "height:40px' href='" +
                                    Base("orvane/bookmark/AddBookmark.jsp?bookmarkType=3&newBookmarkItemID=77"
                                         "&songName=Blue%20Moon&artistName=X") +
                                    "'>Add</a></body></html>");
    CDetailViewer viewer(m_session, m_favorites.get());
    viewer.Create(nullptr, 0);
    viewer.resize(400, 300);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    CWebBrowser2* browser = viewer.Browser();
    QSignalSpy loaded(browser->page(), &QWebEnginePage::loadFinished);
    viewer.ShowPerformanceDetail(5);
    ASSERT_TRUE(loaded.wait(kBoundMs));
    QWidget* surface = browser->focusProxy();
    ASSERT_NE(surface, nullptr);
    const QPoint at = surface->mapTo(&viewer, QPoint(20, 20));
    QTest::mouseMove(viewer.windowHandle(), at);
    QTest::mouseClick(viewer.windowHandle(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_favorites->TrackCount() == 1; }, kBoundMs));
    EXPECT_EQ(m_favorites->Track(0)->performanceID, 77);
    EXPECT_EQ(m_favorites->Track(0)->SongName, "Blue Moon");
    EXPECT_EQ(m_favorites->Track(0)->ArtistName, "X");
    EXPECT_EQ(browser->url().toEncoded().toStdString(),
              Base("tessarin/details/ShowPerformanceDetail.jsp?performance=5&UserToken=tok42"));
    for (const RecordedRequest& request : m_server.RequestsTo("/corvanta/production/orvane/bookmark/AddBookmark.jsp"))
        EXPECT_EQ(request.method, "POST") << "the link itself was followed";
}

} // namespace
