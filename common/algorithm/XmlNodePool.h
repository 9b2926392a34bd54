// Storage for the nodes of one parsed document. A song library holds hundreds
// of thousands of nodes; placed side by side in large blocks they cost neither
// the heap's bookkeeping per node nor its time. The memory goes back all at
// once with the pool; running the nodes' destructors is their owners' task.
#pragma once

#include <stddef.h>

class CXmlNodePool
{
  public:
    CXmlNodePool() = default;
    ~CXmlNodePool();
    CXmlNodePool(const CXmlNodePool&) = delete;
    CXmlNodePool& operator=(const CXmlNodePool&) = delete;

    // Room for an object of bytes, aligned for pointers; throws std::bad_alloc.
    void* Allocate(size_t bytes);

  private:
    struct Block
    {
        Block* next;
    };

    Block* m_pBlocks = nullptr;
    char* m_pNext = nullptr;
    char* m_pEnd = nullptr;
    size_t m_nReserved = 0;
};
