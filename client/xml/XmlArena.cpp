#include "client/xml/XmlArena.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Blocks stay moderate so the unused tail of the last one is small; single
// allocations larger than a quarter block get a block of their own.
constexpr std::size_t kSmallestBlock = 4096;
constexpr std::size_t kLargestBlock = 64 * 1024;

void FreeChain(void* head, void* (*next)(void*))
{
    while (head) {
        void* following = next(head);
        std::free(head);
        head = following;
    }
}
}  // namespace

CXmlArena::~CXmlArena()
{
    auto next = [](void* block) -> void* { return static_cast<Block*>(block)->next; };
    FreeChain(m_block, next);
    FreeChain(m_large, next);
}

void CXmlArena::Expect(std::size_t bytes)
{
    m_blockSize = std::clamp<std::size_t>(bytes, kSmallestBlock, kLargestBlock);
}

void CXmlArena::NewBlock()
{
    void* memory = std::malloc(kHeader + m_blockSize);
    if (!memory)
        throw std::bad_alloc();
    m_block = new (memory) Block{m_block};
    m_used = 0;
    m_capacity = m_blockSize;
}

void* CXmlArena::LargeBlock(std::size_t size)
{
    void* memory = std::malloc(kHeader + size);
    if (!memory)
        throw std::bad_alloc();
    m_large = new (memory) Block{m_large};
    return static_cast<char*>(memory) + kHeader;
}
