// The drawing helpers: opaque fills and frames, icon sizes, window points of
// mirrored windows, the skinned DrawEdge and DrawFrameControl, the two blit
// fallbacks and the buffered DCs.
#include "BufferedDC.h"
#include "MsImgLibrary.h"
#include "SFBlits.h"
#include "SFDCLayout.h"
#include "SFDibHelpers.h"
#include "SFGdiHelpers.h"
#include "SFSkinEdges.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFWindowHelpers.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

TEST(SFGdiHelpers, FillsAndFramesLeaveTheDCAsItWas)
{
    Canvas canvas(20, 12, RGB(255, 255, 255));
    SetBkColor(canvas.dc(), RGB(1, 2, 3));
    RECT rc = {2, 2, 8, 6};
    EXPECT_EQ(1, FillRectOpaque(canvas.dc(), rc, RGB(200, 0, 0)));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.dc()));
    EXPECT_EQ(24, canvas.Count(RGB(200, 0, 0)));

    Canvas frame(10, 10, RGB(255, 255, 255));
    RECT all = {0, 0, 10, 10};
    FrameRectSolid(frame.dc(), all, 2, RGB(0, 0, 200));
    EXPECT_EQ(100 - 36, frame.Count(RGB(0, 0, 200)));
    EXPECT_EQ(RGB(255, 255, 255), frame.At(2, 2));
    EXPECT_EQ(RGB(0, 0, 200), frame.At(9, 0));
    EXPECT_EQ(RGB(0, 0, 200), frame.At(0, 9));

    Canvas brushed(10, 10, RGB(255, 255, 255));
    HBRUSH brush = CreateSolidBrush(RGB(0, 120, 0));
    FrameRectBrush(brushed.dc(), all, 1, brush);
    DeleteObject(brush);
    EXPECT_EQ(36, brushed.Count(RGB(0, 120, 0)));

    Canvas triangle(12, 12, RGB(255, 255, 255));
    DrawTriangle(triangle.dc(), {1, 10}, {10, 10}, {5, 1}, RGB(50, 60, 70));
    EXPECT_EQ(RGB(50, 60, 70), triangle.At(5, 8));
    EXPECT_EQ(RGB(255, 255, 255), triangle.At(1, 1));
}

TEST(SFDibHelpers, IconSizesAndPalettes)
{
    // A monochrome icon keeps image and mask in one bitmap twice its height.
    BYTE andBits[32 * 32 / 8], xorBits[32 * 32 / 8];
    memset(andBits, 0xFF, sizeof(andBits));
    memset(xorBits, 0, sizeof(xorBits));
    HICON mono = CreateIcon(GetModuleHandleW(NULL), 32, 32, 1, 1, andBits, xorBits);
    ASSERT_NE(nullptr, mono);
    int w = 0, h = 0;
    GetIconSize(mono, &w, &h);
    EXPECT_EQ(32, w);
    EXPECT_EQ(32, h);
    DestroyIcon(mono);
    GetIconSize(NULL, &w, &h);
    EXPECT_EQ(32, w);
    EXPECT_EQ(32, h);
    EXPECT_FALSE(ReadIconSize(NULL, &w, &h));

    BYTE block[sizeof(BITMAPINFOHEADER) + 4 * sizeof(RGBQUAD)] = {};
    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)block;
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biBitCount = 2;
    RGBQUAD* table = (RGBQUAD*)(block + sizeof(BITMAPINFOHEADER));
    table[3].rgbRed = 200;
    HPALETTE palette = CreateDibPalette(header);
    ASSERT_NE(nullptr, palette);
    PALETTEENTRY entries[8];
    EXPECT_EQ(4u, GetPaletteEntries(palette, 0, 8, entries));
    EXPECT_EQ(200, entries[3].peRed);
    DeleteObject(palette);
    header->biBitCount = 24;
    EXPECT_EQ(nullptr, CreateDibPalette(header));
}

TEST(SFWindowHelpers, PointsOfMirroredWindowsCountFromTheRight)
{
    HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 100, 50, 40, 30, NULL, NULL, NULL, NULL);
    HWND mirrored =
        CreateWindowExW(WS_EX_LAYOUTRTL, L"STATIC", L"rtl", WS_POPUP, 100, 50, 40, 30, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(plain && mirrored);
    POINT p = {110, 60};
    ScreenToWindowPoint(plain, &p);
    EXPECT_EQ(10, p.x);
    EXPECT_EQ(10, p.y);
    p = {110, 60};
    ScreenToWindowPoint(mirrored, &p);
    EXPECT_EQ(30, p.x);
    EXPECT_EQ(10, p.y);
    CString text;
    GetWindowTextDirect(plain, text);
    EXPECT_EQ(CString(L"plain"), text);
    DestroyWindow(plain);
    DestroyWindow(mirrored);
    RECT rc = {1, 2, 3, 4};
    GetWindowRectSafe(plain, &rc);
    EXPECT_TRUE(IsRectEmpty(&rc));
    rc = {1, 2, 3, 4};
    GetClientRectSafe(mirrored, &rc);
    EXPECT_TRUE(IsRectEmpty(&rc));
}

