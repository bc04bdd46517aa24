#pragma once
// Objects made in blocks and reused, so that long lists cost a few large
// allocations instead of one per entry, and letting them all go is quick.
#include <cstddef>
#include <memory>
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
