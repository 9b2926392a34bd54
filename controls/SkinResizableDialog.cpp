#include "SkinResizableDialog.h"
#include "MemoryDC.h"
#include "LanguageTable.h"

BEGIN_MESSAGE_MAP(CSkinResizableDialog, CDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CSkinResizableDialog::OnPrintClient)
    ON_WM_QUERYDRAGICON()
    ON_WM_GETMINMAXINFO()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CSkinResizableDialog::CSkinResizableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_hIcon(NULL), m_titleTop(-1), m_minTrackWidth(700), m_minTrackHeight(480),
      m_bMaximized(FALSE), m_bFurtherLines(TRUE), m_bSizing(FALSE), m_pCaptionFont(nullptr)
{
}

CSkinResizableDialog::~CSkinResizableDialog()
{
    delete m_pCaptionFont;
}

void CSkinResizableDialog::AddCaptionText(LPCTSTR text, const RECT& rect)
{
    m_captionTexts.push_back(text);
    m_captionRects.push_back(rect);
}

BOOL CSkinResizableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    LoadLanguageFile(); // the client runs with empty texts when it fails
    return TRUE;
}

int CSkinResizableDialog::LoadLanguageFile()
{
    // The program's own folder, whatever the length of its path.
    std::vector<wchar_t> path(MAX_PATH);
    DWORD n;
    while ((n = ::GetModuleFileNameW(NULL, path.data(), (DWORD)path.size())) >= path.size() && path.size() < 32768)
        path.resize(path.size() * 2);
    if (n == 0 || n >= path.size())
        return 0;
    CString file(path.data(), (int)n);
    int slash = file.ReverseFind(L'\\');
    if (slash < 0)
        return -1;
    file = file.Left(slash + 1) + L"lng\\default.LNG";
    if (!LanguageTable::Instance().Load(file))
    {
        ::MessageBoxW(NULL, L"Load language file fails!", L"Info", MB_OK);
        return -1;
    }
    return 0;
}

UINT CSkinResizableDialog::BorderHitTest(const CRect& w, CPoint p)
{
    if (p.x <= w.left + 3)
        return HTLEFT;
    if (p.x >= w.right - 3)
        return HTRIGHT;
    if (p.y <= w.top + 3)
        return HTTOP;
    if (p.y >= w.bottom - 3)
        return HTBOTTOM;
    if (p.x <= w.left + 10 && p.y <= w.top + 10)
        return HTTOPLEFT;
    if (p.x >= w.right - 10 && p.y <= w.top + 10)
        return HTTOPRIGHT;
    if (p.x <= w.left + 10 && p.y >= w.bottom - 10)
        return HTBOTTOMLEFT;
    if (p.x >= w.right - 10 && p.y >= w.bottom - 10)
        return HTBOTTOMRIGHT;
    return 0;
}

LRESULT CSkinResizableDialog::OnNcHitTest(CPoint point)
{
    if (!m_bMaximized)
    {
        CRect window;
        GetWindowRect(&window);
        if (UINT hit = BorderHitTest(window, point))
            return hit;
    }
    return Default();
}

void CSkinResizableDialog::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (m_bMaximized)
        return; // neither resizing nor moving while maximised
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT)
    {
        // SC_SIZE plus the edge: 1 left, 2 right, 3 top, 4 top-left,
        // 5 top-right, 6 bottom, 7 bottom-left, 8 bottom-right.
        static const UINT edges[] = {1, 2, 3, 4, 5, 6, 7, 8};
        m_bSizing = TRUE;
        SendMessage(WM_SYSCOMMAND, SC_SIZE + edges[nHitTest - HTLEFT], MAKELPARAM(point.x, point.y));
    }
    Default();
}

void CSkinResizableDialog::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == SC_MOVE)
        m_bSizing = FALSE;
    Default();
}

void CSkinResizableDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = m_minTrackWidth;
    lpMMI->ptMinTrackSize.y = m_minTrackHeight;
    Default();
}

