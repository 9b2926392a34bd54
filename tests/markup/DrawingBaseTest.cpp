// The palette DIB and the memory device context.
#include <gtest/gtest.h>
#include "Canvas.h"
#include "MemoryDC.h"
#include "PaletteDib.h"

TEST(PaletteDib, HeaderAndPaletteByDepth)
{
    struct Case
    {
        int bpp;
        WORD entries;
        DWORD lineBytes; // for width 10
    } cases[] = {{1, 2, 4}, {4, 16, 8}, {8, 256, 12}, {24, 0, 32}};
    for (const auto& c : cases)
    {
        CPaletteDib dib;
        ASSERT_NE(dib.Create(10, 3, c.bpp), nullptr) << c.bpp;
        EXPECT_EQ(dib.GetPaletteCount(), c.entries) << c.bpp;
        EXPECT_EQ(dib.GetLineBytes(), c.lineBytes) << c.bpp;
        const BITMAPINFOHEADER* h = (const BITMAPINFOHEADER*)(dib.GetBits() - 4 * c.entries - 40);
        EXPECT_EQ(h->biSize, 40u);
        EXPECT_EQ(h->biSizeImage, c.lineBytes * 3);
    }
}

TEST(PaletteDib, NoPaletteIgnoresPaletteAndPixelWrites)
{
    CPaletteDib dib;
    dib.Create(4, 4, 24);
    dib.Fill(7);
    dib.SetPaletteEntry(0, 1, 2, 3);
    dib.SetPixelIndex(0, 0, 9);
    EXPECT_EQ(dib.GetBits()[0], 7);
    EXPECT_EQ(dib.GetBits()[dib.GetLineBytes() * 3], 7);
}

TEST(PaletteDib, PixelZeroZeroIsTopLineInLastRowOfBlock)
{
    CPaletteDib dib;
    dib.Create(5, 3, 8);
    dib.Fill(0);
    dib.SetPixelIndex(0, 0, 42);
    dib.SetPixelIndex(4, 2, 43);
    dib.SetPixelIndex(5, 0, 99); // out of range: ignored
    dib.SetPixelIndex(-1, 0, 99);
    dib.SetPixelIndex(0, 3, 99);
    EXPECT_EQ(dib.GetBits()[2 * dib.GetLineBytes()], 42);
    EXPECT_EQ(dib.GetBits()[4], 43);
    int nonzero = 0;
    for (DWORD i = 0; i < dib.GetLineBytes() * 3; i++)
        nonzero += dib.GetBits()[i] != 0;
    EXPECT_EQ(nonzero, 2);
}

TEST(PaletteDib, BlendPaletteCapsPercentAndUsesIntegerDivision)
{
    CPaletteDib dib;
    dib.Create(2, 2, 8);
    dib.SetPaletteEntry(0, 0, 0, 0);
    dib.SetPaletteEntry(1, 200, 100, 0);
    dib.SetPaletteEntry(256 + 2, 9, 9, 9); // index taken modulo 256
    EXPECT_EQ(dib.GetPaletteEntry(2), RGB(9, 9, 9));
    dib.BlendPalette(RGB(255, 0, 10), 150);
    EXPECT_EQ(dib.GetPaletteEntry(0), RGB(255, 0, 10));
    EXPECT_EQ(dib.GetPaletteEntry(1), RGB(255, 0, 10));

    dib.SetPaletteEntry(1, 200, 100, 0);
    dib.BlendPalette(RGB(0, 0, 99), 33);
    EXPECT_EQ(dib.GetPaletteEntry(1), RGB(200 * 67 / 100, 100 * 67 / 100, 99 * 33 / 100));
}

