#include "PixImagePNG.h"
#include "ImageIterator.h"
#include <math.h>
#include <png.h>
#include <stdlib.h>
#include <string.h>

// libpng reports errors by a long jump back to the operation that set its
// recovery point. The functions that set it and call libpng hold no C++ objects
// with destructors, so the jump never skips one; everything they need lives in
// the plain records below.

namespace
{
void PngReadData(png_structp png, png_bytep data, png_size_t length)
{
    CPixFile* file = (CPixFile*)png_get_io_ptr(png);
    if (!file || file->Read(data, 1, length) != length)
        png_error(png, "Read Error");
}

void PngWriteData(png_structp png, png_bytep data, png_size_t length)
{
    CPixFile* file = (CPixFile*)png_get_io_ptr(png);
    if (!file || file->Write(data, 1, length) != length)
        png_error(png, "Write Error");
}

void PngFlushData(png_structp png)
{
    CPixFile* file = (CPixFile*)png_get_io_ptr(png);
    if (!file || !file->Flush())
        png_error(png, "Flush Error");
}

void PngError(png_structp png, png_const_charp message)
{
    char* text = (char*)png_get_error_ptr(png);
    if (text && message && *message)
    {
        strncpy(text, message, 255);
        text[255] = 0;
    }
    png_longjmp(png, 1);
}

// libpng only warns about an ancillary chunk longer than its limit (8 MB) and
// then clears a buffer of the claimed length before reading into it, so a file
// of 57 bytes claiming a text chunk of 1 GB would cost seconds and the memory:
// such a chunk ends the decode. Other warnings are ignored.
void PngWarning(png_structp png, png_const_charp message)
{
    static const char kTooLarge[] = "chunk data is too large";
    size_t n = message ? strlen(message) : 0, k = sizeof(kTooLarge) - 1;
    if (n >= k && strcmp(message + n - k, kTooLarge) == 0)
        png_error(png, message);
}

struct PngReadJob
{
    CPixImagePNG* ima;
    CPixFile* file;
    char* errorText;
    png_structp png;
    png_infop info;
    BYTE* row;
    bool sizeOnly;
};

// Returns 1 on success, 0 on failure (the message is in the error text).
int RunPngDecode(PngReadJob* job)
{
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job->errorText, PngError, PngWarning);
    if (!job->png)
    {
        strcpy(job->errorText, "Failed to create PNG structure");
        return 0;
    }
    job->info = png_create_info_struct(job->png);
    if (!job->info)
    {
        png_destroy_read_struct(&job->png, nullptr, nullptr);
        strcpy(job->errorText, "Failed to initialize PNG info structure");
        return 0;
    }
    if (setjmp(png_jmpbuf(job->png)))
    {
        free(job->row);
        job->row = nullptr;
        png_destroy_read_struct(&job->png, &job->info, nullptr);
        return 0;
    }
    png_set_read_fn(job->png, job->file, PngReadData);
    png_read_info(job->png, job->info);

    if (!job->ima->DecodeSetup(job->png, job->info))
    {
        png_destroy_read_struct(&job->png, &job->info, nullptr);
        return job->sizeOnly ? 1 : 0;
    }
    int passes = png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    job->ima->SetCodecOption(passes > 1 ? 1 : 0, PIXIMAGE_FORMAT_PNG);

    png_size_t rowBytes = png_get_rowbytes(job->png, job->info);
    job->row = (BYTE*)calloc(rowBytes + 8, 1);
    if (!job->row)
        png_error(job->png, "can't allocate memory");
    int bitDepth = png_get_bit_depth(job->png, job->info);
    int channels = png_get_channels(job->png, job->info);
    int pixelBytes = (bitDepth * channels) / 8;
    long height = (long)png_get_image_height(job->png, job->info);
    for (int pass = 0; pass < passes; pass++)
    {
        for (long y = 0; y < height; y++)
        {
            if (job->ima->GetEscape())
                png_error(job->png, "Cancelled");
            if (pass > 0)
                job->ima->RefillRow(job->row, y, (long)rowBytes, bitDepth, channels, pixelBytes);
            png_read_row(job->png, job->row, nullptr);
            job->ima->DecodeRow(job->row, y, pass == passes - 1 ? 1 : 0, bitDepth, channels, pixelBytes);
        }
    }
    free(job->row);
    job->row = nullptr;
    png_read_end(job->png, nullptr);
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    return 1;
}

