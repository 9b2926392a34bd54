#include "DlgMain.h"

#include "ClientApp.h"
#include "PopupRegistry.h"
#include "resource.h"

namespace
{
// One loaded bitmap resource with its size.
struct SkinBitmap
{
    HBITMAP handle = NULL;
    int width = 0, height = 0;

    explicit SkinBitmap(int id)
    {
        handle = static_cast<HBITMAP>(
            ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info{};
        if (handle && ::GetObjectW(handle, sizeof(info), &info))
        {
            width = info.bmWidth;
            height = info.bmHeight;
        }
    }
    ~SkinBitmap()
    {
        if (handle)
            ::DeleteObject(handle);
    }
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;
};

void DrawBitmap(HDC target, HDC source, const SkinBitmap& bitmap, int x, int y)
{
    if (!bitmap.handle)
        return;
    HGDIOBJ old = ::SelectObject(source, bitmap.handle);
    ::BitBlt(target, x, y, bitmap.width, bitmap.height, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
}

// Repeats a bitmap over a rectangle (a zero-sized bitmap draws nothing).
void TileBitmap(HDC target, HDC source, const SkinBitmap& bitmap, int left, int top, int right, int bottom)
{
    if (!bitmap.handle || bitmap.width <= 0 || bitmap.height <= 0)
        return;
    HGDIOBJ old = ::SelectObject(source, bitmap.handle);
    for (int y = top; y < bottom; y += bitmap.height)
        for (int x = left; x < right; x += bitmap.width)
            ::BitBlt(target, x, y, std::min(bitmap.width, right - x), std::min(bitmap.height, bottom - y), source,
                     0, 0, SRCCOPY);
    ::SelectObject(source, old);
}

// The frame of the main window: top band with the title, edges, bottom band,
// and the pale body between them.
void DrawFrame(HDC dc, int width, int height)
{
    SkinBitmap topLeft(IDB_MAIN_TOP_LEFT), top(IDB_MAIN_TOP), topRight(IDB_MAIN_TOP_RIGHT);
    SkinBitmap left(IDB_MAIN_LEFT), right(IDB_MAIN_RIGHT);
    SkinBitmap bottomLeft(IDB_MAIN_BOTTOM_LEFT), bottom(IDB_MAIN_BOTTOM), bottomRight(IDB_MAIN_BOTTOM_RIGHT);
    SkinBitmap title(IDB_MAIN_TITLE);
    HDC source = ::CreateCompatibleDC(dc);

    RECT body = {left.width, topLeft.height, width - right.width, height - bottom.height};
    HBRUSH face = ::CreateSolidBrush(RGB(214, 231, 247));
    ::FillRect(dc, &body, face);
    ::DeleteObject(face);

    DrawBitmap(dc, source, topLeft, 0, 0);
    TileBitmap(dc, source, top, topLeft.width, 0, width - topRight.width, top.height);
    DrawBitmap(dc, source, topRight, width - topRight.width, 0);
    TileBitmap(dc, source, left, 0, topLeft.height, left.width, height - bottomLeft.height);
    TileBitmap(dc, source, right, width - right.width, topRight.height, width, height - bottomRight.height);
    DrawBitmap(dc, source, bottomLeft, 0, height - bottomLeft.height);
    TileBitmap(dc, source, bottom, bottomLeft.width, height - bottom.height, width - bottomRight.width, height);
    DrawBitmap(dc, source, bottomRight, width - bottomRight.width, height - bottomRight.height);
    DrawBitmap(dc, source, title, (width - title.width) / 2, 1);
    ::DeleteDC(source);
}
} // namespace

BEGIN_MESSAGE_MAP(CDlgMain, CDialog)
    ON_MESSAGE(WM_YEB_BRING_TO_FRONT, &CDlgMain::OnBringToFront)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgMain::CDlgMain(CWnd* parent) : CDialog(IDD_MAIN, parent), m_hBigIcon(NULL), m_hSmallIcon(NULL), m_hToolTip(NULL)
{
    m_hBigIcon = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
}

CDlgMain::~CDlgMain()
{
    if (m_hBigIcon)
        ::DestroyIcon(m_hBigIcon);
    if (m_hSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

BOOL CDlgMain::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hSmallIcon = static_cast<HICON>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hBigIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

    // The controls wait for the window's layout; until then the shell shows none.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::ShowWindow(child, SW_HIDE);

    // The window's tooltip. Being owned by the main window, it is also how a
    // second copy of the client finds this one (it climbs from owned windows
    // to their owner).
    m_hToolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, NULL, AfxGetInstanceHandle(),
                                   NULL);
    CenterWindow();
    return TRUE;
}

LRESULT CDlgMain::OnBringToFront(WPARAM, LPARAM)
{
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    else
        ShowWindow(SW_SHOW);
    SetForegroundWindow();
    return 0;
}

void CDlgMain::OnPaint()
{
    CPaintDC paint(this);
    RECT client;
    GetClientRect(&client);
    int width = client.right, height = client.bottom;
    // Composed off-screen, then one copy to the screen.
    HDC memory = ::CreateCompatibleDC(paint.GetSafeHdc());
    HBITMAP picture = ::CreateCompatibleBitmap(paint.GetSafeHdc(), width, height);
    HGDIOBJ old = ::SelectObject(memory, picture);
    DrawFrame(memory, width, height);
    ::BitBlt(paint.GetSafeHdc(), 0, 0, width, height, memory, 0, 0, SRCCOPY);
    CutCorners(memory, width, height);
    ::SelectObject(memory, old);
    ::DeleteObject(picture);
    ::DeleteDC(memory);
}

void CDlgMain::CutCorners(HDC picture, int width, int height)
{
    HRGN region = ::CreateRectRgn(0, 0, width, height);
    const int square = 6;
    for (int corner = 0; corner < 4; ++corner)
    {
        int x0 = (corner & 1) ? width - square : 0;
        int y0 = (corner & 2) ? height - square : 0;
        for (int y = y0; y < y0 + square; ++y)
            for (int x = x0; x < x0 + square; ++x)
                if (x >= 0 && y >= 0 && ::GetPixel(picture, x, y) == RGB(255, 0, 255))
                {
                    HRGN dot = ::CreateRectRgn(x, y, x + 1, y + 1);
                    ::CombineRgn(region, region, dot, RGN_DIFF);
                    ::DeleteObject(dot);
                }
    }
    // The window owns the region from here on.
    if (!::SetWindowRgn(m_hWnd, region, FALSE))
        ::DeleteObject(region);
}

void CDlgMain::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Invalidate(FALSE);
}

void CDlgMain::OnLButtonDown(UINT flags, CPoint point)
{
    // Dragging the background moves the window (it has no caption bar).
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(flags, point);
}

void CDlgMain::OnDestroy()
{
    CPopupRegistry::CloseAll();
    if (m_hToolTip)
        ::DestroyWindow(m_hToolTip);
    m_hToolTip = NULL;
    CDialog::OnDestroy();
}
