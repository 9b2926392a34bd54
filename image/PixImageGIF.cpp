// Reading side of CPixImageGIF: blocks, extensions, frame composition and the
// LZW decoder.
#include "PixImageGIF.h"
#include "ImageIterator.h"
#include <memory>
#include <stdlib.h>
#include <string.h>

namespace
{
const DWORD code_mask[13] = {0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F,
                             0x007F, 0x00FF, 0x01FF, 0x03FF, 0x07FF, 0x0FFF};

WORD LE16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

// Frame pixels (from the top line) copied onto the screen canvas at the frame's
// position, leaving out the frame's transparent pixels.
void ComposeOnto(CPixImage& canvas, CPixImage& frame, long left, long top, long transIndex)
{
    long screenW = canvas.GetWidth(), screenH = canvas.GetHeight();
    long fw = frame.GetWidth(), fh = frame.GetHeight();
    long right = left + fw < screenW ? left + fw : screenW;
    for (long y = 0; y < fh; y++)
    {
        long cy = screenH - 1 - (top + y);
        long fy = fh - 1 - y;
        for (long x = left; x < right; x++)
        {
            BYTE idx = frame.GetPixelIndex(x - left, fy);
            if (transIndex >= 0 && idx == (BYTE)transIndex)
                continue;
            canvas.SetPixelIndex(x, cy, idx);
        }
    }
}
} // namespace

CPixImageGIF::CPixImageGIF() : CPixImage(PIXIMAGE_FORMAT_GIF)
{
    memset(&gifgce, 0, sizeof(gifgce));
    interlaced = iypos = istep = iheight = ipass = 0;
    ibf = GIFBUFTAM + 1;
    ibfmax = 0;
    m_consumed = 0;
    m_terminatorSeen = false;
    curr_size = clear = ending = newcodes = top_slot = slot = 0;
    navail_bytes = nbits_left = 0;
    m_bitAccum = 0;
    pbytes = byte_buff;
    stack = (BYTE*)malloc(MAX_CODES + 1);
    suffix = (BYTE*)malloc(MAX_CODES + 1);
    prefix = (WORD*)malloc((MAX_CODES + 1) * sizeof(WORD));
    m_outRow = 0;
    cur_accum = 0;
    cur_bits = n_bits = g_init_bits = maxcode = free_ent = clear_flg = ClearCode = EOFCode = 0;
    g_outfile = nullptr;
    a_count = 0;
    curx = cury = CountDown = 0;
    m_writeError = false;
    m_comment[0] = 0;
    m_loops = 0;
    info.dispmeth = 0;
}

CPixImageGIF::~CPixImageGIF()
{
    free(stack);
    free(suffix);
    free(prefix);
}

void CPixImageGIF::SetComment(const char* sz_comment_in)
{
    if (sz_comment_in)
    {
        strncpy(m_comment, sz_comment_in, 255);
        m_comment[255] = 0;
    }
}

int CPixImageGIF::GetByte(CPixFile* file)
{
    if (ibf >= GIFBUFTAM)
    {
        ibfmax = (int)file->Read(buf, 1, GIFBUFTAM);
        if (ibfmax < GIFBUFTAM)
            buf[ibfmax] = 255;
        ibf = 0;
    }
    if (ibf >= ibfmax)
        return -1;
    m_consumed++;
    return buf[ibf++];
}

void CPixImageGIF::ReadColorTable(const BYTE* rgb, int n)
{
    RGBQUAD* pal = GetPalette();
    if (!pal)
        return;
    int m = n < (int)head.biClrUsed ? n : (int)head.biClrUsed;
    for (int i = 0; i < m; i++)
    {
        pal[i].rgbRed = rgb[i * 3];
        pal[i].rgbGreen = rgb[i * 3 + 1];
        pal[i].rgbBlue = rgb[i * 3 + 2];
        pal[i].rgbReserved = 0;
    }
    if (info.nBkgndIndex >= 0)
    {
        for (int i = m; i < (int)head.biClrUsed; i++)
        {
            pal[i].rgbRed = pal[i].rgbGreen = pal[i].rgbBlue = 255;
            pal[i].rgbReserved = 0;
        }
    }
    info.last_c_isvalid = false;
}

