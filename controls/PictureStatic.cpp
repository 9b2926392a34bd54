#include "PictureStatic.h"
#include "HandCursor.h"

BEGIN_MESSAGE_MAP(CPictureStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace
{
// Resampling of avatars: bicubic with the nearest edge pixel outside.
const int kResampleMethod = 4;
const int kOverflowMethod = 5;
const DWORD kJpegType = 3;
} // namespace

CPictureStatic::CPictureStatic() : m_bHover(FALSE), m_nState(0), m_nType(0)
{
    SetImage(L"");
}

CPictureStatic::~CPictureStatic() = default;

void CPictureStatic::ShowDefault()
{
    m_image.Destroy();
    if (m_defaultBitmap.GetSafeHandle())
        m_image.CreateFromHBITMAP((HBITMAP)m_defaultBitmap.GetSafeHandle());
}

BOOL CPictureStatic::SetImage(LPCTSTR lpszPath, BOOL bSave, DWORD nType)
{
    m_strPath = lpszPath ? lpszPath : L"";
    m_nType = nType;
    // The display state is the owner's (the buddy card sets the presence
    // there, maybe before the picture): a new picture keeps it.
    if (m_strPath.IsEmpty())
        return TRUE;
    m_image.Destroy();
    if (!m_image.Load(m_strPath, nType))
    {
        ShowDefault();
        m_strPath.Empty();
        if (m_hWnd)
            Invalidate();
        return FALSE;
    }
    if (m_hWnd)
    {
        CRect client;
        GetClientRect(&client);
        if (client.Width() > 0 && client.Height() > 0)
            m_image.Resample(client.Width(), client.Height(), kResampleMethod, kOverflowMethod);
        Invalidate();
    }
    if (bSave)
        m_image.Save(m_strPath, kJpegType);
    return TRUE;
}

BOOL CPictureStatic::GetImage(CString& path, DWORD& type) const
{
    path = m_strPath;
    type = m_nType;
    return TRUE;
}

void CPictureStatic::OnPaint()
{
    CPaintDC dc(this);
    if (m_strPath.IsEmpty())
        ShowDefault();
    if (m_nState == STATE_GREY && m_image.IsValid())
        m_image.GrayScale();
    CRect client;
    GetClientRect(&client);
    if (m_image.IsValid())
        m_image.Draw(dc.GetSafeHdc(), client);
}

void CPictureStatic::OnMouseMove(UINT, CPoint)
{
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    ::TrackMouseEvent(&tme);
}

void CPictureStatic::OnMouseHover(UINT, CPoint)
{
    if (m_bHover)
        return;
    m_bHover = TRUE;
    ::SendMessageW(::GetParent(m_hWnd), WM_PICTURE_HOVER, 1, 0);
}

void CPictureStatic::OnMouseLeave()
{
    if (!m_bHover)
        return;
    m_bHover = FALSE;
    ::SendMessageW(::GetParent(m_hWnd), WM_PICTURE_HOVER, 0, 0);
}

void CPictureStatic::OnLButtonUp(UINT, CPoint)
{
    SetFocus();
    ::SendMessageW(::GetParent(m_hWnd), WM_PICTURE_CLICK, 0, 0);
}

BOOL CPictureStatic::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hand = GetHandCursor();
    if (!hand)
        return (BOOL)Default();
    ::SetCursor(hand);
    return TRUE;
}

void CPictureStatic::OnDestroy()
{
    m_image.Destroy();
    m_defaultBitmap.DeleteObject();
    Default();
}
