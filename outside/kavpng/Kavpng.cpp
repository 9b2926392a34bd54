#include "Kavpng.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <cstring>
#include <vector>

struct KavpngDecoder
{
    // Decoding state lives on the stack of each call; the decoder only ties
    // the calls together, so that one decoder serves a whole animation.
    HMODULE module;
};

struct KavpngDib
{
    HBITMAP bitmap;
    void* bits;
};

namespace
{
const size_t kMaxSide = 16384; // refuse pictures whose rows would not fit a DIB

struct MemoryReader
{
    const png_byte* data;
    size_t size;
    size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    MemoryReader* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset)
        png_error(png, "picture cut off");
    memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// libpng reports errors by this jump; the warnings are of no use here.
void OnError(png_structp png, png_const_charp)
{
    longjmp(png_jmpbuf(png), 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Decodes into rows of blue, green, red (and alpha): the caller's buffer.
long Decode(const png_byte* data, size_t size, std::vector<png_byte>& pixels, png_uint_32& width,
            png_uint_32& height, int& channels)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return KAVPNG_E_NOT_PNG;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, OnError, OnWarning);
    if (!png)
        return KAVPNG_E_MEMORY;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_read_struct(&png, NULL, NULL);
        return KAVPNG_E_MEMORY;
    }
    std::vector<png_bytep> rows;
    MemoryReader reader{data, size, 0};
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_read_struct(&png, &info, NULL);
        return KAVPNG_E_DECODE;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        png_error(png, "size");
    int colourType = png_get_color_type(png, info);
    bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    channels = png_get_channels(png, info);
    if (channels != (alpha ? 4 : 3))
        png_error(png, "channels");
    size_t stride = static_cast<size_t>(width) * channels;
    pixels.resize(stride * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels.data() + y * stride;
    png_read_image(png, rows.data());
    png_read_end(png, NULL);
    png_destroy_read_struct(&png, &info, NULL);
    return 0;
}
} // namespace

extern "C" {

long ImgNewDecoder(HKAVPNGDECODER* decoder)
{
    if (!decoder)
        return KAVPNG_E_ARGUMENT;
    *decoder = new (std::nothrow) KavpngDecoder{::GetModuleHandleW(NULL)};
    return *decoder ? 0 : KAVPNG_E_MEMORY;
}

long ImgDeleteDecoder(HKAVPNGDECODER decoder)
{
    if (!decoder)
        return KAVPNG_E_ARGUMENT;
    delete decoder;
    return 0;
}

long ImgNewDIBFromResource(HKAVPNGDECODER decoder, UINT resourceId, HKAVPNGDIB* dib)
{
    if (!decoder || !dib)
        return KAVPNG_E_ARGUMENT;
    *dib = NULL;
    HRSRC found = ::FindResourceW(decoder->module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? ::LoadResource(decoder->module, found) : NULL;
    const void* bytes = loaded ? ::LockResource(loaded) : NULL;
    if (!bytes)
        return KAVPNG_E_NO_RESOURCE;
    return ImgNewDIBFromMemory(decoder, bytes, ::SizeofResource(decoder->module, found), dib);
}

long ImgNewDIBFromMemory(HKAVPNGDECODER decoder, const void* bytes, DWORD size, HKAVPNGDIB* dib)
{
    if (!decoder || !dib || (!bytes && size))
        return KAVPNG_E_ARGUMENT;
    *dib = NULL;
    std::vector<png_byte> pixels;
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    long result = Decode(static_cast<const png_byte*>(bytes), size, pixels, width, height, channels);
    if (result)
        return result;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(channels * 8);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bitmap || !bits)
        return KAVPNG_E_MEMORY;
    // DIB rows are padded to four bytes; the decoded rows are not.
    size_t source = static_cast<size_t>(width) * channels;
    size_t target = (source + 3) & ~static_cast<size_t>(3);
    for (png_uint_32 y = 0; y < height; ++y)
        memcpy(static_cast<BYTE*>(bits) + y * target, pixels.data() + y * source, source);
    ::GdiFlush();

    *dib = new (std::nothrow) KavpngDib{bitmap, bits};
    if (!*dib)
    {
        ::DeleteObject(bitmap);
        return KAVPNG_E_MEMORY;
    }
    return 0;
}

long ImgGetHandle(HKAVPNGDIB dib, HBITMAP* bitmap, void** bits)
{
    if (!dib)
        return KAVPNG_E_ARGUMENT;
    if (bitmap)
        *bitmap = dib->bitmap;
    if (bits)
        *bits = dib->bits;
    return 0;
}

long ImgDeleteDIBSection(HKAVPNGDIB dib)
{
    if (!dib)
        return KAVPNG_E_ARGUMENT;
    ::DeleteObject(dib->bitmap);
    delete dib;
    return 0;
}
}
