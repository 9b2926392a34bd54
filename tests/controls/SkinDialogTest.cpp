// Skinned dialog bases: border hit testing, tiling, corner regions, the
// language file.
#include "LanguageTable.h"
#include "SkinFrame.h"
#include "SkinResizableDialog.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SkinResizableDialog, BorderBands)
{
    const CRect w(100, 100, 900, 700);
    struct Case { int x, y; UINT hit; } cases[] = {
        {103, 400, HTLEFT},        {104, 400, 0},           {897, 400, HTRIGHT},     {896, 400, 0},
        {500, 103, HTTOP},         {500, 697, HTBOTTOM},    {500, 696, 0},           {103, 103, HTLEFT},
        {105, 105, HTTOPLEFT},     {110, 110, HTTOPLEFT},   {111, 111, 0},           {890, 105, HTTOPRIGHT},
        {889, 105, 0},             {105, 690, HTBOTTOMLEFT}, {890, 690, HTBOTTOMRIGHT}, {889, 689, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hit, CSkinResizableDialog::BorderHitTest(w, CPoint(c.x, c.y))) << c.x << "," << c.y;
}

namespace
{
// A memory context drawing on a 32-bit bitmap of its own.
struct Canvas
{
    CDC dc;
    CBitmap target;
    HGDIOBJ old = NULL;
    Canvas(int width, int height)
    {
        dc.CreateCompatibleDC(NULL);
        target.CreateBitmap(width, height, 1, 32, NULL);
        old = dc.SelectObject((HGDIOBJ)target.GetSafeHandle());
    }
    // The bitmap taken out of the context, to be drawn elsewhere.
    CBitmap& Picture()
    {
        if (old)
            dc.SelectObject(old);
        old = NULL;
        return target;
    }
    ~Canvas()
    {
        if (old)
            dc.SelectObject(old);
    }
};
} // namespace

TEST(SkinFrame, TilingAnEmptyOrZeroSizedBitmapDrawsNothing)
{
    Canvas canvas(20, 20);
    CDC& dc = canvas.dc;
    const COLORREF ground = RGB(10, 20, 30), tile = RGB(200, 40, 60);
    dc.FillSolidRect(0, 0, 20, 20, ground);
    auto countOf = [&dc](COLORREF c) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                n += dc.GetPixel(x, y) == c;
        return n;
    };
    CBitmap none;
    SkinFrame::TileBitmap(none, &dc, 0, 0, 20, 20); // must return, not loop
    EXPECT_EQ(400, countOf(ground));
    // A real 3 x 3 tile covers exactly the rectangle's whole copies and the
    // last ones that reach past it: columns and rows 5 to 13 of 5..12.
    CBitmap piece;
    piece.CreateBitmap(3, 3, 1, 32, NULL);
    {
        CDC pieceDC;
        pieceDC.CreateCompatibleDC(&dc);
        HGDIOBJ oldPiece = pieceDC.SelectObject((HGDIOBJ)piece.GetSafeHandle());
        pieceDC.FillSolidRect(0, 0, 3, 3, tile);
        pieceDC.SelectObject(oldPiece);
    }
    SkinFrame::TileBitmap(piece, &dc, 5, 5, 12, 12);
    EXPECT_EQ(9 * 9, countOf(tile));
    EXPECT_EQ(tile, dc.GetPixel(13, 13));
    EXPECT_EQ(ground, dc.GetPixel(14, 14));
    EXPECT_EQ(ground, dc.GetPixel(4, 5));
}

