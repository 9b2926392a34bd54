// Pictures into 32-bit DIB sections: PNG decoding with and without alpha,
// damaged and short input, bitmap resources and files, bitmaps stored in
// archives, and the premultiplied and mirrored copies.
#include "SFBitmapLoaders.h"
#include "SFBitmapTransforms.h"
#include "SFImageLoading.h"
#include "SFPngDecoder.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
struct BitmapDeleter
{
    void operator()(HBITMAP__* h) const { DeleteObject(h); }
};
using Bitmap = std::unique_ptr<HBITMAP__, BitmapDeleter>;

struct StyleLibrary
{
    HMODULE module = LoadLibraryExW(TestStylePath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ~StyleLibrary()
    {
        if (module)
            FreeLibrary(module);
    }
};

std::vector<BYTE> ReadAll(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(f, NULL));
    DWORD got = 0;
    ReadFile(f, bytes.data(), (DWORD)bytes.size(), &got, NULL);
    CloseHandle(f);
    return bytes;
}
} // namespace

TEST(SFPngDecoder, GreyWithTransparencyGetsAlphaRgbDoesNot)
{
    std::wstring folder = FreshFolder(L"png");
    ASSERT_TRUE(WriteGreyPng(folder + L"\\grey.png", 5, 3, 60));
    ASSERT_TRUE(WriteRgbPng(folder + L"\\rgb.png", 4, 2));

    CSFPngDecoder grey;
    ASSERT_TRUE(grey.LoadFile((folder + L"\\grey.png").c_str()));
    EXPECT_TRUE(grey.HasAlpha());
    SFBitmapPixels pixels;
    ASSERT_TRUE(Read32BitPixels(NULL, grey.GetBitmap(), &pixels));
    EXPECT_EQ(5, pixels.Width());
    EXPECT_EQ(3, pixels.Height());
    // Pixel (1, 0) has the grey level 60, the transparent one; (0, 0) is 0.
    const BYTE* p = pixels.bits.data();
    EXPECT_EQ(0, p[1 * 4 + 3]);
    EXPECT_EQ(60, p[1 * 4 + 2]);
    EXPECT_EQ(255, p[0 * 4 + 3]);
    // Top row first: pixel (0, 2) of the bottom row has grey 40.
    EXPECT_EQ(40, p[(2 * 5 + 0) * 4 + 0]);

    CSFPngDecoder rgb;
    ASSERT_TRUE(rgb.LoadFile((folder + L"\\rgb.png").c_str()));
    EXPECT_FALSE(rgb.HasAlpha());
    ASSERT_TRUE(Read32BitPixels(NULL, rgb.GetBitmap(), &pixels));
    for (size_t i = 3; i < pixels.bits.size(); i += 4)
        EXPECT_EQ(0, pixels.bits[i]);
    // Red, green, blue of pixel (1, 1): 80, 150, 220, stored blue first.
    const BYTE* q = pixels.bits.data() + (1 * 4 + 1) * 4;
    EXPECT_EQ(220 & 0xFF, q[0]);
    EXPECT_EQ(150, q[1]);
    EXPECT_EQ(80, q[2]);
}

