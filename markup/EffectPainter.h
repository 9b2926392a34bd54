// CEffectPainter: everything the mark-up drawer and the tooltip paint beyond
// plain text: background effects (solid, gradients, textures made in a
// palette image), frames and lines, opacity blending, soft shadows, and
// bitmaps and icons drawn with colour effects, transparency and shadows.
#pragma once
#include "MemoryDC.h"
#include "PaletteDib.h"
#include <string>

// Image effect flags.
enum : UINT
{
    EFFECT_GREY = 0x0001,
    EFFECT_DARKER = 0x0002,
    EFFECT_LIGHTER = 0x0004,
    EFFECT_ONECOLOR = 0x0008,
    EFFECT_SHADOW = 0x0100,
    EFFECT_SOFTSHADOW = 0x0200,
    EFFECT_INVERT = 0x8000,
};

class CEffectPainter
{
  public:
    CEffectPainter();
    virtual ~CEffectPainter();

    CEffectPainter(const CEffectPainter&) = delete;
    CEffectPainter& operator=(const CEffectPainter&) = delete;

    // Colour operations on 32-bit DIB pixels (blue in the low byte); the top
    // byte is kept.
    static DWORD GreyColor(DWORD c);
    static DWORD InvertColor(DWORD c);
    static DWORD DarkenColor(DWORD c, double f);
    static DWORD LightenColor(DWORD c, double f);
    static DWORD MixColors(DWORD c1, double f1, DWORD c2, double f2);

    static SIZE GetIconSize(HICON hIcon);
    static SIZE GetBitmapSize(HBITMAP hBitmap);

    void FillEffect(HDC hDC, int effect, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3,
                    int granularity, int blendPercent);
    static void FillGradient(HDC hDC, const RECT& rect, COLORREF start, COLORREF end, BOOL horizontal);
    void FillTexture(HDC hDC, int effect, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3,
                     int granularity, int blendPercent);
    // The palette image of the latest textured effect (for inspection).
    const CPaletteDib& GetPaletteImage() const { return m_dib; }

    static void TileBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc,
                        int tileWidth, int tileHeight);
    static BOOL BlendBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc,
                         int percent);
    static BOOL AlphaBlt(HDC hDest, int x, int y, int width, int height, HDC hSrc, int xSrc, int ySrc);

    static BOOL DrawShadow(HDC hDest, int x, int y, int width, int height, HBITMAP hMask, BOOL soft,
                           int blurWidth, int blurHeight);
    // Averages the low byte of each pixel over blurWidth x blurHeight
    // (outside counts as 255); writes factors 0..1 into out.
    static void BlurMask(const DWORD* pixels, int width, int height, int blurWidth, int blurHeight,
                         double* out);

    static void DrawFrame(HDC hDC, int left, int top, int right, int bottom, COLORREF c1, COLORREF c2,
                          int type, int width);
    static void DrawFrameRect(HDC hDC, const RECT& rect, COLORREF c1, COLORREF c2, int type, int width)
    {
        DrawFrame(hDC, rect.left, rect.top, rect.right, rect.bottom, c1, c2, type, width);
    }
    static void DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF color, int type, int width);

    HBITMAP ApplyImageEffects(HBITMAP hBitmap, int width, int height, UINT flags, BOOL useTransparent,
                              COLORREF transparent, COLORREF fill);
    void DrawImage(HDC hDC, int x, int y, int width, int height, HBITMAP hBitmap, BOOL useTransparent,
                   COLORREF transparent, UINT flags, BOOL shadow, int shadowX, int shadowY, int blurWidth,
                   int blurHeight, COLORREF color);
    void DrawIcon(HDC hDC, int x, int y, int width, int height, HICON hIcon, UINT flags, BOOL shadow,
                  int shadowX, int shadowY, int blurWidth, int blurHeight, COLORREF color);
    void DrawImageListItem(HDC hDC, int x, int y, int width, int height, HBITMAP hBitmap, int index,
                           int cellWidth, int cellHeight, BOOL useTransparent, COLORREF transparent,
                           UINT flags, BOOL shadow, int shadowX, int shadowY, int blurWidth, int blurHeight,
                           COLORREF color);
    static HICON StretchIcon(HICON hIcon, int width, int height);

    BOOL HasAlpha() const { return m_hasAlpha; }

  private:
    CPaletteDib m_dib;
    BOOL m_hasAlpha;
};

// A 32-bit top-down DIB section with its pixel pointer; freed when it ends.
struct DibSection32
{
    HBITMAP bitmap = NULL;
    DWORD* bits = NULL;
    int width = 0, height = 0;
    DibSection32() = default;
    DibSection32(const DibSection32&) = delete;
    DibSection32& operator=(const DibSection32&) = delete;
    ~DibSection32();
    BOOL Create(int w, int h);
    HBITMAP Release();
};

// Resource loaders of the drawer and the painter.
std::wstring LoadResourceString(UINT id);
