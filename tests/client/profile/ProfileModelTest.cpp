// The profile's object notation: helpers, the two collection views and the field map.
#include "ProfileSample.h"

#include "client/profile/ObjectHashtable.h"
#include "client/profile/ObjectVector.h"
#include "client/profile/ProfileObjects.h"
#include "client/profile/UserProfile.h"
#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlText.h"
#include "client/xml/XmlWriter.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string Text(const std::u16string& text)
{
    return Utf16ToUtf8(text);
}

class ProfileModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_document = LoadXmlFromText(kProfileSample);
        ASSERT_TRUE(m_document);
    }
    std::u16string Serialized() const { return WriteXmlDocument(m_document.get()); }
    CXmlNode* User() const { return FindUserObject(m_document.get()); }

    XmlDocumentPtr m_document;
};

TEST_F(ProfileModelTest, FieldsReadFromTheirPlaces)
{
    const CUserProfile profile(m_document.get());
    struct Case {
        ProfileField field;
        const char* value;
    };
    const Case cases[] = {
        {ProfileField::Handle, "ann"},
        {ProfileField::FirstName, "Ann"},
        {ProfileField::MiddleName, "Q"},
        {ProfileField::LastName, "Lee & Co"},  // child found by a Name differing in case
        {ProfileField::EmailAddress, "ann@x.org"},
        {ProfileField::Address1, "1 Main St"},  // the first of two address objects
        {ProfileField::Address2, ""},
        {ProfileField::City, "Springfield"},
        {ProfileField::State, "IL"},
        {ProfileField::Zip, ""},
        {ProfileField::Country, ""},
        {ProfileField::PictureUrl, "http://p/ann.jpg"},
        {ProfileField::Birthday, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Text(profile.GetText(c.field)), c.value);
    }
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Name));     // "false"
    EXPECT_TRUE(profile.IsPrivate(ProfilePrivacy::Email));     // "TRUE"
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Address));  // "yes" is not "true"
    EXPECT_TRUE(profile.IsPrivate(ProfilePrivacy::Sex));
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::MaritalStatus));  // no flag
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Birthday));       // no object
    EXPECT_EQ(profile.GetId(ProfileLookupField::Sex), 2);
    EXPECT_EQ(profile.GetId(ProfileLookupField::MaritalStatus), 3);
}

TEST_F(ProfileModelTest, WritesChangeExistingPlacesOnly)
{
    CUserProfile profile(m_document.get());
    profile.SetText(ProfileField::City, u"Shelbyville");
    profile.SetText(ProfileField::Zip, u"12345");  // no zip object: goes nowhere
    profile.SetPrivate(ProfilePrivacy::Email, false);
    profile.SetId(ProfileLookupField::Sex, 1);
    EXPECT_EQ(Text(profile.GetText(ProfileField::City)), "Shelbyville");
    EXPECT_EQ(Text(profile.GetText(ProfileField::Zip)), "");
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Email));
    EXPECT_EQ(profile.GetId(ProfileLookupField::Sex), 1);
    EXPECT_EQ(Text(profile.GetText(ProfileField::Address1)), "1 Main St");

    // Flags and ids are changed, never added.
    const std::u16string before = Serialized();
    profile.SetPrivate(ProfilePrivacy::MaritalStatus, true);
    profile.SetPrivate(ProfilePrivacy::Birthday, true);
    EXPECT_EQ(Serialized(), before);
}

TEST(ProfileNameFlagTest, NameWithoutFlagReadsPublicAndUntickingChangesNothing)
{
    XmlDocumentPtr document = LoadXmlFromText(
        "<P><Object Class=\"com.velmar.orvane.data.User\"><Object Class=\"com.velmar.orvane.data.Name\">"
        "<Object Name=\"myFirst\">A</Object></Object></Object></P>");
    ASSERT_TRUE(document);
    CUserProfile profile(document.get());
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Name));
    const std::u16string before = WriteXmlDocument(document.get());
    profile.SetPrivate(ProfilePrivacy::Name, true);
    EXPECT_EQ(WriteXmlDocument(document.get()), before);
}