void CSkinResizableDialog::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bMaximized)
    {
        m_bSizing = FALSE;
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    }
    Default();
}

void CSkinResizableDialog::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bMaximized)
        SendMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void CSkinResizableDialog::OnPaint()
{
    if (IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    PaintWindow(&dc, TRUE);
}

LRESULT CSkinResizableDialog::OnPrintClient(WPARAM wParam, LPARAM)
{
    // Controls that draw the dialog under themselves (the rounded corners of
    // theme buttons) ask for its picture here.
    CDC* dc = CDC::FromHandle((HDC)wParam);
    if (!dc || IsIconic())
        return 0;
    PaintWindow(dc, FALSE);
    return 1;
}

void CSkinResizableDialog::PaintWindow(CDC* pDC, BOOL bCutCorners)
{
    CRect client;
    GetClientRect(&client);
    CDC* frame = FramePicture(client.Size());
    if (!frame)
        return;
    // Only the asked-for part is copied; the corners come from the kept picture.
    CRect area = SkinFrame::PaintArea(pDC, client, FALSE);
    pDC->BitBlt(area.left, area.top, area.Width(), area.Height(), frame, area.left, area.top, SRCCOPY);
    if (bCutCorners)
        SkinFrame::ApplyCornerRegion(this, frame, client.Width(), client.Height());
}

CDC* CSkinResizableDialog::FramePicture(CSize size)
{
    BOOL current = m_framePicture && m_framePicture->GetSafeHdc() && m_frameSize == size &&
                   m_frameTexts == m_captionTexts && m_frameRects == m_captionRects &&
                   m_bFrameFurtherLines == m_bFurtherLines && m_frameTitleTop == m_titleTop;
    if (current)
        return m_framePicture.get();
    m_framePicture.reset(new CMemoryDC((HDC)NULL, size.cx, size.cy)); // compatible with the screen
    if (!m_framePicture->GetSafeHdc())
    {
        m_framePicture.reset();
        return NULL;
    }
    DrawFrame(m_framePicture.get(), size.cx, size.cy);
    m_frameSize = size;
    m_frameTexts = m_captionTexts;
    m_frameRects = m_captionRects;
    m_bFrameFurtherLines = m_bFurtherLines;
    m_frameTitleTop = m_titleTop;
    return m_framePicture.get();
}

void CSkinResizableDialog::DrawFrame(CDC* pDC, int w, int h)
{
    CDC& mem = *pDC;
    mem.Rectangle(0, 0, w, h);
    SkinFrame::DrawBitmap(m_grip.bitmap, &mem, w - m_grip.width - m_right.width, h - m_grip.height - m_bottom.height);
    SkinFrame::Parts parts{&m_topLeft, &m_top, &m_topRight, &m_left, &m_right, &m_bottomLeft, &m_bottom, &m_bottomRight};
    SkinFrame::PaintTop(&mem, parts, w);
    SkinFrame::PaintLeft(&mem, parts, h);
    SkinFrame::PaintRightAndBottom(&mem, parts, w, h);
    if (m_titleTop > 0)
        SkinFrame::DrawBitmap(m_title.bitmap, &mem, (w - m_title.width) / 2, m_titleTop);

    if (!m_pCaptionFont)
    {
        m_pCaptionFont = new CFont;
        SkinFrame::CopyWindowFont(m_hWnd, *m_pCaptionFont);
    }
    HGDIOBJ oldFont = m_pCaptionFont->GetSafeHandle() ? mem.SelectObject((HGDIOBJ)m_pCaptionFont->GetSafeHandle()) : NULL;
    mem.SetTextColor(RGB(0xCC, 0xCC, 0xCC));
    mem.SetBkMode(TRANSPARENT);
    for (size_t i = 0; i < m_captionTexts.size(); ++i)
    {
        if (i > 0 && !m_bFurtherLines)
            break;
        CRect r = m_captionRects[i];
        mem.DrawText(m_captionTexts[i], &r, DT_SINGLELINE | DT_VCENTER);
    }
    if (oldFont)
        mem.SelectObject(oldFont);
}
