// A member's journey through the Favorites tab of a real main frame, over real
// models, against corvanta-server --demo started for the test; what the window
// shows is checked against what the server then holds.
#include "client/catalogue/GetUserPlaylistsRequest.h"
#include "client/editing/PlaylistStore.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/frame/BookmarkView.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/QtClipboardStore.h"
#include "client/ui/web/DetailViewer.h"
#include "platform/Http.h"
#include "tests/support/GridDriver.h"
#include "tests/support/ServerJourney.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// What the server holds for demo, as the pane would show it, group by group.
struct ServerView {
    Strings playlists, playmakers, artists, tracks, own;
    std::vector<int> trackIds, artistIds;
};

class FavoritesJourney : public CDemoJourney {
protected:
    void SetUp() override
    {
        CDemoJourney::SetUp();
        ListenToSession(&m_store);
        ListenToSession(&m_model);
        PaneServices services;
        services.favorites = &m_model;
        services.playlists = &m_store;
        services.clipboard = &m_clipboard;
        MakeFrame(services);
    }

    CBookmarkPane& Pane() { return *m_frame->GetChildView()->BookmarkView()->BookmarkPane(); }
    CItemListGridCtrl& Grid() { return *Pane().Grid(); }
    Strings Group(CBookmarkPane::Group group)
    {
        const int first = Grid().IndexOfItem(Pane().GroupRow(group)) + 1;
        const int end = group + 1 < CBookmarkPane::kGroupCount
                            ? Grid().IndexOfItem(Pane().GroupRow(static_cast<CBookmarkPane::Group>(group + 1)))
                            : Grid().GetRowCount();
        Strings rows;
        for (int i = first; i < end; ++i)
            rows.push_back(Grid().GetCellText(i, 0));
        return rows;
    }
    int RowOf(CBookmarkPane::Group group, const std::string& text)
    {
        const int first = Grid().IndexOfItem(Pane().GroupRow(group)) + 1;
        const Strings rows = Group(group);
        const auto found = std::find(rows.begin(), rows.end(), text);
        return found == rows.end() ? -1 : first + static_cast<int>(found - rows.begin());
    }
    QPoint Centre(int index) { return RowCentre(Grid(), index); }
    bool Idle()
    {
        return SpinUntil([&] { return m_model.PendingCount() == 0; });
    }

    ServerView FromServer()
    {
        ServerView view;
        CGetUserBookmarksRequest favorites;
        EXPECT_TRUE(AwaitAnswer(favorites, [&] { favorites.Fetch(m_session.Token()); }));
        for (const auto& p : favorites.TakePlaylists())
            view.playlists.push_back(p->Name + " by " + p->Playmaker.Handle);
        for (const auto& u : favorites.TakePlaymakers())
            view.playmakers.push_back(u->Handle);
        for (const auto& a : favorites.TakeArtists()) {
            view.artists.push_back(a->Name);
            view.artistIds.push_back(a->artistID);
        }
        for (const auto& t : favorites.TakeTracks()) {
            view.tracks.push_back(PerformanceDisplayText(*t));
            view.trackIds.push_back(t->performanceID);
        }
        CGetUserPlaylistsRequest own;
        EXPECT_TRUE(AwaitAnswer(own, [&] { own.Fetch(m_session.Token()); }));
        for (std::int32_t i = 0; i < own.Count(); ++i) {
            const PlaylistSummary p = own.Get(i);
            view.own.push_back(p.Name + " by " + p.Playmaker.Handle);
        }
        return view;
    }

    /// The add link of a track's detail page, as the detail viewer would be asked to open it.
    std::string AddLinkOf(int performanceID)
    {
        std::string page;
        const std::string path = "/corvanta/production/tessarin/details/ShowPerformanceDetail.jsp?performance=" +
                                 std::to_string(performanceID) + "&UserToken=" + m_session.Token();
        EXPECT_EQ(HttpPostForm("127.0.0.1", m_server.HttpPort(), path, "", page, false), S_OK);
        std::smatch link;
        if (!std::regex_search(page, link, std::regex("href=\"([^\"]*AddBookmark\\.jsp[^\"]*)\"")))
            return {};
        std::string href = link[1];
        for (std::size_t at; (at = href.find("&amp;")) != std::string::npos;)
            href.replace(at, 5, "&");
        return "http://127.0.0.1:" + std::to_string(m_server.HttpPort()) + href;
    }

