#include "client/profile/UserProfile.h"

#include "client/profile/ObjectVector.h"
#include "client/profile/ProfileObjects.h"
#include "client/xml/XmlDocument.h"
#include "client/xml/XmlText.h"

#include <optional>

namespace {

constexpr std::u16string_view kPrivateAttr = u"isPrivateFlag";
constexpr std::u16string_view kIdAttr = u"myID";
constexpr std::u16string_view kBirthdayName = u"myDOB";
constexpr std::u16string_view kBirthdayClass = u"com.velmar.orvane.data.PrivacyDate";
constexpr std::u16string_view kBirthdayPrivacyName = u"myPrivacy";
constexpr std::u16string_view kNameClass = u"com.velmar.orvane.data.Name";
constexpr std::u16string_view kEmailClass = u"com.velmar.orvane.data.Email";
constexpr std::u16string_view kAddressClass = u"com.velmar.orvane.data.Address";
constexpr std::u16string_view kUrlClass = u"com.velmar.orvane.data.Url";
constexpr std::u16string_view kAddressChild = u"myAddress";
constexpr std::u16string_view kDescriptionChild = u"myDescription";

// A member object is found either by its class or by its member name.
struct MemberPlace {
    std::optional<std::u16string_view> className;
    std::optional<std::u16string_view> name;
};

constexpr MemberPlace kNameObject{kNameClass, std::nullopt};
constexpr MemberPlace kEmailObject{kEmailClass, std::nullopt};
constexpr MemberPlace kAddressObject{kAddressClass, std::nullopt};
constexpr MemberPlace kSexObject{std::nullopt, u"mySex"};
constexpr MemberPlace kMaritalObject{std::nullopt, u"myMaritalStatus"};
constexpr MemberPlace kBirthdayObject{std::nullopt, kBirthdayName};

struct TextPlace {
    MemberPlace member;
    std::u16string_view child;  // empty: the member's own text
};

TextPlace PlaceOf(ProfileField field)
{
    switch (field) {
    case ProfileField::Handle: return {{std::nullopt, u"myHandle"}, {}};
    case ProfileField::FirstName: return {kNameObject, u"myFirst"};
    case ProfileField::MiddleName: return {kNameObject, u"myMiddle"};
    case ProfileField::LastName: return {kNameObject, u"myLast"};
    case ProfileField::EmailAddress: return {kEmailObject, kAddressChild};
    case ProfileField::Address1: return {kAddressObject, u"addr1"};
    case ProfileField::Address2: return {kAddressObject, u"addr2"};
    case ProfileField::City: return {kAddressObject, u"city"};
    case ProfileField::State: return {kAddressObject, u"state"};
    case ProfileField::Zip: return {kAddressObject, u"zip"};
    case ProfileField::Country: return {kAddressObject, u"country"};
    case ProfileField::PictureUrl: return {{std::nullopt, u"myPictureUrl"}, kAddressChild};
    case ProfileField::Birthday: return {kBirthdayObject, {}};
    }
    return {};
}

MemberPlace PlaceOf(ProfilePrivacy field)
{
    switch (field) {
    case ProfilePrivacy::Name: return kNameObject;
    case ProfilePrivacy::Email: return kEmailObject;
    case ProfilePrivacy::Address: return kAddressObject;
    case ProfilePrivacy::Sex: return kSexObject;
    case ProfilePrivacy::MaritalStatus: return kMaritalObject;
    case ProfilePrivacy::Birthday: return kBirthdayObject;
    }
    return {};
}

MemberPlace PlaceOf(ProfileLookupField field)
{
    return field == ProfileLookupField::Sex ? kSexObject : kMaritalObject;
}

CXmlNode* Find(const CXmlNode* parent, const MemberPlace& place)
{
    return FindObject(parent, place.className, place.name);
}

CXmlNode* ChildByName(const CXmlNode* parent, std::u16string_view name)
{
    return FindObject(parent, std::nullopt, name);
}

}  // namespace

CUserProfile::CUserProfile(const CXmlDocument* document) : m_user(FindUserObject(document)) {}

CXmlNode* CUserProfile::MemberOf(ProfileField field) const
{
    const TextPlace place = PlaceOf(field);
    CXmlNode* member = Find(m_user, place.member);
    return place.child.empty() ? member : ChildByName(member, place.child);
}

std::u16string CUserProfile::GetText(ProfileField field) const
{
    return GetObjectText(MemberOf(field));
}

void CUserProfile::SetText(ProfileField field, std::u16string_view value)
{
    if (field == ProfileField::Birthday && m_user && !Find(m_user, kBirthdayObject))
        AppendObject(m_user, kBirthdayClass, kBirthdayName);
    SetObjectText(MemberOf(field), value);
}

bool CUserProfile::IsPrivate(ProfilePrivacy field) const
{
    CXmlNode* member = Find(m_user, PlaceOf(field));
    if (field == ProfilePrivacy::Birthday)
        member = ChildByName(member, kBirthdayPrivacyName);
    return ProfileNamesEqual(GetAttributeValue(member, kPrivateAttr), u"true");
}

void CUserProfile::SetPrivate(ProfilePrivacy field, bool isPrivate)
{
    CXmlNode* member = Find(m_user, PlaceOf(field));
    if (field == ProfilePrivacy::Birthday)
        member = ChildByName(member, kBirthdayPrivacyName);
    SetAttributeValue(member, kPrivateAttr, isPrivate ? u"true" : u"false");
}

std::int32_t CUserProfile::GetId(ProfileLookupField field) const
{
    return static_cast<std::int32_t>(ParseDecimal(GetAttributeValue(Find(m_user, PlaceOf(field)), kIdAttr)));
}

void CUserProfile::SetId(ProfileLookupField field, std::int32_t id)
{
    const std::string digits = std::to_string(id);
    SetAttributeValue(Find(m_user, PlaceOf(field)), kIdAttr, std::u16string(digits.begin(), digits.end()));
}

CXmlNode* CUserProfile::HomePages() const
{
    return ChildByName(m_user, u"myHomepages");
}

CXmlNode* CUserProfile::LoveList() const
{
    return ChildByName(m_user, u"myLoveList");
}

CXmlNode* CUserProfile::HateList() const
{
    return ChildByName(m_user, u"myHateList");
}

std::u16string CUserProfile::HomePageDescription(const CXmlNode* item)
{
    return GetObjectText(ChildByName(item, kDescriptionChild));
}

std::u16string CUserProfile::HomePageAddress(const CXmlNode* item)
{
    return GetObjectText(ChildByName(item, kAddressChild));
}

void CUserProfile::SetHomePage(CXmlNode* item, std::u16string_view description, std::u16string_view address)
{
    SetObjectText(ChildByName(item, kDescriptionChild), description);
    SetObjectText(ChildByName(item, kAddressChild), address);
}

CXmlNode* CUserProfile::AddHomePage(CObjectVector& homePages, std::u16string_view address,
                                    std::u16string_view description)
{
    CXmlNode* item = AppendObject(homePages.Element(), kUrlClass);
    if (!item)
        return nullptr;
    AppendObject(item, kProfileStringClass, kAddressChild, address);
    AppendObject(item, kProfileStringClass, kDescriptionChild, description);
    homePages.Add(item);
    return item;
}
