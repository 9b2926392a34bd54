// Writing side of CPixImageGIF: single pictures, animations and true-colour
// pictures cut into tiles, with an LZW or a plain code stream.
#include "PixImageGIF.h"
#include <stdlib.h>
#include <string.h>

namespace
{
const int kMaxBits = 12;
const int kMaxMaxCode = 1 << kMaxBits;

inline int MaxCode(int n_bits)
{
    return (1 << n_bits) - 1;
}

} // namespace

void CPixImageGIF::Put(const void* data, DWORD bytes)
{
    if (bytes && (!g_outfile || g_outfile->Write(data, 1, bytes) != bytes))
        m_writeError = true;
}

void CPixImageGIF::PutByte(int c)
{
    BYTE b = (BYTE)c;
    Put(&b, 1);
}

void CPixImageGIF::PutWord(int w)
{
    PutByte(w & 0xFF);
    PutByte((w >> 8) & 0xFF);
}

bool CPixImageGIF::Encode(CPixFile* fp)
{
    if (CheckEncodeTarget(fp))
        return false;
    m_writeError = false;
    g_outfile = fp;
    if (head.biBitCount > 8)
        return EncodeRGB(fp);
    if (GetNumFrames() > 1 && ppFrames)
        return Encode(fp, ppFrames, GetNumFrames(), false, false);

    EncodeHeader(fp);
    EncodeExtension(fp);
    EncodeComment(fp);
    bool ok = EncodeBody(fp, false);
    PutByte(';');
    if (!ok || m_writeError || fp->Error() > 0)
    {
        SetErrorText("Write Error in GIF file");
        return false;
    }
    return true;
}

bool CPixImageGIF::Encode(CPixFile* fp, CPixImage** pImages, int pagecount, bool bLocalColorMap, bool bLocalDispMeth)
{
    g_outfile = fp;
    if (!fp)
    {
        SetErrorText("invalid file pointer");
        return false;
    }
    if (!pImages || pagecount <= 0 || !pImages[0])
    {
        SetErrorText("multipage GIF, no images!");
        return false;
    }
    for (int i = 0; i < pagecount; i++)
    {
        if (!pImages[i])
        {
            SetErrorText("Bad image pointer");
            return false;
        }
        if (!pImages[i]->IsValid())
        {
            SetErrorText("Empty image");
            return false;
        }
        if (pImages[i]->GetNumColors() == 0)
        {
            SetErrorText("CPixImageGIF::Encode cannot create animated GIFs with a true color frame. Use "
                         "DecreaseBpp before");
            return false;
        }
    }

    CPixImageGIF ghost;
    ghost.g_outfile = fp;
    ghost.Ghost(pImages[0]);
    ghost.EncodeHeader(fp);
    if (m_loops != 1)
    {
        ghost.SetLoops(m_loops > 1 ? m_loops - 1 : 0);
        ghost.EncodeLoopExtension(fp);
    }
    bool ok = true;
    for (int i = 0; i < pagecount; i++)
    {
        ghost.Ghost(pImages[i]);
        if (!bLocalDispMeth)
            ghost.SetDisposalMethod(GetDisposalMethod());
        ghost.EncodeExtension(fp);
        if (i == 0)
        {
            ghost.SetComment(m_comment);
            ghost.EncodeComment(fp);
        }
        ok &= ghost.EncodeBody(fp, i > 0 && bLocalColorMap);
    }
    PutByte(';');
    if (!ok || ghost.m_writeError || fp->Error() > 0)
    {
        SetErrorText("Write Error in GIF file");
        return false;
    }
    return true;
}

// The palette as a GIF colour table: red, green, blue of every entry.
void CPixImageGIF::PutColorTable()
{
    RGBQUAD* pal = GetPalette();
    BYTE rgb[768];
    for (DWORD i = 0; i < head.biClrUsed && i < 256; i++)
    {
        rgb[i * 3] = pal[i].rgbRed;
        rgb[i * 3 + 1] = pal[i].rgbGreen;
        rgb[i * 3 + 2] = pal[i].rgbBlue;
    }
    Put(rgb, head.biClrUsed * 3);
}

