#include "PixImage.h"
#include "PixIOFile.h"
#include "PixImageBMP.h"
#include "PixImageGIF.h"
#include "PixImageICO.h"
#include "PixImageJPG.h"
#include "PixImagePNG.h"
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{
const char kUnknownFormat[] = "Decode: Unknown or wrong format";

long DpiToPixelsPerMetre(long dpi)
{
    return (long)floor(dpi * 39.37007874015748 + 0.5);
}
} // namespace

CPixImage::CPixImage(DWORD imagetype)
{
    Startup(imagetype);
}

CPixImage::CPixImage(DWORD width, DWORD height, DWORD bpp, DWORD imagetype)
{
    Startup(imagetype);
    Create(width, height, bpp, imagetype);
}

CPixImage::CPixImage(const CPixImage& src, bool copypixels, bool copyselection, bool copyalpha)
{
    Startup(src.GetType());
    Copy(src, copypixels, copyselection, copyalpha);
}

CPixImage::~CPixImage()
{
    DestroyFrames();
    Destroy();
}

CPixImage& CPixImage::operator=(const CPixImage& src)
{
    if (this != &src)
        Copy(src, true, true, true);
    return *this;
}

void CPixImage::Startup(DWORD imagetype)
{
    pDib = nullptr;
    pSelection = nullptr;
    pAlpha = nullptr;
    ppLayers = nullptr;
    ppFrames = nullptr;
    memset(&head, 0, sizeof(head));
    memset(&info, 0, sizeof(info));
    info.dwType = imagetype;
    info.fQuality = 90.0f;
    info.nAlphaMax = 255;
    info.nBkgndIndex = -1;
    info.bEnabled = true;
    info.xDPI = 96;
    info.yDPI = 96;
    info.bLittleEndianHost = true;
    head.biXPelsPerMeter = DpiToPixelsPerMetre(96);
    head.biYPelsPerMeter = DpiToPixelsPerMetre(96);
}

bool CPixImage::Destroy()
{
    if (info.pGhost)
        return false;
    if (ppLayers)
    {
        for (long n = 0; n < info.nNumLayers; n++)
            delete ppLayers[n];
        delete[] ppLayers;
        ppLayers = nullptr;
        info.nNumLayers = 0;
    }
    free(pSelection);
    pSelection = nullptr;
    free(pAlpha);
    pAlpha = nullptr;
    free(pDib);
    pDib = nullptr;
    return true;
}

bool CPixImage::DestroyFrames()
{
    if (info.pGhost)
        return false;
    if (ppFrames)
    {
        for (long n = 0; n < info.nNumFrames; n++)
            delete ppFrames[n];
        delete[] ppFrames;
        ppFrames = nullptr;
        info.nNumFrames = 0;
    }
    return true;
}

