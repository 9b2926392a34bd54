// One bitmap of a style, drawn the way the style asks: any rectangle of it
// into any destination, stretched, tiled or at true size, with sizing
// margins that keep its borders unscaled, with a transparent colour or
// per-pixel alpha, mirrored on right-to-left devices, and through the
// skin's colour filters. Large one-colour areas are found once and painted
// as plain fills.
#pragma once
#include <Framework.h>
#include <vector>

class CSFSkinFramework;

struct SFSolidRect
{
    RECT rect;      // bitmap pixels, origin at the top-left
    DWORD color;    // red, green, blue, and the alpha in the top byte for alpha images
};

class CSFStyleImage
{
public:
    // The manager gives the colour filters (none when NULL).
    explicit CSFStyleImage(CSFSkinFramework* manager = NULL);
    ~CSFStyleImage();
    CSFStyleImage(const CSFStyleImage&) = delete;
    CSFStyleImage& operator=(const CSFStyleImage&) = delete;

    // Whether 32-bit pictures with alpha are premultiplied when loaded (the
    // style says so unless its documentation gives an alpha level of 255).
    void SetPremultiply(BOOL premultiply) { m_premultiply = premultiply; }
    BOOL LoadFile(LPCWSTR path);
    BOOL LoadResource(HMODULE module, LPCWSTR name);
    // Takes a bitmap the caller made (alpha: 32 bits with meaningful alpha).
    void Attach(HBITMAP bitmap, BOOL alpha);

    // Records the one-colour cells of a single or vertical strip of count
    // images, or their one-colour edges and centre; once per image.
    void FindSolidRectangles(int count, BOOL horizontal, const RECT& margins);
    // Draws source rectangle s into destination d with sizing margins m;
    // transparent is a colour left out, or -1. sizingType: 0 true size,
    // 1 stretch, 2 tile.
    void DrawImage(CDC* dc, const RECT& d, const RECT& s, const RECT& m, COLORREF transparent, int sizingType,
                   BOOL borderOnly);

    void SetMirrorAllowed(BOOL allowed) { m_mirrorAllowed = allowed; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    BOOL HasAlpha() const { return m_alpha; }
    HBITMAP GetBitmap() const { return m_bitmap; }
    const std::vector<SFSolidRect>& GetSolidRects() const { return m_solids; }
    BOOL IsFiltered() const { return m_filtered; }

private:
    BOOL TakeLoaded(HBITMAP bitmap, BOOL alpha);
    void ApplyFilter(COLORREF spare);
    const SFSolidRect* FindSolid(const RECT& source) const;
    // The shortcut for a source inside a one-colour area: TRUE when it drew
    // (or decided that nothing is to be drawn).
    BOOL DrawSolid(HDC dc, const RECT& d, const RECT& s, COLORREF transparent) const;
    void DrawNineGrid(HDC dc, const RECT& d, const RECT& s, const RECT& m, int sizingType, BOOL borderOnly);
    // The buffer, mirrored, copied to a right-to-left target leaving out the
    // transparent colour: the copy's own mirroring turns it back.
    static void CopyMirrored(HDC dc, const RECT& d, HDC buffer, const RECT& all, COLORREF transparent);
    void DrawCell(HDC dc, HDC source, const RECT& c, const RECT& r, int tiling, DWORD rop) const;
    void CopyRect(HDC dc, HDC source, const RECT& d, const RECT& s, DWORD rop) const;

    CSFSkinFramework* m_pManager;
    BOOL m_premultiply;
    BOOL m_mirrorAllowed;
    HBITMAP m_bitmap;
    BOOL m_alpha;
    BOOL m_filtered;
    BOOL m_mirrored;
    BOOL m_analysed;
    int m_width, m_height;
    std::vector<SFSolidRect> m_solids;
};

// Destination margins of the nine-grid for a destination of the given
// height (or width): shared out in proportion when the margins do not fit,
// the far margin keeping the parity of the source's.
void SFFitMargins(int destSize, int sourceSize, LONG marginNear, LONG marginFar, LONG* outNear, LONG* outFar,
                  BOOL* fitted);