TEST(SFPngDecoder, DamagedShortAndForeignInputFailCleanly)
{
    std::wstring folder = FreshFolder(L"png-bad");
    WriteText(folder + L"\\three.png", "\x89PN");
    EXPECT_FALSE(IsPngFile((folder + L"\\three.png").c_str()));
    CSFPngDecoder decoder;
    EXPECT_FALSE(decoder.LoadFile((folder + L"\\three.png").c_str()));
    EXPECT_FALSE(decoder.LoadFile((folder + L"\\missing.png").c_str()));

    ASSERT_TRUE(WriteRgbPng(folder + L"\\good.png", 16, 16));
    std::vector<BYTE> good = ReadAll(folder + L"\\good.png");
    ASSERT_GT(good.size(), 60u);
    EXPECT_TRUE(IsPngFile((folder + L"\\good.png").c_str()));
    // Cut in the middle of the image data, and with a damaged header CRC.
    EXPECT_FALSE(decoder.LoadMemory(good.data(), good.size() - 20));
    std::vector<BYTE> damaged = good;
    damaged[29] ^= 0xFF;
    EXPECT_FALSE(decoder.LoadMemory(damaged.data(), damaged.size()));
    EXPECT_EQ(nullptr, decoder.GetBitmap());
    // A header claiming a picture too large for a skin.
    std::vector<BYTE> huge = good;
    huge[16] = 0x7F;
    EXPECT_FALSE(decoder.LoadMemory(huge.data(), huge.size()));
    // The good one still decodes after the failures.
    EXPECT_TRUE(decoder.LoadMemory(good.data(), good.size()));
}

TEST(SFImageLoading, ResourcesOfTheStyleLibrary)
{
    StyleLibrary lib;
    ASSERT_NE(nullptr, lib.module);
    EXPECT_TRUE(IsPngResource(lib.module, L"BLUE_CHECKBOX_PNG"));
    EXPECT_FALSE(IsPngResource(lib.module, L"NOTPNG"));
    EXPECT_FALSE(IsPngResource(lib.module, L"BLUE_PUSHBUTTON_BMP"));

    // A 32-bit bitmap resource shorter than its header claims yields none.
    EXPECT_EQ(nullptr, Load32BitBitmapResource(lib.module, L"SHORT32"));
    Bitmap full(Load32BitBitmapResource(lib.module, L"FULL32"));
    ASSERT_TRUE(full);
    SFBitmapPixels pixels;
    ASSERT_TRUE(Read32BitPixels(NULL, full.get(), &pixels));
    // Bottom row first in the resource: (0, 1) is half-transparent blue.
    const DWORD* p = (const DWORD*)pixels.bits.data();
    EXPECT_EQ(0x80FF0000u, p[2]);
    EXPECT_EQ(0xFF0000FFu, p[1]);

    BOOL alpha = FALSE;
    Bitmap png(SFLoadBitmapResource(lib.module, L"BLUE_CHECKBOX_PNG", &alpha));
    ASSERT_TRUE(png);
    EXPECT_TRUE(alpha);
    Bitmap plain(SFLoadBitmapResource(lib.module, L"BLUE_PUSHBUTTON_BMP", &alpha));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(alpha);
    Bitmap via(LoadResourceBitmap(lib.module, L"BLUE_PUSHBUTTON_BMP", &alpha));
    ASSERT_TRUE(via);
    EXPECT_FALSE(alpha);
    BITMAP bm;
    GetObjectW(via.get(), sizeof(bm), &bm);
    EXPECT_EQ(24, bm.bmWidth);
    EXPECT_EQ(110, bm.bmHeight);
    EXPECT_EQ(nullptr, LoadResourceBitmap(lib.module, L"SHORT32", &alpha));
    EXPECT_EQ(nullptr, LoadResourceBitmap(lib.module, L"NO_SUCH_BMP", &alpha));
}

