#include "platform/com/Bstr.h"

#include "platform/Utf.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::uint32_t* PrefixOf(BSTR text)
{
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kPrefix);
}

}  // namespace

extern "C" BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(OLECHAR);
    if (bytes > std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(OLECHAR))
        return nullptr;
    void* block = std::malloc(kPrefix + bytes + sizeof(OLECHAR));
    if (!block)
        return nullptr;
    const std::uint32_t prefix = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &prefix, kPrefix);
    BSTR result = reinterpret_cast<BSTR>(static_cast<char*>(block) + kPrefix);
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = u'\0';
    return result;
}

extern "C" BSTR SysAllocString(const OLECHAR* text)
{
    if (!text)
        return nullptr;
    UINT length = 0;
    while (text[length])
        ++length;
    return SysAllocStringLen(text, length);
}

extern "C" void SysFreeString(BSTR text)
{
    if (text)
        std::free(PrefixOf(text));
}

extern "C" UINT SysStringByteLen(BSTR text)
{
    if (!text)
        return 0;
    std::uint32_t bytes;
    std::memcpy(&bytes, PrefixOf(text), kPrefix);
    return bytes;
}

extern "C" UINT SysStringLen(BSTR text)
{
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

BSTR SysAllocStringUtf8(std::string_view text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToUtf8(BSTR text)
{
    if (!text)
        return {};
    std::u16string_view view(text, SysStringLen(text));
    const std::size_t nul = view.find(u'\0');
    if (nul != std::u16string_view::npos)
        view = view.substr(0, nul);
    return Utf16ToUtf8(view);
}
