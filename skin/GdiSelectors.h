// Scoped selection of a pen, brush or font into a DC: the previous object is
// selected again and the one made here deleted when the selector goes.
#pragma once
#include <Framework.h>

// Selects an object made for the scope and deletes it afterwards.
class OwnedObjectSelector
{
public:
    OwnedObjectSelector(HDC dc, HGDIOBJ made) : m_dc(dc), m_object(made), m_old(made ? ::SelectObject(dc, made) : NULL)
    {
    }
    ~OwnedObjectSelector()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_object)
            ::DeleteObject(m_object);
    }
    OwnedObjectSelector(const OwnedObjectSelector&) = delete;
    OwnedObjectSelector& operator=(const OwnedObjectSelector&) = delete;
    BOOL IsSelected() const { return m_old != NULL; }

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_old;
};

// A one-pixel solid pen of the colour.
class PenSelector : public OwnedObjectSelector
{
public:
    PenSelector(HDC dc, COLORREF color) : OwnedObjectSelector(dc, ::CreatePen(PS_SOLID, 1, color)) {}
};

// A solid brush of the colour.
class BrushSelector : public OwnedObjectSelector
{
public:
    BrushSelector(HDC dc, COLORREF color) : OwnedObjectSelector(dc, ::CreateSolidBrush(color)) {}
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