bool CPixImageGIF::DecodeExtension(CPixFile* fp)
{
    long label = fp->GetC();
    if (label < 0)
        return false;
    bool ok = true;
    switch (label)
    {
    case 0xF9: {
        long n = fp->GetC();
        BYTE rec[4];
        ok = n == 4 && fp->Read(rec, 1, 4) == 4;
        if (ok)
        {
            gifgce.flags = rec[0];
            gifgce.delaytime = LE16(rec + 1);
            gifgce.transpcolindex = rec[3];
            info.nBkgndIndex = (gifgce.flags & 1) ? gifgce.transpcolindex : -1;
            info.dwFrameDelay = gifgce.delaytime;
            info.dispmeth = (BYTE)((gifgce.flags >> 2) & 7);
        }
        break;
    }
    case 0xFE: {
        long n = fp->GetC();
        ok = n >= 0 && (long)fp->Read(m_comment, 1, n) == n;
        m_comment[ok ? n : 0] = 0;
        break;
    }
    case 0xFF: {
        long n = fp->GetC();
        BYTE name[11];
        ok = n == 11 && fp->Read(name, 1, 11) == 11;
        if (ok)
        {
            long m = fp->GetC();
            BYTE sub[256];
            ok = m >= 0 && (long)fp->Read(sub, 1, m) == m;
            if (ok && m > 2)
                m_loops = sub[1] + 256 * sub[2];
        }
        break;
    }
    default: break;
    }
    if (ok)
    {
        for (;;)
        {
            long n = fp->GetC();
            if (n <= 0)
                break;
            if (!fp->Seek(n, SEEK_CUR))
                break;
        }
    }
    return ok;
}

// After a frame's data: to the byte after the block terminator, or, when the
// decoder met bad codes, to the next "0 ," in the file.
bool CPixImageGIF::SkipFrameData(CPixFile* fp, long start, int badcodes)
{
    if (badcodes)
    {
        fp->Seek(start, SEEK_SET);
        long prev = -1;
        for (;;)
        {
            long c = fp->GetC();
            if (c < 0)
                return false;
            if (prev == 0 && c == ',')
            {
                fp->Seek(-1, SEEK_CUR);
                return true;
            }
            prev = c;
        }
    }
    fp->Seek(start + m_consumed + (m_terminatorSeen ? 0 : 1), SEEK_SET);
    return true;
}

// Reads the blocks up to the next image descriptor (extensions on the way);
// false at the trailer, at the end of the file or after a failed extension. A
// byte only introduces a block when the byte before it was 0.
bool CPixImageGIF::NextImageDescriptor(CPixFile* fp, bool& prevZero, BYTE* d)
{
    for (;;)
    {
        long ch = fp->GetC();
        if (ch < 0 || (prevZero && ch == ';'))
            return false;
        if (!prevZero || (ch != '!' && ch != ','))
        {
            prevZero = ch == 0;
            continue;
        }
        if (ch == '!')
        {
            if (!DecodeExtension(fp))
                return false;
            continue;
        }
        return fp->Read(d, 1, 9) == 9;
    }
}

