#include "SkinStateMatch.h"
#include "SFSkinClass.h"

namespace
{
// A top-down 32-bit picture of the given size, drawn by the callback.
template <class Draw> WindowShot DrawPicture(int width, int height, Draw draw)
{
    WindowShot shot;
    shot.width = width;
    shot.height = height;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory);
    GdiFlush();
    shot.pixels.assign((const DWORD*)bits, (const DWORD*)bits + (size_t)width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return shot;
}
} // namespace

WindowShot PrintClientShot(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    return DrawPicture(client.right, client.bottom,
                       [&](HDC dc) { SendMessageW(hwnd, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT); });
}

int BestMatchingState(const WindowShot& shot, const RECT& area, CSFSkinClass* cls, int part,
                      const std::vector<int>& states, COLORREF background)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    int best = 0, bestCount = 0;
    for (int state : states)
    {
        WindowShot reference = DrawPicture(width, height, [&](HDC dc) {
            RECT r = {0, 0, width, height};
            HBRUSH brush = CreateSolidBrush(background);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            CDC cdc;
            cdc.Attach(dc);
            cls->DrawBackground(&cdc, part, state, &r);
            cdc.Detach();
        });
        int count = 0;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                count += reference.At(x, y) == shot.At(area.left + x, area.top + y) ? 1 : 0;
        if (count > bestCount)
        {
            best = state;
            bestCount = count;
        }
    }
    return best;
}

WindowShot SteadyShot(HWND hwnd, const std::function<bool(const WindowShot&)>& ok)
{
    WindowShot shot = TakeWindowShot(hwnd);
    HWND top = GetAncestor(hwnd, GA_ROOT);
    for (int attempt = 0; attempt < 20 && !ok(shot); ++attempt)
    {
        SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(100);
        shot = TakeWindowShot(hwnd);
    }
    return shot;
}