struct PngWriteJob
{
    CPixImagePNG* ima;
    CPixFile* file;
    char* errorText;
    png_structp png;
    png_infop info;
    BYTE* row;
    png_colorp palette;
    int swapIndex; // palette entry swapped with entry 0 for the time of writing, or 0
    png_uint_32 width, height;
    int bitDepth, colorType, interlace, channels;
    long rowBytes;
    bool grey;
    bool alpha;
    png_color_16 background;
    png_color_16 transColor;
    bool hasTrans;
    png_byte transAlpha[256];
    int numTransAlpha;
    int numPalette;
    png_uint_32 ppmX, ppmY;
};

int RunPngEncode(PngWriteJob* job)
{
    job->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job->errorText, PngError, PngWarning);
    if (!job->png)
    {
        strcpy(job->errorText, "Failed to create PNG structure");
        return 0;
    }
    job->info = png_create_info_struct(job->png);
    if (!job->info)
    {
        png_destroy_write_struct(&job->png, nullptr);
        strcpy(job->errorText, "Failed to initialize PNG info structure");
        return 0;
    }
    if (setjmp(png_jmpbuf(job->png)))
    {
        free(job->row);
        job->row = nullptr;
        png_destroy_write_struct(&job->png, &job->info);
        strcpy(job->errorText, "Error saving PNG file");
        return 0;
    }
    png_set_write_fn(job->png, job->file, PngWriteData, PngFlushData);
    png_set_IHDR(job->png, job->info, job->width, job->height, job->bitDepth, job->colorType, job->interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_bKGD(job->png, job->info, &job->background);
    png_set_pHYs(job->png, job->info, job->ppmX, job->ppmY, PNG_RESOLUTION_METER);
    if (job->palette && job->numPalette > 0)
        png_set_PLTE(job->png, job->info, job->palette, job->numPalette);
    if (job->hasTrans || job->numTransAlpha > 0)
        png_set_tRNS(job->png, job->info, job->numTransAlpha > 0 ? job->transAlpha : nullptr,
                     job->numTransAlpha > 0 ? job->numTransAlpha : 1, &job->transColor);
    png_write_info(job->png, job->info);

    int passes = png_set_interlace_handling(job->png);
    job->row = (BYTE*)calloc(job->rowBytes + 8, 1);
    if (!job->row)
        png_error(job->png, "can't allocate memory");
    for (int pass = 0; pass < passes; pass++)
    {
        for (png_uint_32 y = 0; y < job->height; y++)
        {
            job->ima->EncodeRow(job->row, (long)y, job->rowBytes, job->channels, job->grey);
            png_write_row(job->png, job->row);
        }
    }
    free(job->row);
    job->row = nullptr;
    png_write_end(job->png, job->info);
    png_destroy_write_struct(&job->png, &job->info);
    return 1;
}
} // namespace

