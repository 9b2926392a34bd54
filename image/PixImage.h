#pragma once
#include <windows.h>
#include <stdio.h>
#include "PixExport.h"
#include "PixFile.h"

// Image type codes: the format read or to be written (0 = none, or detect when decoding).
enum PixImageType
{
    PIXIMAGE_FORMAT_UNKNOWN = 0,
    PIXIMAGE_FORMAT_BMP = 1,
    PIXIMAGE_FORMAT_GIF = 2,
    PIXIMAGE_FORMAT_JPG = 3,
    PIXIMAGE_FORMAT_PNG = 4,
    PIXIMAGE_FORMAT_ICO = 5,
    PIXIMAGE_MAX_FORMATS = 6
};

// The most pixels a decoder accepts from a file. Every codec checks the size its
// header claims against it before allocating anything for the picture, since a
// file of a few hundred bytes can claim 65,535 x 65,535 pixels. 2^26 pixels
// (8192 x 8192) still holds a photograph of 64 megapixels.
const DWORD PIXIMAGE_MAX_DECODE_PIXELS = 1u << 26;

// Interpolation methods of Resample and the interpolated pixel reads.
enum PixInterpolation
{
    IM_NEAREST_NEIGHBOUR = 1,
    IM_BILINEAR = 2,
    IM_BSPLINE = 3,
    IM_BICUBIC = 4,
    IM_BICUBIC2 = 5,
    IM_LANCZOS = 6,
    IM_BOX = 7,
    IM_HERMITE = 8,
    IM_HAMMING = 9,
    IM_SINC = 10,
    IM_BLACKMAN = 11,
    IM_BESSEL = 12,
    IM_GAUSSIAN = 13,
    IM_QUADRATIC = 14,
    IM_MITCHELL = 15,
    IM_CATROM = 16,
    IM_HANNING = 17,
    IM_POWER = 18
};

// What a coordinate outside the picture yields when interpolating.
enum PixOverflow
{
    OM_COLOR = 1,
    OM_BACKGROUND = 2,
    OM_TRANSPARENT = 3,
    OM_WRAP = 4,
    OM_REPEAT = 5,
    OM_MIRROR = 6
};

struct FloatRect
{
    float left, top, right, bottom;
    FloatRect() : left(0), top(0), right(0), bottom(0) {}
    FloatRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    float Surface() const { return Width() * Height(); }
    float CenterX() const { return (left + right) / 2; }
    float CenterY() const { return (top + bottom) / 2; }
    FloatRect Intersect(const FloatRect& r) const;
};

// The settings and state that CopyInfo, Copy, Transfer and Ghost copy as one block.
struct PixImageInfo
{
    DWORD dwEffWidth;
    BYTE* pImage;
    class CPixImage* pGhost;
    DWORD dwType;
    char szLastError[256];
    long nProgress;
    long nEscape;
    long nBkgndIndex;
    RGBQUAD nBkgndColor;
    float fQuality;
    BYTE nJpegScale;
    long nFrame;
    long nNumFrames;
    DWORD dwFrameDelay;
    long xDPI;
    long yDPI;
    RECT rSelectionBox;
    BYTE nAlphaMax;
    bool bAlphaPaletteEnabled;
    bool bEnabled;
    long xOffset;
    long yOffset;
    DWORD dwCodecOpt[PIXIMAGE_MAX_FORMATS];
    RGBQUAD last_c;
    BYTE last_c_index;
    bool last_c_isvalid;
    long nNumLayers;
    BYTE dispmeth;
    bool bGetAllFrames;
    bool bLittleEndianHost;
};

// One picture held as a Windows device-independent bitmap (bottom-up rows padded
// to 4 bytes, 1, 4, 8 or 24 bits per pixel) with an optional alpha plane and
// selection mask. Operations return a result and leave an 8-bit text in the
// last-error text; nothing is thrown and nothing is shown.
class CPixImage
{
public:
    PIX_EXPORT CPixImage(DWORD imagetype = 0);
    CPixImage(DWORD width, DWORD height, DWORD bpp, DWORD imagetype = 0);
    PIX_EXPORT CPixImage(const CPixImage& src, bool copypixels = true, bool copyselection = true,
                         bool copyalpha = true);
    PIX_EXPORT virtual ~CPixImage();
    CPixImage& operator=(const CPixImage& src);

