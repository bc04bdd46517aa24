#include "coralind/CoralindClassFactory.h"

#include "coralind/CoralindObject.h"
#include "coralind/ModuleLock.h"

IClassFactory* CCoralindClassFactory::Get()
{
    // A function-local static: made once under the compiler's own guard.
    static CCoralindClassFactory factory;
    factory.AddRef();
    return &factory;
}

HRESULT CCoralindClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// The object lives as long as the library; a reference holds the library instead.
ULONG CCoralindClassFactory::AddRef()
{
    ModuleLock();
    return 2;
}

ULONG CCoralindClassFactory::Release()
{
    ModuleUnlock();
    return 1;
}

HRESULT CCoralindClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    return CCoralindObject::Create(outer, iid, out);
}

HRESULT CCoralindClassFactory::LockServer(int lock)
{
    if (lock)
        ModuleLock();
    else
        ModuleUnlock();
    return S_OK;
}