int CPixImageGIF::CountFrames(CPixFile* fp, long& screenW, long& screenH)
{
    long pos = fp->Tell();
    int count = 0;
    bool prevZero = true;
    BYTE d[9];
    while (NextImageDescriptor(fp, prevZero, d))
    {
        long left = LE16(d), top = LE16(d + 2), w = LE16(d + 4), h = LE16(d + 6);
        if (screenW == 0 && screenH == 0)
        {
            screenW = w;
            screenH = h;
        }
        if (left + w > screenW || top + h > screenH)
            continue;
        if (d[8] & 0x80)
            fp->Seek(3 * (1 << ((d[8] & 7) + 1)), SEEK_CUR);
        count++;
        ibf = GIFBUFTAM + 1;
        m_consumed = 0;
        m_terminatorSeen = false;
        long start = fp->Tell();
        int bad = 0;
        Decoder(fp, nullptr, (short)(w > 0 ? w : 1), bad);
        if (!SkipFrameData(fp, start, bad))
            break;
        prevZero = true;
    }
    fp->Seek(pos, SEEK_SET);
    return count;
}

// The logical screen of the file being read and what its frames leave behind:
// the composed picture, the picture the next frame's disposal restores, and
// the 24-bit picture of a true-colour file.
struct CPixImageGIF::GifScreen
{
    long width = 0, height = 0;
    BYTE flags = 0;
    BYTE globalTable[768];
    int globalSize = 0;
    long numFrames = 0;
    // Points towards the test for a true-colour file (many small frames with
    // local palettes): no global table, and a first frame smaller both ways.
    int trueColorPoints = 0;
    std::unique_ptr<CPixImage> canvas;
    std::unique_ptr<CPixImage> previous;
    std::unique_ptr<CPixImage> trueColor;
    long firstTransIndex = -1;
    BYTE prevDispmeth = 0;

    bool IsTrueColor() const { return trueColorPoints >= 2; }
};

// One image descriptor with the colour table that applies to it.
struct CPixImageGIF::GifFrame
{
    long left = 0, top = 0, width = 0, height = 0;
    BYTE flags = 0;
    BYTE localTable[768];
    const BYTE* table = nullptr;
    int tableSize = 0;
    int bpp = 8;
    long dataStart = 0;
    int badCodes = 0;
};

bool CPixImageGIF::Decode(CPixFile* fp)
{
    if (!fp)
        return false;
    GifScreen screen;
    if (!ReadScreen(fp, screen))
        return false;
    if (info.nEscape == -1)
    {
        head.biWidth = screen.width;
        head.biHeight = screen.height;
        info.dwType = PIXIMAGE_FORMAT_GIF;
        return true;
    }
    if (!ReadGlobalTable(fp, screen))
        return false;

    screen.numFrames = CountFramesKeepingState(fp, screen);
    info.nNumFrames = screen.numFrames;
    if (info.nFrame < 0 || info.nFrame >= screen.numFrames)
    {
        SetErrorText(screen.numFrames ? "frame index out of range" : "No image in GIF file");
        return false;
    }
    if (screen.numFrames == 1)
        screen.trueColorPoints = 0;
    // Every frame lies within the screen, so the screen's size bounds them all.
    if (!FitsDecodeLimit(screen.width, screen.height))
        return false;

    bool ok = DecodeFrames(fp, screen);
    if (ok && screen.trueColor)
        TakeTrueColorPicture(screen);
    if (ok && !IsValid())
    {
        SetErrorText("No image in GIF file");
        ok = false;
    }
    if (ok)
        info.dwType = PIXIMAGE_FORMAT_GIF;
    return ok;
}

bool CPixImageGIF::ReadScreen(CPixFile* fp, GifScreen& screen)
{
    BYTE hdr[13];
    if (fp->Read(hdr, 1, 13) != 13 || memcmp(hdr, "GIF8", 4) != 0)
    {
        SetErrorText("Not a GIF file");
        return false;
    }
    screen.width = LE16(hdr + 6);
    screen.height = LE16(hdr + 8);
    screen.flags = hdr[10];
    return true;
}

bool CPixImageGIF::ReadGlobalTable(CPixFile* fp, GifScreen& screen)
{
    if (!(screen.flags & 0x80))
    {
        screen.trueColorPoints++;
        return true;
    }
    screen.globalSize = 1 << ((screen.flags & 7) + 1);
    if ((int)fp->Read(screen.globalTable, 1, 3 * screen.globalSize) != 3 * screen.globalSize)
    {
        SetErrorText("Premature end of file");
        return false;
    }
    return true;
}

