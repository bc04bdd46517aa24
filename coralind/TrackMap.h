#pragma once
// The track map: track number to path, iterated in the order of a 17-bucket
// chained hash (bucket = (unsigned number >> 4) % 17, newest entry at the
// front of its chain). That order is what compaction writes, so it is kept;
// lookups go through an open-addressing index beside the chains, and paths
// live in a few large blocks rather than one allocation each.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class CTrackMap {
public:
    static constexpr unsigned kBucketCount = 17;
    static unsigned BucketOf(std::int32_t id) { return (static_cast<std::uint32_t>(id) >> 4) % kBucketCount; }

    CTrackMap();

    /// Sets the path of `id`; a new track goes to the front of its chain, a
    /// known one keeps its place.
    void Set(std::int32_t id, std::string_view path);
    /// False when `id` was not there.
    bool Remove(std::int32_t id);
    /// The path of `id`; valid until the map changes.
    std::optional<std::string_view> Find(std::int32_t id) const;
    std::size_t Size() const { return m_size; }
    void Reserve(std::size_t count);

    /// Calls fn(id, path) in bucket order, each chain from its front.
    template <class Fn>
    void ForEach(Fn&& fn) const
    {
        for (std::uint32_t head : m_heads)
            for (std::uint32_t n = head; n != kNone; n = m_nodes[n].next)
                fn(m_nodes[n].id, std::string_view(m_nodes[n].path, m_nodes[n].length));
    }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Node {
        std::int32_t id = 0;
        std::uint32_t prev = kNone;
        std::uint32_t next = kNone;
        std::uint32_t length = 0;
        const char* path = nullptr;
    };

    std::size_t SlotOf(std::int32_t id) const;
    void Grow();
    // A copy of `path` in the blocks; space of replaced or removed paths is
    // only given back with the map, which lives from one load to the next.
    const char* Store(std::string_view path);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockFree = 0;
    char* m_blockNext = nullptr;

    std::vector<Node> m_nodes;
    std::vector<std::uint32_t> m_free;
    std::uint32_t m_heads[kBucketCount];
    // Index: slot holds a node number or kNone; capacity a power of two.
    std::vector<std::uint32_t> m_slots;
    std::size_t m_size = 0;
};
