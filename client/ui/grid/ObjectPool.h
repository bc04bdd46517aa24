#pragma once
// Objects made in blocks and reused, so that long lists cost a few large
// allocations instead of one per entry, and letting them all go is quick.
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T, std::size_t kBlock = 1024>
class CObjectPool {
public:
    /// A default-made object; it stays valid until released.
    T* Make()
    {
        if (!m_free.empty()) {
            T* object = m_free.back();
            m_free.pop_back();
            return object;
        }
        if (m_used == kBlock) {
            m_blocks.push_back(std::make_unique<T[]>(kBlock));
            m_used = 0;
        }
        return &m_blocks.back()[m_used++];
    }

    void Release(T* object)
    {
        *object = T();
        m_free.push_back(object);
    }

    /// Every object made so far goes at once.
    void ReleaseAll()
    {
        m_blocks.clear();
        m_free.clear();
        m_used = kBlock;
    }

private:
    std::vector<std::unique_ptr<T[]>> m_blocks;
    std::vector<T*> m_free;
    std::size_t m_used = kBlock;
};

/// The same for objects made from constructor arguments. ReleaseAll lets every
/// object go with its memory, without running destructors: for types whose
/// destructor frees nothing.
template <class T, std::size_t kBlock = 1024>
class CSlabPool {
public:
    template <class... Args>
    T* Make(Args&&... args)
    {
        void* slot;
        if (!m_free.empty()) {
            slot = m_free.back();
            m_free.pop_back();
        } else {
            if (m_used == kBlock) {
                m_blocks.push_back(std::make_unique<Slot[]>(kBlock));
                m_used = 0;
            }
            slot = &m_blocks.back()[m_used++];
        }
        return ::new (slot) T(std::forward<Args>(args)...);
    }

    void Release(T* object)
    {
        object->~T();
        m_free.push_back(object);
    }

    void ReleaseAll()
    {
        m_blocks.clear();
        m_free.clear();
        m_used = kBlock;
    }

private:
    struct Slot {
        alignas(T) std::byte bytes[sizeof(T)];
    };
    std::vector<std::unique_ptr<Slot[]>> m_blocks;
    std::vector<void*> m_free;
    std::size_t m_used = kBlock;
};
