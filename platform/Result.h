#pragma once
// Result codes in the HRESULT style: 0 success, negative failure.
#include <cstdint>

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

constexpr bool Succeeded(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool Failed(HRESULT hr)
{
    return hr < 0;
}
