#include "SFPngDecoder.h"
#include "SFDibHelpers.h"
#include <png.h>
#include <setjmp.h>
#include <stdlib.h>

// Where the bytes come from: a block in memory or an open file.
struct CSFPngDecoder::Source
{
    const BYTE* data;
    size_t size;
    size_t pos;
    CFile* file;
};

namespace
{
// Skin pictures are small; anything this large is damage, not artwork.
const png_uint_32 kMaxSide = 16384;

BOOL ReadSource(CSFPngDecoder::Source& s, png_bytep out, size_t length)
{
    if (s.file == NULL)
    {
        if (length > s.size - s.pos)
            return FALSE;
        memcpy(out, s.data + s.pos, length);
        s.pos += length;
        return TRUE;
    }
    try
    {
        return s.file->Read(out, (UINT)length) == length;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
}

void PngRead(png_structp png, png_bytep out, size_t length)
{
    CSFPngDecoder::Source* s = (CSFPngDecoder::Source*)png_get_io_ptr(png);
    if (!ReadSource(*s, out, length))
        png_error(png, "short read");
}

// libpng's errors end the decode through its jump buffer: no exception is
// thrown through the library's C frames.
void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PngWarning(png_structp, png_const_charp) {}

// What the decode allocates, freed on every way out.
struct DecodeState
{
    png_structp png = NULL;
    png_infop info = NULL;
    // Set after the jump point: volatile so that a jump back sees them.
    png_bytep volatile pixels = NULL;
    png_bytepp volatile rows = NULL;
    ~DecodeState()
    {
        free((void*)rows);
        free((void*)pixels);
        if (png)
            png_destroy_read_struct(&png, info ? &info : NULL, NULL);
    }
};
} // namespace

HBITMAP CSFPngDecoder::Detach()
{
    HBITMAP bitmap = m_bitmap;
    m_bitmap = NULL;
    m_alpha = FALSE;
    return bitmap;
}

void CSFPngDecoder::Clear()
{
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    m_bitmap = NULL;
    m_alpha = FALSE;
}

BOOL CSFPngDecoder::LoadFile(LPCWSTR path)
{
    Clear();
    CFile file;
    if (path == NULL || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    return LoadFile(&file);
}

BOOL CSFPngDecoder::LoadResource(HMODULE module, HRSRC resource)
{
    Clear();
    if (resource == NULL)
        return FALSE;
    DWORD size = ::SizeofResource(module, resource);
    HGLOBAL handle = ::LoadResource(module, resource);
    const BYTE* data = handle ? (const BYTE*)::LockResource(handle) : NULL;
    if (data == NULL || size <= 9)
        return FALSE;
    return LoadMemory(data, size);
}

BOOL CSFPngDecoder::LoadFile(CFile* file)
{
    Clear();
    if (file == NULL)
        return FALSE;
    Source source = {NULL, 0, 0, file};
    return Decode(source);
}

BOOL CSFPngDecoder::LoadMemory(const BYTE* data, size_t size)
{
    Clear();
    if (data == NULL)
        return FALSE;
    Source source = {data, size, 0, NULL};
    return Decode(source);
}

BOOL CSFPngDecoder::Decode(Source& source)
{
    png_byte signature[8];
    if (!ReadSource(source, signature, 8) || png_sig_cmp(signature, 0, 8) != 0)
        return FALSE;

    DecodeState st;
    // The read structure is made for the libpng whose headers this was built
    // with; the library checks that it is compatible.
    st.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, PngError, PngWarning);
    if (st.png == NULL)
        return FALSE;
    st.info = png_create_info_struct(st.png);
    if (st.info == NULL)
        return FALSE;
    if (setjmp(png_jmpbuf(st.png)))
        return FALSE;
    png_set_read_fn(st.png, &source, PngRead);
    png_set_sig_bytes(st.png, 8);
    png_set_user_limits(st.png, kMaxSide, kMaxSide);
    png_read_info(st.png, st.info);

    int depth = png_get_bit_depth(st.png, st.info);
    int colorType = png_get_color_type(st.png, st.info);
    if (depth == 16)
        png_set_strip_16(st.png);
    if (colorType == PNG_COLOR_TYPE_PALETTE || depth < 8 || png_get_valid(st.png, st.info, PNG_INFO_tRNS))
        png_set_expand(st.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(st.png);
    png_color_16p background = NULL;
    if (png_get_bKGD(st.png, st.info, &background))
        png_set_background(st.png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double gamma = 0;
    if (png_get_gAMA(st.png, st.info, &gamma))
        png_set_gamma(st.png, 2.2, gamma);
    png_read_update_info(st.png, st.info);

    png_uint_32 width = png_get_image_width(st.png, st.info), height = png_get_image_height(st.png, st.info);
    size_t rowBytes = png_get_rowbytes(st.png, st.info);
    int channels = png_get_channels(st.png, st.info);
    if (width == 0 || height == 0 || (channels != 3 && channels != 4) || rowBytes < (size_t)width * channels)
        return FALSE;
    st.pixels = (png_bytep)malloc(rowBytes * height);
    st.rows = (png_bytepp)malloc(sizeof(png_bytep) * height);
    if (st.pixels == NULL || st.rows == NULL)
        return FALSE;
    for (png_uint_32 y = 0; y < height; y++)
        st.rows[y] = st.pixels + rowBytes * y;
    png_read_image(st.png, (png_bytepp)st.rows);
    png_read_end(st.png, NULL);

    void* bits = NULL;
    HBITMAP bitmap = Create32BitDibTopDown((int)width, (int)height, &bits);
    if (bitmap == NULL)
        return FALSE;
    BYTE* out = (BYTE*)bits;
    for (png_uint_32 y = 0; y < height; y++)
    {
        const BYTE* in = st.rows[y];
        for (png_uint_32 x = 0; x < width; x++, in += channels, out += 4)
        {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = channels == 4 ? in[3] : 0;
        }
    }
    m_bitmap = bitmap;
    m_alpha = channels == 4;
    return TRUE;
}
