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
BSTR SysAllocString(const OLECHAR* text);
/// A string of `length` characters copied from `text`, or zero-filled when `text` is null.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
/// Frees a string from SysAllocString*; a null string is ignored.
void SysFreeString(BSTR text);
/// Characters in the string (from its length prefix); 0 for a null string.
UINT SysStringLen(BSTR text);
/// Bytes in the string, excluding the terminating NUL; 0 for a null string.
UINT SysStringByteLen(BSTR text);
}

/// UTF-8 to and from UTF-16; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

/// A new COM string holding `text` (UTF-8 in).
BSTR SysAllocStringUtf8(std::string_view text);
/// The text of a COM string up to its first NUL, as UTF-8; empty for a null string.
std::string BstrToUtf8(BSTR text);
