// Icon sets of the image manager: shared cache strips with reused columns,
// images taken back out of them, and the stored form of the sets.
#include "SFCacheStrip.h"
#include "SFIcon.h"
#include "SFIconSet.h"
#include "SFImageLoading.h"
#include "SFImageManager.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace
{
// A 16 x 16 icon of one colour.
HICON SolidIcon(COLORREF color, int size = 16)
{
    Canvas image(size, size, color);
    HBITMAP colorBits = image.Copy();
    HBITMAP mask = CreateBitmap(size, size, 1, 1, NULL);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, size, size, BLACKNESS); // all opaque
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info = {TRUE, 0, 0, mask, colorBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colorBits);
    return icon;
}

// The colour at the middle of an icon drawn on white.
COLORREF IconColour(HICON icon)
{
    Canvas canvas(16, 16, RGB(255, 255, 255));
    DrawIconEx(canvas.dc(), 0, 0, icon, 16, 16, 0, NULL, DI_NORMAL);
    return canvas.At(8, 8);
}

void Store(CSFImageManager& manager, CMemFile& file)
{
    CArchive ar(&file, CArchive::store);
    manager.Serialize(ar);
    ar.Close();
    file.SeekToBegin();
}

void Load(CSFImageManager& manager, CMemFile& file)
{
    CArchive ar(&file, CArchive::load);
    manager.Serialize(ar);
}
} // namespace

TEST(SFImageManager, IconsOfOneSizeShareAStripAndFreedColumnsComeBack)
{
    CSFImageManager manager;
    CSFIconHandle red, green, blue;
    red.SetIcon(SolidIcon(RGB(200, 0, 0)));
    green.SetIcon(SolidIcon(RGB(0, 200, 0)));
    blue.SetIcon(SolidIcon(RGB(0, 0, 200)));

    CSFIconHandle first(&manager), second(&manager);
    first.CopyFrom(red);
    second.CopyFrom(green);
    ASSERT_NE(nullptr, first.GetSlot());
    ASSERT_NE(nullptr, second.GetSlot());
    EXPECT_EQ(first.GetSlot()->strip, second.GetSlot()->strip);
    CSFCacheStrip* strip = manager.FindStrip(16, 16);
    ASSERT_NE(nullptr, strip);
    EXPECT_EQ(32, strip->GetTotalWidth());
    RECT firstColumn = first.GetSlot()->column;

    // Releasing the first and adding a third reuses the first column.
    first.Clear();
    EXPECT_EQ(1u, strip->GetFreeCount());
    CSFIconHandle third(&manager);
    third.CopyFrom(blue);
    ASSERT_NE(nullptr, third.GetSlot());
    EXPECT_TRUE(EqualRect(&firstColumn, &third.GetSlot()->column));
    EXPECT_EQ(32, strip->GetTotalWidth());

    // The cached images come back out intact.
    CSFIconHandle out;
    out.CopyFrom(third);
    ASSERT_NE(nullptr, out.GetIcon());
    EXPECT_EQ(RGB(0, 0, 200), IconColour(out.GetIcon()));
    CSFIconHandle out2;
    out2.CopyFrom(second);
    EXPECT_EQ(RGB(0, 200, 0), IconColour(out2.GetIcon()));

    // An image of another size gets a strip of its own.
    CSFIconHandle big;
    big.SetIcon(SolidIcon(RGB(9, 9, 9), 24));
    CSFIconHandle bigCached(&manager);
    bigCached.CopyFrom(big);
    ASSERT_NE(nullptr, bigCached.GetSlot());
    EXPECT_NE(strip, bigCached.GetSlot()->strip);

    // When every column is free the strip lets its bitmaps go.
    second.Clear();
    third.Clear();
    EXPECT_EQ(0, strip->GetTotalWidth());
}

