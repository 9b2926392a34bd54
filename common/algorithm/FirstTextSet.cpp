#include "FirstTextSet.h"

CFirstTextSet::CFirstTextSet(size_t expected) : m_nCount(0)
{
    size_t slots = 16;
    while (slots < expected * 2)
        slots *= 2;
    m_slots.assign(slots, Slot{kEmpty, 0});
}

uint32_t CFirstTextSet::Hash(const CString& text)
{
    // FNV-1a over the UTF-16 units.
    uint32_t hash = 2166136261u;
    LPCWSTR p = text;
    for (int i = 0, n = text.GetLength(); i < n; ++i)
        hash = (hash ^ (uint32_t)p[i]) * 16777619u;
    return hash;
}

void CFirstTextSet::Grow()
{
    std::vector<Slot> larger(m_slots.size() * 2, Slot{kEmpty, 0});
    size_t mask = larger.size() - 1;
    for (const Slot& slot : m_slots)
    {
        if (slot.index == kEmpty)
            continue;
        size_t i = slot.hash & mask;
        while (larger[i].index != kEmpty)
            i = (i + 1) & mask;
        larger[i] = slot;
    }
    m_slots.swap(larger);
}
