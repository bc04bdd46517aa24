#pragma once
// CoralindObject: the track library behind ICoralindObject. Not thread-safe
// by design: one object is used by one thread at a time.
#include "coralind/ICoralindObject.h"

#include <memory>

class CTrackMap;
class CTrackLibraryFile;

class CCoralindObject final : public ICoralindObject, public ISupportErrorInfo {
public:
    /// A new object with one reference on the interface `iid`, aggregated when
    /// `outer` is given (which may then only ask for IUnknown).
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown, delegating to the controlling unknown.
    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IDispatch
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
    HRESULT GetIDsOfNames(REFIID iid, OLECHAR** names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

    // ICoralindObject
    HRESULT Add(LONG id, BSTR path) override;
    HRESULT LoadLibrary(BSTR libraryPath) override;
    HRESULT Remove(LONG id) override;
    HRESULT GetPath(LONG id, BSTR* returnPath) override;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    // The object's own IUnknown, which owns the reference count.
    class CInner final : public IUnknown {
    public:
        explicit CInner(CCoralindObject& owner) : m_owner(owner) {}
        HRESULT QueryInterface(REFIID iid, void** out) override;
        ULONG AddRef() override;
        ULONG Release() override;

    private:
        CCoralindObject& m_owner;
    };

    explicit CCoralindObject(IUnknown* outer);
    ~CCoralindObject();

    ULONG m_refs = 0;  // plain counter: the object is single-threaded
    std::unique_ptr<CTrackMap> m_map;
    int m_loaded = 0;
    std::unique_ptr<CTrackLibraryFile> m_file;
    CInner m_inner;
    IUnknown* m_controlling;
};
