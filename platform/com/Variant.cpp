#include "platform/com/Dispatch.h"

#include <cstring>

extern "C" void VariantInit(VARIANT* v)
{
    if (v)
        std::memset(v, 0, sizeof *v);
}

extern "C" HRESULT VariantClear(VARIANT* v)
{
    if (!v)
        return E_INVALIDARG;
    switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstrVal); break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (v->punkVal)
            v->punkVal->Release();
        break;
    default: break;  // by-reference and plain values own nothing
    }
    std::memset(v, 0, sizeof *v);
    return S_OK;
}
