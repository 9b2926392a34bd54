// Small readers of the program's own resources, shared by the resource tests.
#pragma once
#include <windows.h>
#include <cstring>
#include <string>

namespace probe
{
struct Size
{
    int width = 0, height = 0;
};

// Size of a bitmap resource, {0, 0} when it is missing.
inline Size BitmapSize(int id)
{
    Size s;
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bmp)
    {
        BITMAP info{};
        GetObjectW(bmp, sizeof(info), &info);
        s.width = info.bmWidth;
        s.height = info.bmHeight;
        DeleteObject(bmp);
    }
    return s;
}

// Colour (0x00RRGGBB) of one pixel of a bitmap resource, -1 when it is missing.
inline long BitmapPixel(int id, int x, int y)
{
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp)
        return -1;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Bytes of a raw resource (RCDATA, WAVE, HTML ...), empty when it is missing.
inline std::string RawResource(LPCWSTR name, LPCWSTR type)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, type);
    if (!info)
        return std::string();
    HGLOBAL data = LoadResource(module, info);
    const char* bytes = static_cast<const char*>(LockResource(data));
    return bytes ? std::string(bytes, SizeofResource(module, info)) : std::string();
}

// Caption of a DIALOGEX template (the text after menu and class), empty when missing.
inline std::wstring DialogCaption(int id)
{
    std::string raw = RawResource(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (raw.size() < 26)
        return std::wstring();
    const WORD* p = reinterpret_cast<const WORD*>(raw.data());
    if (p[0] != 1 || p[1] != 0xFFFF)
        return std::wstring(); // not DIALOGEX
    p += 13;                   // dlgVer .. cy
    for (int field = 0; field < 2; ++field) // menu, window class
    {
        if (*p == 0xFFFF)
            p += 2;
        else
            p += std::wcslen(reinterpret_cast<const wchar_t*>(p)) + 1;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(p));
}

// Number of controls of a DIALOGEX template, -1 when missing.
inline int DialogControlCount(int id)
{
    std::string raw = RawResource(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (raw.size() < 26)
        return -1;
    const WORD* p = reinterpret_cast<const WORD*>(raw.data());
    return p[8];
}
} // namespace probe
