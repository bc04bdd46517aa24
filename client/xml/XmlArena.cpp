#include "client/xml/XmlArena.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr std::size_t kLargestBlock = 1 << 20;
}

CXmlArena::~CXmlArena()
{
    while (m_block) {
        Block* next = m_block->next;
        std::free(m_block);
        m_block = next;
    }
}

void CXmlArena::Expect(std::size_t bytes)
{
    m_nextSize = std::clamp<std::size_t>(bytes, 2048, kLargestBlock);
}

void CXmlArena::NewBlock(std::size_t atLeast)
{
    std::size_t capacity = std::max(m_nextSize, atLeast);
    void* memory = std::malloc(kHeader + capacity);
    if (!memory)
        throw std::bad_alloc();
    auto* block = new (memory) Block{m_block};
    m_block = block;
    m_used = 0;
    m_capacity = capacity;
    m_nextSize = std::min(m_nextSize * 2, kLargestBlock);
}
