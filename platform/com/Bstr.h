#pragma once
// COM strings: UTF-16 text preceded by its length in bytes (4 bytes) and
// followed by a NUL. Only these functions allocate or free them, so a string
// made by a component can be freed by its caller.
#include "platform/com/ComTypes.h"

#include <string>
#include <string_view>

using BSTR = char16_t*;

extern "C" {
/// A copy of the NUL-terminated `text`; nullptr for a null `text` or when out of memory.
COM_API BSTR SysAllocString(const OLECHAR* text);
/// A string of `length` characters copied from `text`, or zero-filled when `text` is null.
COM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
/// Frees a string from SysAllocString*; a null string is ignored.
COM_API void SysFreeString(BSTR text);
/// Characters in the string (from its length prefix); 0 for a null string.
COM_API UINT SysStringLen(BSTR text);
/// Bytes in the string, excluding the terminating NUL; 0 for a null string.
COM_API UINT SysStringByteLen(BSTR text);
}

/// A new COM string holding `text` (UTF-8 in; malformed parts become U+FFFD
/// as platform/Utf.h says).
COM_API BSTR SysAllocStringUtf8(std::string_view text);
/// The text of a COM string up to its first NUL, as UTF-8; empty for a null string.
COM_API std::string BstrToUtf8(BSTR text);