void* CPixImage::Create(DWORD width, DWORD height, DWORD bpp, DWORD imagetype)
{
    if (!Destroy())
        return nullptr;
    if (width == 0 || height == 0)
    {
        SetErrorText("CPixImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    if (bpp <= 1)
        bpp = 1;
    else if (bpp <= 4)
        bpp = 4;
    else if (bpp <= 8)
        bpp = 8;
    else
        bpp = 24;

    // The exact product, without any wrap-around of its factors.
    unsigned long long pixels = (unsigned long long)width * height;
    if (pixels >= 0x100000000ULL || pixels * bpp >= 0x80000008ULL)
    {
        SetErrorText("PIXIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }

    switch (bpp)
    {
    case 1: head.biClrUsed = 2; break;
    case 4: head.biClrUsed = 16; break;
    case 8: head.biClrUsed = 256; break;
    default: head.biClrUsed = 0; break;
    }
    info.dwEffWidth = (DWORD)((((unsigned long long)width * bpp) + 31) / 32 * 4);
    info.dwType = imagetype;

    head.biSize = sizeof(BITMAPINFOHEADER);
    head.biWidth = (LONG)width;
    head.biHeight = (LONG)height;
    head.biPlanes = 1;
    head.biBitCount = (WORD)bpp;
    head.biCompression = BI_RGB;
    head.biSizeImage = info.dwEffWidth * height;

    pDib = malloc(GetSize());
    if (!pDib)
    {
        SetErrorText("CPixImage::Create can't allocate memory");
        return nullptr;
    }
    RGBQUAD* pal = GetPalette();
    if (pal)
        memset(pal, 0, GetPaletteSize());
    info.last_c_isvalid = false;
    free(pSelection);
    pSelection = nullptr;
    free(pAlpha);
    pAlpha = nullptr;
    memcpy(pDib, &head, sizeof(BITMAPINFOHEADER));
    info.pImage = (BYTE*)pDib + sizeof(BITMAPINFOHEADER) + GetPaletteSize();
    return pDib;
}

void CPixImage::Copy(const CPixImage& src, bool copypixels, bool copyselection, bool copyalpha)
{
    if (src.info.pGhost)
    {
        Ghost(&src);
        return;
    }
    if (!Destroy())
        return;
    // Frames are never copied: a frame array of this image keeps its own count.
    long nOwnFrames = info.nNumFrames;
    memcpy(&info, &src.info, sizeof(PixImageInfo));
    info.pImage = nullptr;
    info.pGhost = nullptr;
    info.nNumLayers = 0;
    if (ppFrames)
        info.nNumFrames = nOwnFrames;
    memcpy(&head, &src.head, sizeof(BITMAPINFOHEADER));
    if (!src.pDib)
        return;
    if (!Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.GetType()))
        return;
    if (copypixels && pDib && src.pDib)
        memcpy(pDib, src.pDib, const_cast<CPixImage&>(src).GetSize());
    else
        SetPalette(src.GetPalette(), src.GetNumColors());
    long nSize = head.biWidth * head.biHeight;
    if (copyselection && src.pSelection)
    {
        free(pSelection);
        pSelection = (BYTE*)malloc(nSize);
        if (pSelection)
            memcpy(pSelection, src.pSelection, nSize);
    }
    if (copyalpha && src.pAlpha)
    {
        free(pAlpha);
        pAlpha = (BYTE*)malloc(nSize);
        if (pAlpha)
            memcpy(pAlpha, src.pAlpha, nSize);
    }
}

bool CPixImage::Transfer(CPixImage& from, bool bTransferFrames)
{
    if (!Destroy())
        return false;
    if (bTransferFrames)
        DestroyFrames();
    long nOwnFrames = info.nNumFrames;
    memcpy(&head, &from.head, sizeof(BITMAPINFOHEADER));
    memcpy(&info, &from.info, sizeof(PixImageInfo));
    pDib = from.pDib;
    pSelection = from.pSelection;
    pAlpha = from.pAlpha;
    ppLayers = from.ppLayers;

    CPixImage** fromFrames = from.ppFrames;
    memset(&from.head, 0, sizeof(BITMAPINFOHEADER));
    memset(&from.info, 0, sizeof(PixImageInfo));
    from.pDib = from.pSelection = from.pAlpha = nullptr;
    from.ppLayers = nullptr;

    if (bTransferFrames)
    {
        ppFrames = fromFrames;
        from.ppFrames = nullptr;
    }
    else
    {
        // The source keeps its frames (and their count); a frame array of this
        // image stays with the count that describes it.
        from.info.nNumFrames = info.nNumFrames;
        if (ppFrames)
            info.nNumFrames = nOwnFrames;
    }
    return true;
}

void CPixImage::Ghost(const CPixImage* from)
{
    if (!from)
        return;
    memcpy(&head, &from->head, sizeof(BITMAPINFOHEADER));
    memcpy(&info, &from->info, sizeof(PixImageInfo));
    pDib = from->pDib;
    pSelection = from->pSelection;
    pAlpha = from->pAlpha;
    ppLayers = from->ppLayers;
    ppFrames = from->ppFrames;
    info.pGhost = const_cast<CPixImage*>(from);
}

// Hands the settings (escape value, frame to read, codec options, ...) of another
// image to an image without data. The pixel pointer and the ghost source belong to
// the data and stay this image's own.
void CPixImage::CopyInfo(const CPixImage& src)
{
    if (pDib)
        return;
    BYTE* pImage = info.pImage;
    CPixImage* pGhost = info.pGhost;
    memcpy(&info, &src.info, sizeof(PixImageInfo));
    info.pImage = pImage;
    info.pGhost = pGhost;
}

// False, with the error text set, when a picture of this size is not to be
// decoded (see PIXIMAGE_MAX_DECODE_PIXELS).
bool CPixImage::FitsDecodeLimit(DWORD width, DWORD height)
{
    if ((unsigned long long)width * height <= PIXIMAGE_MAX_DECODE_PIXELS)
        return true;
    char text[128];
    snprintf(text, sizeof(text), "Image of %lu x %lu pixels exceeds the decoding limit", (unsigned long)width,
             (unsigned long)height);
    SetErrorText(text);
    return false;
}

void CPixImage::SetErrorText(const char* text)
{
    if (text != info.szLastError)
    {
        strncpy(info.szLastError, text, 255);
        info.szLastError[255] = 0;
    }
}

//////////////////////////////////////////////////////////////////////////////
// Codec dispatch

namespace
{
template <class Codec> bool DecodeWith(CPixImage& self, CPixFile* hFile, bool bReportFailure, DWORD imagetype)
{
    Codec codec;
    codec.CopyInfo(self);
    codec.SetType(imagetype);
    if (codec.Decode(hFile))
    {
        self.Transfer(codec, true);
        return true;
    }
    if (bReportFailure)
        self.SetErrorText(codec.GetErrorText());
    return false;
}
// GIF and ICO report how many frames the file has, also when the one asked for was not read.
template <class Codec> bool DecodeCountingFrames(CPixImage& self, CPixFile* hFile)
{
    Codec codec;
    codec.CopyInfo(self);
    if (codec.Decode(hFile))
    {
        self.Transfer(codec, true);
        return true;
    }
    self.SetErrorText(codec.GetErrorText());
    self.SetNumFrames(codec.GetNumFrames());
    return false;
}
} // namespace

bool CPixImage::Decode(CPixFile* hFile, DWORD imagetype)
{
    if (!hFile)
    {
        SetErrorText("null file handler");
        return false;
    }
    switch (imagetype)
    {
    case PIXIMAGE_FORMAT_BMP: return DecodeWith<CPixImageBMP>(*this, hFile, true, imagetype);
    case PIXIMAGE_FORMAT_JPG: return DecodeWith<CPixImageJPG>(*this, hFile, true, imagetype);
    case PIXIMAGE_FORMAT_PNG: return DecodeWith<CPixImagePNG>(*this, hFile, true, imagetype);
    case PIXIMAGE_FORMAT_GIF: return DecodeCountingFrames<CPixImageGIF>(*this, hFile);
    case PIXIMAGE_FORMAT_ICO: return DecodeCountingFrames<CPixImageICO>(*this, hFile);
    case PIXIMAGE_FORMAT_UNKNOWN: {
        long pos = hFile->Tell();
        if (DecodeWith<CPixImageBMP>(*this, hFile, false, PIXIMAGE_FORMAT_BMP))
            return true;
        hFile->Seek(pos, SEEK_SET);
        if (DecodeWith<CPixImageJPG>(*this, hFile, false, PIXIMAGE_FORMAT_JPG))
            return true;
        hFile->Seek(pos, SEEK_SET);
        if (DecodeWith<CPixImageICO>(*this, hFile, false, PIXIMAGE_FORMAT_ICO))
            return true;
        hFile->Seek(pos, SEEK_SET);
        if (DecodeWith<CPixImageGIF>(*this, hFile, false, PIXIMAGE_FORMAT_GIF))
            return true;
        hFile->Seek(pos, SEEK_SET);
        if (DecodeWith<CPixImagePNG>(*this, hFile, false, PIXIMAGE_FORMAT_PNG))
            return true;
        hFile->Seek(pos, SEEK_SET);
        SetErrorText(kUnknownFormat);
        return false;
    }
    default: SetErrorText(kUnknownFormat); return false;
    }
}

bool CPixImage::Decode(FILE* hFile, DWORD imagetype)
{
    CPixIOFile file(hFile);
    return Decode(hFile ? &file : nullptr, imagetype);
}

namespace
{
template <class Codec> bool EncodeWith(CPixImage& self, CPixFile* hFile)
{
    Codec codec;
    codec.Ghost(&self);
    bool ok = codec.Encode(hFile);
    if (!ok)
        self.SetErrorText(codec.GetErrorText());
    return ok;
}
} // namespace

bool CPixImage::Encode(CPixFile* hFile, DWORD imagetype)
{
    switch (imagetype)
    {
    case PIXIMAGE_FORMAT_BMP: return EncodeWith<CPixImageBMP>(*this, hFile);
    case PIXIMAGE_FORMAT_GIF: return EncodeWith<CPixImageGIF>(*this, hFile);
    case PIXIMAGE_FORMAT_JPG: return EncodeWith<CPixImageJPG>(*this, hFile);
    case PIXIMAGE_FORMAT_PNG: return EncodeWith<CPixImagePNG>(*this, hFile);
    case PIXIMAGE_FORMAT_ICO: return EncodeWith<CPixImageICO>(*this, hFile);
    default: SetErrorText("Encode: Unknown format"); return false;
    }
}

bool CPixImage::Encode(FILE* hFile, DWORD imagetype)
{
    CPixIOFile file(hFile);
    return Encode(hFile ? &file : nullptr, imagetype);
}

bool CPixImage::CheckEncodeTarget(CPixFile* hFile)
{
    if (!hFile)
    {
        SetErrorText("null file handler");
        return true;
    }
    if (!pDib)
    {
        SetErrorText("null image!!!");
        return true;
    }
    return false;
}

// A file whose bytes did not all reach the disk is a failed save, also when the
// codec itself saw no error: the stream's error flag and its close are checked too.
bool CPixImage::Save(const wchar_t* filename, DWORD imagetype)
{
    FILE* hFile = _wfopen(filename, L"wb");
    if (!hFile)
        return false;
    bool ok = Encode(hFile, imagetype);
    if (ok && (fflush(hFile) != 0 || ferror(hFile)))
    {
        SetErrorText("Write Error");
        ok = false;
    }
    if (fclose(hFile) != 0 && ok)
    {
        SetErrorText("Write Error");
        ok = false;
    }
    return ok;
}

bool CPixImage::Load(const wchar_t* filename, DWORD imagetype)
{
    if (imagetype > 0 && imagetype < PIXIMAGE_MAX_FORMATS)
    {
        FILE* hFile = _wfopen(filename, L"rb");
        if (!hFile)
            return false;
        bool ok = Decode(hFile, imagetype);
        fclose(hFile);
        if (ok)
            return true;
    }
    char szError[256];
    memcpy(szError, info.szLastError, sizeof(szError));
    FILE* hFile = _wfopen(filename, L"rb");
    if (!hFile)
        return false;
    bool ok = Decode(hFile, PIXIMAGE_FORMAT_UNKNOWN);
    fclose(hFile);
    if (!ok && imagetype > 0)
        memcpy(info.szLastError, szError, sizeof(szError));
    return ok;
}

//////////////////////////////////////////////////////////////////////////////
// Accessors

bool CPixImage::SetType(DWORD type)
{
    if (type >= 1 && type <= 5)
    {
        info.dwType = type;
        return true;
    }
    info.dwType = 0;
    return false;
}

BYTE* CPixImage::GetBits(DWORD row)
{
    if (!pDib)
        return nullptr;
    if (row == 0)
        return info.pImage;
    if (row < (DWORD)head.biHeight)
        return info.pImage + row * info.dwEffWidth;
    return nullptr;
}

DWORD CPixImage::GetSize()
{
    return head.biSize + head.biSizeImage + GetPaletteSize();
}

bool CPixImage::IsInside(long x, long y)
{
    return 0 <= y && y < head.biHeight && 0 <= x && x < head.biWidth;
}

void CPixImage::Clear(BYTE bval)
{
    if (!pDib)
        return;
    if (GetBpp() == 1)
    {
        if (bval > 0)
            bval = 255;
    }
    else if (GetBpp() == 4)
    {
        bval = (BYTE)(17 * (0x0F & bval));
    }
    memset(info.pImage, bval, head.biSizeImage);
}

void CPixImage::SetTransIndex(long idx)
{
    if (idx < (long)head.biClrUsed)
        info.nBkgndIndex = idx;
    else
        info.nBkgndIndex = 0;
}

RGBQUAD CPixImage::GetTransColor()
{
    if (head.biBitCount < 24 && info.nBkgndIndex >= 0)
        return GetPaletteColor((BYTE)info.nBkgndIndex);
    return info.nBkgndColor;
}

void CPixImage::SetTransColor(RGBQUAD rgb)
{
    rgb.rgbReserved = 0;
    info.nBkgndColor = rgb;
}

void CPixImage::SetXDPI(long dpi)
{
    if (dpi <= 0)
        dpi = 96;
    info.xDPI = dpi;
    head.biXPelsPerMeter = DpiToPixelsPerMetre(dpi);
    if (pDib)
        ((BITMAPINFOHEADER*)pDib)->biXPelsPerMeter = head.biXPelsPerMeter;
}

void CPixImage::SetYDPI(long dpi)
{
    if (dpi <= 0)
        dpi = 96;
    info.yDPI = dpi;
    head.biYPelsPerMeter = DpiToPixelsPerMetre(dpi);
    if (pDib)
        ((BITMAPINFOHEADER*)pDib)->biYPelsPerMeter = head.biYPelsPerMeter;
}

DWORD CPixImage::GetCodecOption(DWORD imagetype)
{
    if (imagetype >= 1 && imagetype <= 5)
        return info.dwCodecOpt[imagetype];
    return info.dwCodecOpt[info.dwType < PIXIMAGE_MAX_FORMATS ? info.dwType : 0];
}

bool CPixImage::SetCodecOption(DWORD opt, DWORD imagetype)
{
    if (imagetype >= 1 && imagetype <= 5)
        info.dwCodecOpt[imagetype] = opt;
    else
        info.dwCodecOpt[info.dwType < PIXIMAGE_MAX_FORMATS ? info.dwType : 0] = opt;
    return true;
}

CPixImage* CPixImage::GetFrame(long n) const
{
    if (!ppFrames || n < 0 || n >= info.nNumFrames)
        return nullptr;
    return ppFrames[n];
}

WORD CPixImage::ntohs(WORD word)
{
    if (info.bLittleEndianHost)
        return word;
    return (WORD)((word & 0xff) << 8 | (word & 0xff00) >> 8);
}

DWORD CPixImage::ntohl(DWORD dword)
{
    if (info.bLittleEndianHost)
        return dword;
    return ((dword & 0xff) << 24) | ((dword & 0xff00) << 8) | ((dword & 0xff0000) >> 8) | ((dword & 0xff000000) >> 24);
}

void CPixImage::bihtoh(BITMAPINFOHEADER* bih)
{
    bih->biSize = ntohl(bih->biSize);
    bih->biWidth = (LONG)ntohl((DWORD)bih->biWidth);
    bih->biHeight = (LONG)ntohl((DWORD)bih->biHeight);
    bih->biPlanes = ntohs(bih->biPlanes);
    bih->biBitCount = ntohs(bih->biBitCount);
    bih->biCompression = ntohl(bih->biCompression);
    bih->biSizeImage = ntohl(bih->biSizeImage);
    bih->biXPelsPerMeter = (LONG)ntohl((DWORD)bih->biXPelsPerMeter);
    bih->biYPelsPerMeter = (LONG)ntohl((DWORD)bih->biYPelsPerMeter);
    bih->biClrUsed = ntohl(bih->biClrUsed);
    bih->biClrImportant = ntohl(bih->biClrImportant);
}

FloatRect FloatRect::Intersect(const FloatRect& r) const
{
    FloatRect out(left > r.left ? left : r.left, top > r.top ? top : r.top, right < r.right ? right : r.right,
                  bottom < r.bottom ? bottom : r.bottom);
    if (out.left >= out.right || out.top >= out.bottom)
        return FloatRect();
    return out;
}

// The virtual-function tables of the image and the memory file are exported
// with the classes' other symbols (member attributes do not reach them).
__asm__(".section .drectve\n"
        "\t.ascii \" -export:\\\"_ZTV9CPixImage\\\",data\"\n"
        "\t.ascii \" -export:\\\"_ZTV11CPixMemFile\\\",data\"\n"
        "\t.text\n");