TEST(SFImageLoading, BitmapFilesByTheirDepth)
{
    std::wstring folder = FreshFolder(L"bmp");
    Canvas canvas(3, 2, RGB(10, 20, 30));
    canvas.SetRaw(0, 0, 0x40102030);
    HBITMAP copy = canvas.Copy();
    // A 32-bit BMP file: file header, info header, pixels bottom-up.
    std::vector<BYTE> file(14 + 40 + 3 * 2 * 4);
    BITMAPFILEHEADER* fh = (BITMAPFILEHEADER*)file.data();
    fh->bfType = 0x4D42;
    fh->bfSize = (DWORD)file.size();
    fh->bfOffBits = 54;
    BITMAPINFOHEADER* ih = (BITMAPINFOHEADER*)(file.data() + 14);
    ih->biSize = 40;
    ih->biWidth = 3;
    ih->biHeight = 2;
    ih->biPlanes = 1;
    ih->biBitCount = 32;
    SFBitmapPixels px;
    ASSERT_TRUE(Read32BitPixels(NULL, copy, &px));
    DeleteObject(copy);
    memcpy(file.data() + 54, px.bits.data() + 3 * 4, 3 * 4); // bottom row first
    memcpy(file.data() + 54 + 12, px.bits.data(), 3 * 4);
    WriteBytes(folder + L"\\alpha.bmp", file.data(), file.size());
    EXPECT_TRUE(Is32BitBmpFile((folder + L"\\alpha.bmp").c_str()));
    BOOL alpha = FALSE;
    Bitmap loaded(SFLoadBitmapFile((folder + L"\\alpha.bmp").c_str(), &alpha));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(alpha);

    std::wstring button = StyleSourceFolder() + L"\\Blue\\PushButton.bmp";
    EXPECT_FALSE(Is32BitBmpFile(button.c_str()));
    Bitmap plain(SFLoadBitmapFile(button.c_str(), &alpha));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(alpha);
    Bitmap png(SFLoadBitmapFile((StyleSourceFolder() + L"\\Blue\\RadioButton.png").c_str(), &alpha));
    ASSERT_TRUE(png);
    EXPECT_TRUE(alpha);
}

TEST(SFImageLoading, BitmapsInArchivesSurviveAndDamageIsRefused)
{
    Canvas canvas(5, 4, RGB(1, 2, 3));
    canvas.SetRaw(4, 3, 0x00ABCDEF);
    HBITMAP source = canvas.Copy();
    CMemFile file(256);
    {
        CArchive ar(&file, CArchive::store);
        WriteBitmapToArchive(ar, source);
        WriteBitmapToArchive(ar, NULL);
        ar.Close();
    }
    DeleteObject(source);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        void* bits = NULL;
        Bitmap back(ReadBitmapFromArchive(ar, &bits));
        ASSERT_TRUE(back);
        ASSERT_NE(nullptr, bits);
        SFBitmapPixels pixels;
        ASSERT_TRUE(Read32BitPixels(NULL, back.get(), &pixels));
        EXPECT_EQ(0x00ABCDEFu, ((const DWORD*)pixels.bits.data())[3 * 5 + 4] & 0xFFFFFF);
        EXPECT_EQ(nullptr, ReadBitmapFromArchive(ar));
    }

    // A header count larger than what follows: the archive ends early.
    CMemFile cut(64);
    {
        CArchive ar(&cut, CArchive::store);
        ar.WriteCount(40);
        ar << (DWORD)40;
        ar.Close();
    }
    cut.SeekToBegin();
    {
        CArchive ar(&cut, CArchive::load);
        EXPECT_THROW(
            {
                try
                {
                    ReadBitmapFromArchive(ar);
                }
                catch (CException* e)
                {
                    e->Delete();
                    throw 1;
                }
            },
            int);
    }

    // A header whose size field points past the stored header bytes.
    CMemFile bad(64);
    {
        CArchive ar(&bad, CArchive::store);
        BITMAPINFOHEADER h = {};
        h.biSize = 4000;
        h.biWidth = 2;
        h.biHeight = 2;
        h.biPlanes = 1;
        h.biBitCount = 32;
        ar.WriteCount(sizeof(h));
        ar.Write(&h, sizeof(h));
        ar.WriteCount(4);
        ar << (DWORD)0;
        ar.Close();
    }
    bad.SeekToBegin();
    CArchive ar(&bad, CArchive::load);
    EXPECT_EQ(nullptr, ReadBitmapFromArchive(ar));
}

