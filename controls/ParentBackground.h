// The copy of the parent's pixels under a skinned button, taken at its first
// paint that needs it and painted as the button's background afterwards
// (the parent's picture is not copied again when it repaints; a button whose
// size changed takes it afresh, since the old copy no longer covers it).
#pragma once
#include "MemoryDC.h"

#include <memory>

class ParentBackground
{
public:
    ParentBackground() = default;
    ~ParentBackground() { Drop(); }
    ParentBackground(const ParentBackground&) = delete;
    ParentBackground& operator=(const ParentBackground&) = delete;

    // Copies the parent's pixels under pButton (once) and paints them at (0, 0).
    void Paint(CWnd* pButton, CDC* pTarget, CDC* pDC);
    // Forgets the copy, so that the next paint takes it afresh.
    void Drop();
    BOOL IsTaken() const { return m_picture != nullptr; }

private:
    std::unique_ptr<CMemoryDC> m_picture;
    CSize m_size;
};
