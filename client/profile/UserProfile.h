#pragma once
// The member's profile fields as places in the user object of a profile
// document. Reads of missing objects give empty text, 0 and public; writes to
// missing objects or attributes go nowhere, except that the birthday object
// is created when it is written.
#include <cstdint>
#include <string>
#include <string_view>

class CObjectVector;
class CXmlDocument;
class CXmlNode;

enum class ProfileField {
    Handle,
    FirstName,
    MiddleName,
    LastName,
    EmailAddress,
    Address1,
    Address2,
    City,
    State,
    Zip,
    Country,
    PictureUrl,
    Birthday,
};

enum class ProfilePrivacy { Name, Email, Address, Sex, MaritalStatus, Birthday };

/// Fields holding an identifier of a lookup table ("SexCode", "MaritalStatus").
enum class ProfileLookupField { Sex, MaritalStatus };

class CUserProfile {
public:
    /// A view of the document's user object (empty when there is none).
    explicit CUserProfile(const CXmlDocument* document);
    CXmlNode* UserObject() const { return m_user; }

    std::u16string GetText(ProfileField field) const;
    void SetText(ProfileField field, std::u16string_view value);

    bool IsPrivate(ProfilePrivacy field) const;
    /// Written as "true" or "false" on an existing flag only.
    void SetPrivate(ProfilePrivacy field, bool isPrivate);

    std::int32_t GetId(ProfileLookupField field) const;
    void SetId(ProfileLookupField field, std::int32_t id);

    /// The collection objects, or nullptr.
    CXmlNode* HomePages() const;
    CXmlNode* LoveList() const;
    CXmlNode* HateList() const;

    /// The description and address of a home-page item.
    static std::u16string HomePageDescription(const CXmlNode* item);
    static std::u16string HomePageAddress(const CXmlNode* item);
    static void SetHomePage(CXmlNode* item, std::u16string_view description, std::u16string_view address);
    /// Appends a new Url object to the view's vector element and to the view.
    static CXmlNode* AddHomePage(CObjectVector& homePages, std::u16string_view address,
                                 std::u16string_view description);

private:
    CXmlNode* MemberOf(ProfileField field) const;
    CXmlNode* m_user;
};
