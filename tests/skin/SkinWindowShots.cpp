#include "SkinWindowShots.h"
#include "SkinTestSupport.h"
#include "WindowPicture.h"

const wchar_t* PlainWindowClass()
{
    static const wchar_t* name = NULL;
    if (name == NULL)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"SkinPlainWindow";
        if (RegisterClassW(&wc))
            name = wc.lpszClassName;
    }
    return name;
}

COLORREF WindowShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    DWORD p = pixels[(size_t)y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int WindowShot::CountIn(const RECT& area, const std::set<COLORREF>& colours) const
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += colours.count(At(x, y)) ? 1 : 0;
    return count;
}

WindowShot TakeWindowShot(HWND hwnd)
{
    WindowShot shot;
    RedrawWindow(hwnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    RECT rc;
    GetWindowRect(hwnd, &rc);
    shot.width = rc.right - rc.left;
    shot.height = rc.bottom - rc.top;
    HDC window = GetWindowDC(hwnd);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = shot.width;
    bi.bmiHeader.biHeight = -shot.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(window, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memory = CreateCompatibleDC(window);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, window, 0, 0, SRCCOPY);
    GdiFlush();
    shot.pixels.assign((const DWORD*)bits, (const DWORD*)bits + (size_t)shot.width * shot.height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(hwnd, window);
    return shot;
}

std::set<COLORREF> StylePictureColours(const wchar_t* name, int cell, int count)
{
    std::set<COLORREF> colours;
    std::wstring path = StyleSourceFolder() + L"\\Blue\\" + name;
    HBITMAP bitmap = (HBITMAP)LoadImageW(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (bitmap == NULL)
        return colours;
    BITMAP info;
    GetObjectW(bitmap, sizeof(info), &info);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(bitmap);
    int cellHeight = info.bmHeight / count;
    for (int y = cell * cellHeight; y < (cell + 1) * cellHeight; y++)
        for (int x = 0; x < info.bmWidth; x++)
        {
            DWORD p = pixels[(size_t)y * info.bmWidth + x];
            COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            if (c != RGB(255, 0, 255))
                colours.insert(c);
        }
    return colours;
}

void KeepWindowPicture(HWND hwnd, const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\skin";
    CreateDirectoryW(folder.c_str(), NULL);
    SaveWindowPicture(hwnd, folder + L"\\" + name + L".png");
}
