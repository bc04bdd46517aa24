#include "coralind/CoralindObject.h"

#include "coralind/CoralindTypeInfo.h"
#include "coralind/DataFolder.h"
#include "coralind/ModuleLock.h"
#include "coralind/TrackLibraryFile.h"
#include "coralind/TrackMap.h"

#include <new>

namespace {

// Reads argument `index` (in call order) of `params` as a long.
HRESULT ArgAsLong(const DISPPARAMS& params, UINT index, LONG& out)
{
    const VARIANT& v = params.rgvarg[params.cArgs - 1 - index];
    switch (v.vt) {
    case VT_I4: out = v.lVal; return S_OK;
    case VT_I2: out = v.iVal; return S_OK;
    case VT_UI1: out = v.bVal; return S_OK;
    case VT_I4 | VT_BYREF:
        if (!v.plVal)
            return DISP_E_TYPEMISMATCH;
        out = *v.plVal;
        return S_OK;
    default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ArgAsString(const DISPPARAMS& params, UINT index, BSTR& out)
{
    const VARIANT& v = params.rgvarg[params.cArgs - 1 - index];
    if (v.vt == VT_BSTR) {
        out = v.bstrVal;
        return S_OK;
    }
    if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal) {
        out = *v.pbstrVal;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

// A path that holds a line break would write a second, forged line.
bool IsStorablePath(const std::string& path)
{
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos;
}

// The library is named relative to the data folder. A name that leaves it
// would have compaction rewrite some other file of the member's: refused.
bool StaysInDataFolder(const std::string& name)
{
    if (name.empty() || name.front() == '/')
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        if (name.compare(start, slash == std::string::npos ? std::string::npos : slash - start, "..") == 0)
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

}  // namespace

HRESULT CCoralindObject::Create(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && !(iid == IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) CCoralindObject(outer);
    if (!object)
        return E_OUTOFMEMORY;
    // The inner unknown holds a reference across the query so a failed query frees the object.
    object->m_inner.AddRef();
    const HRESULT hr = outer ? object->m_inner.QueryInterface(iid, out) : object->QueryInterface(iid, out);
    object->m_inner.Release();
    return hr;
}

CCoralindObject::CCoralindObject(IUnknown* outer) : m_inner(*this), m_controlling(outer ? outer : &m_inner)
{
    ModuleLock();
}

CCoralindObject::~CCoralindObject()
{
    // Every change is already in the file; compaction only tidies it.
    if (m_loaded && m_map && m_file)
        (void)m_file->Compact(*m_map);
    ModuleUnlock();
}

HRESULT CCoralindObject::CInner::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown)
        *out = static_cast<IUnknown*>(this);
    else if (iid == IID_IDispatch || iid == IID_ICoralindObject)
        *out = static_cast<ICoralindObject*>(&m_owner);
    else if (iid == IID_ISupportErrorInfo)
        *out = static_cast<ISupportErrorInfo*>(&m_owner);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

ULONG CCoralindObject::CInner::AddRef()
{
    return ++m_owner.m_refs;
}

ULONG CCoralindObject::CInner::Release()
{
    const ULONG refs = --m_owner.m_refs;
    if (refs == 0)
        delete &m_owner;
    return refs;
}

HRESULT CCoralindObject::QueryInterface(REFIID iid, void** out)
{
    return m_controlling->QueryInterface(iid, out);
}

ULONG CCoralindObject::AddRef()
{
    return m_controlling->AddRef();
}

ULONG CCoralindObject::Release()
{
    return m_controlling->Release();
}

HRESULT CCoralindObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CCoralindObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    *out = CCoralindTypeInfo::Get();
    return S_OK;
}

HRESULT CCoralindObject::GetIDsOfNames(REFIID iid, OLECHAR** names, UINT count, LCID, DISPID* ids)
{
    if (!(iid == IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = CCoralindTypeInfo::Get();
    const HRESULT hr = info->GetIDsOfNames(names, count, ids);
    info->Release();
    return hr;
}

HRESULT CCoralindObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT* argError)
{
    if (!(iid == IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const CoralindMethod* method = FindCoralindMethod(id);
    if (!method || !(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    static DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
    if (!params)
        params = &noArgs;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    const UINT inArgs = method->paramCount - (method->hasRetval ? 1 : 0);
    if (params->cArgs != inArgs)
        return DISP_E_BADPARAMCOUNT;
    if (params->cArgs && !params->rgvarg)
        return E_INVALIDARG;

    LONG number = 0;
    BSTR text = nullptr;
    UINT bad = 0;
    HRESULT hr = S_OK;
    auto check = [&](HRESULT argHr, UINT index) {
        if (Failed(argHr) && Succeeded(hr)) {
            hr = argHr;
            bad = index;
        }
    };
    switch (id) {
    case DISPID_CORALIND_ADD:
        check(ArgAsLong(*params, 0, number), 0);
        check(ArgAsString(*params, 1, text), 1);
        break;
    case DISPID_CORALIND_LOADLIBRARY: check(ArgAsString(*params, 0, text), 0); break;
    default: check(ArgAsLong(*params, 0, number), 0); break;
    }
    if (Failed(hr)) {
        if (argError)
            *argError = params->cArgs - 1 - bad;  // argError counts like rgvarg, from the end
        return hr;
    }

    if (result)
        VariantInit(result);
    switch (id) {
    case DISPID_CORALIND_ADD: return Add(number, text);
    case DISPID_CORALIND_LOADLIBRARY: return LoadLibrary(text);
    case DISPID_CORALIND_REMOVE: return Remove(number);
    default: {
        BSTR path = nullptr;
        hr = GetPath(number, &path);
        if (hr == S_OK && result) {
            result->vt = VT_BSTR;
            result->bstrVal = path;
        } else {
            SysFreeString(path);
        }
        return hr;
    }
    }
}

HRESULT CCoralindObject::LoadLibrary(BSTR libraryPath)
{
    const std::string name = BstrToUtf8(libraryPath);
    m_map.reset();
    m_file.reset();
    m_loaded = 0;
    if (!StaysInDataFolder(name))
        return S_FALSE;
    std::string path = DataFolder() + "/" + name;
    m_map = std::make_unique<CTrackMap>();
    m_file = std::make_unique<CTrackLibraryFile>(std::move(path));
    if (!m_file->Read(*m_map) || !m_file->Compact(*m_map))
        return S_FALSE;
    m_loaded = 1;
    return S_OK;
}

HRESULT CCoralindObject::Add(LONG id, BSTR path)
{
    if (!m_loaded)
        return S_FALSE;
    const std::string narrow = BstrToUtf8(path);
    if (!IsStorablePath(narrow))
        return S_FALSE;
    // Journal first: a change the file does not hold must not be reported stored.
    if (!m_file->AppendEntry(id, narrow))
        return S_FALSE;
    m_map->Set(id, narrow);
    return S_OK;
}

HRESULT CCoralindObject::Remove(LONG id)
{
    if (!m_loaded)
        return S_FALSE;
    if (!m_map->Find(id))
        return S_OK;
    if (!m_file->AppendRemoval(id))
        return S_FALSE;
    m_map->Remove(id);
    return S_OK;
}

HRESULT CCoralindObject::GetPath(LONG id, BSTR* returnPath)
{
    if (!m_loaded)
        return S_FALSE;
    if (!returnPath)
        return E_POINTER;
    BSTR text = SysAllocStringUtf8(m_map->Find(id).value_or(std::string_view()));
    if (!text)
        return E_OUTOFMEMORY;
    *returnPath = text;
    return S_OK;
}

HRESULT CCoralindObject::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IID_ICoralindObject ? S_OK : S_FALSE;
}