// Counting reads every extension; what the blocks before the first frame say
// is read again by the frame loop, so the counting leaves no trace of them.
long CPixImageGIF::CountFramesKeepingState(CPixFile* fp, GifScreen& screen)
{
    GifGce savedGce = gifgce;
    long savedTrans = info.nBkgndIndex;
    DWORD savedDelay = info.dwFrameDelay;
    BYTE savedDisp = info.dispmeth;
    int savedLoops = m_loops;
    long n = CountFrames(fp, screen.width, screen.height);
    gifgce = savedGce;
    info.nBkgndIndex = savedTrans;
    info.dwFrameDelay = savedDelay;
    info.dispmeth = savedDisp;
    m_loops = savedLoops;
    m_comment[0] = 0;
    return n;
}

// Reads frames up to the one asked for (every frame of a true-colour file),
// composing each onto the screen. False when the decode fails; the end of
// the file or a broken block before that frame ends it with what was read.
bool CPixImageGIF::DecodeFrames(CPixFile* fp, GifScreen& screen)
{
    long iImage = 0;
    bool prevZero = true;
    bool firstFrame = true;
    for (;;)
    {
        if (info.nEscape > 0)
        {
            SetErrorText("Cancelled");
            return false;
        }
        BYTE d[9];
        if (!NextImageDescriptor(fp, prevZero, d))
            return true;
        GifFrame frame;
        frame.left = LE16(d);
        frame.top = LE16(d + 2);
        frame.width = LE16(d + 4);
        frame.height = LE16(d + 6);
        frame.flags = d[8];
        if (frame.left + frame.width > screen.width || frame.top + frame.height > screen.height)
            continue;
        if (firstFrame && frame.width != screen.width && frame.height != screen.height)
            screen.trueColorPoints++;
        if (!ReadFrameTable(fp, screen, frame))
            return true;

        if (!screen.IsTrueColor() && !PrepareCanvas(screen, frame, firstFrame))
            return false;
        if (!DecodeFramePixels(fp, frame))
            return false;
        if (!screen.IsTrueColor())
            ComposeOntoScreen(screen, frame);
        else if (!AddToTrueColor(screen, frame))
            return false;

        screen.prevDispmeth = (BYTE)((gifgce.flags >> 2) & 7);
        // At the end of the file the next descriptor read ends the loop.
        SkipFrameData(fp, frame.dataStart, frame.badCodes);
        prevZero = true;
        if (info.bGetAllFrames && !screen.IsTrueColor())
            KeepFrame(screen, iImage, firstFrame);
        if (screen.prevDispmeth <= 1)
            screen.previous.reset(new CPixImage(*this, true, true, true));
        firstFrame = false;
        if (iImage == info.nFrame)
            return true;
        iImage++;
    }
}

// The frame's own colour table, else the global one; the palette size gives
// the frame's depth. False when the table is cut short.
bool CPixImageGIF::ReadFrameTable(CPixFile* fp, const GifScreen& screen, GifFrame& frame)
{
    if (frame.flags & 0x80)
    {
        frame.tableSize = 1 << ((frame.flags & 7) + 1);
        if ((int)fp->Read(frame.localTable, 1, 3 * frame.tableSize) != 3 * frame.tableSize)
            return false;
        frame.table = frame.localTable;
    }
    else if (screen.globalSize)
    {
        frame.tableSize = screen.globalSize;
        frame.table = screen.globalTable;
    }
    int palSize = (frame.flags & 0x80) ? frame.tableSize : 1 << ((screen.flags & 7) + 1);
    frame.bpp = palSize <= 2 ? 1 : (palSize <= 16 ? 4 : 8);
    return true;
}

