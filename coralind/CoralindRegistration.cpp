#include "coralind/CoralindRegistration.h"

#include "coralind/CoralindTypeInfo.h"
#include "coralind/ICoralindObject.h"
#include "platform/Registry.h"
#include "platform/com/ComTypes.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kClassName = "CoralindObject Class";
constexpr const char* kProgId = "Coralind.CoralindObject.1";
constexpr const char* kIndependentProgId = "Coralind.CoralindObject";
// The proxy/stub class of automation (dual) interfaces.
constexpr const char* kAutomationProxy = "{00020424-0000-0000-C000-000000000046}";

struct Entry {
    std::string key;
    std::string name;  // empty: the key's default value
    std::string value;
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string ClassKey()
{
    return "CLSID\\" + FormatGuid(CLSID_CoralindObject);
}

std::string TypeLibKey()
{
    return "TypeLib\\" + FormatGuid(LIBID_CORALINDLib);
}

std::string TypeLibVersionKey()
{
    return TypeLibKey() + "\\" + std::to_string(kCoralindLibMajor) + "." + std::to_string(kCoralindLibMinor);
}

std::string InterfaceKey()
{
    return "Interface\\" + FormatGuid(IID_ICoralindObject);
}

std::vector<Entry> ClassEntries(const std::string& libraryPath)
{
    const std::string clsid = FormatGuid(CLSID_CoralindObject);
    const std::string classKey = ClassKey();
    return {
        {kProgId, "", kClassName},
        {std::string(kProgId) + "\\CLSID", "", clsid},
        {kIndependentProgId, "", kClassName},
        {std::string(kIndependentProgId) + "\\CLSID", "", clsid},
        {classKey, "", kClassName},
        {classKey + "\\ProgID", "", kProgId},
        {classKey + "\\VersionIndependentProgID", "", kIndependentProgId},
        {classKey + "\\InprocServer32", "", libraryPath},
        {classKey + "\\InprocServer32", "ThreadingModel", "both"},
    };
}

std::vector<Entry> TypeLibEntries(const std::string& libraryPath)
{
    char locale[16];
    std::snprintf(locale, sizeof locale, "%x", static_cast<unsigned>(kCoralindLibLocale));
    const std::string version = TypeLibVersionKey();
    const std::string iface = InterfaceKey();
    return {
        {version, "", kCoralindLibHelp},
        {version + "\\FLAGS", "", "0"},
        {version + "\\HELPDIR", "", FolderOf(libraryPath)},
        {version + "\\" + locale + "\\linux", "", libraryPath},
        {iface, "", "ICoralindObject"},
        {iface + "\\ProxyStubClsid32", "", kAutomationProxy},
        {iface + "\\TypeLib", "", FormatGuid(LIBID_CORALINDLib)},
        {iface + "\\TypeLib", "Version", "1.0"},
    };
}

bool Write(const std::vector<Entry>& entries)
{
    for (const Entry& e : entries) {
        const auto key = CRegKey::Create(RegHive::ClassesRoot, e.key);
        if (!key || !key->SetString(e.name, e.value))
            return false;
    }
    return true;
}

}  // namespace

HRESULT RegisterCoralind(const std::string& libraryPath)
{
    // The class key is replaced wholesale; the ProgID keys are only written over.
    CRegKey::DeleteTree(RegHive::ClassesRoot, ClassKey());
    if (!Write(ClassEntries(libraryPath)))
        return SELFREG_E_CLASS;
    if (!Write(TypeLibEntries(libraryPath)))
        return SELFREG_E_TYPELIB;
    return S_OK;
}

HRESULT UnregisterCoralind()
{
    CRegKey::DeleteTree(RegHive::ClassesRoot, kProgId);
    CRegKey::DeleteTree(RegHive::ClassesRoot, kIndependentProgId);
    CRegKey::DeleteTree(RegHive::ClassesRoot, ClassKey());
    CRegKey::DeleteTree(RegHive::ClassesRoot, InterfaceKey());
    CRegKey::DeleteTree(RegHive::ClassesRoot, TypeLibVersionKey());
    // The library id key goes only when no other version is registered under it.
    if (const auto lib = CRegKey::Open(RegHive::ClassesRoot, TypeLibKey()); lib && lib->SubKeyNames().empty()) {
        CRegKey::DeleteTree(RegHive::ClassesRoot, TypeLibKey());
    }
    return S_OK;
}