    CPlaylistStore m_store{nullptr, nullptr};
    CFavoritesModel m_model{[this] { return m_session.Token(); }};
    CQtClipboardStore m_clipboard;
};

TEST_F(FavoritesJourney, DemoRemovesMovesAddsCopiesAndLogsOut)
{
    // The Favorites tab, as the member opens it.
    ClickTab(3);
    ASSERT_EQ(m_frame->GetChildView()->CurrentTabView(), m_frame->GetChildView()->BookmarkView());
    EXPECT_TRUE(Pane().isVisible());

    CDemoLogin login;
    m_session.LoginFlow(login);
    ASSERT_TRUE(m_session.IsLoggedIn());
    ASSERT_TRUE(SpinUntil([&] { return m_model.Loaded() && m_store.IsLoaded(); }));

    // demo's favorites in the server's order in their groups, and demo's playlists.
    ServerView server = FromServer();
    ASSERT_EQ(server.tracks.size(), 8u);
    EXPECT_EQ(Group(CBookmarkPane::kPlaylists), server.playlists);
    EXPECT_EQ(Group(CBookmarkPane::kPlaymakers), server.playmakers);
    EXPECT_EQ(Group(CBookmarkPane::kArtists), server.artists);
    EXPECT_EQ(Group(CBookmarkPane::kTracks), server.tracks);
    EXPECT_EQ(Group(CBookmarkPane::kICreated), server.own);
    EXPECT_FALSE(server.own.empty());

    // Two tracks go with the Delete key.
    const int second = RowOf(CBookmarkPane::kTracks, server.tracks[1]);
    const int fourth = RowOf(CBookmarkPane::kTracks, server.tracks[3]);
    ClickRow(Grid(), second);
    ClickRow(Grid(), fourth, Qt::ControlModifier);
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    ASSERT_TRUE(Idle());
    const std::set<int> removedIds = {server.trackIds[1], server.trackIds[3]};
    server = FromServer();
    EXPECT_EQ(server.tracks.size(), 6u);
    for (int id : server.trackIds)
        EXPECT_EQ(removedIds.count(id), 0u) << id;
    EXPECT_EQ(Group(CBookmarkPane::kTracks), server.tracks);

    // The last artist is dragged to the top of its group.
    const int last = RowOf(CBookmarkPane::kArtists, server.artists.back());
    const int top = RowOf(CBookmarkPane::kArtists, server.artists.front());
    const QPoint start = Centre(last);
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, start);
    for (const QPoint& at : {start + QPoint(QApplication::startDragDistance() / 2 + 2, 0), Centre(top)}) {
        QMouseEvent move(QEvent::MouseMove, at, Grid().viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(Grid().viewport(), &move);
    }
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, Centre(top));
    ASSERT_TRUE(Idle());
    Strings expectedArtists = server.artists;
    std::rotate(expectedArtists.rbegin(), expectedArtists.rbegin() + 1, expectedArtists.rend());
    server = FromServer();
    EXPECT_EQ(server.artists, expectedArtists) << "the server's order changed";
    EXPECT_EQ(Group(CBookmarkPane::kArtists), server.artists);

    // A track that is no favorite yet is added through its detail page's link.
    int newTrack = 1;
    while (std::find(server.trackIds.begin(), server.trackIds.end(), newTrack) != server.trackIds.end())
        ++newTrack;
    const std::string link = AddLinkOf(newTrack);
    ASSERT_FALSE(link.empty());
    EXPECT_TRUE(m_frame->GetDetailViewer()->InterceptNavigation(link)) << "the link adds instead of navigating";
    ASSERT_TRUE(Idle());
    server = FromServer();
    ASSERT_EQ(server.trackIds.back(), newTrack);
    EXPECT_EQ(Group(CBookmarkPane::kTracks), server.tracks);

    // Copy puts the first track on the clipboard, for the editor and as text.
    EXPECT_EQ(ChooseFromRowMenu(Grid(), RowOf(CBookmarkPane::kTracks, server.tracks[0]), ID_ITEM_COPY), 1);
    const auto copied = ReadPerformanceFromClipboard(m_clipboard);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->performanceID, server.trackIds[0]);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), copied->ArtistName + " - " + copied->SongName);

    m_session.Logout();
    EXPECT_EQ(Group(CBookmarkPane::kICreated), Strings{"You are not logged in.  Log in to create or edit playlists"});
    EXPECT_TRUE(Group(CBookmarkPane::kTracks).empty());
    EXPECT_TRUE(m_messages.empty()) << m_messages.front();
}

}  // namespace