// The screen canvas this frame is drawn onto: a new one for the first frame,
// otherwise what the previous frame's disposal method leaves.
bool CPixImageGIF::PrepareCanvas(GifScreen& screen, const GifFrame& frame, bool firstFrame)
{
    std::unique_ptr<CPixImage> next;
    if (firstFrame)
    {
        next.reset(new CPixImage(PIXIMAGE_FORMAT_GIF));
        next->CopyInfo(*this);
        if (!next->Create(screen.width, screen.height, frame.bpp, PIXIMAGE_FORMAT_GIF))
        {
            SetErrorText(next->GetErrorText());
            return false;
        }
        next->Clear(gifgce.transpcolindex);
        screen.firstTransIndex = info.nBkgndIndex;
        screen.previous.reset(new CPixImage(*next));
    }
    else if (screen.prevDispmeth == 2 || screen.prevDispmeth == 3)
    {
        // Restore to background, or to the picture before the previous frame.
        next.reset(new CPixImage(*this, true, false, false));
        next->Clear((BYTE)screen.firstTransIndex);
        CPixImage* previous = screen.previous.get();
        if (screen.prevDispmeth == 3 && previous && previous->IsValid())
        {
            next->Create(previous->GetWidth(), previous->GetHeight(), previous->GetBpp(), PIXIMAGE_FORMAT_GIF);
            if (next->IsValid())
            {
                memcpy(next->GetDIB(), previous->GetDIB(), previous->GetSize());
                next->AlphaCopy(*previous);
            }
        }
    }
    else
    {
        next.reset(new CPixImage(*this, true, true, true));
    }
    screen.canvas = std::move(next);
    return true;
}

// Recreates this image as the frame with its palette and runs the LZW decoder
// into it. False when the image cannot be made or the decode was cancelled.
bool CPixImageGIF::DecodeFramePixels(CPixFile* fp, GifFrame& frame)
{
    if (!Create(frame.width, frame.height, frame.bpp, PIXIMAGE_FORMAT_GIF))
        return false;
    if (frame.table)
        ReadColorTable(frame.table, frame.tableSize);
    // Pixels the data does not reach show the canvas (or index 0).
    Clear(info.nBkgndIndex >= 0 ? (BYTE)info.nBkgndIndex : 0);

    interlaced = (frame.flags & 0x40) ? 1 : 0;
    istep = 8;
    iypos = 0;
    iheight = frame.height;
    ipass = 0;
    ibf = GIFBUFTAM + 1;
    m_consumed = 0;
    m_terminatorSeen = false;
    frame.dataStart = fp->Tell();
    CImageIterator iter(this);
    iter.Upset();
    m_outRow = 0;
    Decoder(fp, &iter, (short)frame.width, frame.badCodes);
    if (info.nEscape)
    {
        SetErrorText("Cancelled");
        return false;
    }
    return true;
}

// Draws the decoded frame onto the canvas, which then becomes this image with
// the frame's palette, delay and disposal method.
void CPixImageGIF::ComposeOntoScreen(GifScreen& screen, const GifFrame& frame)
{
    ComposeOnto(*screen.canvas, *this, frame.left, frame.top, info.nBkgndIndex);
    screen.canvas->info.nBkgndIndex = screen.firstTransIndex;
    RGBQUAD framePal[256];
    DWORD n = GetNumColors();
    memcpy(framePal, GetPalette(), n * sizeof(RGBQUAD));
    DWORD delay = info.dwFrameDelay;
    BYTE disp = info.dispmeth;
    TransferKeepingFrames(*screen.canvas);
    SetPalette(framePal, n);
    info.dwFrameDelay = delay;
    info.dispmeth = disp;
}

