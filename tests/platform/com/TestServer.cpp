// A tiny in-process server for the runtime's tests: one class whose objects
// answer IUnknown and count themselves.
#include "platform/Registry.h"
#include "platform/com/ComTypes.h"
#include "platform/com/Unknown.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <string>

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr GUID kTestClass = {0x1E57C1A5, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
std::atomic<long> g_locks{0};

class CTestObject final : public IUnknown {
public:
    CTestObject() { ++g_locks; }
    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (!(iid == IID_IUnknown)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }

private:
    ~CTestObject() { --g_locks; }
    ULONG m_refs = 0;
};

class CTestFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return static_cast<ULONG>(++g_locks); }
    ULONG Release() override { return static_cast<ULONG>(--g_locks); }
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = new CTestObject;
        object->AddRef();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT LockServer(int lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

CTestFactory g_factory;

std::string OwnPath()
{
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&OwnPath), &info);
    return info.dli_fname ? info.dli_fname : "";
}

}  // namespace

TEST_EXPORT HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid, void** out)
{
    if (!(clsid == kTestClass))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

TEST_EXPORT HRESULT DllCanUnloadNow()
{
    return g_locks == 0 ? S_OK : S_FALSE;
}

// CORVANTA_TEST_REGISTER_RESULT makes registration fail with that code.
TEST_EXPORT HRESULT DllRegisterServer()
{
    if (const char* forced = std::getenv("CORVANTA_TEST_REGISTER_RESULT"))
        return static_cast<HRESULT>(std::strtoul(forced, nullptr, 0));
    const auto key = CRegKey::Create(RegHive::ClassesRoot, "CLSID\\" + FormatGuid(kTestClass) + "\\InprocServer32");
    return key && key->SetString("", OwnPath()) ? S_OK : E_FAIL;
}

TEST_EXPORT HRESULT DllUnregisterServer()
{
    CRegKey::DeleteTree(RegHive::ClassesRoot, "CLSID\\" + FormatGuid(kTestClass));
    return S_OK;
}