TEST(SFBitmapTransforms, PremultiplyRulesAndMirror)
{
    struct Case
    {
        const char* what;
        DWORD pixels[4]; // one row
        int rule, meaningful;
    } cases[] = {
        {"all opaque", {0xFF102030, 0xFF405060, 0xFF000000, 0xFFFFFFFF}, 0, 0},
        {"all clear", {0x00102030, 0x00405060, 0, 0}, 0, 0},
        {"a partial alpha", {0xFF102030, 0x80405060, 0xFF000000, 0xFF000000}, 0, 1},
        {"opaque after clear", {0x00000000, 0xFF405060, 0xFF000000, 0xFF000000}, 0, 1},
        {"clear after opaque", {0xFF405060, 0x00000000, 0x00000000, 0x00000000}, 0, 0},
        {"any alpha counts", {0xFF102030, 0xFF405060, 0xFF000000, 0xFF000000}, -1, 1},
        {"no alpha", {0x00102030, 0, 0, 0}, -1, 0},
    };
    for (const Case& c : cases)
    {
        Canvas canvas(4, 1);
        for (int x = 0; x < 4; x++)
            canvas.SetRaw(x, 0, c.pixels[x]);
        HBITMAP source = canvas.Copy();
        int flag = c.rule;
        void* bits = NULL;
        Bitmap copy(SFPremultipliedCopy(source, &flag, &bits));
        DeleteObject(source);
        ASSERT_TRUE(copy) << c.what;
        EXPECT_EQ(c.meaningful, flag) << c.what;
        const DWORD* out = (const DWORD*)bits;
        for (int x = 0; x < 4; x++)
        {
            DWORD in = c.pixels[x], a = in >> 24;
            bool multiplied = c.rule == -1 || c.meaningful;
            DWORD want = multiplied ? (in & 0xFF000000) | (((in >> 16 & 0xFF) * a / 255) << 16) |
                                          (((in >> 8 & 0xFF) * a / 255) << 8) | ((in & 0xFF) * a / 255)
                                    : in;
            EXPECT_EQ(want, out[x]) << c.what << " pixel " << x;
        }
    }

    Canvas row(3, 2);
    row.SetRaw(0, 0, 1);
    row.SetRaw(1, 0, 2);
    row.SetRaw(2, 0, 3);
    row.SetRaw(0, 1, 4);
    HBITMAP source = row.Copy();
    void* bits = NULL;
    Bitmap mirror(SFMirrorBitmap32(source, &bits));
    DeleteObject(source);
    ASSERT_TRUE(mirror);
    const DWORD* m = (const DWORD*)bits;
    EXPECT_EQ(3u, m[0]);
    EXPECT_EQ(1u, m[2]);
    EXPECT_EQ(4u, m[5]);
}

TEST(SFImageLoading, BitmapFilesShorterThanTheirHeadersAreRefused)
{
    std::wstring folder = FreshFolder(L"bmp-cut");
    std::vector<BYTE> whole = ReadAll(StyleSourceFolder() + L"\\Blue\\PushButton.bmp");
    ASSERT_GT(whole.size(), 100u);
    EXPECT_TRUE(IsCompleteBmpFile((StyleSourceFolder() + L"\\Blue\\PushButton.bmp").c_str()));
    WriteBytes(folder + L"\\cut.bmp", whole.data(), whole.size() - 1);
    EXPECT_FALSE(IsCompleteBmpFile((folder + L"\\cut.bmp").c_str()));
    BOOL alpha = TRUE;
    EXPECT_EQ(nullptr, SFLoadBitmapFile((folder + L"\\cut.bmp").c_str(), &alpha));
    EXPECT_FALSE(alpha);
    WriteBytes(folder + L"\\header.bmp", whole.data(), 30);
    EXPECT_EQ(nullptr, SFLoadBitmapFile((folder + L"\\header.bmp").c_str(), &alpha));
    EXPECT_EQ(nullptr, SFLoadBitmapFile((folder + L"\\none.bmp").c_str(), &alpha));
}