TEST_F(ProfileModelTest, WritingTheBirthdayCreatesOneBirthdayObject)
{
    CUserProfile profile(m_document.get());
    profile.SetText(ProfileField::Birthday, u"07/04/1970");
    profile.SetText(ProfileField::Birthday, u"12/31/1999");
    std::vector<CXmlNode*> birthdays;
    for (CXmlNode* child = User()->firstChild(); child; child = child->nextSibling()) {
        if (GetAttributeValue(child, u"Name") == u"myDOB")
            birthdays.push_back(child);
    }
    ASSERT_EQ(birthdays.size(), 1u);
    EXPECT_EQ(birthdays[0], User()->lastChild());
    EXPECT_EQ(GetAttributeValue(birthdays[0], u"Class"), u"com.velmar.orvane.data.PrivacyDate");
    EXPECT_EQ(Text(profile.GetText(ProfileField::Birthday)), "12/31/1999");
    profile.SetText(ProfileField::Birthday, u"");
    EXPECT_EQ(Text(profile.GetText(ProfileField::Birthday)), "");
}

TEST_F(ProfileModelTest, BirthdayPrivacyLivesOnItsPrivacyChild)
{
    XmlDocumentPtr document =
        LoadXmlFromText("<P><Object Class=\"com.velmar.orvane.data.User\"><Object Class=\"x\" Name=\"myDOB\">01/02/1990"
                        "<Object Name=\"myPrivacy\" isPrivateFlag=\"false\"/></Object></Object></P>");
    ASSERT_TRUE(document);
    CUserProfile profile(document.get());
    EXPECT_FALSE(profile.IsPrivate(ProfilePrivacy::Birthday));
    profile.SetPrivate(ProfilePrivacy::Birthday, true);
    EXPECT_TRUE(profile.IsPrivate(ProfilePrivacy::Birthday));
    EXPECT_EQ(Text(profile.GetText(ProfileField::Birthday)), "01/02/1990");
}

TEST(ProfileObjectsTest, LookupsMatchIgnoringCase)
{
    XmlDocumentPtr document = LoadXmlFromText(
        "<P><x/><object Class=\"A.b\" Name=\"One\">1</object><Object Class=\"a.B\" Name=\"two\">2</Object>"
        "<Object Name=\"three\">3</Object></P>");
    ASSERT_TRUE(document);
    const CXmlNode* root = document->documentElement();
    struct Case {
        std::optional<std::u16string_view> className;
        std::optional<std::u16string_view> name;
        const char* text;  // "" when nothing matches
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "1"},
        {u"a.b", std::nullopt, "1"},
        {u"A.B", u"TWO", "2"},
        {std::nullopt, u"three", "3"},
        {u"a.b", u"three", ""},
        {u"", std::nullopt, "3"},  // an absent Class reads as empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Text(GetObjectText(FindObject(root, c.className, c.name))), c.text);
    }
    EXPECT_EQ(FindObject(nullptr, std::nullopt, std::nullopt), nullptr);
    EXPECT_EQ(FindUserObject(document.get()), nullptr);
    EXPECT_EQ(GetObjectText(nullptr), u"");
    EXPECT_EQ(GetAttributeValue(nullptr, u"Class"), u"");
    SetObjectText(nullptr, u"x");
    SetAttributeValue(nullptr, u"Class", u"x");
    EXPECT_EQ(AppendObject(nullptr, u"c"), nullptr);
}

TEST(ProfileObjectsTest, SetObjectTextBesideAnEmptyTextNode)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    CXmlNode* root = document->appendChild(document->createElement(u"Object"));
    root->appendChild(document->createTextNode(u""));
    EXPECT_EQ(GetObjectText(root), u"");
    SetObjectText(root, u"value");
    ASSERT_NE(root->firstChild(), root->lastChild());
    EXPECT_EQ(root->firstChild()->nodeValue(), u"");
    EXPECT_EQ(root->lastChild()->nodeValue(), u"value");
    EXPECT_EQ(GetObjectText(root), u"value");
    SetObjectText(root, u"again");
    EXPECT_EQ(root->lastChild()->nodeValue(), u"again");
    EXPECT_EQ(root->lastChild()->previousSibling(), root->firstChild());
}