TEST(SkinFrame, TilingRepeatsThePieceExactlyWhetherTheContextIsWholeOrClipped)
{
    // A 3 x 2 piece of six colours: every pixel of the tiled area must be the
    // piece's pixel at its place, whether the copies are drawn one by one or
    // copied on from those already drawn; pixels outside the clip stay.
    auto colourAt = [](int x, int y) { return RGB(40 * x + 10, 100 * y + 20, 30); };
    Canvas pieceCanvas(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            pieceCanvas.dc.SetPixelV(x, y, colourAt(x, y));
    CBitmap& piece = pieceCanvas.Picture();

    const COLORREF ground = RGB(1, 2, 3);
    struct Case { const char* name; CRect clip; } cases[] = {
        {"whole context", CRect(0, 0, 0, 0)},
        {"clipped to a band", CRect(9, 0, 20, 64)},
        {"clipped inside the area", CRect(12, 10, 30, 21)},
    };
    for (const Case& c : cases)
    {
        Canvas canvas(64, 64);
        CDC& dc = canvas.dc;
        dc.FillSolidRect(0, 0, 64, 64, ground);
        if (!c.clip.IsRectEmpty())
            dc.IntersectClipRect(&c.clip);
        SkinFrame::TileBitmap(piece, &dc, 5, 7, 40, 50); // copies reach to x 41, y 51
        ::SelectClipRgn(dc.GetSafeHdc(), NULL);
        int wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
            {
                BOOL tiled = x >= 5 && x < 41 && y >= 7 && y < 51 &&
                             (c.clip.IsRectEmpty() || c.clip.PtInRect(CPoint(x, y)));
                COLORREF expected = tiled ? colourAt((x - 5) % 3, (y - 7) % 2) : ground;
                wrong += dc.GetPixel(x, y) != expected;
            }
        EXPECT_EQ(0, wrong) << c.name;
    }
}

TEST(SkinFrame, OnlyMagentaInsideTheCornerSquaresIsCut)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = dc.SelectObject((HGDIOBJ)dib);
    dc.FillSolidRect(0, 0, 40, 30, RGB(10, 20, 30));
    const COLORREF magenta = RGB(255, 0, 255);
    dc.SetPixelV(0, 0, magenta);   // top-left square
    dc.SetPixelV(39, 29, magenta); // bottom-right square
    dc.SetPixelV(34, 5, magenta);  // top-right square
    dc.SetPixelV(20, 15, magenta); // middle: stays
    dc.SetPixelV(6, 0, magenta);   // just outside the top-left square: stays
    HRGN region = SkinFrame::MakeCornerRegion(&dc, 40, 30);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_FALSE(::PtInRegion(region, 39, 29));
    EXPECT_FALSE(::PtInRegion(region, 34, 5));
    EXPECT_TRUE(::PtInRegion(region, 20, 15));
    EXPECT_TRUE(::PtInRegion(region, 6, 0));
    EXPECT_TRUE(::PtInRegion(region, 1, 0));
    ::DeleteObject(region);
    dc.SelectObject(old);
    ::DeleteObject(dib);
}

TEST(SkinResizableDialog, LanguageFileIsFoundBesideTheProgram)
{
    // The build puts lng\default.LNG beside the programs, the test program included.
    CSkinResizableDialog dialog(1);
    wchar_t old[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, old);
    ::SetCurrentDirectoryW(L"C:\\"); // not below the current directory
    EXPECT_EQ(0, dialog.LoadLanguageFile());
    ::SetCurrentDirectoryW(old);
    EXPECT_TRUE(LanguageTable::Instance().IsLoaded());
}

