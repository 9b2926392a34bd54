#pragma once
#include "PixImage.h"

class CImageIterator;

// GIF files: the library's own LZW reader (GIF87a and GIF89a, animations with
// disposal methods, interlacing, transparency, true-colour GIFs made of many
// small frames) and writer (single pictures, animations, true-colour tiles).
class CPixImageGIF : public CPixImage
{
public:
    CPixImageGIF();
    ~CPixImageGIF() override;
    CPixImageGIF(const CPixImageGIF&) = delete;
    CPixImageGIF& operator=(const CPixImageGIF&) = delete;

    bool Decode(CPixFile* fp);
    bool Encode(CPixFile* fp);
    bool Encode(CPixFile* fp, CPixImage** pImages, int pagecount, bool bLocalColorMap = false,
                bool bLocalDispMeth = false);

    void SetLoops(int loops) { m_loops = loops; }
    long GetLoops() const { return m_loops; }
    void SetComment(const char* sz_comment_in);
    const char* GetComment() const { return m_comment; }

protected:
    enum
    {
        GIFBUFTAM = 16383,
        MAX_CODES = 4095,
        HSIZE = 5003
    };

    // graphic-control record
    struct GifGce
    {
        BYTE flags;
        WORD delaytime;
        BYTE transpcolindex;
    };

    struct GifScreen;
    struct GifFrame;

    // reading
    bool ReadScreen(CPixFile* fp, GifScreen& screen);
    bool ReadGlobalTable(CPixFile* fp, GifScreen& screen);
    long CountFramesKeepingState(CPixFile* fp, GifScreen& screen);
    bool DecodeFrames(CPixFile* fp, GifScreen& screen);
    bool ReadFrameTable(CPixFile* fp, const GifScreen& screen, GifFrame& frame);
    bool PrepareCanvas(GifScreen& screen, const GifFrame& frame, bool firstFrame);
    bool DecodeFramePixels(CPixFile* fp, GifFrame& frame);
    void ComposeOntoScreen(GifScreen& screen, const GifFrame& frame);
    bool AddToTrueColor(GifScreen& screen, const GifFrame& frame);
    void KeepFrame(const GifScreen& screen, long iImage, bool firstFrame);
    void TakeTrueColorPicture(GifScreen& screen);
    void TransferKeepingFrames(CPixImage& from);
    int GetByte(CPixFile* file);
    short Decoder(CPixFile* file, CImageIterator* iter, short linewidth, int& bad_code_count);
    short GetNextCode(CPixFile* file);
    short OutLine(CImageIterator* iter, BYTE* pixels, int linelen);
    bool DecodeExtension(CPixFile* fp);
    bool NextImageDescriptor(CPixFile* fp, bool& prevZero, BYTE* d);
    int CountFrames(CPixFile* fp, long& screenW, long& screenH);
    bool SkipFrameData(CPixFile* fp, long start, int badcodes);
    void ReadColorTable(const BYTE* rgb, int n);

    // writing
    void PutColorTable();
    void EncodeHeader(CPixFile* fp);
    void EncodeLoopExtension(CPixFile* fp);
    void EncodeExtension(CPixFile* fp);
    void EncodeComment(CPixFile* fp);
    bool EncodeBody(CPixFile* fp, bool bLocalColorMap = false);
    bool EncodeRGB(CPixFile* fp);
    void StartCodes(int init_bits, CPixFile* outfile);
    void CompressLZW(int init_bits, CPixFile* outfile);
    void CompressNone(int init_bits, CPixFile* outfile);
    void CompressRLE(int init_bits, CPixFile* outfile);
    void Output(int code);
    void ClearBlock();
    void ClearHash(long hsize);
    void CharOut(int c);
    void FlushChar();
    int GifNextPixel();
    void Put(const void* data, DWORD bytes);
    void PutByte(int c);
    void PutWord(int w);

    GifGce gifgce;

    // interlace state
    int interlaced, iypos, istep, iheight, ipass;
    // byte reader
    int ibf;
    int ibfmax;
    BYTE buf[GIFBUFTAM + 1];
    long m_consumed;
    bool m_terminatorSeen;
    // LZW decoder
    short curr_size, clear, ending, newcodes, top_slot, slot;
    int navail_bytes;
    int nbits_left;
    DWORD m_bitAccum;
    BYTE* pbytes;
    BYTE byte_buff[257];
    BYTE* stack;
    BYTE* suffix;
    WORD* prefix;
    long m_outRow;
    // LZW encoder
    long htab[HSIZE];
    unsigned short codetab[HSIZE];
    long cur_accum;
    int cur_bits;
    int n_bits;
    int g_init_bits;
    int maxcode;
    int free_ent;
    int clear_flg;
    int ClearCode;
    int EOFCode;
    CPixFile* g_outfile;
    BYTE accum[256];
    int a_count;
    long curx, cury;
    long CountDown;
    bool m_writeError;
    int rle_width;

    char m_comment[256];
    int m_loops;
};
