#include "XmlNodePool.h"

#include <algorithm>
#include <new>

namespace
{

const size_t kAlignment = sizeof(void*);
const size_t kFirstBlock = 4096;
// Blocks double with the document up to this size, so a small document takes
// little and a big one few blocks.
const size_t kLargestBlock = 1024 * 1024;

size_t RoundUp(size_t bytes)
{
    return (bytes + kAlignment - 1) & ~(kAlignment - 1);
}

} // namespace

CXmlNodePool::~CXmlNodePool()
{
    while (m_pBlocks)
    {
        Block* next = m_pBlocks->next;
        ::operator delete(m_pBlocks);
        m_pBlocks = next;
    }
}

void* CXmlNodePool::Allocate(size_t bytes)
{
    bytes = RoundUp(bytes);
    if ((size_t)(m_pEnd - m_pNext) < bytes)
    {
        const size_t header = RoundUp(sizeof(Block));
        size_t room = std::max(bytes, std::min(std::max(m_nReserved, kFirstBlock), kLargestBlock));
        Block* block = static_cast<Block*>(::operator new(header + room));
        block->next = m_pBlocks;
        m_pBlocks = block;
        m_pNext = reinterpret_cast<char*>(block) + header;
        m_pEnd = m_pNext + room;
        m_nReserved += room;
    }
    void* place = m_pNext;
    m_pNext += bytes;
    return place;
}
