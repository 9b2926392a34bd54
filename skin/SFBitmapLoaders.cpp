#include "SFBitmapLoaders.h"
#include "SFDibHelpers.h"
#include "SFImageLoading.h"
#include "SFPngDecoder.h"

static BOOL BitmapIs32(HBITMAP bitmap)
{
    BITMAP bm = {};
    return bitmap && ::GetObjectW(bitmap, sizeof(bm), &bm) && bm.bmBitsPixel == 32;
}

namespace
{
// The flag the caller asked for (cleared), or one of its own when the caller
// asked for none.
class OutFlag
{
public:
    explicit OutFlag(BOOL* flag) : m_local(FALSE), m_flag(flag ? flag : &m_local) { *m_flag = FALSE; }
    BOOL* Get() { return m_flag; }

private:
    BOOL m_local;
    BOOL* m_flag;
};
} // namespace

static HBITMAP LoadPngResource(HMODULE module, LPCWSTR name, BOOL* alpha)
{
    CSFPngDecoder decoder;
    if (!decoder.LoadResource(module, ::FindResourceW(module, name, L"PNG")))
        return NULL;
    *alpha = decoder.HasAlpha();
    return decoder.Detach();
}

HBITMAP SFLoadBitmapFile(LPCWSTR path, BOOL* alpha)
{
    OutFlag flag(alpha);
    alpha = flag.Get();
    if (path == NULL)
        return NULL;
    if (IsPngFile(path))
    {
        CSFPngDecoder decoder;
        if (!decoder.LoadFile(path))
            return NULL;
        *alpha = decoder.HasAlpha();
        return decoder.Detach();
    }
    if (!IsCompleteBmpFile(path))
        return NULL;
    // The file's own depth tells: a device bitmap of a 24-bit file has 32
    // bits on a true-colour screen but no alpha worth blending.
    BOOL is32 = Is32BitBmpFile(path);
    UINT flags = LR_LOADFROMFILE | LR_DEFAULTSIZE | (is32 ? LR_CREATEDIBSECTION : 0);
    HBITMAP bitmap = (HBITMAP)::LoadImageW(NULL, path, IMAGE_BITMAP, 0, 0, flags);
    *alpha = bitmap && is32 && BitmapIs32(bitmap);
    return bitmap;
}

HBITMAP SFLoadBitmapResource(HMODULE module, LPCWSTR name, BOOL* alpha)
{
    OutFlag flag(alpha);
    alpha = flag.Get();
    if (IsPngResource(module, name))
        return LoadPngResource(module, name, alpha);
    if (HBITMAP bitmap = Load32BitBitmapResource(module, name))
    {
        *alpha = TRUE;
        return bitmap;
    }
    return (HBITMAP)::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE);
}

HBITMAP LoadResourceBitmap(HMODULE module, LPCWSTR name, BOOL* is32)
{
    OutFlag flag(is32);
    is32 = flag.Get();
    if (IsPngResource(module, name))
        return LoadPngResource(module, name, is32);

    HRSRC res = ::FindResourceW(module, name, RT_BITMAP);
    HGLOBAL handle = res ? ::LoadResource(module, res) : NULL;
    const BITMAPINFO* info = handle ? (const BITMAPINFO*)::LockResource(handle) : NULL;
    DWORD size = res ? ::SizeofResource(module, res) : 0;
    if (info == NULL || size < sizeof(BITMAPINFOHEADER))
        return NULL;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1 ||
        h.biBitCount == 0 || h.biBitCount > 32 || h.biClrUsed > 256)
        return NULL;
    ULONGLONG stride = ((ULONGLONG)h.biWidth * h.biBitCount + 31) / 32 * 4;
    ULONGLONG height = h.biHeight < 0 ? -(LONGLONG)h.biHeight : h.biHeight;
    ULONGLONG pixels = stride * height;
    DWORD headerSize = DibHeaderSize(&h);
    // Compressed bitmaps are not used by styles; the size test keeps every
    // read inside the resource.
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)
        return NULL;
    if (pixels > 0x7FFFFFFF || headerSize + pixels > size)
        return NULL;
    if (h.biBitCount < 24)
    {
        HPALETTE palette = CreateDibPalette(&h);
        HBITMAP bitmap = CreateDdbFromDib(info, palette);
        if (palette)
            ::DeleteObject(palette);
        return bitmap;
    }
    std::vector<BYTE> header((const BYTE*)info, (const BYTE*)info + headerSize);
    ((BITMAPINFOHEADER*)header.data())->biSizeImage = (DWORD)pixels;
    void* bits = NULL;
    HBITMAP bitmap = ::CreateDIBSection(NULL, (BITMAPINFO*)header.data(), DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap == NULL)
        return NULL;
    memcpy(bits, (const BYTE*)info + headerSize, (size_t)pixels);
    *is32 = h.biBitCount == 32;
    return bitmap;
}
