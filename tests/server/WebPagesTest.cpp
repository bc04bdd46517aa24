#include "shared/PagePaths.h"
#include "tests/server/ServerTestEnv.h"

namespace corvanta::server::test {

class WebPages : public CServerFixture {
protected:
    void SetUp() override { StartServer(1); }
    std::string Get(const std::string& page, long status = 200)
    {
        HttpAnswer answer = Exchange(WebUrl(page), nullptr);
        EXPECT_EQ(answer.status, status) << page;
        return answer.body;
    }
};

TEST_F(WebPages, DetailPagesShowTheItemWithLinksAndFavoriteLinks)
{
    struct Case {
        std::string page;
        std::vector<std::string> parts;
    } cases[] = {
        {"tessarin/details/NoDetails.htm", {"<!DOCTYPE html>", "style.css"}},
        {"tessarin/details/ShowPlaylistDetail.jsp?playlist=1&UserToken=",
         {"AddBookmark.jsp?bookmarkType=2&amp;newBookmarkItemID=1&amp;name=", "&amp;playmakerName=",
          "ShowPerformanceDetail.jsp?performance=", "ShowPlaymakerDetail.jsp?playmaker=",
          "EmailFriend.jsp?playlist=1"}},
        {"tessarin/details/ShowPerformanceDetail.jsp?performance=5&UserToken=",
         {"bookmarkType=3&amp;newBookmarkItemID=5&amp;songName=", "&amp;artistName=", "ShowArtistDetail.jsp?artist="}},
        {"tessarin/details/ShowArtistDetail.jsp?artist=2&UserToken=",
         {"bookmarkType=1&amp;newBookmarkItemID=2&amp;name=", "<table>"}},
        {"tessarin/details/ShowPlaymakerDetail.jsp?playmaker=1&UserToken=",
         {"<h1>demo</h1>", "bookmarkType=4&amp;newBookmarkItemID=1&amp;name=demo", "Loves", "My music blog"}},
        {"tessarin/details/EmailFriend.jsp?playlist=1", {"<form method=\"post\"", "name=\"to\""}},
        {"tessarin/help/version1.1/helpindex.htm", {"<h1>Corvanta help</h1>"}},
        {"tessarin/home/index.html",
         {"index.html?showplaylist=", "index.html?showplaymaker=",
          std::string("http://") + PagePaths::kDetailsHost + "/recording/show?",
          std::string("http://") + PagePaths::kDetailsHost + "/artist/show?",
          "/corvanta/production/orvane/UpdateProfile.jsp\"", "/corvanta/production/orvane/ViewStatistics.jsp\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        std::string html = Get(c.page);
        for (const std::string& part : c.parts)
            EXPECT_NE(html.find(part), std::string::npos) << part;
    }
    EXPECT_NE(Get("tessarin/style.css").find("body{"), std::string::npos);
    Get("tessarin/details/ShowPlaylistDetail.jsp?playlist=999999&UserToken=", 404);
}

TEST_F(WebPages, InsertedTextIsEscaped)
{
    std::string token = Login("demo", "demo");
    auto doc = Post("UpdatePlaylistXML.jsp", "UserToken=" + token +
                                                 "&App=Tessarin&Action=Create&ID=0"
                                                 "&Name=%3Cscript%3Ealert(1)%3C%2Fscript%3E&EntryCount=1&TrackID1=3"
                                                 "&TrackComment1=%3Cb%3Ebold%3C%2Fb%3E%3CBR%3Enext");
    std::string id = Text(doc, "//PlaylistID");
    ASSERT_FALSE(id.empty()) << Text(doc, "//Exception");
    std::string html = Get("tessarin/details/ShowPlaylistDetail.jsp?playlist=" + id + "&UserToken=" + token);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;bold&lt;/b&gt;<br>next"), std::string::npos);
    // The favorite link carries the name percent-encoded.
    EXPECT_NE(html.find("name=%3Cscript%3Ealert%281%29%3C%2Fscript%3E"), std::string::npos);
}

TEST_F(WebPages, ProfileAndStatisticsPagesNeedAToken)
{
    std::string token = Login("demo", "demo");
    EXPECT_NE(Get("orvane/UpdateProfile.jsp?UserToken=&App=Tessarin", 403).find("log in"), std::string::npos);
    EXPECT_NE(Get("orvane/ViewStatistics.jsp?UserToken=bad:1", 403).find("log in"), std::string::npos);
    EXPECT_NE(Get("orvane/ViewStatistics.jsp?UserToken=" + token).find("Statistics for demo"), std::string::npos);
    std::string form = Get("orvane/UpdateProfile.jsp?UserToken=" + token + "&App=Tessarin");
    EXPECT_NE(form.find("value=\"Demo\""), std::string::npos);

    std::string body = "first=Dee&last=O%27Neil";
    HttpAnswer saved = Exchange(WebUrl("orvane/UpdateProfile.jsp?UserToken=" + token + "&App=Tessarin"), &body);
    EXPECT_EQ(saved.status, 200);
    EXPECT_NE(saved.body.find("PreviewUpdatedPlaymaker"), std::string::npos);
    EXPECT_EQ(Text(Post("UpdateProfileXML.jsp", "UserToken=" + token), "//Object[@Name='myLast']"), "O'Neil");
}

TEST_F(WebPages, MailFormsRecordTheMessage)
{
    std::string body = "to=friend%40example.org&from=Demo&message=Listen+to+this";
    HttpAnswer sent = Exchange(WebUrl("tessarin/details/EmailFriend.jsp?playlist=1"), &body);
    EXPECT_EQ(sent.status, 200);
    EXPECT_NE(sent.body.find("friend@example.org"), std::string::npos);
    std::string bad = "to=nobody&from=&message=";
    EXPECT_EQ(Exchange(WebUrl("tessarin/details/EmailFriend.jsp?playlist=1"), &bad).status, 400);
}

}  // namespace corvanta::server::test
