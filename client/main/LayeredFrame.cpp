#include "LayeredFrame.h"

#include "MemoryDC.h"

#include <cstdlib>

namespace LayeredFrame
{
BOOL Show(CWnd* window, HKAVPNGDECODER decoder, UINT id, BYTE alpha, HKAVPNGDIB& held)
{
    if (!decoder || !window)
        return FALSE;
    HKAVPNGDIB dib = NULL;
    if (ImgNewDIBFromResource(decoder, id, &dib) != 0)
        return FALSE;
    HBITMAP bitmap = NULL;
    void* bits = NULL;
    DIBSECTION section{};
    if (ImgGetHandle(dib, &bitmap, &bits) != 0 || !bits ||
        ::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32)
    {
        ImgDeleteDIBSection(dib);
        return FALSE;
    }
    if (held)
        ImgDeleteDIBSection(held);
    held = dib;

    // The layered window wants colours multiplied by their alpha.
    int width = section.dsBm.bmWidth, height = std::abs(section.dsBm.bmHeight);
    BYTE* pixel = static_cast<BYTE*>(bits);
    for (int i = 0; i < width * height; ++i, pixel += 4)
    {
        pixel[0] = static_cast<BYTE>(pixel[0] * pixel[3] / 255);
        pixel[1] = static_cast<BYTE>(pixel[1] * pixel[3] / 255);
        pixel[2] = static_cast<BYTE>(pixel[2] * pixel[3] / 255);
    }

    HWND hwnd = window->GetSafeHwnd();
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    CRect rect;
    window->GetWindowRect(&rect);
    HDC screen = ::GetDC(NULL);
    {
        CMemoryDC frame(bitmap, screen);
        POINT position = {rect.left, rect.top};
        SIZE size = {width, height};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(hwnd, screen, &position, &size, frame.GetSafeHdc(), &source, 0, &blend, ULW_ALPHA);
    }
    ::ReleaseDC(NULL, screen);
    return TRUE;
}
} // namespace LayeredFrame