TEST(PaletteDib, DrawShowsLaterPixelAndPaletteChanges)
{
    Canvas canvas(8, 8, RGB(0, 0, 0));
    CPaletteDib dib;
    dib.Create(4, 2, 8);
    dib.SetPaletteEntry(0, 255, 0, 0);
    dib.SetPaletteEntry(1, 0, 255, 0);
    dib.Fill(0);
    dib.SetPixelIndex(3, 1, 1);
    dib.Draw(canvas.dc(), 2, 3);
    EXPECT_EQ(canvas.At(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(5, 4), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(6, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(2, 5), RGB(0, 0, 0));

    dib.SetPixelIndex(0, 0, 1);
    dib.SetPaletteEntry(1, 0, 0, 255);
    dib.Draw(canvas.dc(), 2, 3);
    EXPECT_EQ(canvas.At(2, 3), RGB(0, 0, 255));
}

TEST(PaletteDib, RefusesSizesWithoutPixelsOrTooLarge)
{
    CPaletteDib dib;
    EXPECT_EQ(dib.Create(0, 5, 8), nullptr);
    EXPECT_EQ(dib.Create(5, -1, 8), nullptr);
    EXPECT_EQ(dib.Create(0x7FFFFFFF, 0x7FFFFFFF, 8), nullptr);
    EXPECT_EQ(dib.GetBits(), nullptr);
    dib.Fill(1); // nothing without a block
    dib.BlendPalette(0, 50);
    Canvas canvas(2, 2);
    dib.Draw(canvas.dc(), 0, 0);
}

TEST(MemoryDC, NullRectanglePaintsClipBoxStartingInBackgroundColour)
{
    Canvas canvas(40, 30, RGB(1, 2, 3));
    CDC* target = CDC::FromHandle(canvas.dc());
    HRGN clip = ::CreateRectRgn(5, 5, 25, 20);
    ::SelectClipRgn(canvas.dc(), clip);
    ::DeleteObject(clip);
    ::SetBkColor(canvas.dc(), RGB(0, 200, 0));
    {
        CMemoryDC mem(target);
        EXPECT_EQ(mem.GetRect(), CRect(5, 5, 25, 20));
        mem.FillSolidRect(10, 10, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(10, 10), RGB(1, 2, 3)); // nothing reaches the target before the end
    }
    ::SelectClipRgn(canvas.dc(), NULL);
    EXPECT_EQ(canvas.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(5, 5), RGB(0, 200, 0)); // background colour, not black
    EXPECT_EQ(canvas.At(24, 19), RGB(0, 200, 0));
    EXPECT_EQ(canvas.At(4, 4), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(25, 20), RGB(1, 2, 3));
    CDC::DeleteTempMap();
}

TEST(MemoryDC, CopyBackgroundStartsFromTargetPixels)
{
    Canvas canvas(20, 20, RGB(9, 8, 7));
    CDC* target = CDC::FromHandle(canvas.dc());
    CRect rc(2, 2, 12, 12);
    {
        CMemoryDC mem(target, &rc, TRUE);
        mem.FillSolidRect(2, 2, 1, 1, RGB(255, 255, 255));
    }
    EXPECT_EQ(canvas.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(3, 3), RGB(9, 8, 7));
    CDC::DeleteTempMap();
}

TEST(MemoryDC, MappedTargetDrawsAtSameLogicalCoordinates)
{
    Canvas canvas(60, 60, RGB(255, 255, 255));
    ::SetWindowOrgEx(canvas.dc(), -10, -20, NULL); // logical (0,0) at device (10,20)
    CDC* target = CDC::FromHandle(canvas.dc());
    CRect rc(0, 0, 30, 30);
    {
        CMemoryDC mem(target, &rc);
        mem.FillSolidRect(5, 6, 2, 2, RGB(0, 0, 255));
    }
    ::SetWindowOrgEx(canvas.dc(), 0, 0, NULL);
    EXPECT_EQ(canvas.At(15, 26), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(16, 27), RGB(0, 0, 255));
    EXPECT_NE(canvas.At(5, 6), RGB(0, 0, 255));
    CDC::DeleteTempMap();
}

TEST(MemoryDC, PrinterContextIsDrawnDirectlyAndNotDestroyed)
{
    Canvas canvas(20, 20, RGB(255, 255, 255));
    CDC printer;
    printer.Attach(canvas.dc());
    printer.m_bPrinting = TRUE;
    CRect rc(0, 0, 10, 10);
    {
        CMemoryDC mem(&printer, &rc);
        EXPECT_EQ(mem.m_hDC, canvas.dc());
        mem.FillSolidRect(1, 1, 1, 1, RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0)); // straight through
    }
    EXPECT_EQ(::GetObjectType(canvas.dc()), (DWORD)OBJ_MEMDC); // still alive
    printer.Detach();
}

TEST(MemoryDC, OffscreenPictureStaysOffscreenAndItsBitmapCanBeKept)
{
    Canvas canvas(20, 20, RGB(9, 8, 7));
    HBITMAP kept = NULL;
    {
        CMemoryDC picture(canvas.dc(), 6, 4);
        ASSERT_NE(picture.GetBitmap(), (HBITMAP)NULL);
        EXPECT_EQ(picture.GetRect(), CRect(0, 0, 6, 4));
        picture.FillSolidRect(0, 0, 6, 4, RGB(0, 0, 200));
        kept = picture.DetachBitmap();
        EXPECT_EQ(picture.GetBitmap(), (HBITMAP)NULL);
        EXPECT_EQ(picture.DetachBitmap(), (HBITMAP)NULL); // given away once
    }
    EXPECT_EQ(canvas.Count(RGB(9, 8, 7)), 400); // nothing was copied anywhere
    ASSERT_NE(kept, (HBITMAP)NULL);
    {
        // The kept bitmap is free to be selected elsewhere, and holds the picture.
        CMemoryDC over(kept, canvas.dc());
        EXPECT_EQ(over.GetRect(), CRect(0, 0, 6, 4));
        ::BitBlt(canvas.dc(), 1, 1, 6, 4, over.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 200));
    EXPECT_EQ(canvas.At(6, 4), RGB(0, 0, 200));
    EXPECT_EQ(canvas.At(7, 5), RGB(9, 8, 7));
    EXPECT_EQ(::GetObjectType(kept), (DWORD)OBJ_BITMAP); // a borrowed bitmap is not freed
    ::DeleteObject(kept);
}

TEST(MemoryDC, ContextOverABitmapDrawsIntoItAndGivesItBack)
{
    Canvas source(4, 4, RGB(1, 1, 1));
    HBITMAP copy = source.Copy();
    {
        CMemoryDC over(copy);
        over.FillSolidRect(0, 0, 2, 2, RGB(250, 0, 0));
    }
    Canvas target(4, 4, RGB(255, 255, 255));
    {
        CMemoryDC again(copy, target.dc()); // selectable again: the first context let it go
        ::BitBlt(target.dc(), 0, 0, 4, 4, again.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(target.At(1, 1), RGB(250, 0, 0));
    EXPECT_EQ(target.At(3, 3), RGB(1, 1, 1));
    ::DeleteObject(copy);
}