void CPixImageGIF::EncodeHeader(CPixFile* fp)
{
    g_outfile = fp;
    Put("GIF89a", 6);
    PutWord(head.biWidth);
    PutWord(head.biHeight);
    BYTE flags;
    if (head.biClrUsed != 0)
        flags = (BYTE)(0x80 | ((head.biBitCount - 1) << 5) | (head.biBitCount - 1));
    else
        flags = 0x11;
    PutByte(flags);
    PutByte(0); // background colour index
    PutByte(0); // aspect ratio
    if (head.biClrUsed != 0)
        PutColorTable();
}

void CPixImageGIF::EncodeExtension(CPixFile* fp)
{
    BYTE ext[8];
    ext[0] = '!';
    ext[1] = 0xF9;
    ext[2] = 4;
    ext[3] = (BYTE)((info.nBkgndIndex != -1 ? 1 : 0) | ((info.dispmeth & 7) << 2));
    ext[4] = (BYTE)(info.dwFrameDelay & 0xFF);
    ext[5] = (BYTE)((info.dwFrameDelay >> 8) & 0xFF);
    ext[6] = (BYTE)info.nBkgndIndex;
    ext[7] = 0;
    g_outfile = fp;
    Put(ext, 8);
}

void CPixImageGIF::EncodeLoopExtension(CPixFile* fp)
{
    g_outfile = fp;
    BYTE ext[19] = {'!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    ext[16] = (BYTE)(m_loops & 0xFF);
    ext[17] = (BYTE)((m_loops >> 8) & 0xFF);
    Put(ext, 19);
}

void CPixImageGIF::EncodeComment(CPixFile* fp)
{
    size_t n = strlen(m_comment);
    if (n == 0)
        return;
    if (n > 255)
        n = 255;
    g_outfile = fp;
    PutByte('!');
    PutByte(0xFE);
    PutByte((unsigned char)n);
    Put(m_comment, (DWORD)n);
    PutByte(0);
}

int CPixImageGIF::GifNextPixel()
{
    if (CountDown == 0)
        return -1;
    --CountDown;
    int r = GetPixelIndex(curx, cury);
    ++curx;
    if (curx == head.biWidth)
    {
        curx = 0;
        cury--;
    }
    return r;
}

bool CPixImageGIF::EncodeBody(CPixFile* fp, bool bLocalColorMap)
{
    g_outfile = fp;
    curx = 0;
    cury = head.biHeight - 1;
    CountDown = (long)head.biWidth * (long)head.biHeight;

    PutByte(',');
    PutWord(info.xOffset);
    PutWord(info.yOffset);
    PutWord(head.biWidth);
    PutWord(head.biHeight);
    BYTE flags = 0;
    if (bLocalColorMap)
        flags = (BYTE)(0x80 | (head.biBitCount - 1));
    PutByte(flags);
    if (bLocalColorMap)
        PutColorTable();

    int InitCodeSize = head.biBitCount <= 1 ? 2 : head.biBitCount;
    PutByte((unsigned char)InitCodeSize);
    switch (GetCodecOption(PIXIMAGE_FORMAT_GIF))
    {
    case 1: CompressNone(InitCodeSize + 1, fp); break;
    case 2: CompressRLE(InitCodeSize + 1, fp); break;
    default: CompressLZW(InitCodeSize + 1, fp); break;
    }
    PutByte(0);
    return !m_writeError;
}

bool CPixImageGIF::EncodeRGB(CPixFile* fp)
{
    g_outfile = fp;
    EncodeHeader(fp);
    EncodeComment(fp);

    const long tileW = 17, tileH = 15;
    long w = head.biWidth, h = head.biHeight;
    CPixImageGIF tile;
    tile.g_outfile = fp;
    RGBQUAD transColor = GetTransColor();
    bool transparent = info.nBkgndIndex >= 0;
    for (long y0 = 0; y0 < h; y0 += tileH)
    {
        long th = h - y0 < tileH ? h - y0 : tileH;
        for (long x0 = 0; x0 < w; x0 += tileW)
        {
            long tw = w - x0 < tileW ? w - x0 : tileW;
            if (!tile.IsValid() || (long)tile.GetWidth() != tw || (long)tile.GetHeight() != th)
            {
                if (!tile.Create(tw, th, 8, PIXIMAGE_FORMAT_GIF))
                {
                    SetErrorText(tile.GetErrorText());
                    return false;
                }
            }
            tile.SetClrImportant(0);
            if (transparent)
            {
                tile.SetTransIndex(0);
                tile.SetPaletteColor(0, transColor);
            }
            else
            {
                tile.info.nBkgndIndex = -1;
            }
            // Tile row j counts from the tile's bottom line.
            for (long j = 0; j < th; j++)
            {
                long sy = h - 1 - (y0 + th - 1 - j);
                for (long k = 0; k < tw; k++)
                {
                    RGBQUAD c = GetPixelColor(x0 + k, sy, false);
                    c.rgbReserved = 0;
                    tile.SetPaletteColor((BYTE)(1 + k + tileW * j), c);
                    tile.SetPixelIndexRaw(k, j, tile.GetNearestIndex(c));
                }
            }
            tile.SetOffset(x0, y0);
            tile.EncodeExtension(fp);
            tile.EncodeBody(fp, true);
        }
    }
    PutByte(';');
    if (m_writeError || tile.m_writeError || fp->Error() > 0)
    {
        SetErrorText("Write Error in GIF file");
        return false;
    }
    return true;
}

void CPixImageGIF::ClearHash(long hsize)
{
    for (long i = 0; i < hsize; i++)
        htab[i] = -1;
}

void CPixImageGIF::ClearBlock()
{
    ClearHash(HSIZE);
    free_ent = ClearCode + 2;
    clear_flg = 1;
    Output(ClearCode);
}

// The state every code generator starts from: widths, clear and end codes, empty output.
void CPixImageGIF::StartCodes(int init_bits, CPixFile* outfile)
{
    g_outfile = outfile;
    g_init_bits = init_bits;
    clear_flg = 0;
    n_bits = g_init_bits;
    maxcode = MaxCode(n_bits);
    ClearCode = 1 << (init_bits - 1);
    EOFCode = ClearCode + 1;
    free_ent = ClearCode + 2;
    a_count = 0;
    cur_accum = 0;
    cur_bits = 0;
}

void CPixImageGIF::CompressLZW(int init_bits, CPixFile* outfile)
{
    StartCodes(init_bits, outfile);

    long ent = GifNextPixel();
    int hshift = 0;
    for (long fcode = HSIZE; fcode < 65536L; fcode *= 2L)
        ++hshift;
    hshift = 8 - hshift;
    ClearHash(HSIZE);
    Output(ClearCode);

    int c;
    while ((c = GifNextPixel()) != -1)
    {
        long fcode = ((long)c << kMaxBits) + ent;
        long i = ((long)c << hshift) ^ ent;
        if (htab[i] == fcode)
        {
            ent = codetab[i];
            continue;
        }
        if (htab[i] >= 0)
        {
            long disp = HSIZE - i;
            if (i == 0)
                disp = 1;
            bool found = false;
            do
            {
                if ((i -= disp) < 0)
                    i += HSIZE;
                if (htab[i] == fcode)
                {
                    ent = codetab[i];
                    found = true;
                    break;
                }
            } while (htab[i] > 0);
            if (found)
                continue;
        }
        Output((int)ent);
        ent = c;
        if (free_ent < kMaxMaxCode)
        {
            codetab[i] = (unsigned short)free_ent++;
            htab[i] = fcode;
        }
        else
        {
            ClearBlock();
        }
    }
    Output((int)ent);
    Output(EOFCode);
}

// Every pixel a code of its own; a clear code before the table would fill.
void CPixImageGIF::CompressNone(int init_bits, CPixFile* outfile)
{
    StartCodes(init_bits, outfile);
    Output(ClearCode);
    int c;
    while ((c = GifNextPixel()) != -1)
    {
        Output(c);
        if (free_ent < kMaxMaxCode)
        {
            free_ent++;
        }
        else
        {
            free_ent = ClearCode + 2;
            clear_flg = 1;
            Output(ClearCode);
        }
    }
    Output(EOFCode);
}

void CPixImageGIF::Output(int code)
{
    static const unsigned long masks[] = {0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F, 0x007F, 0x00FF,
                                          0x01FF, 0x03FF, 0x07FF, 0x0FFF, 0x1FFF, 0x3FFF, 0x7FFF, 0xFFFF};
    cur_accum &= masks[cur_bits];
    if (cur_bits > 0)
        cur_accum |= ((long)code << cur_bits);
    else
        cur_accum = code;
    cur_bits += n_bits;
    while (cur_bits >= 8)
    {
        CharOut((unsigned int)(cur_accum & 0xFF));
        cur_accum >>= 8;
        cur_bits -= 8;
    }
    if (free_ent > maxcode || clear_flg)
    {
        if (clear_flg)
        {
            maxcode = MaxCode(n_bits = g_init_bits);
            clear_flg = 0;
        }
        else
        {
            ++n_bits;
            if (n_bits == kMaxBits)
                maxcode = kMaxMaxCode;
            else
                maxcode = MaxCode(n_bits);
        }
    }
    if (code == EOFCode)
    {
        while (cur_bits > 0)
        {
            CharOut((unsigned int)(cur_accum & 0xFF));
            cur_accum >>= 8;
            cur_bits -= 8;
        }
        FlushChar();
        if (g_outfile)
        {
            g_outfile->Flush();
            if (g_outfile->Error() > 0)
                m_writeError = true;
        }
    }
}

void CPixImageGIF::CharOut(int c)
{
    accum[a_count++] = (BYTE)c;
    if (a_count >= 254)
        FlushChar();
}

void CPixImageGIF::FlushChar()
{
    if (a_count > 0)
    {
        BYTE n = (BYTE)a_count;
        Put(&n, 1);
        Put(accum, a_count);
        a_count = 0;
    }
}

// Run-length codes: short runs as plain pixel codes; a longer run after a clear
// code as the codes of growing runs of its pixel (each code names the entry the
// decoder is about to make, one pixel longer than the last), then the code of an
// entry as long as what is left. The writer follows the decoder's next free
// entry and code width exactly, and clears before the table fills.
void CPixImageGIF::CompressRLE(int init_bits, CPixFile* outfile)
{
    StartCodes(init_bits, outfile);

    int slot = 0, top = 0;
    bool first = true; // the next code is the first after a clear (it makes no entry)
    auto emit = [&](int code) {
        n_bits = rle_width;
        free_ent = 0;
        maxcode = 1 << 30;
        clear_flg = 0;
        Output(code);
        if (code == ClearCode)
        {
            rle_width = init_bits;
            slot = ClearCode + 2;
            top = 1 << init_bits;
            first = true;
            return;
        }
        if (!first && slot < 4096)
            slot++;
        first = false;
        if (slot >= top && rle_width < 12)
        {
            rle_width++;
            top <<= 1;
        }
    };
    rle_width = init_bits;
    emit(ClearCode);

    int c = GifNextPixel();
    while (c != -1)
    {
        long run = 1;
        int next;
        while ((next = GifNextPixel()) == c)
            run++;
        if (run < 4)
        {
            for (long k = 0; k < run; k++)
            {
                if (slot >= 4093)
                    emit(ClearCode);
                emit(c);
            }
        }
        else
        {
            emit(ClearCode);
            emit(c);
            long left = run - 1;
            long len = 1;
            while (left > 0)
            {
                if (left >= len + 1 && slot < 4093)
                {
                    len++;
                    emit(slot); // the entry being made: the previous run plus one pixel
                    left -= len;
                }
                else if (left >= 2 && left <= len)
                {
                    emit(ClearCode + 2 + (int)left - 2);
                    left = 0;
                }
                else if (left == 1)
                {
                    emit(c);
                    left = 0;
                }
                else
                {
                    // The table is full: start again.
                    emit(ClearCode);
                    emit(c);
                    left--;
                    len = 1;
                }
            }
        }
        c = next;
    }
    n_bits = rle_width;
    Output(EOFCode);
}
