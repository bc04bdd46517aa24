#pragma once
// What the type library CORALINDLib describes, carried as data: the
// interface's methods with their dispatch ids, parameter names and help
// strings, served through ITypeInfo.
#include "platform/com/Dispatch.h"

struct CoralindMethod {
    DISPID id;
    const char16_t* name;
    const char16_t* help;
    UINT paramCount;  // including the [out, retval] one
    const char16_t* params[2];
    bool hasRetval;
};

/// The method with dispatch id `id`, or nullptr.
const CoralindMethod* FindCoralindMethod(DISPID id);

constexpr WORD kCoralindLibMajor = 1;
constexpr WORD kCoralindLibMinor = 0;
constexpr LCID kCoralindLibLocale = 0x0409;
inline constexpr const char* kCoralindLibHelp = "Coralind 1.0 Type Library";

class CCoralindTypeInfo final : public ITypeInfo {
public:
    /// The one type description of ICoralindObject, with a reference added.
    static ITypeInfo* Get();

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetIDsOfNames(OLECHAR** names, UINT count, DISPID* ids) override;
    HRESULT GetDocumentation(DISPID id, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile) override;
    HRESULT GetTypeIds(GUID* typeId, GUID* libraryId, WORD* major, WORD* minor) override;
};
