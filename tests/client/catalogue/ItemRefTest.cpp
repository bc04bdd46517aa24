#include "client/catalogue/ItemRef.h"

#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistDetail.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ItemRef, AnswersForEveryKind)
{
    PlaylistSummary playlist;
    playlist.playlistID = 7;
    playlist.BookmarkID = 70;
    PerformanceSummary track;
    track.performanceID = 8;
    track.SongName = "Song";
    ArtistSummary artist;
    artist.artistID = 9;
    artist.Name = "Artist";
    UserSummary user;
    user.userID = 10;
    user.Handle = "demo";

    EXPECT_EQ(CItemRef(&playlist).Identifier(), 7);
    EXPECT_EQ(CItemRef(&playlist).Name(), "New Playlist");
    EXPECT_EQ(CItemRef(&playlist).BookmarkID(), 70);
    EXPECT_EQ(CItemRef(&track).Name(), "Song");
    EXPECT_EQ(CItemRef(&artist).Identifier(), 9);
    EXPECT_EQ(CItemRef(&user).Name(), "demo");
    EXPECT_TRUE(CItemRef(&user).IsUser());
    EXPECT_EQ(CItemRef(&user).AsArtist(), nullptr);
}

TEST(ItemRef, APlaylistDetailAnswersMinusOneAndIgnoresSetters)
{
    PlaylistDetail detail;
    detail.Summary.playlistID = 5;
    CItemRef ref(&detail);
    ref.SetBookmarkID(3);
    ref.SetIdentifier(4);
    EXPECT_EQ(ref.Identifier(), -1);
    EXPECT_EQ(ref.Name(), "");
    EXPECT_EQ(ref.BookmarkID(), -1);
    EXPECT_EQ(detail.Summary.playlistID, 5);
    EXPECT_EQ(detail.Summary.BookmarkID, 0);
}

TEST(ItemRef, ChangesReachTheRecordSeenByEveryHolder)
{
    PerformanceSummary track;
    auto first = std::make_unique<CItemRef>(&track);
    CItemRef second(&track);
    first->SetBookmarkID(42);
    EXPECT_EQ(second.BookmarkID(), 42);
    first.reset();
    EXPECT_EQ(track.BookmarkID, 42);  // deleting a reference leaves the record
}

TEST(PerformanceDisplay, AddsTheVersionOnlyWhenThereIsOne)
{
    PerformanceSummary track;
    track.ArtistName = "Artist";
    track.SongName = "Song";
    EXPECT_EQ(PerformanceDisplayText(track), "Artist : Song");
    track.Version = "Live";
    EXPECT_EQ(PerformanceDisplayText(track), "Artist : Song (Live)");
}
