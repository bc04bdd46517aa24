#include "tests/server/ServerTestEnv.h"

#include <vector>

namespace corvanta::server::test {

class BookmarkPages : public CServerFixture {
protected:
    void SetUp() override
    {
        StartServer(1);
        m_token = SignUp("keeper");
    }

    // BookmarkID and ComesAfterID of each track favorite, in answer order.
    std::vector<std::pair<std::string, std::string>> Tracks()
    {
        std::vector<std::pair<std::string, std::string>> list;
        auto doc = Post("bookmark/GetUserBookmarks.jsp", "user=" + m_token);
        for (auto node : doc.select_nodes("//PerformanceSummary"))
            list.emplace_back(node.node().child("BookmarkID").text().get(),
                              node.node().child("ComesAfterID").text().get());
        return list;
    }

    std::string m_token;
};

TEST_F(BookmarkPages, AddMoveFirstMoveAfterAndDeleteKeepTheOrder)
{
    auto added =
        Post("bookmark/AddBookmark.jsp",
             "user=" + m_token +
                 "&bookmarkType=3&numberOfItems=3&newBookmarkItemID1=11&newBookmarkItemID2=12&newBookmarkItemID3=13");
    auto ids = added.select_nodes("//BookmarkID");
    ASSERT_EQ(ids.size(), 3u);
    std::string a = ids[0].node().text().get(), b = ids[1].node().text().get(), c = ids[2].node().text().get();
    using List = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Tracks(), (List{{a, "0"}, {b, a}, {c, b}}));

    auto moved = Post("bookmark/MoveBookmark.jsp",
                      "user=" + m_token + "&bookmarkType=3&bookmarkID1=" + c + "&newPreviousBookmarkID=0");
    EXPECT_EQ(Count(moved, "//MoveSuccessful"), 1u);
    EXPECT_EQ(Tracks(), (List{{c, "0"}, {a, c}, {b, a}}));

    Post("bookmark/MoveBookmark.jsp",
         "user=" + m_token + "&bookmarkType=3&bookmarkID1=" + c + "&newPreviousBookmarkID=" + b);
    EXPECT_EQ(Tracks(), (List{{a, "0"}, {b, a}, {c, b}}));

    auto deleted =
        Post("bookmark/DeleteBookmark.jsp", "user=" + m_token + "&bookmarkType1=3&numberOfItems=1&bookmarkID1=" + b);
    EXPECT_EQ(Count(deleted, "//DeleteSuccess"), 1u);
    EXPECT_EQ(Tracks(), (List{{a, "0"}, {c, a}}));

    // Adding a favorite that is already there answers its number and keeps its place.
    auto again =
        Post("bookmark/AddBookmark.jsp", "user=" + m_token + "&bookmarkType=3&numberOfItems=1&newBookmarkItemID1=11");
    EXPECT_EQ(Text(again, "//BookmarkID"), a);
    EXPECT_EQ(Tracks().size(), 2u);
}

TEST_F(BookmarkPages, EveryKindHasItsOwnList)
{
    struct Case {
        int type;
        const char* element;
    } cases[] = {{1, "ArtistSummary"}, {2, "PlaylistSummary"}, {3, "PerformanceSummary"}, {4, "UserSummary"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        auto added = Post("bookmark/AddBookmark.jsp", "user=" + m_token + "&bookmarkType=" + std::to_string(c.type) +
                                                          "&numberOfItems=2&newBookmarkItemID1=2&newBookmarkItemID2=1");
        ASSERT_EQ(Count(added, "//BookmarkID"), 2u);
    }
    auto doc = Post("bookmark/GetUserBookmarks.jsp", "user=" + m_token);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        std::string path = std::string("//") + c.element;
        ASSERT_EQ(Count(doc, path.c_str()), 2u);
        std::string first = path + "[1]/ComesAfterID";
        EXPECT_EQ(Text(doc, first.c_str()), "0");
    }
}

TEST_F(BookmarkPages, RefusalsAnswerAnErrorAndChangeNothing)
{
    auto mine =
        Post("bookmark/AddBookmark.jsp", "user=" + m_token + "&bookmarkType=2&numberOfItems=1&newBookmarkItemID1=5");
    std::string myBookmark = Text(mine, "//BookmarkID");
    std::string other = SignUp("intruder");
    struct Case {
        const char* page;
        std::string body;
    } cases[] = {
        {"bookmark/AddBookmark.jsp",
         "user=" + m_token + "&bookmarkType=2&numberOfItems=2&newBookmarkItemID1=6&newBookmarkItemID2=999999"},
        {"bookmark/AddBookmark.jsp", "user=" + m_token + "&bookmarkType=7&numberOfItems=1&newBookmarkItemID1=6"},
        {"bookmark/AddBookmark.jsp", "user=&bookmarkType=2&numberOfItems=1&newBookmarkItemID1=6"},
        {"bookmark/DeleteBookmark.jsp", "user=" + other + "&bookmarkType1=2&numberOfItems=1&bookmarkID1=" + myBookmark},
        {"bookmark/DeleteBookmark.jsp",
         "user=" + m_token + "&bookmarkType1=3&numberOfItems=1&bookmarkID1=" + myBookmark},
        {"bookmark/MoveBookmark.jsp",
         "user=" + other + "&bookmarkType=2&bookmarkID1=" + myBookmark + "&newPreviousBookmarkID=0"},
        {"bookmark/MoveBookmark.jsp",
         "user=" + m_token + "&bookmarkType=2&bookmarkID1=" + myBookmark + "&newPreviousBookmarkID=424242"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page + (" " + c.body));
        auto doc = Post(c.page, c.body);
        EXPECT_FALSE(Text(doc, "//Error").empty());
        EXPECT_EQ(Count(doc, "//BookmarkID") + Count(doc, "//DeleteSuccess") + Count(doc, "//MoveSuccessful"), 0u);
    }
    auto doc = Post("bookmark/GetUserBookmarks.jsp", "user=" + m_token);
    ASSERT_EQ(Count(doc, "//PlaylistSummary"), 1u);
    EXPECT_EQ(Text(doc, "//PlaylistSummary/BookmarkID"), myBookmark);
}

}  // namespace corvanta::server::test
