#include "PixImageBMP.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace
{
const char kPrematureEnd[] = "Premature end of file";

DWORD ReadLE32(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

WORD ReadLE16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

// Scales one bit-field channel of a pixel to 8 bits, the field's highest bit on bit 7.
struct Channel
{
    int shift;
    int bits;
    DWORD mask;
    explicit Channel(DWORD m) : shift(0), bits(0), mask(m)
    {
        if (m)
        {
            while (!((m >> shift) & 1))
                shift++;
            for (DWORD v = m >> shift; v; v >>= 1)
                bits += (int)(v & 1);
        }
    }
    BYTE Get(DWORD p) const
    {
        if (!bits)
            return 0;
        DWORD v = (p & mask) >> shift;
        return (BYTE)(bits >= 8 ? v >> (bits - 8) : v << (8 - bits));
    }
};

bool ReadAll(CPixFile* hFile, void* buffer, DWORD bytes)
{
    return hFile->Read(buffer, 1, bytes) == bytes;
}
} // namespace

bool CPixImageBMP::ReadInfoHeader(CPixFile* hFile, BITMAPINFOHEADER* pbih)
{
    BYTE raw[40];
    if (hFile->Read(raw, 40, 1) != 1)
        return false;
    memcpy(pbih, raw, 40);
    bihtoh(pbih);

    DWORD headerSize = pbih->biSize;
    if (headerSize == 12)
    {
        // The core header: 16-bit width and height, no compression, 3-byte palette entries.
        pbih->biWidth = (LONG)ReadLE16(raw + 4);
        pbih->biHeight = (LONG)ReadLE16(raw + 6);
        pbih->biPlanes = ReadLE16(raw + 8);
        pbih->biBitCount = ReadLE16(raw + 10);
        pbih->biCompression = BI_RGB;
        pbih->biSizeImage = 0;
        pbih->biXPelsPerMeter = pbih->biYPelsPerMeter = 0;
        pbih->biClrUsed = pbih->biClrImportant = 0;
        if (!hFile->Seek(-28, SEEK_CUR))
            return false;
    }
    else if (headerSize == 40)
    {
    }
    else if (headerSize == 64)
    {
        if (!hFile->Seek(24, SEEK_CUR))
            return false;
    }
    else
    {
        if (headerSize < 41 || headerSize > 0x10000)
            return false;
        long long need = ((long long)pbih->biBitCount * pbih->biWidth + 31) / 32 * 4 * (long long)abs(pbih->biHeight);
        if ((long long)pbih->biSizeImage < need || pbih->biPlanes != 1 || pbih->biClrUsed != 0)
            return false;
        if (pbih->biCompression == BI_RGB && !hFile->Seek((long)headerSize - 40, SEEK_CUR))
            return false;
    }

    // A width below 1, and rows whose total size does not fit in 32 bits, are refused.
    if (pbih->biWidth <= 0 || pbih->biHeight == 0 || pbih->biHeight == (LONG)0x80000000)
        return false;
    long long rowBytes = ((long long)pbih->biBitCount * pbih->biWidth + 31) / 32 * 4;
    long long total = rowBytes * (long long)abs(pbih->biHeight);
    if (total >= 0x100000000LL)
        return false;
    if (pbih->biSizeImage == 0)
        pbih->biSizeImage = (DWORD)total;
    if (pbih->biClrUsed == 0 && pbih->biBitCount <= 8)
        pbih->biClrUsed = 1u << pbih->biBitCount;
    return true;
}

bool CPixImageBMP::Decode(CPixFile* hFile)
{
    if (!hFile)
        return false;
    const char* message = "";
    BYTE* buff32 = nullptr;
    bool ok = false;

    do
    {
        long start = hFile->Tell();
        BYTE fh[14];
        if (hFile->Read(fh, 14, 1) != 1)
        {
            message = "Not a BMP";
            break;
        }
        DWORD offBits = ReadLE32(fh + 10);
        if (ReadLE16(fh) != 0x4D42)
        {
            // No file header: the information header starts the file.
            offBits = 0;
            hFile->Seek(start, SEEK_SET);
        }

        BITMAPINFOHEADER bih;
        if (!ReadInfoHeader(hFile, &bih))
        {
            message = "Error reading BMP info";
            break;
        }
        bool bIsCore = bih.biSize == 12;
        bool bTopDownDib = bih.biHeight < 0;
        if (bTopDownDib)
            bih.biHeight = -bih.biHeight;
        WORD bpp = bih.biBitCount;
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        {
            message = "Error reading BMP info";
            break;
        }
        if (bpp <= 8 && bih.biClrUsed > (1u << bpp))
        {
            message = "Error reading BMP info";
            break;
        }

        if (info.nEscape == -1)
        {
            head.biWidth = bih.biWidth;
            head.biHeight = bih.biHeight;
            info.dwType = PIXIMAGE_FORMAT_BMP;
            message = "output dimensions returned";
            break;
        }

        if (!FitsDecodeLimit(bih.biWidth, bih.biHeight))
            break;
        if (!Create(bih.biWidth, bih.biHeight, bpp, PIXIMAGE_FORMAT_BMP))
            break;
        SetXDPI((long)floor(bih.biXPelsPerMeter * 254.0 / 10000.0 + 0.5));
        SetYDPI((long)floor(bih.biYPelsPerMeter * 254.0 / 10000.0 + 0.5));

        if (info.nEscape)
        {
            message = "Cancelled";
            break;
        }

        RGBQUAD* pRgb = GetPalette();
        if (pRgb)
        {
            DWORD nColors = bih.biClrUsed ? bih.biClrUsed : (1u << bpp);
            if (bIsCore)
            {
                // 3-byte entries, spread backwards into 4-byte ones.
                if (!ReadAll(hFile, pRgb, nColors * 3))
                {
                    message = kPrematureEnd;
                    break;
                }
                for (long i = (long)nColors - 1; i >= 0; i--)
                {
                    BYTE* src = (BYTE*)pRgb + i * 3;
                    RGBQUAD q;
                    q.rgbBlue = src[0];
                    q.rgbGreen = src[1];
                    q.rgbRed = src[2];
                    q.rgbReserved = 0;
                    pRgb[i] = q;
                }
            }
            else
            {
                if (!ReadAll(hFile, pRgb, nColors * 4))
                {
                    message = kPrematureEnd;
                    break;
                }
                for (DWORD i = 0; i < nColors; i++)
                    pRgb[i].rgbReserved = 0;
            }
            info.last_c_isvalid = false;
        }
        else if (bih.biClrUsed && !offBits && bih.biCompression == BI_RGB)
        {
            // A palette in front of true-colour pixels: without a file header to
            // point at the pixels, step over it.
            hFile->Seek((long)(bih.biClrUsed > 256 ? 256 : bih.biClrUsed) * 4, SEEK_CUR);
        }

        if (info.nEscape)
        {
            message = "Cancelled";
            break;
        }

        DWORD rowBytes = (head.biWidth * (DWORD)bpp + 7) / 8;
        DWORD need = info.dwEffWidth * (head.biHeight - 1) + rowBytes; // the last row may lack its padding
        bool done = true;
        switch (bpp)
        {
        case 32:
        case 16: {
            DWORD bfmask[3];
            if (bih.biCompression == BI_BITFIELDS)
            {
                BYTE m[12];
                if (!ReadAll(hFile, m, 12))
                {
                    message = kPrematureEnd;
                    done = false;
                    break;
                }
                bfmask[0] = ntohl(ReadLE32(m));
                bfmask[1] = ntohl(ReadLE32(m + 4));
                bfmask[2] = ntohl(ReadLE32(m + 8));
            }
            else if (bih.biCompression == BI_RGB)
            {
                bfmask[0] = bpp == 16 ? 0x7C00 : 0xFF0000;
                bfmask[1] = bpp == 16 ? 0x3E0 : 0xFF00;
                bfmask[2] = bpp == 16 ? 0x1F : 0xFF;
            }
            else
            {
                message = "unknown compression";
                done = false;
                break;
            }
            if (offBits)
                hFile->Seek(start + (long)offBits, SEEK_SET);
            if (bpp == 16)
            {
                DWORD srcEff = ((head.biWidth + 1) / 2) * 4;
                DWORD srcSize = srcEff * head.biHeight;
                if (hFile->Read(info.pImage, 1, srcSize) < srcSize - (srcEff - head.biWidth * 2))
                {
                    message = kPrematureEnd;
                    done = false;
                    break;
                }
                BitfieldsToRgb(info.pImage, 16, srcEff, bfmask[0], bfmask[1], bfmask[2]);
            }
            else
            {
                DWORD srcSize = head.biWidth * 4 * head.biHeight;
                buff32 = (BYTE*)malloc(srcSize);
                if (!buff32)
                {
                    message = "can't allocate memory";
                    done = false;
                    break;
                }
                if (!ReadAll(hFile, buff32, srcSize))
                {
                    message = kPrematureEnd;
                    done = false;
                    break;
                }
                if (bih.biCompression == BI_RGB)
                {
                    // The fourth byte of each pixel is its alpha; all zero means an opaque picture.
                    if (!AlphaCreate())
                    {
                        message = "can't allocate memory";
                        done = false;
                        break;
                    }
                    bool bAllZero = true;
                    long n = head.biWidth * head.biHeight;
                    for (long i = 0; i < n; i++)
                    {
                        pAlpha[i] = buff32[i * 4 + 3];
                        bAllZero &= pAlpha[i] == 0;
                    }
                    if (bAllZero)
                        AlphaInvert();
                }
                BitfieldsToRgb(buff32, 32, head.biWidth * 4, bfmask[0], bfmask[1], bfmask[2]);
            }
            break;
        }
        case 24:
            if (bih.biCompression != BI_RGB)
            {
                message = "unknown compression";
                done = false;
                break;
            }
            if (offBits)
                hFile->Seek(start + (long)offBits, SEEK_SET);
            if (hFile->Read(info.pImage, 1, head.biSizeImage) < need)
            {
                message = kPrematureEnd;
                done = false;
            }
            break;
        default: // 1, 4 and 8 bits
            if (offBits)
                hFile->Seek(start + (long)offBits, SEEK_SET);
            switch (bih.biCompression)
            {
            case BI_RGB:
                if (hFile->Read(info.pImage, 1, head.biSizeImage) < need)
                {
                    message = kPrematureEnd;
                    done = false;
                }
                break;
            case BI_RLE8:
                done = bpp == 8 && DecodeRle8(hFile);
                if (!done)
                    message = bpp == 8 ? kPrematureEnd : "compression type not supported";
                break;
            case BI_RLE4:
                done = bpp == 4 && DecodeRle4(hFile);
                if (!done)
                    message = bpp == 4 ? kPrematureEnd : "compression type not supported";
                break;
            default: message = "compression type not supported"; done = false;
            }
        }
        if (!done)
            break;

        if (bTopDownDib)
            Flip(false, true);
        ok = true;
    } while (false);

    free(buff32);
    if (!ok)
    {
        if (*message)
            SetErrorText(message);
        if (info.nEscape == -1 && info.dwType == PIXIMAGE_FORMAT_BMP)
            return true;
    }
    return ok;
}

// RLE8: runs of byte pairs row by row from the bottom row. Runs, literals and
// deltas that lead outside the bitmap are clipped: nothing is written outside it.
bool CPixImageBMP::DecodeRle8(CPixFile* hFile)
{
    Clear(0);
    long width = (long)info.dwEffWidth;
    long height = head.biHeight;
    long x = 0, y = 0;
    for (;;)
    {
        long n = hFile->GetC();
        long v = hFile->GetC();
        if (n < 0 || v < 0)
            return false;
        if (n > 0)
        {
            if (y < height)
            {
                BYTE* row = info.pImage + y * width;
                for (long i = 0; i < n && x < width; i++)
                    row[x++] = (BYTE)v;
            }
            continue;
        }
        switch (v)
        {
        case 0: // end of line
            x = 0;
            y++;
            break;
        case 1: // end of bitmap
            return true;
        case 2: { // delta
            long dx = hFile->GetC();
            long dy = hFile->GetC();
            if (dx < 0 || dy < 0)
                return false;
            x += dx;
            y += dy;
            break;
        }
        default: { // literal run, padded to an even length
            BYTE lit[256];
            long len = v + (v & 1);
            if ((long)hFile->Read(lit, 1, len) != len)
                return false;
            if (y < height)
            {
                BYTE* row = info.pImage + y * width;
                for (long i = 0; i < v && x < width; i++)
                    row[x++] = lit[i];
            }
            else
            {
                x += v;
            }
            break;
        }
        }
    }
}

// RLE4: like RLE8 with two 4-bit pixels a byte, the left one in the high nibble.
bool CPixImageBMP::DecodeRle4(CPixFile* hFile)
{
    Clear(0);
    long width = head.biWidth;
    long height = head.biHeight;
    long x = 0, y = 0; // x counts pixels
    auto put = [&](BYTE idx) {
        if (x < width && y < height)
            SetPixelIndexRaw(x, y, idx);
        x++;
    };
    for (;;)
    {
        long n = hFile->GetC();
        long v = hFile->GetC();
        if (n < 0 || v < 0)
            return false;
        if (n > 0)
        {
            for (long i = 0; i < n && x < width; i++)
                put((BYTE)((i & 1) ? (v & 0x0F) : (v >> 4)));
            continue;
        }
        switch (v)
        {
        case 0:
            x = 0;
            y++;
            break;
        case 1: return true;
        case 2: {
            long dx = hFile->GetC();
            long dy = hFile->GetC();
            if (dx < 0 || dy < 0)
                return false;
            x += dx;
            y += dy;
            break;
        }
        default: {
            BYTE lit[256];
            long bytes = (v + 1) / 2;
            if (((v + 1) & 2) != 0)
                bytes++;
            if ((long)hFile->Read(lit, 1, bytes) != bytes)
                return false;
            for (long i = 0; i < v; i++)
            {
                BYTE b = lit[i / 2];
                if (x < width)
                    put((BYTE)((i & 1) ? (b & 0x0F) : (b >> 4)));
                else
                    x++;
            }
            break;
        }
        }
    }
}

// Converts 16- or 32-bit bit-field pixels to the image's 24-bit rows, from the
// last pixel of the top row backwards so that the conversion can work in place.
void CPixImageBMP::BitfieldsToRgb(const BYTE* src, DWORD bpp, DWORD srcEffWidth, DWORD redmask, DWORD greenmask,
                                  DWORD bluemask)
{
    Channel r(redmask), g(greenmask), b(bluemask);
    long width = head.biWidth;
    for (long y = head.biHeight - 1; y >= 0; y--)
    {
        const BYTE* s = src + y * srcEffWidth;
        BYTE* d = info.pImage + y * info.dwEffWidth;
        for (long x = width - 1; x >= 0; x--)
        {
            DWORD p = bpp == 16 ? (DWORD)ReadLE16(s + x * 2) : ReadLE32(s + x * 4);
            d[x * 3] = b.Get(p);
            d[x * 3 + 1] = g.Get(p);
            d[x * 3 + 2] = r.Get(p);
        }
    }
}

bool CPixImageBMP::Encode(CPixFile* hFile)
{
    if (CheckEncodeTarget(hFile))
        return false;

    bool ok = true;
    auto put = [&](const void* data, DWORD bytes) {
        if (ok && hFile->Write(data, 1, bytes) != bytes)
            ok = false;
    };
    auto putLE = [&](BYTE* out, DWORD v, int bytes) {
        for (int i = 0; i < bytes; i++)
            out[i] = (BYTE)(v >> (8 * i));
    };
    BYTE fh[14];
    if (GetNumColors() != 0 || !AlphaIsValid())
    {
        putLE(fh, 0x4D42, 2);
        putLE(fh + 2, ntohl(GetSize() + 14), 4);
        putLE(fh + 6, 0, 4);
        putLE(fh + 10, ntohl(14 + head.biSize + GetPaletteSize()), 4);
        put(fh, 14);
        memcpy(pDib, &head, sizeof(BITMAPINFOHEADER));
        bihtoh((BITMAPINFOHEADER*)pDib);
        put(pDib, GetSize());
        bihtoh((BITMAPINFOHEADER*)pDib);
    }
    else
    {
        // 24 bits with an alpha plane: 32-bit pixels whose fourth byte is the alpha.
        BITMAPINFOHEADER bi = head;
        bi.biBitCount = 32;
        bi.biCompression = BI_RGB;
        bi.biClrUsed = 0;
        bi.biSizeImage = head.biWidth * 4 * head.biHeight;
        putLE(fh, 0x4D42, 2);
        putLE(fh + 2, bi.biSizeImage + bi.biSize + 14, 4);
        putLE(fh + 6, 0, 4);
        putLE(fh + 10, 54, 4);
        put(fh, 14);
        bihtoh(&bi);
        put(&bi, sizeof(bi));
        BYTE* row = (BYTE*)malloc(head.biWidth * 4);
        if (!row)
        {
            SetErrorText("can't allocate memory");
            return false;
        }
        for (long y = 0; y < head.biHeight; y++)
        {
            const BYTE* src = info.pImage + y * info.dwEffWidth;
            for (long x = 0; x < head.biWidth; x++)
            {
                row[x * 4] = src[x * 3];
                row[x * 4 + 1] = src[x * 3 + 1];
                row[x * 4 + 2] = src[x * 3 + 2];
                row[x * 4 + 3] = AlphaGetRaw(x, y);
            }
            put(row, head.biWidth * 4);
        }
        free(row);
    }
    if (!ok)
        SetErrorText("Write Error");
    return ok;
}