TEST(ProfileObjectsTest, AppendObjectAndAttributes)
{
    XmlDocumentPtr document(CXmlDocument::Create());
    CXmlNode* root = document->appendChild(document->createElement(u"Root"));
    CXmlNode* object = AppendObject(root, u"java.lang.String", u"myName", u"text");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(root->lastChild(), object);
    EXPECT_EQ(Utf16ToUtf8(WriteXmlDocument(object)),
              "<Object Class=\"java.lang.String\" Name=\"myName\">text</Object>\r\n");
    SetAttributeValue(object, u"Name", u"other");
    SetAttributeValue(object, u"isPrivateFlag", u"true");
    EXPECT_EQ(GetAttributeValue(object, u"Name"), u"other");
    EXPECT_EQ(object->getAttributeNode(u"isPrivateFlag"), nullptr);
    CXmlNode* bare = AppendObject(root, u"java.util.Vector");
    EXPECT_EQ(bare->getAttributeNode(u"Name"), nullptr);
    EXPECT_FALSE(bare->hasChildNodes());
    EXPECT_EQ(AppendElement(root, u"Item")->nodeName(), u"Item");
}

TEST_F(ProfileModelTest, HomePagesVector)
{
    CUserProfile profile(m_document.get());
    CObjectVector pages;
    pages.Attach(profile.HomePages());
    ASSERT_EQ(pages.GetCount(), 1u);
    EXPECT_EQ(Text(CUserProfile::HomePageDescription(pages.GetItem(0))), "Home");
    EXPECT_EQ(Text(CUserProfile::HomePageAddress(pages.GetItem(0))), "http://ann.example/");
    EXPECT_EQ(pages.GetItem(1), nullptr);

    CXmlNode* added = CUserProfile::AddHomePage(pages, u"http://b/", u"Blog");
    ASSERT_EQ(pages.GetCount(), 2u);
    EXPECT_EQ(pages.GetItem(1), added);
    EXPECT_EQ(GetAttributeValue(added, u"Class"), u"com.velmar.orvane.data.Url");
    EXPECT_EQ(GetAttributeValue(added->firstChild(), u"Name"), u"myAddress");
    EXPECT_EQ(GetAttributeValue(added->lastChild(), u"Name"), u"myDescription");
    CUserProfile::SetHomePage(added, u"My blog", u"http://blog/");
    EXPECT_EQ(Text(CUserProfile::HomePageDescription(added)), "My blog");

    pages.RemoveAt(5);
    EXPECT_EQ(pages.GetCount(), 2u);
    pages.RemoveAt(0);
    CObjectVector again;
    again.Attach(profile.HomePages());
    ASSERT_EQ(again.GetCount(), 1u);
    EXPECT_EQ(again.GetItem(0), added);
}

TEST(ObjectVectorTest, RemoveTextIsExact)
{
    XmlDocumentPtr document =
        LoadXmlFromText("<Object Class=\"java.util.Vector\"><Object>Blue</Object><x/><Object>blue</Object>"
                        "<Object>blue</Object></Object>");
    ASSERT_TRUE(document);
    CObjectVector vector;
    vector.Attach(document->documentElement());
    ASSERT_EQ(vector.GetCount(), 3u);
    EXPECT_FALSE(vector.RemoveText(u"BLUE"));
    EXPECT_TRUE(vector.RemoveText(u"blue"));
    ASSERT_EQ(vector.GetCount(), 2u);
    EXPECT_EQ(GetObjectText(vector.GetItem(0)), u"Blue");
    EXPECT_EQ(GetObjectText(vector.GetItem(1)), u"blue");
    vector.Attach(nullptr);
    EXPECT_EQ(vector.GetCount(), 0u);
}

TEST_F(ProfileModelTest, HashtableMapsKeysAndTheLaterDuplicateWins)
{
    CUserProfile profile(m_document.get());
    CObjectHashtable loves;
    loves.Attach(profile.LoveList());
    ASSERT_EQ(loves.Items().size(), 2u);
    CObjectVector artists = CObjectHashtable::GetValues(loves.Lookup(u"Artist"));
    ASSERT_EQ(artists.GetCount(), 2u);
    EXPECT_EQ(GetObjectText(artists.GetItem(1)), u"Nina");
    CObjectVector colors = CObjectHashtable::GetValues(loves.Lookup(u"Color"));
    ASSERT_EQ(colors.GetCount(), 1u);
    EXPECT_EQ(GetObjectText(colors.GetItem(0)), u"red");
    EXPECT_EQ(loves.Lookup(u"artist"), nullptr);
}

