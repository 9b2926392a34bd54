#include "PixImageICO.h"
#include "PixMemFile.h"
#include "PixImagePNG.h"
#include <stdlib.h>
#include <string.h>

namespace
{
struct IconDirEntry
{
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    DWORD dwImageOffset;
};

WORD LE16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

DWORD LE32(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

void PutLE16(BYTE* p, WORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
}

void PutLE32(BYTE* p, DWORD v)
{
    for (int i = 0; i < 4; i++)
        p[i] = (BYTE)(v >> (8 * i));
}
} // namespace

bool CPixImageICO::Decode(CPixFile* hFile)
{
    if (!hFile)
        return false;
    long start = hFile->Tell();
    long page = info.nFrame;

    BYTE dir[6];
    if (hFile->Read(dir, 6, 1) != 1)
    {
        SetErrorText("Not an icon file");
        return false;
    }
    WORD reserved = ntohs(LE16(dir)), type = ntohs(LE16(dir + 2)), count = ntohs(LE16(dir + 4));
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
    {
        SetErrorText("Not an icon file");
        return false;
    }
    info.nNumFrames = count;
    IconDirEntry* entries = (IconDirEntry*)malloc(count * sizeof(IconDirEntry));
    if (!entries)
        return false;
    for (int i = 0; i < count; i++)
    {
        BYTE e[16];
        if (hFile->Read(e, 16, 1) != 1)
        {
            free(entries);
            SetErrorText("Premature end of file");
            return false;
        }
        entries[i].bWidth = e[0];
        entries[i].bHeight = e[1];
        entries[i].bColorCount = e[2];
        entries[i].bReserved = e[3];
        entries[i].wPlanes = ntohs(LE16(e + 4));
        entries[i].wBitCount = ntohs(LE16(e + 6));
        entries[i].dwBytesInRes = ntohl(LE32(e + 8));
        entries[i].dwImageOffset = ntohl(LE32(e + 12));
    }
    if (page < 0 || page >= count)
    {
        free(entries);
        SetErrorText("frame index out of range");
        return false;
    }
    IconDirEntry entry = entries[page];
    free(entries);

    bool isPng = entry.bWidth == 0 && entry.bHeight == 0;
    if (info.nEscape == -1)
    {
        head.biWidth = entry.bWidth;
        head.biHeight = entry.bHeight;
        if (isPng)
        {
            hFile->Seek(start + (long)entry.dwImageOffset, SEEK_SET);
            CPixImagePNG png;
            png.SetEscape(-1);
            if (png.Decode(hFile))
            {
                Transfer(png);
                info.nNumFrames = count;
            }
        }
        info.dwType = PIXIMAGE_FORMAT_ICO;
        SetEscape(-1);
        return true;
    }

    if (!hFile->Seek(start + (long)entry.dwImageOffset, SEEK_SET))
    {
        SetErrorText("Premature end of file");
        return false;
    }
    if (isPng)
    {
        CPixImage png;
        if (png.Decode(hFile, PIXIMAGE_FORMAT_PNG))
        {
            Transfer(png);
            info.nNumFrames = count;
        }
        else
        {
            // An entry that cannot be read is reported, not passed off as a picture.
            SetErrorText(png.GetErrorText());
            info.nNumFrames = count;
            return false;
        }
        info.dwType = PIXIMAGE_FORMAT_ICO;
        return true;
    }
    bool ok = DecodeBitmapEntry(hFile, entry.bWidth, entry.bHeight);
    info.nNumFrames = count;
    return ok;
}

bool CPixImageICO::DecodeBitmapEntry(CPixFile* hFile, int entryWidth, int entryHeight)
{
    BYTE raw[40];
    if (hFile->Read(raw, 40, 1) != 1)
    {
        SetErrorText("Premature end of file");
        return false;
    }
    BITMAPINFOHEADER bih;
    memcpy(&bih, raw, 40);
    bihtoh(&bih);
    WORD bpp = bih.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
    {
        // Depths the image cannot hold as rows of its own (16 bits and others).
        SetErrorText("Unsupported icon bit depth");
        return false;
    }
    // Palettes above 256 entries, or above what the depth can index, are refused.
    if (bih.biClrUsed > 256 || (bpp <= 8 && bih.biClrUsed > (1u << bpp)))
    {
        SetErrorText("Invalid icon palette");
        return false;
    }
    if (!FitsDecodeLimit(entryWidth, entryHeight) || !Create(entryWidth, entryHeight, bpp, PIXIMAGE_FORMAT_ICO))
        return false;

    long w = head.biWidth, h = head.biHeight;
    if (head.biClrUsed)
    {
        DWORD n = bih.biClrUsed ? bih.biClrUsed : head.biClrUsed;
        RGBQUAD pal[256];
        if (hFile->Read(pal, 4, n) != n)
        {
            SetErrorText("Premature end of file");
            return false;
        }
        SetPalette(pal, n);
    }

    if (bpp > 24)
    {
        DWORD size = (DWORD)w * h * 4;
        BYTE* buf = (BYTE*)malloc(size);
        if (!buf || !AlphaCreate())
        {
            free(buf);
            SetErrorText("can't allocate memory");
            return false;
        }
        if (hFile->Read(buf, 1, size) != size)
        {
            free(buf);
            SetErrorText("Premature end of file");
            return false;
        }
        for (long y = 0; y < h; y++)
        {
            BYTE* dst = GetBits(y);
            const BYTE* src = buf + y * w * 4;
            for (long x = 0; x < w; x++)
            {
                dst[x * 3] = src[x * 4];
                dst[x * 3 + 1] = src[x * 4 + 1];
                dst[x * 3 + 2] = src[x * 4 + 2];
                AlphaSet(x, y, src[x * 4 + 3]);
            }
        }
        free(buf);
    }
    else if (hFile->Read(info.pImage, head.biSizeImage, 1) != 1)
    {
        SetErrorText("Premature end of file");
        return false;
    }

    // A mask cut short is a damaged file, not an opaque icon.
    DWORD maskSize = ((w + 31) / 32) * 4 * h;
    BYTE* mask = (BYTE*)malloc(maskSize);
    if (!mask)
        return true;
    bool ok = hFile->Read(mask, maskSize, 1) == 1;
    if (ok)
        ApplyMask(mask);
    else
        SetErrorText("Premature end of file");
    free(mask);
    return ok;
}

// Turns the AND mask (1 = transparent) into an alpha plane, a transparent colour
// or a transparent palette index.
void CPixImageICO::ApplyMask(const BYTE* mask)
{
    long w = head.biWidth, h = head.biHeight;
    DWORD maskEff = ((w + 31) / 32) * 4;
    DWORD maskSize = maskEff * h;
    bool allMasked = true;
    for (DWORD i = 0; i < maskSize && allMasked; i++)
        allMasked = mask[i] == 255;
    if (allMasked)
    {
        info.nBkgndIndex = 0;
        Negative();
        return;
    }
    auto masked = [&](long x, long y) { return ((mask[y * maskEff + (x >> 3)] >> (7 - (x & 7))) & 1) != 0; };

    bool createdHere = !pAlpha;
    if (!AlphaCreate())
        return;
    long nMasked = 0;
    bool sameColour = true;
    RGBQUAD first = {0, 0, 0, 0};
    long firstX = -1, firstY = -1;
    for (long y = 0; y < h; y++)
    {
        for (long x = 0; x < w; x++)
        {
            if (!masked(x, y))
                continue;
            AlphaSet(x, y, 0);
            RGBQUAD c = GetPixelColor(x, y, false);
            if (nMasked == 0)
            {
                first = c;
                firstX = x;
                firstY = y;
            }
            else if (c.rgbBlue != first.rgbBlue || c.rgbGreen != first.rgbGreen || c.rgbRed != first.rgbRed)
            {
                sameColour = false;
            }
            nMasked++;
        }
    }
    if (nMasked == 0)
    {
        if (createdHere)
            AlphaDelete();
        return;
    }
    if (sameColour)
    {
        SetTransColor(first);
        info.nBkgndIndex = head.biClrUsed ? GetPixelIndex(firstX, firstY) : 0;
        AlphaDelete();
        return;
    }
    if (head.biBitCount <= 8)
    {
        bool used[256] = {false};
        for (long y = 0; y < h; y++)
            for (long x = 0; x < w; x++)
                used[GetPixelIndexRaw(x, y)] = true;
        long freeIndex = -1;
        for (long i = (long)head.biClrUsed - 1; i >= 0; i--)
        {
            if (!used[i])
            {
                freeIndex = i;
                break;
            }
        }
        if (freeIndex >= 0)
        {
            for (long y = 0; y < h; y++)
                for (long x = 0; x < w; x++)
                    if (masked(x, y))
                        SetPixelIndexRaw(x, y, (BYTE)freeIndex);
            info.nBkgndIndex = freeIndex;
            AlphaDelete();
        }
    }
}

bool CPixImageICO::Encode(CPixFile* hFile, bool bAppend, int nPageCount)
{
    if (CheckEncodeTarget(hFile))
        return false;
    if (head.biBitCount <= 8 && head.biClrUsed == 0)
        return false;

    bool ok = true;
    auto put = [&](const void* data, DWORD bytes) {
        if (ok && bytes && hFile->Write(data, 1, bytes) != bytes)
            ok = false;
    };

    long w = head.biWidth, h = head.biHeight;
    bool bAlpha32 = head.biBitCount == 24 && pAlpha;
    DWORD xorSize = bAlpha32 ? (DWORD)w * 4 * h : head.biSizeImage;
    WORD bitCount = bAlpha32 ? 32 : head.biBitCount;
    DWORD maskEff = ((w + 31) / 32) * 4;
    DWORD maskSize = maskEff * h;

    BYTE dirHeader[6];
    PutLE16(dirHeader, 0);
    PutLE16(dirHeader + 2, ntohs(1));
    WORD count = (WORD)(nPageCount > 0 ? nPageCount : 1);
    PutLE16(dirHeader + 4, ntohs(count));

    if (!bAppend && nPageCount > 0)
    {
        m_dwImageOffset = 6 + 16 * count;
        put(dirHeader, 6);
        return ok;
    }

    BYTE entry[16];
    entry[0] = (BYTE)w;
    entry[1] = (BYTE)h;
    entry[2] = (BYTE)head.biClrUsed;
    entry[3] = 0;
    PutLE16(entry + 4, 0);
    PutLE16(entry + 6, ntohs(bitCount));
    DWORD dataSize = xorSize + GetPaletteSize() + maskSize + sizeof(BITMAPINFOHEADER);

    // Pictures above 255 pixels are stored as a PNG entry.
    CPixMemFile pngFile;
    bool bPng = w > 255 || h > 255;
    if (bPng)
    {
        CPixImage copy(*this, true, true, true);
        if (!pngFile.Open() || !copy.Encode(&pngFile, PIXIMAGE_FORMAT_PNG))
        {
            SetErrorText(copy.GetErrorText()[0] ? copy.GetErrorText() : "can't allocate memory");
            return false;
        }
        entry[0] = entry[1] = 0;
        dataSize = (DWORD)pngFile.Size();
    }
    if (!bAppend)
        m_dwImageOffset = 6 + 16 * count;
    PutLE32(entry + 8, ntohl(dataSize));
    PutLE32(entry + 12, ntohl(m_dwImageOffset));

    bool writeHeader = !bAppend;
    bool writeEntry = !bAppend || nPageCount == info.nNumFrames;
    bool writeData = !bAppend || nPageCount < info.nNumFrames;
    if (bAppend && nPageCount != info.nNumFrames && nPageCount >= info.nNumFrames)
        return true;
    if (writeHeader)
        put(dirHeader, 6);
    if (writeEntry)
    {
        put(entry, 16);
        m_dwImageOffset += dataSize;
    }
    if (!writeData)
        return ok;

    if (bPng)
    {
        put(pngFile.GetBuffer(false), dataSize);
    }
    else
    {
        BYTE bi[40];
        memset(bi, 0, sizeof(bi));
        PutLE32(bi, 40);
        PutLE32(bi + 4, w);
        PutLE32(bi + 8, h * 2);
        PutLE16(bi + 12, 1);
        PutLE16(bi + 14, bitCount);
        PutLE32(bi + 20, xorSize);
        put(bi, 40);

        if (head.biClrUsed)
        {
            // The transparent entry goes out as black with alpha 0.
            RGBQUAD pal[256];
            memcpy(pal, GetPalette(), GetPaletteSize());
            if (info.nBkgndIndex >= 0 && info.nBkgndIndex < (long)head.biClrUsed)
            {
                RGBQUAD black = {0, 0, 0, 0};
                pal[info.nBkgndIndex] = black;
            }
            put(pal, GetPaletteSize());
        }
        if (bAlpha32)
        {
            BYTE* row = (BYTE*)malloc(w * 4);
            if (!row)
                return false;
            for (long y = 0; y < h; y++)
            {
                const BYTE* src = GetBits(y);
                for (long x = 0; x < w; x++)
                {
                    row[x * 4] = src[x * 3];
                    row[x * 4 + 1] = src[x * 3 + 1];
                    row[x * 4 + 2] = src[x * 3 + 2];
                    row[x * 4 + 3] = AlphaGetRaw(x, y);
                }
                put(row, w * 4);
            }
            free(row);
        }
        else
        {
            put(info.pImage, head.biSizeImage);
        }

        BYTE* mask = (BYTE*)calloc(maskSize, 1);
        if (!mask)
            return false;
        RGBQUAD tc = GetTransColor();
        for (long y = 0; y < h; y++)
        {
            for (long x = 0; x < w; x++)
            {
                bool transparent = false;
                if (pAlpha && AlphaGetRaw(x, y) == 0)
                    transparent = true;
                else if (info.bAlphaPaletteEnabled && head.biClrUsed &&
                         GetPaletteColor(GetPixelIndexRaw(x, y)).rgbReserved == 0)
                    transparent = true;
                else if (info.nBkgndIndex >= 0)
                {
                    RGBQUAD c = GetPixelColor(x, y, false);
                    transparent = c.rgbBlue == tc.rgbBlue && c.rgbGreen == tc.rgbGreen && c.rgbRed == tc.rgbRed;
                }
                if (transparent)
                    mask[y * maskEff + (x >> 3)] |= (BYTE)(0x80 >> (x & 7));
            }
        }
        put(mask, maskSize);
        free(mask);
    }
    if (!ok)
        SetErrorText("Write Error");
    return ok;
}
