#include "server/ProfileDocument.h"

#include "server/XmlWriter.h"

namespace corvanta::server {

std::string ProfileDocument(const ProfileValues& values)
{
    CXmlWriter xml;
    // A string member; inside lists the strings have no member name.
    auto str = [&](const char* name, const std::string& text) {
        xml.Open("Object").Attribute("Class", "java.lang.String");
        if (name)
            xml.Attribute("Name", name);
        xml.Text(text).Close();
    };
    auto object = [&](const char* className, const char* name) -> CXmlWriter& {
        return xml.Open("Object").Attribute("Class", className).Attribute("Name", name);
    };
    auto hashtable = [&](const char* name, const ProfileValues::KeyedLists& entries) {
        object("java.util.Hashtable", name);
        for (const auto& [key, list] : entries) {
            xml.Open("Item").Open("Key");
            str(nullptr, key);
            xml.Close().Open("Value").Open("Object").Attribute("Class", "java.util.Vector");
            for (const std::string& value : list)
                str(nullptr, value);
            xml.Close().Close().Close();
        }
        xml.Close();
    };
    static const char* const kAddressParts[] = {"addr1", "addr2", "city", "state", "zip", "country"};

    xml.Open("UserProfile");
    object("com.velmar.orvane.data.User", "user");
    str("myHandle", values.handle);
    object("com.velmar.orvane.data.Name", "myName").Attribute("isPrivateFlag", "false");
    str("myFirst", values.first);
    str("myMiddle", "");
    str("myLast", values.last);
    xml.Close();
    object("com.velmar.orvane.data.Email", "myEmail").Attribute("isPrivateFlag", "true");
    str("myAddress", values.email);
    xml.Close();
    object("com.velmar.orvane.data.Address", "myAddress")
        .Attribute("isPrivateFlag", values.addressPrivate ? "true" : "false");
    for (std::size_t i = 0; i < values.address.size(); ++i)
        str(kAddressParts[i], values.address[i]);
    xml.Close();
    object("com.velmar.orvane.data.SexCode", "mySex")
        .Attribute("myID", "0")
        .Attribute("isPrivateFlag", "false")
        .Close();
    object("com.velmar.orvane.data.MaritalStatus", "myMaritalStatus")
        .Attribute("myID", values.maritalStatus)
        .Attribute("isPrivateFlag", "false")
        .Close();
    object("com.velmar.orvane.data.PrivacyDate", "myDOB").Text(values.dateOfBirth);
    object("com.velmar.orvane.data.Privacy", "myPrivacy").Attribute("isPrivateFlag", "true").Close();
    xml.Close();
    object("com.velmar.orvane.data.Url", "myPictureUrl");
    str("myAddress", "");
    str("myDescription", "");
    xml.Close();
    object("java.util.Vector", "myHomepages");
    for (const auto& [address, description] : values.homepages) {
        xml.Open("Object").Attribute("Class", "com.velmar.orvane.data.Url");
        str("myAddress", address);
        str("myDescription", description);
        xml.Close();
    }
    xml.Close();
    hashtable("myLoveList", values.loveList);
    hashtable("myHateList", values.hateList);
    return xml.Finish();
}

}  // namespace corvanta::server
