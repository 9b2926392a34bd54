#include "SFObjectPaintDC.h"
#include "SFSkinObject.h"

CSFObjectPaintDC::CSFObjectPaintDC(CSFSkinObject* object) : m_ps(), m_hwnd(object->GetSafeHwnd()), m_began(FALSE)
{
    HDC given = (HDC)AfxGetCurrentMessageRecord().wParam;
    if (given != NULL)
    {
        Attach(given);
        return;
    }
    HDC dc = ::BeginPaint(m_hwnd, &m_ps);
    if (dc == NULL)
        AfxThrowResourceException();
    m_began = TRUE;
    Attach(dc);
}

CSFObjectPaintDC::~CSFObjectPaintDC()
{
    if (m_began)
        ::EndPaint(m_hwnd, &m_ps);
    Detach();
}
