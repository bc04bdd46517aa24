#pragma once
// Objects made in blocks and reused, so that long lists cost a few large
// allocations instead of one per entry, and letting them all go is quick.
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

/// Slots in blocks of kBlock; a slot given back is taken again first.
template <class Slot, std::size_t kBlock>
class CBlockSlots {
public:
    Slot* Take()
    {
        if (!m_free.empty()) {
            Slot* slot = m_free.back();
            m_free.pop_back();
            return slot;
        }
        if (m_used == kBlock) {
            m_blocks.push_back(std::make_unique<Slot[]>(kBlock));
            m_used = 0;
        }
        return &m_blocks.back()[m_used++];
    }
    void Give(Slot* slot) { m_free.push_back(slot); }
    /// Every slot goes at once, with its block.
    void Clear()
    {
        m_blocks.clear();
        m_free.clear();
        m_used = kBlock;
    }

private:
    std::vector<std::unique_ptr<Slot[]>> m_blocks;
    std::vector<Slot*> m_free;
    std::size_t m_used = kBlock;
};

/// Default-made objects, reset when released.
template <class T, std::size_t kBlock = 1024>
class CObjectPool {
public:
    /// A default-made object; it stays valid until released.
    T* Make() { return m_slots.Take(); }

    void Release(T* object)
    {
        *object = T();
        m_slots.Give(object);
    }

    /// Every object made so far goes at once.
    void ReleaseAll() { m_slots.Clear(); }

private:
    CBlockSlots<T, kBlock> m_slots;
};

/// Objects made from constructor arguments. ReleaseAll lets every object go
/// with its memory, without running destructors: for types whose destructor
/// frees nothing.
template <class T, std::size_t kBlock = 1024>
class CSlabPool {
public:
    template <class... Args>
    T* Make(Args&&... args)
    {
        return ::new (m_slots.Take()) T(std::forward<Args>(args)...);
    }

    void Release(T* object)
    {
        object->~T();
        m_slots.Give(reinterpret_cast<Slot*>(object));
    }

    void ReleaseAll() { m_slots.Clear(); }

private:
    struct Slot {
        alignas(T) std::byte bytes[sizeof(T)];
    };
    CBlockSlots<Slot, kBlock> m_slots;
};
