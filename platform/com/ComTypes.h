#pragma once
// The binary vocabulary of our COM: integer types, result codes and GUIDs,
// laid out as Windows lays them out so that separately built libraries agree.
#include "platform/Result.h"
#include "platform/com/ComApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using LONG = std::int32_t;  // COM's long is 32 bits on every platform
using ULONG = std::uint32_t;
using WORD = std::uint16_t;
using UINT = std::uint32_t;
using LCID = std::uint32_t;
using DISPID = LONG;
using OLECHAR = char16_t;

constexpr HRESULT MakeFailure(std::uint32_t code)
{
    return static_cast<HRESULT>(code);
}

constexpr HRESULT E_NOTIMPL = MakeFailure(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002u);
constexpr HRESULT E_POINTER = MakeFailure(0x80004003u);
constexpr HRESULT E_UNEXPECTED = MakeFailure(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = MakeFailure(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeFailure(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeFailure(0x800401F0u);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeFailure(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeFailure(0x800401F9u);
constexpr HRESULT SELFREG_E_TYPELIB = MakeFailure(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = MakeFailure(0x80040201u);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeFailure(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeFailure(0x80020003u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeFailure(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeFailure(0x80020006u);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeFailure(0x80020007u);
constexpr HRESULT DISP_E_BADINDEX = MakeFailure(0x8002000Bu);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeFailure(0x8002000Eu);

constexpr DISPID DISPID_UNKNOWN = -1;

/// Class contexts accepted by CoCreateInstance; only in-process servers exist here.
constexpr DWORD CLSCTX_INPROC_SERVER = 1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 4;
constexpr DWORD CLSCTX_ALL_LOCAL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16, "GUID must keep its 16-byte layout");

using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;

constexpr bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr GUID IID_NULL = GUID_NULL;
constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_ITypeInfo = {0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_ISupportErrorInfo = {0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};

/// Parses the braced registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
/// (hex digits in either case); nullopt for anything else.
COM_API std::optional<GUID> ParseGuid(std::string_view text);
/// The braced form with upper-case hex digits.
COM_API std::string FormatGuid(const GUID& guid);
