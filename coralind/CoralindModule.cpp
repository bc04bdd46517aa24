// The library's entry points: the four exports of an in-process server.
#include "coralind/CoralindClassFactory.h"
#include "coralind/CoralindRegistration.h"
#include "coralind/ICoralindObject.h"
#include "coralind/ModuleLock.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <string>

#define CORALIND_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The full path of this library as the loader found it.
std::string OwnPath()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&OwnPath), &info) || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    if (!realpath(info.dli_fname, resolved))
        return info.dli_fname;
    return resolved;
}

}  // namespace

CORALIND_EXPORT HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!(clsid == CLSID_CoralindObject))
        return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = CCoralindClassFactory::Get();
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

CORALIND_EXPORT HRESULT DllCanUnloadNow()
{
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

CORALIND_EXPORT HRESULT DllRegisterServer()
{
    const std::string path = OwnPath();
    if (path.empty())
        return SELFREG_E_CLASS;
    return RegisterCoralind(path);
}

CORALIND_EXPORT HRESULT DllUnregisterServer()
{
    return UnregisterCoralind();
}
