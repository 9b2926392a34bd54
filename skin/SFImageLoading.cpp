#include "SFImageLoading.h"
#include "BitmapDC.h"
#include "SFDibHelpers.h"

namespace
{
const BYTE kPngSignature[4] = {0x89, 'P', 'N', 'G'};

BOOL ReadFileStart(LPCWSTR path, void* out, DWORD size)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD got = 0;
    BOOL ok = ::ReadFile(file, out, size, &got, NULL) && got == size;
    ::CloseHandle(file);
    return ok;
}

// The bytes of a resource, or NULL.
const BYTE* ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, DWORD* size)
{
    HRSRC res = ::FindResourceW(module, name, type);
    if (res == NULL)
        return NULL;
    HGLOBAL handle = ::LoadResource(module, res);
    *size = ::SizeofResource(module, res);
    return handle ? (const BYTE*)::LockResource(handle) : NULL;
}
} // namespace

BOOL IsPngFile(LPCWSTR path)
{
    BYTE start[4];
    return path && ReadFileStart(path, start, 4) && memcmp(start, kPngSignature, 4) == 0;
}

BOOL Is32BitBmpFile(LPCWSTR path)
{
    BYTE headers[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)];
    if (!path || !ReadFileStart(path, headers, sizeof(headers)))
        return FALSE;
    const BITMAPINFOHEADER* info = (const BITMAPINFOHEADER*)(headers + sizeof(BITMAPFILEHEADER));
    return info->biBitCount == 32;
}

BOOL IsCompleteBmpFile(LPCWSTR path)
{
    BYTE headers[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)];
    if (!path || !ReadFileStart(path, headers, sizeof(headers)))
        return FALSE;
    const BITMAPFILEHEADER* file = (const BITMAPFILEHEADER*)headers;
    const BITMAPINFOHEADER* info = (const BITMAPINFOHEADER*)(headers + sizeof(BITMAPFILEHEADER));
    if (file->bfType != 0x4D42 || info->biSize < sizeof(BITMAPINFOHEADER) || info->biWidth <= 0 ||
        info->biHeight == 0 || info->biPlanes != 1 || info->biBitCount == 0 || info->biBitCount > 32)
        return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0)
        return FALSE;
    ULONGLONG size = data.nFileSizeLow;
    ULONGLONG height = info->biHeight < 0 ? -(LONGLONG)info->biHeight : info->biHeight;
    ULONGLONG pixels = ((ULONGLONG)info->biWidth * info->biBitCount + 31) / 32 * 4 * height;
    BOOL packed = info->biCompression == BI_RGB || info->biCompression == BI_BITFIELDS;
    return file->bfOffBits <= size && (!packed || file->bfOffBits + pixels <= size);
}

BOOL IsPngResource(HMODULE module, LPCWSTR name)
{
    DWORD size = 0;
    const BYTE* data = ResourceBytes(module, name, L"PNG", &size);
    return data && size >= 4 && memcmp(data, kPngSignature, 4) == 0;
}

HBITMAP Load32BitBitmapResource(HMODULE module, LPCWSTR name)
{
    DWORD size = 0;
    const BYTE* data = ResourceBytes(module, name, RT_BITMAP, &size);
    if (data == NULL || size < sizeof(BITMAPINFOHEADER))
        return NULL;
    BITMAPINFOHEADER header = *(const BITMAPINFOHEADER*)data;
    if (header.biBitCount != 32 || header.biWidth <= 0 || header.biHeight == 0 || header.biCompression != BI_RGB)
        return NULL;
    ULONGLONG pixels = (ULONGLONG)header.biWidth * (ULONGLONG)(header.biHeight < 0 ? -header.biHeight : header.biHeight) * 4;
    // The resource must hold every pixel its header claims.
    if (pixels > 0x7FFFFFFF || sizeof(BITMAPINFOHEADER) + pixels > size)
        return NULL;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biSizeImage = (DWORD)pixels;
    void* bits = NULL;
    HBITMAP bitmap = ::CreateDIBSection(NULL, (BITMAPINFO*)&header, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap == NULL)
        return NULL;
    memcpy(bits, data + sizeof(BITMAPINFOHEADER), (size_t)pixels);
    return bitmap;
}

static BOOL ReadPixels32(HDC dc, HBITMAP bitmap, SFBitmapPixels* out, BOOL only32)
{
    BITMAP bm = {};
    if (bitmap == NULL || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return FALSE;
    if (only32 && bm.bmBitsPixel != 32)
        return FALSE;
    out->info.assign(52, 0); // header and room for three masks
    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)out->info.data();
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = bm.bmWidth;
    header->biHeight = -bm.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    header->biSizeImage = (DWORD)bm.bmWidth * bm.bmHeight * 4;
    out->bits.resize(header->biSizeImage);
    HDC screen = dc ? NULL : ::GetDC(NULL);
    // A bitmap still selected into a DC cannot be read, so none is selected here.
    int rows = ::GetDIBits(dc ? dc : screen, bitmap, 0, bm.bmHeight, out->bits.data(), (BITMAPINFO*)header,
                           DIB_RGB_COLORS);
    if (screen)
        ::ReleaseDC(NULL, screen);
    return rows == bm.bmHeight;
}