// Maps the PNG header onto a new image. False ends the decode: a size query
// (which succeeds) or an unsupported file (which fails with a message).
bool CPixImagePNG::DecodeSetup(void* vpng, void* vinfo)
{
    png_structp png = (png_structp)vpng;
    png_infop pinfo = (png_infop)vinfo;
    png_uint_32 width = png_get_image_width(png, pinfo);
    png_uint_32 height = png_get_image_height(png, pinfo);
    int colorType = png_get_color_type(png, pinfo);
    int bitDepth = png_get_bit_depth(png, pinfo);

    if (info.nEscape == -1)
    {
        head.biWidth = (LONG)width;
        head.biHeight = (LONG)height;
        info.dwType = PIXIMAGE_FORMAT_PNG;
        return false;
    }

    int channels;
    switch (colorType)
    {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE: channels = 1; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: channels = 2; break;
    case PNG_COLOR_TYPE_RGB: channels = 3; break;
    case PNG_COLOR_TYPE_RGB_ALPHA: channels = 4; break;
    default: SetErrorText("unknown PNG color type"); return false;
    }
    int pixelDepth = bitDepth * channels;
    int bpp = channels == 1 ? (pixelDepth < 8 ? pixelDepth : 8) : channels == 2 ? 8 : 24;
    if (!FitsDecodeLimit(width, height) || !Create(width, height, bpp, PIXIMAGE_FORMAT_PNG))
        return false;

    png_uint_32 resX, resY;
    int unit;
    if (png_get_pHYs(png, pinfo, &resX, &resY, &unit))
    {
        if (unit == PNG_RESOLUTION_UNKNOWN)
        {
            SetXDPI((long)resX);
            SetYDPI((long)resY);
        }
        else if (unit == PNG_RESOLUTION_METER)
        {
            SetXDPI((long)floor(resX * 254.0 / 10000.0 + 0.5));
            SetYDPI((long)floor(resY * 254.0 / 10000.0 + 0.5));
        }
    }

    png_colorp palette = nullptr;
    int numPalette = 0;
    if (png_get_PLTE(png, pinfo, &palette, &numPalette) && numPalette > 0)
    {
        SetPalette((const RGBTRIPLE*)palette, numPalette);
        SetClrImportant(numPalette);
    }
    else if (bitDepth == 2)
    {
        SetPaletteColor(0, 0, 0, 0);
        SetPaletteColor(1, 85, 85, 85);
        SetPaletteColor(2, 170, 170, 170);
        SetPaletteColor(3, 255, 255, 255);
    }
    else
    {
        SetGrayPalette();
    }

    int shift = bitDepth == 16 ? 8 : 0;
    png_bytep transAlpha = nullptr;
    int numTrans = 0;
    png_color_16p transColor = nullptr;
    if (png_get_tRNS(png, pinfo, &transAlpha, &numTrans, &transColor))
    {
        if (colorType == PNG_COLOR_TYPE_PALETTE && numTrans >= 1 && !(numTrans == 1 && transAlpha[0] == 0))
        {
            // Alpha per palette entry; also a single partly transparent entry,
            // which a transparent index could not express.
            RGBQUAD* pal = GetPalette();
            DWORD n = GetNumColors();
            for (DWORD i = 0; i < n; i++)
                pal[i].rgbReserved = (long)i < numTrans ? transAlpha[i] : 255;
            info.bAlphaPaletteEnabled = true;
        }
        else if (numTrans == 1 && colorType == PNG_COLOR_TYPE_PALETTE)
        {
            info.nBkgndIndex = 0;
        }
        else if (colorType == PNG_COLOR_TYPE_GRAY && transColor)
        {
            info.nBkgndIndex = transColor->gray >> shift;
        }
        else if (colorType == PNG_COLOR_TYPE_RGB && transColor)
        {
            info.nBkgndColor.rgbRed = (BYTE)(transColor->red >> shift);
            info.nBkgndColor.rgbGreen = (BYTE)(transColor->green >> shift);
            info.nBkgndColor.rgbBlue = (BYTE)(transColor->blue >> shift);
            info.nBkgndColor.rgbReserved = 0;
            info.nBkgndIndex = 0;
        }
    }

    if ((channels & 1) == 0 && !AlphaCreate())
    {
        SetErrorText("can't allocate memory");
        return false;
    }
    if (colorType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(png);
    if (info.nEscape)
    {
        SetErrorText("Cancelled");
        return false;
    }
    return true;
}

// Puts back into the row buffer what the earlier passes of an interlaced image
// left in the picture, so that libpng combines the next pass with it.
void CPixImagePNG::RefillRow(BYTE* row, long y, long rowBytes, int bitDepth, int channels, int pixelBytes)
{
    long iy = head.biHeight - 1 - y;
    BYTE* dst = info.pImage + iy * info.dwEffWidth;
    int c = bitDepth / 8;
    if (pAlpha)
    {
        for (long x = 0; x < head.biWidth; x++)
        {
            BYTE* p = row + x * pixelBytes;
            if (channels == 2)
            {
                p[0] = dst[x];
                p[c] = AlphaGetRaw(x, iy);
            }
            else
            {
                p[0] = dst[x * 3];
                p[c] = dst[x * 3 + 1];
                p[2 * c] = dst[x * 3 + 2];
                p[3 * c] = AlphaGetRaw(x, iy);
            }
        }
        return;
    }
    long n = rowBytes < (long)info.dwEffWidth ? rowBytes : (long)info.dwEffWidth;
    memcpy(row, dst, n);
    if (c == 2)
    {
        for (long i = rowBytes / 2 - 1; i >= 0; i--)
            row[i * 2] = row[i];
    }
}

void CPixImagePNG::DecodeRow(const BYTE* row, long y, int lastPass, int bitDepth, int channels, int pixelBytes)
{
    long iy = head.biHeight - 1 - y;
    BYTE* dst = info.pImage + iy * info.dwEffWidth;
    int c = bitDepth / 8;
    if (pAlpha)
    {
        BYTE* alpha = pAlpha + iy * head.biWidth;
        for (long x = 0; x < head.biWidth; x++)
        {
            const BYTE* p = row + x * pixelBytes;
            if (channels == 2)
            {
                dst[x] = p[0];
                alpha[x] = p[c];
            }
            else
            {
                dst[x * 3] = p[0];
                dst[x * 3 + 1] = p[c];
                dst[x * 3 + 2] = p[2 * c];
                alpha[x] = p[3 * c];
            }
        }
        return;
    }
    long rowBytes = ((long)head.biWidth * bitDepth * channels + 7) / 8;
    if (c == 2)
    {
        // 16-bit samples keep their most significant byte.
        long samples = rowBytes / 2;
        long n = samples < (long)info.dwEffWidth ? samples : (long)info.dwEffWidth;
        for (long i = 0; i < n; i++)
            dst[i] = row[i * 2];
        return;
    }
    long n = rowBytes < (long)info.dwEffWidth ? rowBytes : (long)info.dwEffWidth;
    memcpy(dst, row, n);
    if (bitDepth == 2 && lastPass)
    {
        // Widen 2-bit pixels to the 4-bit row, from the last pixel backwards.
        for (long x = head.biWidth - 1; x >= 0; x--)
        {
            BYTE v = (BYTE)((dst[x >> 2] >> (6 - 2 * (x & 3))) & 3);
            BYTE* p = dst + (x >> 1);
            if (x & 1)
                *p = (BYTE)((*p & 0xF0) | v);
            else
                *p = (BYTE)((*p & 0x0F) | (v << 4));
        }
    }
}

bool CPixImagePNG::Decode(CPixFile* hFile)
{
    if (!hFile)
        return false;
    PngReadJob job;
    memset(&job, 0, sizeof(job));
    job.ima = this;
    job.file = hFile;
    job.errorText = info.szLastError;
    job.sizeOnly = info.nEscape == -1;
    if (RunPngDecode(&job))
        return true;
    return info.nEscape == -1 && info.dwType == PIXIMAGE_FORMAT_PNG;
}

void CPixImagePNG::EncodeRow(BYTE* out, long y, long rowBytes, int channels, bool grey)
{
    long iy = head.biHeight - 1 - y;
    const BYTE* src = info.pImage + iy * info.dwEffWidth;
    if (pAlpha)
    {
        bool simpleTrans = head.biBitCount == 24 && info.nBkgndIndex >= 0;
        RGBQUAD tc = GetTransColor();
        BYTE* p = out;
        for (long x = 0; x < head.biWidth; x++)
        {
            RGBQUAD c = GetPixelColorRaw(x, iy, false);
            BYTE a = AlphaGetRaw(x, iy);
            if (simpleTrans && c.rgbBlue == tc.rgbBlue && c.rgbGreen == tc.rgbGreen && c.rgbRed == tc.rgbRed)
                a = 0;
            if (grey)
            {
                *p++ = c.rgbBlue;
            }
            else
            {
                *p++ = c.rgbRed;
                *p++ = c.rgbGreen;
                *p++ = c.rgbBlue;
            }
            *p++ = a;
        }
        return;
    }
    long n = rowBytes < (long)info.dwEffWidth ? rowBytes : (long)info.dwEffWidth;
    memcpy(out, src, n);
    if (channels == 3)
    {
        for (long x = 0; x < head.biWidth; x++)
        {
            BYTE t = out[x * 3];
            out[x * 3] = out[x * 3 + 2];
            out[x * 3 + 2] = t;
        }
    }
}

bool CPixImagePNG::Encode(CPixFile* hFile)
{
    if (CheckEncodeTarget(hFile))
        return false;

    PngWriteJob job;
    memset(&job, 0, sizeof(job));
    job.ima = this;
    job.file = hFile;
    job.errorText = info.szLastError;
    job.width = head.biWidth;
    job.height = head.biHeight;
    int pixelDepth = head.biBitCount;
    job.channels = head.biBitCount > 8 ? 3 : 1;
    job.bitDepth = pixelDepth / job.channels;
    job.interlace = GetCodecOption(PIXIMAGE_FORMAT_PNG) == 1 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;
    bool hasPalette = GetNumColors() != 0;
    job.grey = hasPalette && IsGrayScale();
    job.colorType = hasPalette ? (job.grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE) : PNG_COLOR_TYPE_RGB;
    if (pAlpha)
    {
        job.colorType |= PNG_COLOR_MASK_ALPHA;
        job.channels++;
        job.bitDepth = 8;
        pixelDepth += 8;
    }

    job.background.index = 0;
    job.background.red = job.background.green = job.background.blue = 255;
    job.background.gray = 0;
    if (info.nBkgndIndex >= 0)
    {
        RGBQUAD tc = GetTransColor();
        job.background.red = tc.rgbRed;
        job.background.green = tc.rgbGreen;
        job.background.blue = tc.rgbBlue;
    }
    job.ppmX = (png_uint_32)head.biXPelsPerMeter;
    job.ppmY = (png_uint_32)head.biYPelsPerMeter;

    if (info.nBkgndIndex >= 0)
    {
        RGBQUAD tc = GetTransColor();
        job.hasTrans = true;
        job.transColor.index = (png_byte)info.nBkgndIndex;
        job.transColor.red = tc.rgbRed;
        job.transColor.green = tc.rgbGreen;
        job.transColor.blue = tc.rgbBlue;
        job.transColor.gray = (png_uint_16)info.nBkgndIndex;
        if (job.colorType == PNG_COLOR_TYPE_PALETTE)
        {
            job.transAlpha[0] = 0;
            job.numTransAlpha = 1;
            if (info.nBkgndIndex != 0)
            {
                job.swapIndex = info.nBkgndIndex;
                SwapIndex(0, (BYTE)job.swapIndex);
            }
        }
    }

    png_color palette[256];
    if (hasPalette)
    {
        job.numPalette = (int)(GetClrImportant() ? GetClrImportant() : GetNumColors());
        if (job.numPalette > 256)
            job.numPalette = 256;
        RGBQUAD* pal = GetPalette();
        for (int i = 0; i < job.numPalette; i++)
        {
            palette[i].red = pal[i].rgbRed;
            palette[i].green = pal[i].rgbGreen;
            palette[i].blue = pal[i].rgbBlue;
        }
        if (!job.grey)
            job.palette = palette;
        if (info.bAlphaPaletteEnabled)
        {
            for (int i = 0; i < job.numPalette; i++)
                job.transAlpha[i] = pal[i].rgbReserved;
            job.numTransAlpha = job.numPalette;
        }
    }
    long minRow = (long)head.biWidth * job.channels * (job.bitDepth / 8);
    job.rowBytes = (long)info.dwEffWidth > minRow ? (long)info.dwEffWidth : minRow;

    int ok = RunPngEncode(&job);
    if (job.swapIndex)
        SwapIndex(0, (BYTE)job.swapIndex);
    return ok != 0;
}
