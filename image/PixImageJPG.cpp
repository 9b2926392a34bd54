#include "PixImageJPG.h"
#include <math.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

// libjpeg reports fatal errors through the error manager's exit function, which
// jumps back to the operation. The functions that set the jump point and call
// libjpeg hold no C++ objects with destructors; their state is in plain records.

namespace
{
const int kBufferSize = 4096;

// libjpeg's own limit on the whole-image buffers that progressive and
// multi-scan files need (two bytes a coefficient): 128 MB holds a colour
// picture of about 44 megapixels with the usual halved colour resolution, or
// 22 at full colour resolution. Baseline files need no such buffer, so a
// photograph decodes up to the pixel limit; a few hundred bytes claiming a
// progressive 8000 x 8000 picture fail before anything is decoded.
const long kJpegMemoryLimit = 128L << 20;
const char kJpegMemoryText[] = "JPEG needs more memory than the decoder allows";

struct JpegErrorManager
{
    jpeg_error_mgr pub;
    jmp_buf setjmp_buffer;
    char* buffer;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    JpegErrorManager* err = (JpegErrorManager*)cinfo->err;
    char text[JMSG_LENGTH_MAX];
    // Beyond the memory limit libjpeg asks for a temporary file, which it has not.
    if (cinfo->err->msg_code == JERR_NO_BACKING_STORE)
        strcpy(text, kJpegMemoryText);
    else
        (*cinfo->err->format_message)(cinfo, text);
    strncpy(err->buffer, text, 255);
    err->buffer[255] = 0;
    longjmp(err->setjmp_buffer, 1);
}

// Source and destination manager over a CPixFile.
struct JpegFileManager
{
    jpeg_destination_mgr dst;
    jpeg_source_mgr src;
    CPixFile* file;
    JOCTET* buffer;
    bool startOfFile;
};

JpegFileManager* ManagerOf(j_compress_ptr cinfo)
{
    return (JpegFileManager*)((char*)cinfo->dest - offsetof(JpegFileManager, dst));
}

JpegFileManager* ManagerOf(j_decompress_ptr cinfo)
{
    return (JpegFileManager*)((char*)cinfo->src - offsetof(JpegFileManager, src));
}

void InitDestination(j_compress_ptr cinfo)
{
    JpegFileManager* m = ManagerOf(cinfo);
    m->dst.next_output_byte = m->buffer;
    m->dst.free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    JpegFileManager* m = ManagerOf(cinfo);
    if (m->file->Write(m->buffer, 1, kBufferSize) != (size_t)kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    m->dst.next_output_byte = m->buffer;
    m->dst.free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    JpegFileManager* m = ManagerOf(cinfo);
    size_t datacount = kBufferSize - m->dst.free_in_buffer;
    if (datacount > 0 && m->file->Write(m->buffer, 1, datacount) != datacount)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    m->file->Flush();
    if (m->file->Error())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void InitSource(j_decompress_ptr cinfo)
{
    ManagerOf(cinfo)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    JpegFileManager* m = ManagerOf(cinfo);
    size_t nbytes = m->file->Read(m->buffer, 1, kBufferSize);
    if (nbytes == 0)
    {
        if (m->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker in place of the missing data.
        m->buffer[0] = (JOCTET)0xFF;
        m->buffer[1] = (JOCTET)JPEG_EOI;
        nbytes = 2;
    }
    m->src.next_input_byte = m->buffer;
    m->src.bytes_in_buffer = nbytes;
    m->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long num_bytes)
{
    JpegFileManager* m = ManagerOf(cinfo);
    if (num_bytes <= 0)
        return;
    while (num_bytes > (long)m->src.bytes_in_buffer)
    {
        num_bytes -= (long)m->src.bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    m->src.next_input_byte += (size_t)num_bytes;
    m->src.bytes_in_buffer -= (size_t)num_bytes;
}

void TermSource(j_decompress_ptr) {}

void InitManager(JpegFileManager* m, CPixFile* file, JOCTET* buffer)
{
    memset(m, 0, sizeof(*m));
    m->file = file;
    m->buffer = buffer;
    m->dst.init_destination = InitDestination;
    m->dst.empty_output_buffer = EmptyOutputBuffer;
    m->dst.term_destination = TermDestination;
    m->src.init_source = InitSource;
    m->src.fill_input_buffer = FillInputBuffer;
    m->src.skip_input_data = SkipInputData;
    m->src.resync_to_restart = jpeg_resync_to_restart;
    m->src.term_source = TermSource;
}

struct JpegDecodeJob
{
    CPixImageJPG* ima;
    jpeg_decompress_struct cinfo;
    JpegErrorManager jerr;
    JpegFileManager mgr;
    JSAMPARRAY rowBuffer;
    DWORD options;
    int jpegScale;
    int quality;
    int dither;
};

// 1 on success, 0 on failure, 2 for a size query.
int RunJpegDecode(JpegDecodeJob* job)
{
    j_decompress_ptr cinfo = &job->cinfo;
    cinfo->err = jpeg_std_error(&job->jerr.pub);
    job->jerr.pub.error_exit = JpegErrorExit;
    if (setjmp(job->jerr.setjmp_buffer))
    {
        jpeg_destroy_decompress(cinfo);
        return 0;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kJpegMemoryLimit;
    cinfo->src = &job->mgr.src;
    jpeg_read_header(cinfo, TRUE);

    DWORD opt = job->options;
    if (opt & 0x80)
        cinfo->out_color_space = JCS_GRAYSCALE;
    if (opt & 0x100)
    {
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = job->quality;
    }
    if (opt & 0x200)
        cinfo->dither_mode = (J_DITHER_MODE)job->dither;
    if (opt & 0x400)
    {
        cinfo->two_pass_quantize = FALSE;
    }
    if (opt & 0x800)
        cinfo->do_fancy_upsampling = FALSE;
    cinfo->scale_num = 1;
    cinfo->scale_denom = job->jpegScale > 0 ? job->jpegScale : 1;

    if (job->ima->GetEscape() == -1)
    {
        jpeg_calc_output_dimensions(cinfo);
        job->ima->DecodeStart(cinfo);
        jpeg_destroy_decompress(cinfo);
        return 2;
    }

    // libjpeg sizes its buffers by the frame header's size, whatever the scale.
    if (!job->ima->FitsDecodeLimit(cinfo->image_width, cinfo->image_height))
    {
        jpeg_destroy_decompress(cinfo);
        return 0;
    }
    jpeg_start_decompress(cinfo);
    if (!job->ima->DecodeStart(cinfo))
    {
        jpeg_destroy_decompress(cinfo);
        return 0;
    }
    int stride = cinfo->output_width * cinfo->output_components;
    job->rowBuffer = (*cinfo->mem->alloc_sarray)((j_common_ptr)cinfo, JPOOL_IMAGE, stride, 1);
    bool quantized = cinfo->quantize_colors != 0;
    while (cinfo->output_scanline < cinfo->output_height)
    {
        if (job->ima->GetEscape())
        {
            strcpy(job->jerr.buffer, "Cancelled");
            jpeg_destroy_decompress(cinfo);
            return 0;
        }
        long y = (long)cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, job->rowBuffer, 1);
        job->ima->DecodeLine(job->rowBuffer[0], y, cinfo->output_components, quantized);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return 1;
}

struct JpegEncodeJob
{
    CPixImageJPG* ima;
    jpeg_compress_struct cinfo;
    JpegErrorManager jerr;
    JpegFileManager mgr;
    BYTE* line;
    DWORD options;
    int quality;
    int smoothing;
    bool grey;
    long xdpi, ydpi;
};

int RunJpegEncode(JpegEncodeJob* job)
{
    j_compress_ptr cinfo = &job->cinfo;
    cinfo->err = jpeg_std_error(&job->jerr.pub);
    job->jerr.pub.error_exit = JpegErrorExit;
    if (setjmp(job->jerr.setjmp_buffer))
    {
        jpeg_destroy_compress(cinfo);
        return 0;
    }
    jpeg_create_compress(cinfo);
    cinfo->dest = &job->mgr.dst;
    cinfo->image_width = job->ima->GetWidth();
    cinfo->image_height = job->ima->GetHeight();
    if (job->grey)
    {
        cinfo->input_components = 1;
        cinfo->in_color_space = JCS_GRAYSCALE;
    }
    else
    {
        cinfo->input_components = 3;
        cinfo->in_color_space = JCS_RGB;
    }
    jpeg_set_defaults(cinfo);
    DWORD opt = job->options;
    if (opt & 0x2)
        cinfo->arith_code = TRUE;
    if (opt & 0x4)
        jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
    if (opt & 0x8)
        cinfo->optimize_coding = TRUE;
    if (opt & 0x40)
        cinfo->smoothing_factor = job->smoothing;
    jpeg_set_quality(cinfo, job->quality, (opt & 0x1) ? TRUE : FALSE);
    if (opt & 0x10)
        jpeg_simple_progression(cinfo);
    if (cinfo->num_components >= 3)
    {
        cinfo->comp_info[0].h_samp_factor = 2;
        cinfo->comp_info[0].v_samp_factor = 2;
        if (opt & 0x1000)
            cinfo->comp_info[0].v_samp_factor = 1;
        if (opt & 0x2000)
            cinfo->comp_info[0].h_samp_factor = cinfo->comp_info[0].v_samp_factor = 1;
        cinfo->comp_info[1].h_samp_factor = cinfo->comp_info[1].v_samp_factor = 1;
        cinfo->comp_info[2].h_samp_factor = cinfo->comp_info[2].v_samp_factor = 1;
    }
    cinfo->density_unit = 1;
    cinfo->X_density = (UINT16)job->xdpi;
    cinfo->Y_density = (UINT16)job->ydpi;

    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW row[1] = {job->line};
    while (cinfo->next_scanline < cinfo->image_height)
    {
        job->ima->EncodeLine(job->line, (long)cinfo->next_scanline, cinfo->input_components);
        jpeg_write_scanlines(cinfo, row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return 1;
}
} // namespace

CPixImageJPG::CPixImageJPG() : CPixImage(PIXIMAGE_FORMAT_JPG), m_exif(nullptr)
{
    memset(&m_exifinfo, 0, sizeof(m_exifinfo));
    m_nPredictor = 0;
    m_nPointTransform = 0;
    m_nSmoothing = 0;
    m_nQuantize = 0;
    m_nDither = 0;
}

CPixImageJPG::~CPixImageJPG()
{
    delete m_exif;
}

// Creates the image for the decompressor's output (or only records the output
// size for a size query) and sets resolution and palette.
bool CPixImageJPG::DecodeStart(void* vcinfo)
{
    j_decompress_ptr cinfo = (j_decompress_ptr)vcinfo;
    if (info.nEscape == -1)
    {
        head.biWidth = cinfo->output_width;
        head.biHeight = cinfo->output_height;
        info.dwType = PIXIMAGE_FORMAT_JPG;
        return true;
    }
    if (!Create(cinfo->output_width, cinfo->output_height, 8 * cinfo->output_components, PIXIMAGE_FORMAT_JPG))
        return false;

    if (m_exifinfo.IsExif)
    {
        if (m_exifinfo.Xresolution != 0.0f && m_exifinfo.ResolutionUnit != 0.0f)
            SetXDPI((long)(m_exifinfo.Xresolution / m_exifinfo.ResolutionUnit));
        if (m_exifinfo.Yresolution != 0.0f && m_exifinfo.ResolutionUnit != 0.0f)
            SetYDPI((long)(m_exifinfo.Yresolution / m_exifinfo.ResolutionUnit));
    }
    else
    {
        switch (cinfo->density_unit)
        {
        case 0:
            if (cinfo->Y_density > 0 && cinfo->X_density > 0)
                SetYDPI((long)(GetXDPI() * ((float)cinfo->Y_density / (float)cinfo->X_density)));
            break;
        case 2:
            SetXDPI((long)floor(cinfo->X_density * 2.54 + 0.5));
            SetYDPI((long)floor(cinfo->Y_density * 2.54 + 0.5));
            break;
        default:
            SetXDPI(cinfo->X_density);
            SetYDPI(cinfo->Y_density);
            break;
        }
    }

    if (cinfo->out_color_space == JCS_GRAYSCALE && !cinfo->quantize_colors)
    {
        SetGrayPalette();
        head.biClrUsed = 256;
    }
    else if (cinfo->quantize_colors)
    {
        int n = cinfo->actual_number_of_colors;
        if (cinfo->out_color_components >= 3)
            SetPalette(n, cinfo->colormap[0], cinfo->colormap[1], cinfo->colormap[2]);
        else
            SetPalette(n, cinfo->colormap[0], cinfo->colormap[0], cinfo->colormap[0]);
        head.biClrUsed = 256;
    }
    else
    {
        head.biClrUsed = 0;
    }
    return true;
}

void CPixImageJPG::DecodeLine(const BYTE* line, long y, int components, bool quantized)
{
    BYTE* dst = info.pImage + (head.biHeight - 1 - y) * info.dwEffWidth;
    long width = head.biWidth;
    if (components == 4 && !quantized)
    {
        // Inverted CMYK: each colour byte is K x value / 255.
        for (long x = 0; x < width; x++)
        {
            const BYTE* s = line + x * 4;
            BYTE k = s[3];
            dst[x * 3] = (BYTE)(k * s[2] / 255);
            dst[x * 3 + 1] = (BYTE)(k * s[1] / 255);
            dst[x * 3 + 2] = (BYTE)(k * s[0] / 255);
        }
        return;
    }
    if (components == 3 && !quantized)
    {
        // libjpeg delivers red, green, blue; the image stores blue, green, red.
        for (long x = 0; x < width; x++)
        {
            dst[x * 3] = line[x * 3 + 2];
            dst[x * 3 + 1] = line[x * 3 + 1];
            dst[x * 3 + 2] = line[x * 3];
        }
        return;
    }
    long n = width * components;
    memcpy(dst, line, n < (long)info.dwEffWidth ? n : (long)info.dwEffWidth);
}

bool CPixImageJPG::Decode(CPixFile* hFile)
{
    if (!hFile)
        return false;

    // The EXIF block first, for the resolution; then back to where the file started.
    delete m_exif;
    m_exif = new CPixExifInfo(&m_exifinfo);
    long pos = hFile->Tell();
    m_exif->DecodeExif(hFile);
    hFile->Seek(pos, SEEK_SET);

    JOCTET* buffer = (JOCTET*)malloc(kBufferSize);
    JpegDecodeJob* job = (JpegDecodeJob*)calloc(1, sizeof(JpegDecodeJob));
    if (!buffer || !job)
    {
        free(buffer);
        free(job);
        SetErrorText("can't allocate memory");
        return false;
    }
    job->ima = this;
    job->jerr.buffer = info.szLastError;
    InitManager(&job->mgr, hFile, buffer);
    job->options = GetCodecOption(PIXIMAGE_FORMAT_JPG);
    job->jpegScale = info.nJpegScale;
    job->quality = GetJpegQuality();
    job->dither = m_nDither;
    int rc = RunJpegDecode(job);
    free(job);
    free(buffer);
    return rc != 0;
}

// Fills one scan line for the compressor: red, green, blue for colour images,
// one grey value a pixel for grey palettes (taken from the palette, so that
// 1- and 4-bit grey images give whole 8-bit lines too).
void CPixImageJPG::EncodeLine(BYTE* line, long y, int components)
{
    long iy = head.biHeight - 1 - y;
    long width = head.biWidth;
    if (head.biClrUsed == 0)
    {
        const BYTE* src = info.pImage + iy * info.dwEffWidth;
        for (long x = 0; x < width; x++)
        {
            line[x * 3] = src[x * 3 + 2];
            line[x * 3 + 1] = src[x * 3 + 1];
            line[x * 3 + 2] = src[x * 3];
        }
        return;
    }
    RGBQUAD* pal = GetPalette();
    if (components == 1)
    {
        if (head.biBitCount == 8)
        {
            const BYTE* src = info.pImage + iy * info.dwEffWidth;
            for (long x = 0; x < width; x++)
                line[x] = pal[src[x]].rgbBlue;
        }
        else
        {
            for (long x = 0; x < width; x++)
                line[x] = pal[GetPixelIndexRaw(x, iy)].rgbBlue;
        }
    }
}

bool CPixImageJPG::Encode(CPixFile* hFile)
{
    if (CheckEncodeTarget(hFile))
        return false;
    bool grey = false;
    if (head.biClrUsed != 0)
    {
        // A palette of greys only (every entry with equal red, green and blue).
        RGBQUAD* pal = GetPalette();
        grey = true;
        for (DWORD i = 0; i < head.biClrUsed && grey; i++)
            grey = pal[i].rgbRed == pal[i].rgbGreen && pal[i].rgbGreen == pal[i].rgbBlue;
        if (!grey)
        {
            SetErrorText("JPEG can save only RGB or GreyScale images");
            return false;
        }
    }
    JOCTET* buffer = (JOCTET*)malloc(kBufferSize);
    JpegEncodeJob* job = (JpegEncodeJob*)calloc(1, sizeof(JpegEncodeJob));
    BYTE* line = (BYTE*)malloc(head.biWidth * 3 + info.dwEffWidth + 8);
    if (!buffer || !job || !line)
    {
        free(buffer);
        free(job);
        free(line);
        SetErrorText("can't allocate memory");
        return false;
    }
    job->ima = this;
    job->jerr.buffer = info.szLastError;
    InitManager(&job->mgr, hFile, buffer);
    job->line = line;
    job->options = GetCodecOption(PIXIMAGE_FORMAT_JPG);
    job->quality = GetJpegQuality();
    job->smoothing = m_nSmoothing;
    job->grey = grey;
    job->xdpi = GetXDPI();
    job->ydpi = GetYDPI();
    int rc = RunJpegEncode(job);
    free(job);
    free(buffer);
    free(line);
    return rc != 0;
}
