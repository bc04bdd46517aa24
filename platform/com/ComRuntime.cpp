#include "platform/com/ComRuntime.h"

#include "platform/Registry.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace {

thread_local int t_initCount = 0;

struct LoadedLibrary {
    void* handle = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

// Recursive: a component's DllGetClassObject may itself create objects.
std::recursive_mutex& LibraryLock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::map<std::string, LoadedLibrary>& Libraries()
{
    static std::map<std::string, LoadedLibrary> libraries;
    return libraries;
}

template <class Fn>
Fn Export(void* handle, const char* name)
{
    return reinterpret_cast<Fn>(dlsym(handle, name));
}

// The registered library of `clsid`; empty when the class is not registered.
std::string InprocServerPath(REFCLSID clsid)
{
    const auto key = CRegKey::Open(RegHive::ClassesRoot, "CLSID\\" + FormatGuid(clsid) + "\\InprocServer32");
    if (!key)
        return {};
    return key->GetString("").value_or(std::string());
}

// Called with LibraryLock held.
HRESULT LoadServer(const std::string& path, LoadedLibrary*& out)
{
    auto& libraries = Libraries();
    auto it = libraries.find(path);
    if (it == libraries.end()) {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return CO_E_DLLNOTFOUND;
        LoadedLibrary lib;
        lib.handle = handle;
        lib.getClassObject = Export<DllGetClassObjectFn>(handle, "DllGetClassObject");
        lib.canUnloadNow = Export<DllCanUnloadNowFn>(handle, "DllCanUnloadNow");
        if (!lib.getClassObject) {
            dlclose(handle);
            return CO_E_ERRORINDLL;
        }
        it = libraries.emplace(path, lib).first;
    }
    out = &it->second;
    return S_OK;
}

}  // namespace

extern "C" HRESULT CoInitialize(void*)
{
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

extern "C" void CoUninitialize()
{
    if (t_initCount == 0)
        return;
    if (--t_initCount == 0)
        CoFreeUnusedLibraries();
}

extern "C" HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)) == 0)
        return REGDB_E_CLASSNOTREG;
    const std::string path = InprocServerPath(clsid);
    if (path.empty())
        return REGDB_E_CLASSNOTREG;
    std::lock_guard guard(LibraryLock());
    LoadedLibrary* lib = nullptr;
    const HRESULT hr = LoadServer(path, lib);
    if (Failed(hr))
        return hr;
    return lib->getClassObject(clsid, iid, out);
}

extern "C" HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (Failed(hr))
        return hr;
    if (!factory)
        return E_NOINTERFACE;
    hr = factory->CreateInstance(outer, iid, out);
    // Under the lock: no other thread may unload the library while its
    // Release is still running.
    std::lock_guard guard(LibraryLock());
    factory->Release();
    return hr;
}

extern "C" void CoFreeUnusedLibraries()
{
    std::lock_guard guard(LibraryLock());
    auto& libraries = Libraries();
    for (auto it = libraries.begin(); it != libraries.end();) {
        const LoadedLibrary& lib = it->second;
        // A library without DllCanUnloadNow cannot say it is idle: keep it.
        if (lib.canUnloadNow && lib.canUnloadNow() == S_OK) {
            dlclose(lib.handle);
            it = libraries.erase(it);
        } else {
            ++it;
        }
    }
}

extern "C" HRESULT OleRun(IUnknown* object)
{
    return object ? S_OK : E_INVALIDARG;
}
