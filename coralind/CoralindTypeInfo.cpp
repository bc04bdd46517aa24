#include "coralind/CoralindTypeInfo.h"

#include "coralind/ICoralindObject.h"
#include "coralind/ModuleLock.h"

namespace {

const CoralindMethod kMethods[] = {
    {DISPID_CORALIND_ADD, u"Add", u"method Add", 2, {u"id", u"path"}, false},
    {DISPID_CORALIND_LOADLIBRARY, u"LoadLibrary", u"method LoadLibrary", 1, {u"libraryPath", nullptr}, false},
    {DISPID_CORALIND_REMOVE, u"Remove", u"method Remove", 1, {u"id", nullptr}, false},
    {DISPID_CORALIND_GETPATH, u"GetPath", u"method GetPath", 2, {u"id", u"returnPath"}, true},
};

char16_t Fold(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Names match ignoring case, as automation clients expect.
bool SameName(const OLECHAR* a, const char16_t* b)
{
    if (!a)
        return false;
    for (; *a && *b; ++a, ++b)
        if (Fold(*a) != Fold(*b))
            return false;
    return *a == *b;
}

HRESULT SetOut(BSTR* out, const char16_t* text)
{
    if (!out)
        return S_OK;
    *out = text ? SysAllocString(text) : nullptr;
    return text && !*out ? E_OUTOFMEMORY : S_OK;
}

CCoralindTypeInfo g_typeInfo;

}  // namespace

const CoralindMethod* FindCoralindMethod(DISPID id)
{
    for (const CoralindMethod& m : kMethods)
        if (m.id == id)
            return &m;
    return nullptr;
}

ITypeInfo* CCoralindTypeInfo::Get()
{
    g_typeInfo.AddRef();
    return &g_typeInfo;
}

HRESULT CCoralindTypeInfo::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
        *out = static_cast<ITypeInfo*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// The object is static; each reference keeps the library loaded instead.
ULONG CCoralindTypeInfo::AddRef()
{
    ModuleLock();
    return 2;
}

ULONG CCoralindTypeInfo::Release()
{
    ModuleUnlock();
    return 1;
}

HRESULT CCoralindTypeInfo::GetIDsOfNames(OLECHAR** names, UINT count, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    if (count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const CoralindMethod* method = nullptr;
    for (const CoralindMethod& m : kMethods)
        if (SameName(names[0], m.name))
            method = &m;
    if (!method)
        return DISP_E_UNKNOWNNAME;
    ids[0] = method->id;
    HRESULT hr = S_OK;
    // Further names are parameters, numbered by position.
    for (UINT i = 1; i < count; ++i) {
        for (UINT p = 0; p < method->paramCount; ++p)
            if (SameName(names[i], method->params[p]))
                ids[i] = static_cast<DISPID>(p);
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT CCoralindTypeInfo::GetDocumentation(DISPID id, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile)
{
    const char16_t* memberName = u"ICoralindObject";
    const char16_t* help = u"ICoralindObject Interface";
    if (id != MEMBERID_NIL) {
        const CoralindMethod* m = FindCoralindMethod(id);
        if (!m)
            return DISP_E_MEMBERNOTFOUND;
        memberName = m->name;
        help = m->help;
    }
    if (helpContext)
        *helpContext = 0;
    HRESULT hr = SetOut(name, memberName);
    if (Succeeded(hr))
        hr = SetOut(docString, help);
    if (Succeeded(hr))
        hr = SetOut(helpFile, nullptr);
    return hr;
}

HRESULT CCoralindTypeInfo::GetTypeIds(GUID* typeId, GUID* libraryId, WORD* major, WORD* minor)
{
    if (typeId)
        *typeId = IID_ICoralindObject;
    if (libraryId)
        *libraryId = LIBID_CORALINDLib;
    if (major)
        *major = kCoralindLibMajor;
    if (minor)
        *minor = kCoralindLibMinor;
    return S_OK;
}
