#include "StaticLink.h"
#include "HandCursor.h"
#include "SkinFrame.h"
#include "TransparentStatic.h"

BEGIN_MESSAGE_MAP(CStaticLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_NCHITTEST()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_SETTEXT, &CStaticLink::OnSetText)
END_MESSAGE_MAP()

CStaticLink::CStaticLink(LPCTSTR lpszTarget, BOOL bDeleteOnDestroy)
    : m_colour(0), m_normalColour(0), m_hoverColour(RGB(0x0A, 0x85, 0xED)), m_bColourFollowsHover(TRUE),
      m_bDeleteOnDestroy(bDeleteOnDestroy), m_bHover(FALSE), m_nTimerID(1), m_bOpenTarget(TRUE), m_bUnderline(TRUE),
      m_bOwnsBrush(FALSE), m_hBrush((HBRUSH)::GetStockObject(NULL_BRUSH))
{
    if (lpszTarget)
        m_link.m_strTarget = lpszTarget;
}

CStaticLink::~CStaticLink()
{
    if (m_bOwnsBrush && m_hBrush)
        ::DeleteObject(m_hBrush);
}

void CStaticLink::SetBkColor(COLORREF colour)
{
    if (m_bOwnsBrush && m_hBrush)
        ::DeleteObject(m_hBrush);
    m_hBrush = ::CreateSolidBrush(colour);
    m_bOwnsBrush = TRUE;
}

void CStaticLink::MakeFont()
{
    if (m_font.GetSafeHandle())
        return;
    CFont plain;
    LOGFONT lf{};
    if (!SkinFrame::CopyWindowFont(m_hWnd, plain) || !plain.GetLogFont(&lf))
        return;
    lf.lfUnderline = (BYTE)m_bUnderline;
    m_font.CreateFontIndirect(&lf);
}

HBRUSH CStaticLink::CtlColor(CDC* pDC, UINT)
{
    if (!CTransparentStatic::IsTextStatic(m_hWnd))
        return NULL;
    MakeFont();
    pDC->SelectObject(&m_font);
    pDC->SetTextColor(m_bColourFollowsHover ? m_colour : m_hoverColour);
    pDC->SetBkMode(TRANSPARENT);
    return m_hBrush;
}

LRESULT CStaticLink::OnNcHitTest(CPoint)
{
    if (!m_bHover)
    {
        m_bHover = TRUE;
        m_colour = m_hoverColour;
        Invalidate();
        SetTimer(m_nTimerID, 100);
    }
    return HTCLIENT;
}

void CStaticLink::OnTimer(UINT_PTR)
{
    DWORD pos = ::GetMessagePos();
    CPoint point((short)LOWORD(pos), (short)HIWORD(pos));
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
    {
        m_bHover = FALSE;
        KillTimer(m_nTimerID);
        MakeFont();
        m_colour = m_normalColour;
        Invalidate();
    }
    Default();
}

BOOL CStaticLink::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hand = GetHandCursor();
    if (!hand)
        return FALSE;
    ::SetCursor(hand);
    return TRUE;
}

void CStaticLink::SendClickToParent()
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
}

void CStaticLink::OnClick()
{
    if (m_bOpenTarget)
        m_link.Navigate();
    else
        SendClickToParent();
}

void CStaticLink::OnLButtonUp(UINT, CPoint)
{
    OnClick();
    Default();
}

LRESULT CStaticLink::OnSetText(WPARAM, LPARAM)
{
    LRESULT result = Default();
    CTransparentStatic::RepaintParentUnder(m_hWnd);
    return result;
}

void CStaticLink::PostNcDestroy()
{
    if (m_bOwnsBrush && m_hBrush)
        ::DeleteObject(m_hBrush);
    m_hBrush = NULL;
    m_bOwnsBrush = FALSE;
    if (m_bDeleteOnDestroy)
        delete this;
}
