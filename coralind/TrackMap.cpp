#include "coralind/TrackMap.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t Hash(std::int32_t id)
{
    // Fibonacci hashing spreads the dense, sequential numbers a catalogue uses.
    return static_cast<std::size_t>(
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(id)) * 0x9E3779B97F4A7C15ull) >> 32);
}

constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

CTrackMap::CTrackMap()
{
    std::fill(std::begin(m_heads), std::end(m_heads), kNone);
    m_slots.assign(32, kNone);
}

void CTrackMap::Reserve(std::size_t count)
{
    m_nodes.reserve(count);
    while (m_slots.size() < count * 2)
        Grow();
}

// The slot holding `id`, or the empty slot where it would go.
std::size_t CTrackMap::SlotOf(std::int32_t id) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = Hash(id) & mask;
    while (m_slots[slot] != kNone && m_nodes[m_slots[slot]].id != id)
        slot = (slot + 1) & mask;
    return slot;
}

void CTrackMap::Grow()
{
    std::vector<std::uint32_t> old(m_slots.size() * 2, kNone);
    old.swap(m_slots);
    for (std::uint32_t node : old)
        if (node != kNone)
            m_slots[SlotOf(m_nodes[node].id)] = node;
}

std::optional<std::string_view> CTrackMap::Find(std::int32_t id) const
{
    const std::uint32_t node = m_slots[SlotOf(id)];
    if (node == kNone)
        return std::nullopt;
    return std::string_view(m_nodes[node].path, m_nodes[node].length);
}

const char* CTrackMap::Store(std::string_view path)
{
    if (path.empty())
        return "";
    if (path.size() > m_blockFree) {
        const std::size_t size = std::max(kBlockSize, path.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_blockNext = m_blocks.back().get();
        m_blockFree = size;
    }
    char* at = m_blockNext;
    std::memcpy(at, path.data(), path.size());
    m_blockNext += path.size();
    m_blockFree -= path.size();
    return at;
}

void CTrackMap::Set(std::int32_t id, std::string_view path)
{
    std::size_t slot = SlotOf(id);
    if (m_slots[slot] != kNone) {
        Node& known = m_nodes[m_slots[slot]];
        known.path = Store(path);
        known.length = static_cast<std::uint32_t>(path.size());
        return;
    }
    if ((m_size + 1) * 2 > m_slots.size()) {
        Grow();
        slot = SlotOf(id);
    }
    std::uint32_t node;
    if (!m_free.empty()) {
        node = m_free.back();
        m_free.pop_back();
    } else {
        node = static_cast<std::uint32_t>(m_nodes.size());
        m_nodes.emplace_back();
    }
    Node& n = m_nodes[node];
    n.id = id;
    n.path = Store(path);
    n.length = static_cast<std::uint32_t>(path.size());
    std::uint32_t& head = m_heads[BucketOf(id)];
    n.prev = kNone;
    n.next = head;
    if (head != kNone)
        m_nodes[head].prev = node;
    head = node;
    m_slots[slot] = node;
    ++m_size;
}

bool CTrackMap::Remove(std::int32_t id)
{
    std::size_t slot = SlotOf(id);
    const std::uint32_t node = m_slots[slot];
    if (node == kNone)
        return false;
    Node& n = m_nodes[node];
    if (n.prev != kNone)
        m_nodes[n.prev].next = n.next;
    else
        m_heads[BucketOf(id)] = n.next;
    if (n.next != kNone)
        m_nodes[n.next].prev = n.prev;
    n.path = nullptr;
    n.length = 0;
    m_free.push_back(node);
    --m_size;

    // Backward-shift deletion keeps every probe run unbroken without tombstones.
    const std::size_t mask = m_slots.size() - 1;
    std::size_t hole = slot;
    for (std::size_t next = (hole + 1) & mask; m_slots[next] != kNone; next = (next + 1) & mask) {
        const std::size_t home = Hash(m_nodes[m_slots[next]].id) & mask;
        // Move the entry back when its home is not within (hole, next].
        const bool homeBetween = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (!homeBetween) {
            m_slots[hole] = m_slots[next];
            hole = next;
        }
    }
    m_slots[hole] = kNone;
    return true;
}
