#pragma once
// The track library component's interface and identifiers, all a client
// needs to create and call it through COM without linking it.
#include "platform/com/Dispatch.h"

/// Class id of CoralindObject.
constexpr CLSID CLSID_CoralindObject = {0xD9BFD3F2, 0x4D42, 0x4419, {0x9F, 0x59, 0x9C, 0xA6, 0x89, 0x8E, 0xB9, 0x54}};
/// Interface id of ICoralindObject.
constexpr IID IID_ICoralindObject = {0x709253D9, 0x6F1F, 0x4877, {0xA9, 0x2F, 0x8A, 0x57, 0x3E, 0xC7, 0xC5, 0x2E}};
/// The type library CORALINDLib, version 1.0, locale 0x0409.
constexpr GUID LIBID_CORALINDLib = {0x49D47C17, 0x861E, 0x48F3, {0x87, 0xA1, 0x59, 0x9E, 0xCF, 0x71, 0xD5, 0x05}};

/// Dispatch ids of the methods, also their order after IDispatch's.
enum : DISPID {
    DISPID_CORALIND_ADD = 1,
    DISPID_CORALIND_LOADLIBRARY = 2,
    DISPID_CORALIND_REMOVE = 3,
    DISPID_CORALIND_GETPATH = 4
};

/// Maps catalogue track numbers to local file paths, kept in a library file
/// in the data folder. Results: S_OK done, S_FALSE not done (no library
/// loaded, empty path, file error).
class ICoralindObject : public IDispatch {
public:
    /// Records `path` for track `id`, replacing an earlier one.
    virtual HRESULT Add(LONG id, BSTR path) = 0;
    /// Loads (and compacts) the library file `libraryPath`, a name in the data folder.
    virtual HRESULT LoadLibrary(BSTR libraryPath) = 0;
    /// Forgets track `id`; S_OK also when it was not there.
    virtual HRESULT Remove(LONG id) = 0;
    /// A new string with the path of track `id`, empty when unknown; the caller frees it.
    virtual HRESULT GetPath(LONG id, BSTR* returnPath) = 0;

protected:
    ~ICoralindObject() = default;
};
