// The drop-shadow record and its window class "DropShadowWnd". The class is
// registered once per process at start-up; the buddy card holds one record.
#pragma once

#include <windows.h>

class CWindowShadow
{
  public:
    CWindowShadow();
    virtual ~CWindowShadow() {}

    // Once per process: finds UpdateLayeredWindow in USER32.DLL (missing:
    // FALSE, nothing registered), notes whether dwmapi.dll loads and its
    // DwmIsCompositionEnabled, and registers the window class. After a
    // successful call every further call returns FALSE at once.
    static BOOL Initialize(HINSTANCE instance);

    static const wchar_t* const ClassName;

  private:
    LONG m_status;         // -1
    LONG m_window;         // 0
    BYTE m_darkness;       // 150
    BYTE m_sharpness;      // 5
    BYTE m_offsetX;        // 0
    BYTE m_offsetY;        // 5
    BYTE m_size;           // 5
    DWORD m_color;         // 0
    BYTE m_update;         // 0
    DWORD m_lastParentState; // 0

    typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                BLENDFUNCTION*, DWORD);
    typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL*);
    static UpdateLayeredWindowFn s_updateLayeredWindow;
    static bool s_dwmLoaded;
    static DwmIsCompositionEnabledFn s_dwmIsCompositionEnabled;
    static HINSTANCE s_instance;
    static bool s_initialized;
};