BOOL Read32BitPixels(HDC dc, HBITMAP bitmap, SFBitmapPixels* out) { return ReadPixels32(dc, bitmap, out, TRUE); }

BOOL Read32BitCopy(HBITMAP bitmap, SFBitmapPixels* out) { return ReadPixels32(NULL, bitmap, out, FALSE); }

HBITMAP MakeDibSection(const SFBitmapPixels& pixels, void** bits)
{
    void* p = NULL;
    HBITMAP dib = Create32BitDibTopDown(pixels.Width(), pixels.Height(), &p);
    if (dib == NULL)
        return NULL;
    memcpy(p, pixels.bits.data(), pixels.bits.size());
    if (bits)
        *bits = p;
    return dib;
}

HBITMAP Copy32BitBitmap(HBITMAP bitmap, void** bits)
{
    SFBitmapPixels pixels;
    return Read32BitPixels(NULL, bitmap, &pixels) ? MakeDibSection(pixels, bits) : NULL;
}

BOOL ReadBitmapForStoring(HBITMAP bitmap, std::vector<BYTE>* info, std::vector<BYTE>* bits)
{
    BITMAP bm = {};
    if (bitmap == NULL || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return FALSE;
    int colors = bm.bmBitsPixel == 4 ? 16 : bm.bmBitsPixel == 8 ? 256 : 3;
    info->assign(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)info->data();
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = bm.bmWidth;
    header->biHeight = bm.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = bm.bmBitsPixel;
    header->biCompression = BI_RGB;
    HDC screen = ::GetDC(NULL);
    // The first call fills in the image size (and the colour table).
    ::GetDIBits(screen, bitmap, 0, bm.bmHeight, NULL, (BITMAPINFO*)header, DIB_RGB_COLORS);
    if (header->biSizeImage == 0)
        header->biSizeImage = (DWORD)bm.bmWidth * bm.bmHeight * 4;
    bits->assign(header->biSizeImage, 0);
    int rows = ::GetDIBits(screen, bitmap, 0, bm.bmHeight, bits->data(), (BITMAPINFO*)header, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, screen);
    return rows == bm.bmHeight;
}

void WriteBitmapToArchive(CArchive& ar, HBITMAP bitmap)
{
    std::vector<BYTE> info, bits;
    if (!ReadBitmapForStoring(bitmap, &info, &bits))
    {
        ar.WriteCount(0);
        return;
    }
    ar.WriteCount(info.size());
    ar.Write(info.data(), (UINT)info.size());
    ar.WriteCount(bits.size());
    ar.Write(bits.data(), (UINT)bits.size());
}

HBITMAP ReadBitmapFromArchive(CArchive& ar, void** bitsOut)
{
    if (bitsOut)
        *bitsOut = NULL;
    DWORD_PTR infoSize = ar.ReadCount();
    if (infoSize == 0)
        return NULL;
    if (infoSize > ar.GetRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    std::vector<BYTE> info(infoSize < sizeof(BITMAPINFO) ? sizeof(BITMAPINFO) : infoSize, 0);
    if (ar.Read(info.data(), (UINT)infoSize) != infoSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    DWORD_PTR bitsSize = ar.ReadCount();
    if (bitsSize > ar.GetRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    std::vector<BYTE> bits(bitsSize);
    if (bitsSize && ar.Read(bits.data(), (UINT)bitsSize) != bitsSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);

    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)info.data();
    // A header the stored bytes cannot hold, or with its colour table past
    // them, describes no bitmap.
    if (infoSize < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
        header->biSize > infoSize || DibHeaderSize(header) > info.size())
        return NULL;
    if (header->biSizeImage == 0)
        header->biSizeImage = (DWORD)bitsSize;
    void* p = NULL;
    HBITMAP bitmap = ::CreateDIBSection(NULL, (BITMAPINFO*)header, DIB_RGB_COLORS, &p, NULL, 0);
    if (bitmap == NULL)
        return NULL;
    DIBSECTION ds = {};
    ::GetObjectW(bitmap, sizeof(ds), &ds);
    size_t capacity = (size_t)ds.dsBm.bmWidthBytes * ds.dsBm.bmHeight;
    size_t n = bitsSize < header->biSizeImage ? bitsSize : header->biSizeImage;
    if (n > capacity)
        n = capacity;
    memcpy(p, bits.data(), n);
    if (bitsOut)
        *bitsOut = p;
    return bitmap;
}

SIZE GetIconImageSize(HICON icon)
{
    SIZE size = {0, 0};
    int w = 0, h = 0;
    if (ReadIconSize(icon, &w, &h))
    {
        size.cx = w;
        size.cy = h;
    }
    return size;
}
