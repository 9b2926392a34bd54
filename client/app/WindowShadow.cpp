#include "WindowShadow.h"

const wchar_t* const CWindowShadow::ClassName = L"DropShadowWnd";
CWindowShadow::UpdateLayeredWindowFn CWindowShadow::s_updateLayeredWindow = nullptr;
bool CWindowShadow::s_dwmLoaded = false;
CWindowShadow::DwmIsCompositionEnabledFn CWindowShadow::s_dwmIsCompositionEnabled = nullptr;
HINSTANCE CWindowShadow::s_instance = NULL;
bool CWindowShadow::s_initialized = false;

CWindowShadow::CWindowShadow()
    : m_status(-1), m_window(0), m_darkness(150), m_sharpness(5), m_offsetX(0), m_offsetY(5), m_size(5),
      m_color(0), m_update(0), m_lastParentState(0)
{
}

BOOL CWindowShadow::Initialize(HINSTANCE instance)
{
    if (s_initialized)
        return FALSE;
    HMODULE user32 = ::LoadLibraryW(L"USER32.DLL");
    s_updateLayeredWindow =
        user32 ? reinterpret_cast<UpdateLayeredWindowFn>(::GetProcAddress(user32, "UpdateLayeredWindow")) : nullptr;
    if (!s_updateLayeredWindow)
        return FALSE;
    HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
    if (dwm)
    {
        s_dwmLoaded = true;
        s_dwmIsCompositionEnabled =
            reinterpret_cast<DwmIsCompositionEnabledFn>(::GetProcAddress(dwm, "DwmIsCompositionEnabled"));
    }
    s_instance = instance;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = ClassName;
    ::RegisterClassExW(&wc);
    s_initialized = true;
    return TRUE;
}