TEST(SkinDrawEdge, RaisedEdgeShrinksByTwoBordersAndFillsTheMiddle)
{
    CSFSkinMetrics* metrics = GetSkinFramework()->GetMetrics();
    metrics->ReloadMetrics();
    Canvas canvas(20, 16, RGB(1, 1, 1));
    RECT rc = {2, 2, 18, 14};
    ASSERT_TRUE(SkinDrawEdge(canvas.dc(), &rc, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    int cx = metrics->m_cxBorder > 0 ? metrics->m_cxBorder : GetSystemMetrics(SM_CXBORDER);
    int cy = metrics->m_cyBorder > 0 ? metrics->m_cyBorder : GetSystemMetrics(SM_CYBORDER);
    EXPECT_EQ(2 + 2 * cx, rc.left);
    EXPECT_EQ(2 + 2 * cy, rc.top);
    EXPECT_EQ(18 - 2 * cx, rc.right);
    EXPECT_EQ(14 - 2 * cy, rc.bottom);
    auto color = [&](int index) {
        COLORREF c = metrics->GetColor(index);
        return c == (COLORREF)-1 ? GetSysColor(index) : c;
    };
    EXPECT_EQ(color(COLOR_BTNFACE), canvas.At(10, 8));
    EXPECT_EQ(color(COLOR_3DLIGHT), canvas.At(2, 8));       // outer top-left
    EXPECT_EQ(color(COLOR_3DDKSHADOW), canvas.At(17, 8));   // outer bottom-right
    EXPECT_EQ(color(COLOR_BTNHIGHLIGHT), canvas.At(3, 8));  // inner top-left
    EXPECT_EQ(color(COLOR_BTNSHADOW), canvas.At(16, 8));    // inner bottom-right
    EXPECT_EQ(RGB(1, 1, 1), canvas.At(1, 1));

    // Raised and sunken in one pass is refused.
    RECT bad = {0, 0, 5, 5};
    EXPECT_FALSE(SkinDrawEdge(canvas.dc(), &bad, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT));
    // Mono is flat: one colour per pass.
    Canvas mono(10, 10, RGB(1, 1, 1));
    RECT m = {0, 0, 10, 10};
    SkinDrawEdge(mono.dc(), &m, EDGE_SUNKEN, BF_RECT | BF_MONO);
    EXPECT_EQ(color(COLOR_WINDOWFRAME), mono.At(0, 5));
    EXPECT_EQ(color(COLOR_WINDOWFRAME), mono.At(9, 5));
    EXPECT_EQ(color(COLOR_WINDOW), mono.At(1, 5));
    KeepPicture(canvas, L"edge-raised");
}

TEST(SkinDrawFrameControl, PushButtonsAdjustOtherKindsDecline)
{
    Canvas canvas(30, 20, RGB(1, 1, 1));
    RECT rc = {0, 0, 30, 20};
    EXPECT_TRUE(SkinDrawFrameControl(canvas.dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_GT(rc.left, 0);
    EXPECT_LT(rc.right, 30);
    rc = {0, 0, 30, 20};
    EXPECT_TRUE(SkinDrawFrameControl(canvas.dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    EXPECT_EQ(0, rc.left);
    KeepPicture(canvas, L"frame-control-push");
    EXPECT_FALSE(SkinDrawFrameControl(canvas.dc(), &rc, DFC_BUTTON, DFCS_BUTTONCHECK));
    EXPECT_FALSE(SkinDrawFrameControl(canvas.dc(), &rc, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    EXPECT_FALSE(SkinDrawFrameControl(canvas.dc(), &rc, DFC_SCROLL, DFCS_SCROLLCOMBOBOX));
}

TEST(SFBlits, AlphaFallbackComposesPremultipliedPixels)
{
    Canvas dest(4, 1, RGB(0, 0, 200));
    Canvas src(4, 1);
    src.SetRaw(0, 0, 0xFF102030); // opaque
    src.SetRaw(1, 0, 0x00000000); // clear
    src.SetRaw(2, 0, 0x80400000); // half, premultiplied red 0x40
    src.SetRaw(3, 0, 0xFF00FF00);
    ASSERT_TRUE(AlphaBlendEmulated(dest.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 4, 1));
    EXPECT_EQ(0x102030u, dest.Raw(0, 0) & 0xFFFFFF);
    EXPECT_EQ(RGB(0, 0, 200), dest.At(1, 0));
    // red 0x40 + 0 * 127/255; blue 0 + 200 * 127 / 255 = 99
    EXPECT_EQ(RGB(0x40, 0, 99), dest.At(2, 0));
    EXPECT_EQ(RGB(0, 255, 0), dest.At(3, 0));
    KeepPicture(dest, L"alpha-fallback");

    // The wrapper gives the same picture through the system's blend.
    Canvas dest2(4, 1, RGB(0, 0, 200));
    RECT d = {0, 0, 4, 1};
    ASSERT_TRUE(SFAlphaBlend(dest2.dc(), d, src.dc(), d));
    EXPECT_EQ(RGB(0, 0, 200), dest2.At(1, 0));
    EXPECT_EQ(RGB(0, 255, 0), dest2.At(3, 0));
}

TEST(SFBlits, MaskedCopyLeavesOutTheTransparentColour)
{
    Canvas src(6, 2, RGB(255, 0, 255));
    RECT box = {2, 0, 4, 2};
    FillRectOpaque(src.dc(), box, RGB(10, 100, 200));
    for (COLORREF background : {RGB(0, 128, 0), RGB(0, 0, 0)})
    {
        Canvas same(6, 2, background);
        ASSERT_TRUE(TransparentBltMasked(same.dc(), 0, 0, 6, 2, src.dc(), 0, 0, 6, 2, RGB(255, 0, 255)));
        EXPECT_EQ(background, same.At(0, 0));
        EXPECT_EQ(RGB(10, 100, 200), same.At(2, 1));
        Canvas wide(12, 4, background);
        ASSERT_TRUE(TransparentBltMasked(wide.dc(), 0, 0, 12, 4, src.dc(), 0, 0, 6, 2, RGB(255, 0, 255)));
        EXPECT_EQ(background, wide.At(1, 1));
        EXPECT_EQ(RGB(10, 100, 200), wide.At(5, 2));
    }
    // A black transparent colour works too (no colour is cleared then).
    Canvas black(4, 1, RGB(0, 0, 0));
    black.SetRaw(1, 0, 0x00FF0000);
    Canvas on(4, 1, RGB(9, 9, 9));
    ASSERT_TRUE(TransparentBltMasked(on.dc(), 0, 0, 4, 1, black.dc(), 0, 0, 4, 1, RGB(0, 0, 0)));
    EXPECT_EQ(RGB(9, 9, 9), on.At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), on.At(1, 0));
}

TEST(MsImgLibrary, MissingLibraryHasNoEntryPoints)
{
    MsImgLibrary missing(L"NO-SUCH-MSIMG.DLL");
    EXPECT_EQ(nullptr, missing.AlphaBlend());
    EXPECT_EQ(nullptr, missing.TransparentBlt());
    EXPECT_EQ(nullptr, missing.GradientFill());
    EXPECT_NE(nullptr, GetMsImgLibrary().AlphaBlend());
}

TEST(BufferedDC, DrawsInTargetCoordinatesAndCopiesOnce)
{
    Canvas target(20, 20, RGB(255, 255, 255));
    RECT area = {5, 5, 15, 15};
    {
        BufferedDC buffer(target.dc(), area);
        ASSERT_TRUE(buffer.IsReady());
        FillRectOpaque(buffer, area, RGB(0, 0, 99));
        EXPECT_EQ(RGB(255, 255, 255), target.At(10, 10)); // nothing yet
    }
    EXPECT_EQ(RGB(0, 0, 99), target.At(10, 10));
    EXPECT_EQ(RGB(255, 255, 255), target.At(4, 4));
    {
        BufferedDC dropped(target.dc(), area);
        FillRectOpaque(dropped, area, RGB(99, 0, 0));
        dropped.DetachTarget();
    }
    EXPECT_EQ(RGB(0, 0, 99), target.At(10, 10));
    {
        OffsetBufferedDC offset(target.dc(), area);
        ASSERT_TRUE(offset.IsReady());
        RECT inner = {6, 6, 8, 8};
        FillRectOpaque(offset, inner, RGB(0, 99, 0));
    }
    EXPECT_EQ(RGB(0, 99, 0), target.At(7, 7));
    // The whole rectangle comes from the buffer, what was not drawn too.
    EXPECT_EQ(RGB(0, 0, 0), target.At(12, 12));
    EXPECT_EQ(RGB(255, 255, 255), target.At(4, 4));
}

TEST(SFDCLayout, MirroredDCsReportTheirLayout)
{
    Canvas canvas(4, 4);
    EXPECT_EQ(0u, GetDCLayout(canvas.dc()));
    SetDCLayout(canvas.dc(), LAYOUT_RTL);
    EXPECT_EQ((DWORD)LAYOUT_RTL, GetDCLayout(canvas.dc()) & LAYOUT_RTL);
    CDC wrapper;
    wrapper.Attach(canvas.dc());
    EXPECT_TRUE(IsDCMirrored(&wrapper));
    MirrorDC(&wrapper, 0);
    EXPECT_FALSE(IsDCMirrored(&wrapper));
    wrapper.Detach();
}
