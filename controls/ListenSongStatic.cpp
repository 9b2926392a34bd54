#include "ListenSongStatic.h"
#include "DrawMarkupText.h"
#include "HandCursor.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

BEGIN_MESSAGE_MAP(CListenSongStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CListenSongStatic::CListenSongStatic() : m_pFont(nullptr) {}

CListenSongStatic::~CListenSongStatic()
{
    delete m_pFont;
}

BOOL CListenSongStatic::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hand = GetHandCursor();
    if (m_strText.IsEmpty() || !hand)
        return FALSE;
    ::SetCursor(hand);
    return TRUE;
}

void CListenSongStatic::OnMouseHover(UINT, CPoint)
{
    Invalidate();
}

void CListenSongStatic::OnMouseLeave()
{
    Invalidate();
}

void CListenSongStatic::OnDestroy()
{
    Default();
    delete m_pFont;
    m_pFont = nullptr;
    for (HICON icon : m_icons)
        if (icon)
            ::DestroyIcon(icon);
    m_icons.clear();
}

void CListenSongStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(&dc, &client);
    if (m_background.GetSafeHandle())
    {
        CSize size = SkinFrame::GetBitmapSize(m_background);
        CDC src;
        src.CreateCompatibleDC(&mem);
        HGDIOBJ old = src.SelectObject((HGDIOBJ)m_background.GetSafeHandle());
        mem.StretchBlt(0, 0, client.Width(), client.Height(), &src, 0, 0, size.cx, size.cy, SRCCOPY);
        src.SelectObject(old);
    }
    if (m_strText.IsEmpty())
        return;
    if (!m_pFont)
    {
        m_pFont = new CFont;
        CWnd* main = AfxGetMainWnd();
        SkinFrame::CopyWindowFont(main ? main->GetSafeHwnd() : m_hWnd, *m_pFont);
    }
    CFont* oldFont = mem.SelectObject(m_pFont);
    if (!m_icons.empty() && m_icons[0]) // a text without icons is drawn without one
        mem.DrawIconEx(2, 4, m_icons[0], 16, 16, 0, NULL, DI_NORMAL | DI_COMPAT);
    mem.SetBkMode(TRANSPARENT);
    CRect text = client;
    text.left += 22;
    text.right -= 2;
    DrawMarkupText(&mem, m_strText, m_strText.GetLength(), &text, DT_VCENTER | DT_END_ELLIPSIS);
    mem.SelectObject(oldFont);
}
