#include "ScrollTextStatic.h"
#include "MemoryDC.h"
#include "SkinFrame.h"
#include "ThreadTimer.h"

BEGIN_MESSAGE_MAP(CScrollTextStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScrollTextStatic::CScrollTextStatic()
    : m_edgeType(EDGE_SUNKEN), m_edgeFlags(BF_FLAT), m_x(0), m_secondColour(0x00FF00), m_firstColour(0xFFFFFF),
      m_step(1), m_mode(MODE_SEGMENTS), m_bBackground(0), m_fontHeight(15), m_face(L"Arial"), m_bRunning(FALSE)
{
}

CScrollTextStatic::~CScrollTextStatic()
{
    if (m_bRunning && m_hWnd)
        CThreadTimer::KillTimer(m_hWnd, TIMER_ID);
}

std::vector<CString> CScrollTextStatic::SplitSegments(const CString& text)
{
    std::vector<CString> segments;
    int start = 1; // after the opening "|"
    while (start < text.GetLength())
    {
        int end = text.Find(L'|', start);
        if (end < 0)
            break; // no closing "|": the last segment is dropped
        CString segment = text.Mid(start, end - start);
        if (segment.IsEmpty())
            break;
        segments.push_back(segment);
        start = end + 1;
    }
    return segments;
}

void CScrollTextStatic::DrawGradient(CDC* pDC, const CRect& rect, int bands, COLORREF from, COLORREF to)
{
    if (bands <= 0)
        return;
    int steps = bands > 1 ? bands - 1 : 1;
    int r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
    int dr = (GetRValue(to) - r) / steps, dg = (GetGValue(to) - g) / steps, db = (GetBValue(to) - b) / steps;
    int width = rect.Width() / bands;
    HGDIOBJ oldPen = pDC->SelectObject(::GetStockObject(NULL_PEN));
    int left = rect.left;
    for (int i = 0; i < bands; ++i)
    {
        int right = i == bands - 1 ? rect.right : left + width;
        CBrush brush(RGB(r, g, b));
        CBrush* oldBrush = pDC->SelectObject(&brush);
        pDC->Rectangle(left, rect.top, right + 1, rect.bottom);
        pDC->SelectObject(oldBrush);
        left = right;
        r += dr, g += dg, b += db;
    }
    pDC->SelectObject(oldPen);
}

void CScrollTextStatic::MakeFont()
{
    m_font.DeleteObject();
    m_font.CreateFont(m_fontHeight, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, m_face);
}

void CScrollTextStatic::Setup(COLORREF first, COLORREF second, LPCTSTR face, int height, int step, int mode)
{
    m_firstColour = first;
    m_secondColour = second;
    m_face = face ? face : L"Arial";
    SetFontHeight(height);
    m_step = step;
    StartScroll(mode);
}

BOOL CScrollTextStatic::SetBackground(COLORREF first, COLORREF second, LPCTSTR face, int height, int step, int mode,
                                      UINT nBitmapID)
{
    m_bBackground = 1;
    BOOL ok = SkinFrame::LoadBitmapResource(m_background, nBitmapID);
    Setup(first, second, face, height, step, mode);
    return ok;
}

void CScrollTextStatic::StartScroll(int mode)
{
    m_mode = mode;
    if (!m_hWnd)
        return;
    GetClientRect(&m_lastRect);
    m_x = m_lastRect.Width();
    if (m_bRunning)
        CThreadTimer::KillTimer(m_hWnd, TIMER_ID);
    CThreadTimer::SetTimer(m_hWnd, TIMER_ID, TIMER_INTERVAL);
    m_bRunning = TRUE;
}

void CScrollTextStatic::SetText(LPCTSTR text)
{
    m_strText = text ? text : L"";
    m_x = m_lastRect.Width();
    // The painted text is also the window's text, so that what the user sees
    // can be read from outside (accessibility tools, another process).
    if (m_hWnd)
        ::SetWindowTextW(m_hWnd, m_strText);
}

void CScrollTextStatic::SetFontHeight(int height)
{
    m_fontHeight = height;
    MakeFont();
}

void CScrollTextStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_ID)
    {
        Default();
        return;
    }
    m_x -= m_step;
    Invalidate();
}

void CScrollTextStatic::OnDestroy()
{
    Default();
    m_bRunning = FALSE;
    CThreadTimer::KillTimer(m_hWnd, TIMER_ID);
}

void CScrollTextStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    m_lastRect = client;
    CMemoryDC picture(&dc, &client);
    if (m_bBackground && m_background.GetSafeHandle())
    {
        CBrush pattern;
        pattern.CreatePatternBrush(&m_background);
        picture.FillRect(&client, &pattern);
    }
    else
        DrawGradient(&picture, client, 60, RGB(0x32, 0xB4, 0x00), RGB(0x00, 0x00, 0xFF));
    picture.SetBkMode(TRANSPARENT);
    if (!m_font.GetSafeHandle())
        MakeFont();
    HGDIOBJ oldFont = picture.SelectObject((HGDIOBJ)m_font.GetSafeHandle());
    if (m_mode == MODE_SEGMENTS || m_mode == MODE_SINGLE)
    {
        int width = picture.GetTextExtent(m_strText).cx;
        if (-width >= m_x)
            m_x = client.Width(); // scrolled out on the left: in again from the right
        if (m_mode == MODE_SINGLE)
        {
            picture.SetTextColor(m_firstColour);
            picture.TextOut(m_x, 0, m_strText);
        }
        else if (!m_strText.IsEmpty())
        {
            int x = m_x;
            std::vector<CString> segments = SplitSegments(m_strText);
            for (size_t i = 0; i < segments.size(); ++i)
            {
                bool first = i % 2 == 0;
                picture.SetTextColor(first ? m_firstColour : m_secondColour);
                picture.TextOut(x, first ? 0 : 3, segments[i]);
                x += picture.GetTextExtent(segments[i]).cx;
            }
        }
    }
    else
    {
        picture.SetTextColor(m_firstColour);
        CRect rect = client;
        UINT align = m_mode == MODE_FIXED_RIGHT ? DT_RIGHT : DT_LEFT;
        picture.DrawText(m_strText, &rect, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    picture.DrawEdge(&client, m_edgeType, m_edgeFlags);
    picture.SelectObject(oldFont);
}
