// corvanta-regsvr [/u] LIBRARY: loads an in-process server and calls its
// DllRegisterServer (or, with /u, DllUnregisterServer).
#include "platform/com/ComRuntime.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: corvanta-regsvr [/u] LIBRARY\n");
    return 2;
}

bool IsUnregisterFlag(const char* arg)
{
    return std::strcmp(arg, "/u") == 0 || std::strcmp(arg, "/U") == 0 || std::strcmp(arg, "-u") == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool unregister = false;
    const char* library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (IsUnregisterFlag(argv[i]))
            unregister = true;
        else if (!library)
            library = argv[i];
        else
            return Usage();
    }
    if (!library)
        return Usage();

    // A bare name would make dlopen search the library path; a path naming a
    // file in this folder must load that file.
    std::string path = library;
    if (path.find('/') == std::string::npos)
        path = "./" + path;

    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "corvanta-regsvr: cannot load %s: %s\n", library, dlerror());
        std::fprintf(stderr, "corvanta-regsvr: failed, HRESULT 0x%08X\n", static_cast<unsigned>(CO_E_DLLNOTFOUND));
        return 1;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto fn = reinterpret_cast<DllRegisterServerFn>(dlsym(handle, entry));
    if (!fn) {
        std::fprintf(stderr, "corvanta-regsvr: %s has no %s\n", library, entry);
        std::fprintf(stderr, "corvanta-regsvr: failed, HRESULT 0x%08X\n", static_cast<unsigned>(CO_E_ERRORINDLL));
        dlclose(handle);
        return 1;
    }
    const HRESULT hr = fn();
    dlclose(handle);
    if (Failed(hr)) {
        std::fprintf(stderr, "corvanta-regsvr: %s in %s failed, HRESULT 0x%08X\n", entry, library,
                     static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("%s in %s succeeded.\n", entry, library);
    return 0;
}