namespace
{
struct CaptionProbe : CSkinResizableDialog
{
    CaptionProbe() : CSkinResizableDialog(133) {}
    using CSkinResizableDialog::m_captionRects;
    using CSkinResizableDialog::m_captionTexts;
};

// The dialog's client picture as the controls on it take it.
std::vector<COLORREF> PrintedClient(CWnd& window, const CRect& part)
{
    CClientDC screen(NULL);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap picture;
    picture.CreateCompatibleBitmap(&screen, part.Width(), part.Height());
    HGDIOBJ old = dc.SelectObject((HGDIOBJ)picture.GetSafeHandle());
    dc.SetViewportOrg(-part.left, -part.top);
    window.SendMessage(WM_PRINTCLIENT, (WPARAM)dc.GetSafeHdc(), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
            pixels.push_back(dc.GetPixel(x, y));
    dc.SelectObject(old);
    return pixels;
}
} // namespace

// The test frame's pieces, the dialog made and shown at 384 x 142.
bool MakeFramedDialog(CSkinResizableDialog& dialog)
{
    dialog.SetTopLeftBitmap(186);
    dialog.SetTopBitmap(187);
    dialog.SetTopRightBitmap(182);
    dialog.SetLeftBitmap(183);
    dialog.SetRightBitmap(183);
    dialog.SetBottomLeftBitmap(185);
    dialog.SetBottomBitmap(189);
    dialog.SetBottomRightBitmap(188);
    if (!dialog.Create(133, NULL))
        return false;
    dialog.SetWindowPos(NULL, 850, 650, 384, 142, SWP_NOZORDER | SWP_SHOWWINDOW);
    return true;
}

TEST(SkinResizableDialog, TheKeptFramePictureFollowsCaptionsAndSize)
{
    CaptionProbe dialog;
    ASSERT_TRUE(MakeFramedDialog(dialog));
    const CRect caption(10, 5, 200, 25);
    dialog.AddCaptionText(L"", caption);
    std::vector<COLORREF> empty = PrintedClient(dialog, caption);
    dialog.m_captionTexts[0] = L"WWWW MMMM";
    std::vector<COLORREF> written = PrintedClient(dialog, caption);
    EXPECT_NE(empty, written) << "a changed caption is drawn";
    EXPECT_EQ(written, PrintedClient(dialog, caption)) << "an unchanged frame gives the same picture";
    dialog.m_captionRects[0] = CRect(60, 5, 250, 25);
    EXPECT_NE(written, PrintedClient(dialog, caption)) << "a moved caption leaves its old place";
    dialog.m_captionTexts[0] = L"";
    EXPECT_EQ(empty, PrintedClient(dialog, caption));

    // A wider window: the right-hand corner piece moves with the edge.
    CRect client;
    dialog.GetClientRect(&client);
    const CRect corner(client.right - 20, client.bottom - 20, client.right, client.bottom);
    std::vector<COLORREF> before = PrintedClient(dialog, corner);
    dialog.SetWindowPos(NULL, 0, 0, 484, 142, SWP_NOZORDER | SWP_NOMOVE);
    dialog.GetClientRect(&client);
    EXPECT_EQ(before, PrintedClient(dialog, CRect(client.right - 20, client.bottom - 20, client.right, client.bottom)));
    EXPECT_NE(before, PrintedClient(dialog, corner)) << "the old corner's place is now edge";
    dialog.DestroyWindow();
}

TEST(SkinResizableDialog, MinimumSizeBordersAndCornerRegion)
{
    CSkinResizableDialog dialog(133);
    ASSERT_TRUE(MakeFramedDialog(dialog));
    dialog.AddCaptionText(L"first line", CRect(10, 5, 200, 25));
    dialog.UpdateWindow();

    MINMAXINFO mmi{};
    dialog.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    EXPECT_EQ(700, mmi.ptMinTrackSize.x);
    EXPECT_EQ(480, mmi.ptMinTrackSize.y);

    CRect window;
    dialog.GetWindowRect(&window);
    LPARAM nearLeft = MAKELPARAM(window.left + 1, window.top + 60);
    EXPECT_EQ(HTLEFT, dialog.SendMessage(WM_NCHITTEST, 0, nearLeft));
    dialog.m_bMaximized = TRUE; // maximised: no border resizing
    EXPECT_NE(HTLEFT, dialog.SendMessage(WM_NCHITTEST, 0, nearLeft));
    dialog.m_bMaximized = FALSE;

    // The frame's magenta corner pixels were cut out of the window.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, dialog.GetWindowRgn(region));
    CRect box;
    ::GetRgnBox(region, &box);
    EXPECT_EQ(CRect(0, 0, window.Width(), window.Height()), box);
    ::DeleteObject(region);
    dialog.DestroyWindow();
}
