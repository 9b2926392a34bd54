#include "SkinDialog.h"
#include "MemoryDC.h"

IMPLEMENT_DYNAMIC(CSkinDialog, CDialog)

BEGIN_MESSAGE_MAP(CSkinDialog, CDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CSkinDialog::OnPrintClient)
    ON_WM_QUERYDRAGICON()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_hIcon(NULL), m_titleLeft(-1), m_titleTop(-1), m_bDrawCaption(TRUE),
      m_pCaptionFont(nullptr), m_captionColour(RGB(0xCE, 0xCE, 0xD2)), m_bkColour(RGB(0xE8, 0xE8, 0xE8)), m_bDrag(TRUE),
      m_bTopBand(FALSE)
{
}

CSkinDialog::~CSkinDialog()
{
    delete m_pCaptionFont;
}

void CSkinDialog::AddCaptionText(LPCTSTR text, const RECT& rect, COLORREF colour)
{
    m_lineTexts.push_back(text);
    m_lineRects.push_back(rect);
    m_lineColours.push_back(colour);
}

BOOL CSkinDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_tooltip.Create(this, FALSE);
    return TRUE;
}

BOOL CSkinDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CSkinDialog::UpdateWindowRegion(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    SkinFrame::ApplyCornerRegion(this, pDC, client.Width(), client.Height());
}

void CSkinDialog::OnPaint()
{
    if (IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    PaintWindow(&dc, TRUE);
}

LRESULT CSkinDialog::OnPrintClient(WPARAM wParam, LPARAM)
{
    // Controls that draw the dialog under themselves (the rounded corners of
    // theme buttons) ask for its picture here.
    CDC* dc = CDC::FromHandle((HDC)wParam);
    if (!dc || IsIconic())
        return 0;
    PaintWindow(dc, FALSE);
    return 1;
}

void CSkinDialog::PaintWindow(CDC* pDC, BOOL bCutCorners)
{
    CRect client;
    GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    CRect area = SkinFrame::PaintArea(pDC, client, bCutCorners);
    CMemoryDC mem(pDC, &area); // copied to the target when the picture is done

    mem.Rectangle(0, 0, w, h);
    SkinFrame::Parts parts{&m_topLeft, &m_top, &m_topRight, &m_left, &m_right, &m_bottomLeft, &m_bottom, &m_bottomRight};
    SkinFrame::PaintTop(&mem, parts, w);
    SkinFrame::PaintLeft(&mem, parts, h);
    mem.FillSolidRect(m_left.width, m_topLeft.height, w - m_left.width - m_right.width, h - m_bottomRight.height,
                      m_bkColour);
    SkinFrame::PaintRightAndBottom(&mem, parts, w, h);
    if (m_titleTop > 0)
        SkinFrame::DrawBitmap(m_title.bitmap, &mem, m_titleLeft <= 0 ? (w - m_title.width) / 2 : m_titleLeft,
                              m_titleTop);
    if (m_bTopBand)
        SkinFrame::TileBitmap(m_band.bitmap, &mem, m_left.width, m_topLeft.height, w - m_right.width,
                              m_topLeft.height + m_band.height);

    if (!m_pCaptionFont || !m_pCaptionFont->GetSafeHandle())
    {
        delete m_pCaptionFont;
        m_pCaptionFont = new CFont;
        SkinFrame::CopyWindowFont(m_hWnd, *m_pCaptionFont);
    }
    HGDIOBJ oldFont = m_pCaptionFont->GetSafeHandle() ? mem.SelectObject((HGDIOBJ)m_pCaptionFont->GetSafeHandle()) : NULL;
    mem.SetTextColor(m_captionColour);
    mem.SetBkMode(TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (m_strCaption.IsEmpty())
        GetWindowText(m_strCaption); // read once: later window texts do not change the caption
    if (m_bDrawCaption)
    {
        CRect caption(m_topLeft.width, 0, w - m_topLeft.width - m_topRight.width, m_topLeft.height);
        mem.DrawText(m_strCaption, &caption, format);
    }
    for (size_t i = 0; i < m_lineTexts.size(); ++i)
    {
        mem.SetTextColor(m_lineColours[i]);
        CRect r = m_lineRects[i];
        mem.DrawText(m_lineTexts[i], &r, format);
    }
    if (oldFont)
        mem.SelectObject(oldFont);
    if (bCutCorners)
        SkinFrame::ApplyCornerRegion(this, &mem, w, h);
}

void CSkinDialog::OnLButtonDown(UINT, CPoint point)
{
    if (m_bDrag)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void CSkinDialog::OnLButtonUp(UINT, CPoint point)
{
    if (m_bDrag)
        PostMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}
