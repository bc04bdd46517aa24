#pragma once
// Finds the entries that carry a given pointer without walking them all. Most
// pointers are carried once; those go into one open-addressed table (no
// allocation per entry), the rare further carriers into a side table.
#include <QHash>

#include <unordered_map>

template <class T>
class CPointerIndex {
public:
    void Add(const void* key, T* entry)
    {
        if (!key)
            return;
        auto found = m_first.find(key);
        if (found == m_first.end())
            m_first.insert(key, entry);
        else
            m_more.emplace(key, entry);
    }

    void Remove(const void* key, T* entry)
    {
        if (!key)
            return;
        auto found = m_first.find(key);
        if (found == m_first.end())
            return;
        auto [first, last] = m_more.equal_range(key);
        if (found.value() == entry) {
            if (first == last) {
                m_first.erase(found);
            } else {
                found.value() = first->second;
                m_more.erase(first);
            }
            return;
        }
        for (auto it = first; it != last; ++it) {
            if (it->second == entry) {
                m_more.erase(it);
                return;
            }
        }
    }

    /// Calls f with every entry that carries key.
    template <class F>
    void ForEach(const void* key, F&& f) const
    {
        const auto found = m_first.constFind(key);
        if (found == m_first.constEnd())
            return;
        f(found.value());
        auto [first, last] = m_more.equal_range(key);
        for (auto it = first; it != last; ++it)
            f(it->second);
    }

    void Clear()
    {
        m_first.clear();
        m_more.clear();
    }

private:
    QHash<const void*, T*> m_first;
    std::unordered_multimap<const void*, T*> m_more;
};
