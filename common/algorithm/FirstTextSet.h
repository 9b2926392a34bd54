// Finds repeated texts in a sequence that grows at its end, such as the song
// ids of a library file or of a playlist, where the first of each text wins.
// The sequence keeps the only copy of each text; the set keeps the positions
// of the first ones with their hashes, open-addressed in one array, so tens
// of thousands of texts cost no allocation each.
#pragma once

#include "Framework.h"

#include <stdint.h>
#include <vector>

class CFirstTextSet
{
  public:
    explicit CFirstTextSet(size_t expected = 0);

    // Enters text, the item at index of the sequence, and returns true when
    // no earlier item had the same text; false leaves the set unchanged.
    // textAt(i) gives the text of an entered item i. Throws std::bad_alloc.
    template <typename TextAt> bool Insert(size_t index, const CString& text, TextAt textAt)
    {
        uint32_t hash = Hash(text);
        if ((m_nCount + 1) * 2 > m_slots.size())
            Grow();
        size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask)
        {
            Slot& slot = m_slots[i];
            if (slot.index == kEmpty)
            {
                slot.index = (uint32_t)index;
                slot.hash = hash;
                ++m_nCount;
                return true;
            }
            if (slot.hash == hash && textAt((size_t)slot.index) == text)
                return false;
        }
    }

  private:
    struct Slot
    {
        uint32_t index;
        uint32_t hash;
    };
    static const uint32_t kEmpty = 0xFFFFFFFFu;

    static uint32_t Hash(const CString& text);
    void Grow();

    std::vector<Slot> m_slots;
    size_t m_nCount;
};
