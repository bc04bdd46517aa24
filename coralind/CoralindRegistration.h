#pragma once
// The registry script of the component, as data: the keys and values that
// registration writes under HKEY_CLASSES_ROOT and unregistration removes.
#include "platform/Result.h"

#include <string>

/// Writes the class, its ProgIDs and its type library; `libraryPath` is the
/// library's own full path. SELFREG_E_CLASS when a key cannot be written.
HRESULT RegisterCoralind(const std::string& libraryPath);
/// Removes what RegisterCoralind wrote; the "CLSID" key itself stays.
HRESULT UnregisterCoralind();
