#pragma once
// The basic interfaces. Pure virtual methods in COM order and no virtual
// destructor, so the vtable is exactly the COM one; objects end through Release.
#include "platform/com/ComTypes.h"

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) = 0;
    virtual HRESULT LockServer(int lock) = 0;

protected:
    ~IClassFactory() = default;
};

class ISupportErrorInfo : public IUnknown {
public:
    /// S_OK when methods of `iid` may set error information, S_FALSE otherwise.
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};
