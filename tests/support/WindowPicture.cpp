#include "WindowPicture.h"

#include "PixImage.h"

bool SaveWindowPicture(HWND window, const std::wstring& path, const POINT* probe, COLORREF* colour)
{
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, shot);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    if (probe && colour)
        *colour = GetPixel(mem, probe->x, probe->y);
    SelectObject(mem, old);
    CPixImage image;
    bool saved = image.CreateFromHBITMAP(shot) && image.Save(path.c_str(), PIXIMAGE_FORMAT_PNG);
    DeleteObject(shot);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    return saved;
}
