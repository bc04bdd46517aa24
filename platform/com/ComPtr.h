#pragma once
// Owns one reference to an interface and releases it when it ends.
#include "platform/com/Unknown.h"

#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(const CComPtr& other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CComPtr() { Reset(); }

    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    /// The slot for an out parameter; releases what was held first.
    void** Out()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
