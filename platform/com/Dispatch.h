#pragma once
// Late binding: a minimal VARIANT, DISPPARAMS, a reduced ITypeInfo and IDispatch.
#include "platform/com/Bstr.h"
#include "platform/com/Unknown.h"

using VARTYPE = std::uint16_t;

enum : VARTYPE {
    VT_EMPTY = 0,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_BYREF = 0x4000,
};

class IDispatch;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        std::int16_t iVal;
        std::uint8_t bVal;
        std::int16_t boolVal;
        HRESULT scode;
        double dblVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        LONG* plVal;
        BSTR* pbstrVal;
        void* byref;
    };
};

struct DISPPARAMS {
    VARIANT* rgvarg;  // arguments in reverse order
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    void* pfnDeferredFillIn;
    HRESULT scode;
};

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;

/// The member id that stands for the type itself in GetDocumentation.
constexpr DISPID MEMBERID_NIL = -1;

extern "C" {
COM_API void VariantInit(VARIANT* v);
/// Frees what the variant owns (a string, an interface reference) and empties it.
COM_API HRESULT VariantClear(VARIANT* v);
}

/// The parts of a type description that late binding needs: names to ids,
/// documentation, and the type library it belongs to.
class ITypeInfo : public IUnknown {
public:
    virtual HRESULT GetIDsOfNames(OLECHAR** names, UINT count, DISPID* ids) = 0;
    /// For `id` MEMBERID_NIL the interface itself; any out pointer may be null.
    virtual HRESULT GetDocumentation(DISPID id, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile) = 0;
    /// The type's own id (interface id), and its library's id and version.
    virtual HRESULT GetTypeIds(GUID* typeId, GUID* libraryId, WORD* major, WORD* minor) = 0;

protected:
    ~ITypeInfo() = default;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, OLECHAR** names, UINT count, LCID locale, DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argError) = 0;

protected:
    ~IDispatch() = default;
};
