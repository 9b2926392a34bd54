// Off-screen drawing that lands on the target in one copy when the object
// goes. BufferedDC keeps the target's coordinates (its bitmap reaches from
// the origin to the rectangle's far corner); OffsetBufferedDC holds only the
// rectangle and moves the origin so callers still draw in target coordinates.
#pragma once
#include <Framework.h>

class BufferedDC : public CDC
{
public:
    BufferedDC(HDC target, const RECT& rect);
    ~BufferedDC() override;
    BufferedDC(const BufferedDC&) = delete;
    BufferedDC& operator=(const BufferedDC&) = delete;

    BOOL IsReady() const { return m_hDC != NULL && m_old != NULL; }
    // Nothing is copied to the target at the end.
    void DetachTarget() { m_target = NULL; }

private:
    HDC m_target;
    RECT m_rect;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class OffsetBufferedDC : public CDC
{
public:
    OffsetBufferedDC(HDC target, const RECT& rect);
    ~OffsetBufferedDC() override;
    OffsetBufferedDC(const OffsetBufferedDC&) = delete;
    OffsetBufferedDC& operator=(const OffsetBufferedDC&) = delete;

    BOOL IsReady() const { return m_hDC != NULL && m_old != NULL; }

private:
    HDC m_target;
    RECT m_rect;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
