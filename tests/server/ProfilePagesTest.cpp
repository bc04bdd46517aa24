#include "server/FormFields.h"
#include "tests/server/ServerTestEnv.h"

#include <sstream>

namespace corvanta::server::test {

using ProfilePages = CServerFixture;

namespace {

pugi::xml_node Member(pugi::xml_node user, const char* name)
{
    return user.find_child([name](pugi::xml_node n) { return std::string(n.attribute("Name").value()) == name; });
}

std::string Serialize(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw);
    return out.str();
}

}  // namespace

TEST_F(ProfilePages, FetchAnswersTheObjectNotationWithEveryField)
{
    std::string token = SignUp("ivy");
    auto doc = Post("UpdateProfileXML.jsp", "UserToken=" + token);
    pugi::xml_node user =
        doc.document_element().find_child_by_attribute("Object", "Class", "com.velmar.orvane.data.User");
    ASSERT_TRUE(user);
    EXPECT_STREQ(Member(user, "myHandle").text().get(), "ivy");
    struct Case {
        const char* path;
    } cases[] = {
        {"Object[@Class='com.velmar.orvane.data.Name' and @isPrivateFlag]/Object[@Name='myFirst']"},
        {"Object[@Class='com.velmar.orvane.data.Name']/Object[@Name='myMiddle']"},
        {"Object[@Class='com.velmar.orvane.data.Name']/Object[@Name='myLast']"},
        {"Object[@Class='com.velmar.orvane.data.Email' and @isPrivateFlag]/Object[@Name='myAddress']"},
        {"Object[@Class='com.velmar.orvane.data.Address' and @isPrivateFlag]/Object[@Name='zip']"},
        {"Object[@Class='com.velmar.orvane.data.Address']/Object[@Name='country']"},
        {"Object[@Name='mySex' and @myID and @isPrivateFlag]"},
        {"Object[@Name='myMaritalStatus' and @myID and @isPrivateFlag]"},
        {"Object[@Name='myDOB']/Object[@Name='myPrivacy' and @isPrivateFlag]"},
        {"Object[@Name='myPictureUrl']/Object[@Name='myAddress']"},
        {"Object[@Name='myHomepages' and @Class='java.util.Vector']"},
        {"Object[@Name='myLoveList']"},
        {"Object[@Name='myHateList']"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(user.select_node(c.path)) << c.path;
    EXPECT_STREQ(
        user.select_node("Object[@Class='com.velmar.orvane.data.Email']/Object[@Name='myAddress']").node().text().get(),
        "ivy@example.org");
}

TEST_F(ProfilePages, UpdateReplacesTheDocumentAfterValidation)
{
    std::string token = SignUp("jack");
    auto doc = Post("UpdateProfileXML.jsp", "UserToken=" + token);
    pugi::xml_node user = doc.document_element().first_child();
    Member(user, "myDOB").prepend_child(pugi::node_pcdata).set_value("07/04/1970");
    user.select_node("Object[@Class='com.velmar.orvane.data.Name']/Object[@Name='myFirst']")
        .node()
        .text()
        .set("Jack & Jill");
    pugi::xml_node item = Member(user, "myLoveList").append_child("Item");
    item.append_child("Key").append_child("Object").text().set("Color");
    item.append_child("Value").append_child("Object").append_child("Object").text().set("Blue");

    std::string answer =
        PostText("UpdateProfileXML.jsp",
                 "UserToken=" + token + "&Action=Update&UserXML=" + CFormFields::PercentEncode(Serialize(doc)));
    EXPECT_NE(answer.find("OK"), std::string::npos) << answer;
    auto again = Post("UpdateProfileXML.jsp", "UserToken=" + token);
    EXPECT_EQ(Text(again, "//Object[@Name='myFirst']"), "Jack & Jill");
    EXPECT_EQ(Text(again, "//Object[@Name='myDOB']"), "07/04/1970");
    EXPECT_TRUE(again.select_node("//Object[@Name='myLoveList']/Item/Key"));
}

TEST_F(ProfilePages, UpdateAlsoTakesTheDocumentAsSerialized)
{
    // Sent without form encoding, the document's "&amp;", "+" and "%" reach the server as they are.
    std::string token = SignUp("lena");
    auto doc = Post("UpdateProfileXML.jsp", "UserToken=" + token);
    pugi::xml_node user = doc.document_element().first_child();
    user.select_node("Object[@Class='com.velmar.orvane.data.Name']/Object[@Name='myFirst']")
        .node()
        .text()
        .set("Lena & Co + 100%25");
    std::string answer =
        PostText("UpdateProfileXML.jsp", "UserToken=" + token + "&Action=Update&UserXML=" + Serialize(doc));
    EXPECT_NE(answer.find("OK"), std::string::npos) << answer;
    EXPECT_EQ(Text(Post("UpdateProfileXML.jsp", "UserToken=" + token), "//Object[@Name='myFirst']"),
              "Lena & Co + 100%25");
}

TEST_F(ProfilePages, InvalidDocumentsAreRefusedWithoutOK)
{
    std::string token = SignUp("kate");
    SignUp("taken");
    std::string good = PostText("UpdateProfileXML.jsp", "UserToken=" + token);
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::string xml;
    } cases[] = {
        {"not XML", "<UserProfile><Object>"},
        {"no user object", "<UserProfile><Object Class=\"java.lang.String\"/></UserProfile>"},
        {"empty handle", replace(">kate<", "><")},
        {"taken handle", replace(">kate<", ">TAKEN<")},
        {"bad birthday", replace("Name=\"myDOB\">", "Name=\"myDOB\">13/45/1999")},
        {"unknown sex code", replace("Name=\"mySex\" myID=\"0\"", "Name=\"mySex\" myID=\"9\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string answer =
            PostText("UpdateProfileXML.jsp",
                     "UserToken=" + token + "&Action=Update&UserXML=" + CFormFields::PercentEncode(c.xml));
        EXPECT_EQ(answer.find("OK"), std::string::npos) << answer;
        EXPECT_NE(answer.find("<Exception>"), std::string::npos) << answer;
    }
    EXPECT_EQ(PostText("UpdateProfileXML.jsp", "UserToken=" + token), good);
}

}  // namespace corvanta::server::test