TEST_F(ProfileModelTest, HashtableAddAndRemoveValues)
{
    CUserProfile profile(m_document.get());
    CObjectHashtable hates;
    hates.Attach(profile.HateList());
    hates.AddValue(u"Playlist", u"Mondays");
    ASSERT_NE(hates.Lookup(u"Playlist"), nullptr);
    EXPECT_EQ(Utf16ToUtf8(WriteXmlDocument(hates.Element())),
              "<Object Class=\"java.util.Hashtable\" Name=\"myHateList\">\r\n"
              "\t<Item>\r\n"
              "\t\t<Key>\r\n"
              "\t\t\t<Object Class=\"java.lang.String\">Playlist</Object>\r\n"
              "\t\t</Key>\r\n"
              "\t\t<Value>\r\n"
              "\t\t\t<Object Class=\"java.util.Vector\">\r\n"
              "\t\t\t\t<Object Class=\"java.lang.String\">Mondays</Object>\r\n"
              "\t\t\t</Object>\r\n"
              "\t\t</Value>\r\n"
              "\t</Item>\r\n"
              "</Object>\r\n");
    hates.AddValue(u"Playlist", u"Rain");
    EXPECT_EQ(CObjectHashtable::GetValues(hates.Lookup(u"Playlist")).GetCount(), 2u);

    hates.RemoveValue(u"Playlist", u"Mondays");
    hates.RemoveValue(u"Nothing", u"Rain");
    EXPECT_EQ(CObjectHashtable::GetValues(hates.Lookup(u"Playlist")).GetCount(), 1u);
    hates.RemoveValue(u"Playlist", u"Rain");
    EXPECT_EQ(hates.Lookup(u"Playlist"), nullptr);
    EXPECT_FALSE(hates.Element()->hasChildNodes());

    // Moving a value to another category: the old one disappears with its last value.
    CObjectHashtable loves;
    loves.Attach(profile.LoveList());
    loves.RemoveValue(u"Artist", u"Miles");
    loves.RemoveValue(u"Artist", u"Nina");
    loves.AddValue(u"Color", u"Nina");
    CObjectHashtable reread;
    reread.Attach(profile.LoveList());
    EXPECT_EQ(reread.Lookup(u"Artist"), nullptr);
    EXPECT_EQ(CObjectHashtable::GetValues(reread.Lookup(u"Color")).GetCount(), 2u);
}

TEST(ObjectHashtableTest, ValueAddedToAnItemWithoutVectorIsKept)
{
    XmlDocumentPtr document =
        LoadXmlFromText("<Object Name=\"myLoveList\"><Item><Key><Object>Artist</Object></Key></Item>"
                        "<Item><Key><Object>Color</Object></Key><Value/></Item></Object>");
    ASSERT_TRUE(document);
    CObjectHashtable loves;
    loves.Attach(document->documentElement());
    loves.AddValue(u"Artist", u"Miles");
    loves.AddValue(u"Color", u"red");
    for (const char16_t* key : {u"Artist", u"Color"}) {
        const CObjectVector values = CObjectHashtable::GetValues(loves.Lookup(key));
        ASSERT_EQ(values.GetCount(), 1u);
        EXPECT_EQ(FindChildElement(loves.Lookup(key), u"Value")->nextSibling(), nullptr);
    }
    EXPECT_EQ(GetObjectText(CObjectHashtable::GetValues(loves.Lookup(u"Color")).GetItem(0)), u"red");
}

TEST(UserProfileTest, DocumentWithoutUserObjectReadsEmptyAndIgnoresWrites)
{
    XmlDocumentPtr document = LoadXmlFromText("<P><Object Class=\"other\"/></P>");
    ASSERT_TRUE(document);
    CUserProfile profile(document.get());
    const std::u16string before = WriteXmlDocument(document.get());
    profile.SetText(ProfileField::Birthday, u"01/01/2000");
    profile.SetText(ProfileField::Handle, u"x");
    profile.SetId(ProfileLookupField::Sex, 2);
    EXPECT_EQ(profile.GetText(ProfileField::Handle), u"");
    EXPECT_EQ(profile.GetId(ProfileLookupField::Sex), 0);
    EXPECT_EQ(profile.HomePages(), nullptr);
    EXPECT_EQ(WriteXmlDocument(document.get()), before);
    EXPECT_EQ(CUserProfile(nullptr).UserObject(), nullptr);
}

}  // namespace