TEST(SFImageManager, EmptyManagerStoresAZeroCountAndLoadingItRemovesSets)
{
    CSFImageManager empty;
    CMemFile file(256);
    Store(empty, file);
    EXPECT_EQ(2u, (UINT)file.GetLength()); // the count alone

    CSFImageManager full;
    full.GetIconSet(100, TRUE)->GetIcon(16, TRUE);
    full.GetIconSet(200, TRUE);
    ASSERT_EQ(2u, full.IconSets().size());
    Load(full, file);
    EXPECT_TRUE(full.IconSets().empty());
}

TEST(SFImageManager, SetsRoundTripAndAWrongCheckSumStopsTheLoad)
{
    CSFImageManager source;
    CSFIcon* icon = source.GetIconSet(42, TRUE)->GetIcon(16, TRUE);
    icon->Image(0).SetIcon(SolidIcon(RGB(200, 0, 0)));
    icon->Image(6).SetIcon(SolidIcon(RGB(0, 200, 0)));
    icon->Image(1).SetIcon(SolidIcon(RGB(1, 1, 1))); // not stored
    Canvas alpha(16, 16);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            alpha.SetRaw(x, y, 0x80400000);
    icon->Image(5).SetAlphaBitmap(alpha.Copy());
    source.GetIconSet(7, TRUE);
    CMemFile file(4096);
    Store(source, file);

    CSFImageManager target;
    Load(target, file);
    ASSERT_EQ(2u, target.IconSets().size());
    CSFIconSet* set = target.GetIconSet(42, FALSE);
    ASSERT_NE(nullptr, set);
    CSFIcon* back = set->GetIcon(16, FALSE);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(15u, back->GetAttributes());
    EXPECT_EQ(RGB(200, 0, 0), IconColour(back->Image(0).GetIcon()));
    EXPECT_EQ(RGB(0, 200, 0), IconColour(back->Image(6).GetIcon()));
    EXPECT_TRUE(back->Image(1).IsEmpty());
    ASSERT_NE(nullptr, back->Image(5).GetAlphaBitmap());
    EXPECT_NE(nullptr, back->Image(5).GetAlphaBits());
    EXPECT_TRUE(target.GetIconSet(7, FALSE)->Icons().empty());

    // A check sum other than the manager's own ends the load.
    CMemFile bad(256);
    {
        CArchive ar(&bad, CArchive::store);
        ar.WriteCount(1);
        ar << (LONG)5;
        ar << CString(L"SomethingElse");
        ar.WriteCount(0);
        ar.Close();
    }
    bad.SeekToBegin();
    CArchive ar(&bad, CArchive::load);
    CSFImageManager victim;
    try
    {
        victim.Serialize(ar);
        ADD_FAILURE() << "the load went on";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(CArchiveException::badClass, e->m_cause);
        e->Delete();
    }
}

TEST(SFIcon, VersionSevenCarriesThreeImages)
{
    // Attribute word, version 7, then images 1, 7 and 4 as bitmap pairs.
    Canvas picture(16, 16, RGB(0, 0, 150));
    HBITMAP colour = picture.Copy();
    CMemFile file(4096);
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)3 << (DWORD)7;
        for (int i = 0; i < 3; i++)
        {
            WriteBitmapToArchive(ar, colour); // an alpha bitmap alone
            ar.WriteCount(0);
        }
        ar.Close();
    }
    DeleteObject(colour);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CSFIcon icon;
    icon.Serialize(ar);
    EXPECT_EQ(3u, icon.GetAttributes());
    EXPECT_NE(nullptr, icon.Image(0).GetAlphaBitmap());
    EXPECT_NE(nullptr, icon.Image(6).GetAlphaBitmap());
    EXPECT_NE(nullptr, icon.Image(3).GetAlphaBitmap());
    EXPECT_TRUE(icon.Image(4).IsEmpty());
    EXPECT_TRUE(icon.Image(5).IsEmpty());
    EXPECT_EQ(0u, ar.GetRemaining());
}
