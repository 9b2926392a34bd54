// Scoped selection of a pen, brush or font into a DC: the previous object is
// selected again and the one made here deleted when the selector goes.
#pragma once
#include <Framework.h>

class PenSelector
{
public:
    PenSelector(HDC dc, COLORREF color) : m_dc(dc), m_pen(::CreatePen(PS_SOLID, 1, color)), m_old(NULL)
    {
        if (m_pen)
            m_old = ::SelectObject(dc, m_pen);
    }
    ~PenSelector()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_pen)
            ::DeleteObject(m_pen);
    }
    PenSelector(const PenSelector&) = delete;
    PenSelector& operator=(const PenSelector&) = delete;
    BOOL IsSelected() const { return m_old != NULL; }

private:
    HDC m_dc;
    HPEN m_pen;
    HGDIOBJ m_old;
};

class BrushSelector
{
public:
    BrushSelector(HDC dc, COLORREF color) : m_dc(dc), m_brush(::CreateSolidBrush(color)), m_old(NULL)
    {
        if (m_brush)
            m_old = ::SelectObject(dc, m_brush);
    }
    ~BrushSelector()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_brush)
            ::DeleteObject(m_brush);
    }
    BrushSelector(const BrushSelector&) = delete;
    BrushSelector& operator=(const BrushSelector&) = delete;
    BOOL IsSelected() const { return m_old != NULL; }

private:
    HDC m_dc;
    HBRUSH m_brush;
    HGDIOBJ m_old;
};

// Selects through the DC object's own font selection; the font stays the caller's.
class FontSelector
{
public:
    FontSelector(CDC* dc, CFont* font) : m_dc(dc), m_old(NULL)
    {
        if (dc && font && font->GetSafeHandle())
            m_old = ::SelectObject(dc->GetSafeHdc(), font->GetSafeHandle());
    }
    FontSelector(CDC* dc, HFONT font) : m_dc(dc), m_old(NULL)
    {
        if (dc && font)
            m_old = ::SelectObject(dc->GetSafeHdc(), font);
    }
    ~FontSelector()
    {
        if (m_old)
            ::SelectObject(m_dc->GetSafeHdc(), m_old);
    }
    FontSelector(const FontSelector&) = delete;
    FontSelector& operator=(const FontSelector&) = delete;

private:
    CDC* m_dc;
    HGDIOBJ m_old;
};
