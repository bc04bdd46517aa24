#pragma once
// Bump allocator behind one document: nodes and strings are carved from a few
// large blocks and freed together when the document goes.
#include <cstddef>
#include <cstring>
#include <new>
#include <string_view>

class CXmlArena {
public:
    CXmlArena() = default;
    CXmlArena(const CXmlArena&) = delete;
    CXmlArena& operator=(const CXmlArena&) = delete;
    ~CXmlArena();

    /// Sizes the blocks for a document expected to need about bytes in all.
    void Expect(std::size_t bytes);

    void* Allocate(std::size_t size, std::size_t alignment = alignof(std::max_align_t))
    {
        std::size_t offset = (m_used + alignment - 1) & ~(alignment - 1);
        if (!m_block || offset + size > m_capacity) {
            if (size > m_blockSize / 4)
                return LargeBlock(size);
            NewBlock();
            offset = 0;
        }
        m_used = offset + size;
        return reinterpret_cast<char*>(m_block) + kHeader + offset;
    }

    template <class T, class... Args>
    T* Create(Args&&... args)
    {
        return new (Allocate(sizeof(T), alignof(T))) T(static_cast<Args&&>(args)...);
    }

    const char16_t* CopyString(std::u16string_view text)
    {
        if (text.empty())
            return u"";
        auto* copy = static_cast<char16_t*>(Allocate(text.size() * sizeof(char16_t), alignof(char16_t)));
        std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
        return copy;
    }

private:
    struct Block {
        Block* next;
    };
    static constexpr std::size_t kHeader = alignof(std::max_align_t) > sizeof(Block) ? alignof(std::max_align_t)
                                                                                     : sizeof(Block);

    void NewBlock();
    void* LargeBlock(std::size_t size);

    Block* m_block = nullptr;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::size_t m_blockSize = 4096;
    Block* m_large = nullptr;
};
