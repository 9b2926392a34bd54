#include "RichEdit20Ctrl.h"

namespace
{
// Loaded at most once and kept until the process ends, when the system
// frees it: unloading it from a static destructor while windows of other
// threads may still use it can stall the process's exit.
struct RichEditLibrary
{
    HMODULE module = NULL;
    bool tried = false;
};

RichEditLibrary& Library()
{
    static RichEditLibrary library;
    return library;
}
} // namespace

BOOL CRichEdit20Ctrl::LoadLibrary()
{
    if (!AfxInitRichEdit2())
        return FALSE;
    RichEditLibrary& library = Library();
    if (!library.tried)
    {
        library.tried = true;
        library.module = ::LoadLibraryW(L"RICHED20.DLL");
    }
    return library.module != NULL;
}

BOOL CRichEdit20Ctrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, NULL, NULL, style, rect, parent, id);
}

BOOL CRichEdit20Ctrl::CreateEx(DWORD exStyle, LPCTSTR, LPCTSTR windowName, DWORD style, const RECT& rect,
                               CWnd* parent, UINT id)
{
    if (!LoadLibrary())
        return FALSE;
    return CWnd::CreateEx(exStyle, L"RichEdit20W", windowName, style, rect, parent, id);
}

LONG CRichEdit20Ctrl::TwipsForFontHeight(LONG height, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    return (LONG)((0.5 - (double)height * 72.0 / dpi) * 20.0);
}

void CRichEdit20Ctrl::SetupFromFont(const LOGFONTW& font, COLORREF colour)
{
    SetEventMask(GetEventMask() | ENM_LINK | ENM_MOUSEEVENTS | ENM_KEYEVENTS | ENM_SCROLLEVENTS);
    SetAutoURLDetect(TRUE);

    HDC screen = ::GetDC(NULL);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(NULL, screen);

    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_BOLD | CFM_COLOR | CFM_SIZE;
    format.dwEffects = 0;
    format.crTextColor = colour;
    format.yHeight = TwipsForFontHeight(font.lfHeight, dpi);
    lstrcpynW(format.szFaceName, font.lfFaceName, LF_FACESIZE);
    SetDefaultCharFormat(format);
    EnableWindow(FALSE);
}
