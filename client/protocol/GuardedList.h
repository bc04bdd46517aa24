#pragma once
// A list of pointers that may be changed while it is being walked.
#include "platform/Threading.h"

#include <cstddef>
#include <iterator>
#include <list>
#include <mutex>
#include <vector>

/// Entries are walked from head to tail with the next entry fetched before the
/// callback runs, so the callback may add or remove entries, its own included.
/// An entry removed during a walk is not visited afterwards; an entry appended
/// during a walk is visited only if the walk had not yet passed the last entry.
/// Walks may nest on one thread. The lock is held for the whole walk: Add and
/// Remove from other threads wait until no walk is running.
template <typename T>
class CGuardedList {
public:
    void Add(T item)
    {
        std::lock_guard lock(m_lock);
        m_entries.push_back(Entry{std::move(item), false});
    }

    /// Removes the first entry equal to item; nothing when there is none.
    void Remove(const T& item)
    {
        std::lock_guard lock(m_lock);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->removed || !(it->item == item))
                continue;
            // A walk may stand on this entry; it is dropped when the walks end.
            if (m_walks > 0)
                it->removed = true;
            else
                m_entries.erase(it);
            return;
        }
    }

    template <typename F>
    void ForEach(F&& f)
    {
        std::lock_guard lock(m_lock);
        WalkScope scope(*this);
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            const auto next = std::next(it);
            if (!it->removed) {
                T item = it->item;
                f(item);
            }
            it = next;
        }
    }

    std::vector<T> Snapshot() const
    {
        std::lock_guard lock(m_lock);
        std::vector<T> items;
        for (const Entry& entry : m_entries)
            if (!entry.removed)
                items.push_back(entry.item);
        return items;
    }

    std::size_t Size() const
    {
        std::lock_guard lock(m_lock);
        std::size_t count = 0;
        for (const Entry& entry : m_entries)
            count += entry.removed ? 0 : 1;
        return count;
    }

    bool Empty() const { return Size() == 0; }

private:
    struct Entry {
        T item;
        bool removed;
    };

    struct WalkScope {
        explicit WalkScope(CGuardedList& list) : m_list(list) { ++m_list.m_walks; }
        ~WalkScope()
        {
            if (--m_list.m_walks == 0)
                m_list.m_entries.remove_if([](const Entry& entry) { return entry.removed; });
        }
        CGuardedList& m_list;
    };

    mutable CCriticalSection m_lock;
    std::list<Entry> m_entries;
    int m_walks = 0;
};