// A true-colour file: every frame is read and set into one 24-bit picture.
bool CPixImageGIF::AddToTrueColor(GifScreen& screen, const GifFrame& frame)
{
    info.nFrame = screen.numFrames - 1;
    if (!screen.trueColor)
    {
        screen.trueColor.reset(new CPixImage(PIXIMAGE_FORMAT_GIF));
        if (!screen.trueColor->Create(screen.width, screen.height, 24, PIXIMAGE_FORMAT_GIF))
        {
            SetErrorText(screen.trueColor->GetErrorText());
            return false;
        }
        screen.trueColor->Clear(0);
    }
    long fw = frame.width, fh = frame.height;
    for (long y = 0; y < fh; y++)
        for (long x = 0; x < fw; x++)
            screen.trueColor->SetPixelColor(frame.left + x, screen.height - 1 - (frame.top + y),
                                            GetPixelColor(x, fh - 1 - y, false));
    return true;
}

void CPixImageGIF::KeepFrame(const GifScreen& screen, long iImage, bool firstFrame)
{
    if (firstFrame)
    {
        DestroyFrames();
        ppFrames = new CPixImage*[screen.numFrames];
        for (long i = 0; i < screen.numFrames; i++)
            ppFrames[i] = nullptr;
        info.nNumFrames = screen.numFrames;
    }
    if (iImage < screen.numFrames)
    {
        delete ppFrames[iImage];
        ppFrames[iImage] = new CPixImage(*this, true, true, true);
    }
}

// The 24-bit picture replaces this image; a transparent index of the last
// graphic control becomes its transparent colour.
void CPixImageGIF::TakeTrueColorPicture(GifScreen& screen)
{
    if (gifgce.flags & 1)
    {
        screen.trueColor->SetTransColor(GetPaletteColor(gifgce.transpcolindex));
        screen.trueColor->SetTransIndex(0);
        screen.trueColor->info.nBkgndIndex = 0;
    }
    TransferKeepingFrames(*screen.trueColor);
}

// Takes the picture of another image; the frames kept so far stay this image's.
void CPixImageGIF::TransferKeepingFrames(CPixImage& from)
{
    CPixImage** frames = ppFrames;
    long numFrames = info.nNumFrames;
    ppFrames = nullptr;
    Transfer(from, false);
    ppFrames = frames;
    info.nNumFrames = numFrames;
}

short CPixImageGIF::GetNextCode(CPixFile* file)
{
    while (nbits_left < curr_size)
    {
        if (navail_bytes <= 0)
        {
            int n = GetByte(file);
            if (n < 0)
                return (short)n;
            if (n == 0)
            {
                // The block terminator before the end code ends the frame.
                m_terminatorSeen = true;
                return ending;
            }
            pbytes = byte_buff;
            for (int i = 0; i < n; i++)
            {
                int x = GetByte(file);
                if (x < 0)
                    return (short)x;
                byte_buff[i] = (BYTE)x;
            }
            navail_bytes = n;
        }
        m_bitAccum |= (DWORD)(*pbytes++) << nbits_left;
        nbits_left += 8;
        navail_bytes--;
    }
    short ret = (short)(m_bitAccum & code_mask[curr_size]);
    m_bitAccum >>= curr_size;
    nbits_left -= curr_size;
    return ret;
}

