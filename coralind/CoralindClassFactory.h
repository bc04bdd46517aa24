#pragma once
// The class object of CoralindObject, made once per process and kept.
#include "platform/com/Unknown.h"

class CCoralindClassFactory final : public IClassFactory {
public:
    /// The class object with a reference added; nullptr when out of memory.
    static IClassFactory* Get();

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT LockServer(int lock) override;
};