    // life cycle
    bool Destroy();
    bool DestroyFrames();
    void* Create(DWORD width, DWORD height, DWORD bpp, DWORD imagetype = 0);
    void Copy(const CPixImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
    bool Transfer(CPixImage& from, bool bTransferFrames = true);
    void Ghost(const CPixImage* src);
    void CopyInfo(const CPixImage& src);

    // files and codecs
    bool Encode(CPixFile* hFile, DWORD imagetype);
    bool Encode(FILE* hFile, DWORD imagetype);
    bool Decode(CPixFile* hFile, DWORD imagetype);
    bool Decode(FILE* hFile, DWORD imagetype);
    bool Save(const wchar_t* filename, DWORD imagetype);
    bool Load(const wchar_t* filename, DWORD imagetype = 0);
    bool CheckEncodeTarget(CPixFile* hFile);
    bool FitsDecodeLimit(DWORD width, DWORD height);
    const char* GetErrorText() const { return info.szLastError; }
    void SetErrorText(const char* text);

    // accessors
    DWORD GetWidth() const { return head.biWidth; }
    DWORD GetHeight() const { return head.biHeight; }
    WORD GetBpp() const { return head.biBitCount; }
    DWORD GetNumColors() const { return head.biClrUsed; }
    DWORD GetEffWidth() const { return info.dwEffWidth; }
    DWORD GetType() const { return info.dwType; }
    bool SetType(DWORD type);
    void* GetDIB() const { return pDib; }
    bool IsValid() const { return pDib != nullptr; }
    BYTE* GetBits(DWORD row = 0);
    DWORD GetSize();
    bool IsInside(long x, long y);
    void Clear(BYTE bval = 0);
    long GetTransIndex() const { return info.nBkgndIndex; }
    void SetTransIndex(long idx);
    RGBQUAD GetTransColor();
    void SetTransColor(RGBQUAD rgb);
    bool IsTransparent() const { return info.nBkgndIndex >= 0; }
    bool IsIndexed() const { return head.biClrUsed != 0; }
    long GetXDPI() const { return info.xDPI; }
    long GetYDPI() const { return info.yDPI; }
    void SetXDPI(long dpi);
    void SetYDPI(long dpi);
    BYTE GetJpegQuality() const { return (BYTE)(info.fQuality + 0.5f); }
    void SetJpegQuality(BYTE q) { info.fQuality = (float)q; }
    BYTE GetJpegScale() const { return info.nJpegScale; }
    void SetJpegScale(BYTE s) { info.nJpegScale = s; }
    long GetNumFrames() const { return info.nNumFrames; }
    void SetNumFrames(long n) { info.nNumFrames = n; }
    long GetFrame() const { return info.nFrame; }
    void SetFrame(long n) { info.nFrame = n; }
    long GetEscape() const { return info.nEscape; }
    void SetEscape(long i) { info.nEscape = i; }
    long GetProgress() const { return info.nProgress; }
    void SetOffset(long x, long y) { info.xOffset = x; info.yOffset = y; }
    void GetOffset(long* x, long* y) const { *x = info.xOffset; *y = info.yOffset; }
    DWORD GetCodecOption(DWORD imagetype = 0);
    bool SetCodecOption(DWORD opt, DWORD imagetype = 0);
    void SetDisposalMethod(BYTE m) { info.dispmeth = m; }
    BYTE GetDisposalMethod() const { return info.dispmeth; }
    void SetKeepAllFrames(bool flag) { info.bGetAllFrames = flag; }
    DWORD GetFrameDelay() const { return info.dwFrameDelay; }
    void SetFrameDelay(DWORD d) { info.dwFrameDelay = d; }
    void Enable(bool enable = true) { info.bEnabled = enable; }
    bool IsEnabled() const { return info.bEnabled; }
    BYTE AlphaGetMax() const { return info.nAlphaMax; }
    void AlphaSetMax(BYTE m) { info.nAlphaMax = m; }
    void AlphaPaletteEnable(bool enable = true) { info.bAlphaPaletteEnabled = enable; }
    bool AlphaPaletteIsEnabled() const { return info.bAlphaPaletteEnabled; }
    CPixImage* GetFrame(long n) const;
    const RECT& GetSelectionBox() const { return info.rSelectionBox; }

    // byte-order conversions of file values (all files are little-endian)
    WORD ntohs(WORD word);
    DWORD ntohl(DWORD dword);
    void bihtoh(BITMAPINFOHEADER* bih);

    // palette
    DWORD GetPaletteSize() { return head.biClrUsed * sizeof(RGBQUAD); }
    RGBQUAD* GetPalette() const;
    RGBQUAD GetPaletteColor(BYTE idx);
    bool GetPaletteColor(BYTE i, BYTE* r, BYTE* g, BYTE* b);
    void SetPaletteColor(BYTE idx, BYTE r, BYTE g, BYTE b, BYTE alpha = 0);
    void SetPaletteColor(BYTE idx, RGBQUAD c);
    void SetPalette(const RGBQUAD* pPal, DWORD nColors = 256);
    void SetPalette(const RGBTRIPLE* rgb, DWORD nColors = 256);
    void SetPalette(DWORD n, const BYTE* r, const BYTE* g = nullptr, const BYTE* b = nullptr);
    void SetGrayPalette();
    bool IsGrayScale();
    BYTE GetNearestIndex(RGBQUAD c);
    void SwapIndex(BYTE idx1, BYTE idx2);
    DWORD GetClrImportant() const { return head.biClrImportant; }
    void SetClrImportant(DWORD ncolors = 0);
    bool AlphaPaletteIsValid();

    // pixels
    BYTE GetPixelIndex(long x, long y);
    BYTE GetPixelIndexRaw(long x, long y) const;
    void SetPixelIndex(long x, long y, BYTE i);
    void SetPixelIndexRaw(long x, long y, BYTE i);
    RGBQUAD GetPixelColor(long x, long y, bool bGetAlpha = true);
    RGBQUAD GetPixelColorRaw(long x, long y, bool bGetAlpha = true);
    void SetPixelColor(long x, long y, RGBQUAD c, bool bSetAlpha = false);
    void SetPixelColorRaw(long x, long y, RGBQUAD c, bool bSetAlpha = false);
    BYTE* GetPixelPointer(long x, long y);
    void SwapRedBlue(BYTE* buffer, long length);

    // alpha plane
    bool AlphaIsValid() const { return pAlpha != nullptr; }
    bool AlphaCreate();
    void AlphaDelete();
    void AlphaFill(BYTE level);
    void AlphaInvert();
    void AlphaSet(long x, long y, BYTE level);
    BYTE AlphaGet(long x, long y);
    BYTE AlphaGetRaw(long x, long y) const { return pAlpha[x + y * head.biWidth]; }
    BYTE* AlphaGetPointer(long x = 0, long y = 0);
    bool AlphaCopy(CPixImage& from);
    bool AlphaFromGrayImage(CPixImage& from);
    bool AlphaFlip();

    // selection
    bool SelectionIsValid() const { return pSelection != nullptr; }
    bool SelectionCreate();
    bool SelectionDelete();
    bool SelectionIsInside(long x, long y);
    BYTE* SelectionGetPointer(long x = 0, long y = 0);
    bool SelectionCopy(CPixImage& from);
    bool SelectionFlip();

    // transforms
    bool GrayScale();
    bool Flip(bool bFlipSelection = false, bool bFlipAlpha = true);
    bool Negative();
    bool Resample(long newx, long newy, int mode = 1, int ofMethod = 5, CPixImage* iDst = nullptr,
                  bool disableAveraging = false);
    bool Crop(long left, long top, long right, long bottom, CPixImage* iDst = nullptr);
    bool Crop(const RECT& rect, CPixImage* iDst = nullptr);
    bool Expand(long left, long top, long right, long bottom, RGBQUAD canvascolor, CPixImage* iDst = nullptr);
    RGBQUAD GetPixelColorInterpolated(float x, float y, int inMethod = IM_BILINEAR, int ofMethod = OM_BACKGROUND,
                                      RGBQUAD* rplColor = nullptr);
    RGBQUAD GetAreaColorInterpolated(float xc, float yc, float w, float h, int inMethod,
                                     int ofMethod = OM_BACKGROUND, RGBQUAD* rplColor = nullptr);
    RGBQUAD GetPixelColorWithOverflow(long x, long y, int ofMethod = OM_BACKGROUND, RGBQUAD* rplColor = nullptr);
    void OverflowCoordinates(long& x, long& y, int ofMethod);
    void OverflowCoordinates(float& x, float& y, int ofMethod);
    void AccumulateWeighted(RGBQUAD cval, float w, float& rr, float& gg, float& bb, float& aa) const;
    static float KernelValue(int method, float d);

    // Windows bitmaps and drawing
    bool CreateFromHBITMAP(HBITMAP hbmp, HPALETTE hpal = nullptr);
    bool Draw(HDC hdc, long x, long y, long cx = -1, long cy = -1, RECT* pClipRect = nullptr, bool bSmooth = false);
    bool Draw(HDC hdc, const RECT& rect, RECT* pClipRect = nullptr, bool bSmooth = false);

protected:
    void Startup(DWORD imagetype);
    RGBQUAD BackgroundColor(RGBQUAD* rplColor) const;
    RGBQUAD OverflowColor(int ofMethod, RGBQUAD* rplColor);
    DWORD PixelBgra(long x, long y) const;
    RGBQUAD KernelSum(long x0, long y0, int n, const float* wx, const float* wy, int ofMethod, RGBQUAD* rplColor);
    void SetPixelIndexInRow(BYTE* row, long x, BYTE i) const;

    void* pDib;
    BITMAPINFOHEADER head;
    PixImageInfo info;
    BYTE* pSelection;
    BYTE* pAlpha;
    CPixImage** ppLayers;
    CPixImage** ppFrames;

    friend class CImageIterator;
    friend class CPixImageGIF;
    friend class CPixImageICO;
};