short CPixImageGIF::Decoder(CPixFile* file, CImageIterator* iter, short linewidth, int& bad_code_count)
{
    bad_code_count = 0;
    int size = GetByte(file);
    if (size < 0)
        return (short)size;
    if (size < 2 || size > 9)
        return -20;
    if (!stack || !suffix || !prefix)
        return -10;
    curr_size = (short)(size + 1);
    top_slot = (short)(1 << curr_size);
    clear = (short)(1 << size);
    ending = (short)(clear + 1);
    slot = newcodes = (short)(ending + 1);
    navail_bytes = nbits_left = 0;
    m_bitAccum = 0;
    memset(stack, 0, MAX_CODES + 1);
    memset(prefix, 0, (MAX_CODES + 1) * sizeof(WORD));
    memset(suffix, 0, MAX_CODES + 1);

    BYTE* line = (BYTE*)malloc(linewidth + 1);
    if (!line)
        return -10;
    BYTE* sp = stack;
    BYTE* bufptr = line;
    int bufcnt = linewidth;
    short oc = 0, fc = 0, c, code;
    short ret = 0;

    auto put = [&](BYTE v) -> bool {
        *bufptr++ = v;
        if (--bufcnt == 0)
        {
            short r = OutLine(iter, line, linewidth);
            if (r < 0)
            {
                ret = r;
                return false;
            }
            bufptr = line;
            bufcnt = linewidth;
        }
        return true;
    };

    while ((c = GetNextCode(file)) != ending)
    {
        if (c < 0)
        {
            free(line);
            return 0;
        }
        if (c == clear)
        {
            curr_size = (short)(size + 1);
            slot = newcodes;
            top_slot = (short)(1 << curr_size);
            while ((c = GetNextCode(file)) == clear)
                ;
            if (c < 0)
            {
                free(line);
                return 0;
            }
            if (c == ending)
                break;
            if (c >= slot)
                c = 0;
            oc = fc = c;
            if (!put((BYTE)c))
                break;
        }
        else
        {
            code = c;
            if (code >= slot && sp < stack + MAX_CODES - 1)
            {
                if (code > slot)
                    ++bad_code_count;
                code = oc;
                *sp++ = (BYTE)fc;
            }
            while (code >= newcodes && sp < stack + MAX_CODES - 1)
            {
                *sp++ = suffix[code];
                code = (short)prefix[code];
            }
            *sp++ = (BYTE)code;
            if (slot < top_slot)
            {
                fc = code;
                suffix[slot] = (BYTE)fc;
                prefix[slot++] = (WORD)oc;
                oc = c;
            }
            if (slot >= top_slot && curr_size < 12)
            {
                top_slot <<= 1;
                ++curr_size;
            }
            bool stop = false;
            while (sp > stack)
            {
                if (!put(*(--sp)))
                {
                    stop = true;
                    break;
                }
            }
            sp = stack;
            if (stop)
                break;
        }
    }
    if (ret == 0 && bufcnt != linewidth)
        ret = OutLine(iter, line, linewidth - bufcnt);
    free(line);
    return ret < 0 ? ret : 0;
}

short CPixImageGIF::OutLine(CImageIterator* iter, BYTE* pixels, int linelen)
{
    if (!iter)
        return 0; // counting frames: nothing to store
    if (!IsValid())
        return -1;
    long height = head.biHeight;
    if (head.biBitCount < 8)
    {
        // Pack one-byte pixels in place, the leftmost in the highest bits.
        if (head.biBitCount == 4)
        {
            for (int x = 0; x < linelen; x++)
            {
                BYTE v = pixels[x] & 0x0F;
                if (x & 1)
                    pixels[x >> 1] = (BYTE)((pixels[x >> 1] & 0xF0) | v);
                else
                    pixels[x >> 1] = (BYTE)(v << 4);
            }
            linelen = (linelen + 1) / 2;
        }
        else
        {
            for (int x = 0; x < linelen; x++)
            {
                BYTE v = pixels[x] & 1;
                if (x & 7)
                    pixels[x >> 3] = (BYTE)(pixels[x >> 3] | (v << (7 - (x & 7))));
                else
                    pixels[x >> 3] = (BYTE)(v << 7);
            }
            linelen = (linelen + 7) / 8;
        }
    }
    if (!interlaced)
    {
        if (m_outRow >= height)
            return -1;
        iter->GetRow(height - 1 - m_outRow);
        iter->SetRow(pixels, linelen);
        m_outRow++;
        return 0;
    }
    if (iypos >= iheight || iypos >= height)
        return -1;
    iter->GetRow(height - 1 - iypos);
    iter->SetRow(pixels, linelen);
    iypos += istep;
    while (iypos >= iheight)
    {
        ipass++;
        if (ipass >= 4)
            break;
        if (ipass > 1)
            istep /= 2;
        iypos = istep / 2;
    }
    return 0;
}
