#include "ThemeButton.h"
#include "MaskedBitmap.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

#include <algorithm>
#include <vector>

namespace
{
// TRUE when a pixel of the bitmap has the colour (or the bitmap cannot be read).
BOOL HasColour(CBitmap& bitmap, COLORREF colour)
{
    CSize size = SkinFrame::GetBitmapSize(bitmap);
    std::vector<DWORD> pixels;
    if (!ReadPixels32((HBITMAP)bitmap.GetSafeHandle(), size.cx, size.cy, pixels))
        return TRUE;
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (DWORD p : pixels)
        if ((p & 0xFFFFFF) == wanted)
            return TRUE;
    return FALSE;
}
} // namespace

BOOL ThreePieceImages::Load(UINT nLeft, UINT nMiddle, UINT nRight, int n)
{
    Free();
    if (n <= 0)
        return FALSE;
    const UINT ids[PIECES] = {nLeft, nMiddle, nRight};
    BOOL ok = TRUE;
    for (int piece = 0; piece < PIECES; ++piece)
    {
        CBitmap strip;
        if (!SkinFrame::LoadBitmapResource(strip, ids[piece]))
        {
            ok = FALSE;
            continue;
        }
        CSize size = SkinFrame::GetBitmapSize(strip);
        int width = size.cx / n;
        if (width <= 0 || !strips[piece].Create(width, size.cy, ILC_COLOR24 | ILC_MASK, n, 0) ||
            strips[piece].Add(&strip, SkinFrame::kTransparent) < 0)
        {
            strips[piece].DeleteImageList();
            ok = FALSE;
            continue;
        }
        sizes[piece] = CSize(width, size.cy);
        if (piece == MIDDLE)
            middleOpaque = !HasColour(strip, SkinFrame::kTransparent);
    }
    // Strip order of the states: normal, hover, pressed, disabled.
    static const int setOfStrip[SETS] = {NORMAL, HOVER, PRESSED, DISABLED};
    for (int i = 0; i < n && i < SETS; ++i)
        imageOf[setOfStrip[i]] = i;
    return ok;
}

void ThreePieceImages::Free()
{
    for (int piece = 0; piece < PIECES; ++piece)
    {
        strips[piece].DeleteImageList();
        sizes[piece] = CSize(0, 0);
    }
    for (int& image : imageOf)
        image = -1;
    middleOpaque = FALSE;
}

BOOL ThreePieceImages::Has(int set) const
{
    return set >= 0 && set < SETS && imageOf[set] >= 0 && strips[LEFT].GetSafeHandle() != NULL;
}

CSize ThreePieceImages::SizeOf(int set, int piece) const
{
    if (set < 0 || set >= SETS || imageOf[set] < 0 || piece < 0 || piece >= PIECES || !strips[piece].GetSafeHandle())
        return CSize(0, 0);
    return sizes[piece];
}

void ThreePieceImages::Paint(CDC* pDC, const CRect& rect, int set)
{
    if (set < 0 || set >= SETS || imageOf[set] < 0)
        return;
    const int image = imageOf[set];
    int save = pDC->SaveDC();
    pDC->IntersectClipRect(&rect);
    CSize middle = SizeOf(set, MIDDLE);
    if (middle.cx > 0)
    {
        // Tiled from the left edge as if under the caps too, but clipped to
        // the span between them: the caps' transparent corners must show the
        // background, not the middle piece.
        int inner = pDC->SaveDC();
        pDC->IntersectClipRect(rect.left + SizeOf(set, LEFT).cx, rect.top, rect.right - SizeOf(set, RIGHT).cx,
                               rect.bottom);
        int copies = rect.Width() / middle.cx + 1;
        // The first copy wholly between the caps; copies left of it are drawn
        // one by one, those right of it copied from the ones already drawn
        // (doubling), whose pixels are the piece's own when it is opaque.
        int first = middleOpaque ? (SizeOf(set, LEFT).cx + middle.cx - 1) / middle.cx : copies;
        for (int i = 0; i < copies && i <= first; ++i)
            strips[MIDDLE].Draw(pDC, image, CPoint(rect.left + i * middle.cx, rect.top), ILD_TRANSPARENT);
        if (first < copies)
        {
            const int start = rect.left + first * middle.cx, total = (copies - first) * middle.cx;
            for (int filled = middle.cx; filled < total;)
            {
                int n = std::min(filled, total - filled);
                pDC->BitBlt(start + filled, rect.top, n, middle.cy, pDC, start, rect.top, SRCCOPY);
                filled += n;
            }
        }
        pDC->RestoreDC(inner);
    }
    if (strips[LEFT].GetSafeHandle())
        strips[LEFT].Draw(pDC, image, CPoint(rect.left, rect.top), ILD_TRANSPARENT);
    if (strips[RIGHT].GetSafeHandle())
        strips[RIGHT].Draw(pDC, image, CPoint(rect.right - SizeOf(set, RIGHT).cx, rect.top), ILD_TRANSPARENT);
    pDC->RestoreDC(save);
}

CaptionPieces SplitCaption(const CString& caption, int prefixLength, int suffixLength)
{
    CaptionPieces pieces;
    int length = caption.GetLength();
    prefixLength = prefixLength < 0 ? 0 : prefixLength;
    suffixLength = suffixLength < 0 ? 0 : suffixLength;
    if (suffixLength >= length)
    {
        pieces.suffix = caption;
        return pieces;
    }
    pieces.suffix = caption.Right(suffixLength);
    CString rest = caption.Left(length - suffixLength);
    if (prefixLength > 0)
    {
        if (prefixLength > rest.GetLength())
            prefixLength = rest.GetLength();
        pieces.prefix = rest.Left(prefixLength);
        rest = rest.Mid(prefixLength);
    }
    pieces.middle = rest;
    return pieces;
}

BEGIN_MESSAGE_MAP(ThemeButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

ThemeButton::ThemeButton()
    : m_pFont(nullptr), m_bParentBackground(FALSE), m_nPrefixLength(0), m_nSuffixLength(5),
      m_bSplitCaption(TRUE), m_nPieceAlign(DT_CENTER), m_nLeftMargin(0), m_nRightMargin(0), m_nMaxWidth(121),
      m_bSizeToCaption(FALSE), m_clrNormal(0xFFFFFF), m_clrHover(0xFFFF00), m_clrPressed(0xFF00FF),
      m_clrDisabled(0x00FFFF), m_bMiddleColour(FALSE), m_clrMiddle(0xCC9933), m_bHover(0)
{
}

ThemeButton::~ThemeButton()
{
    m_images.Free();
    delete m_pFont;
}

void ThemeButton::SetImages(UINT nLeft, UINT nMiddle, UINT nRight, int nImages)
{
    delete m_pFont;
    m_pFont = nullptr;
    m_images.Load(nLeft, nMiddle, nRight, nImages);
    m_nLeftMargin = m_images.SizeOf(ThreePieceImages::NORMAL, ThreePieceImages::LEFT).cx;
    m_nRightMargin = m_images.SizeOf(ThreePieceImages::NORMAL, ThreePieceImages::RIGHT).cx;
    if (m_hWnd)
    {
        CRect client;
        GetClientRect(&client);
        SetWindowPos(NULL, 0, 0, client.Width(), m_images.SizeOf(ThreePieceImages::NORMAL, ThreePieceImages::RIGHT).cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ThemeButton::PreSubclassWindow()
{
    ModifyStyle(0x0F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

int ThemeButton::ChooseSet(BOOL bDisabled, BOOL bSelected, COLORREF& colour)
{
    if (bDisabled && m_images.Has(ThreePieceImages::DISABLED))
    {
        colour = m_clrDisabled;
        return ThreePieceImages::DISABLED;
    }
    if (bSelected)
    {
        colour = m_clrPressed;
        return ThreePieceImages::PRESSED;
    }
    if (m_bHover)
    {
        colour = m_clrHover;
        return ThreePieceImages::HOVER;
    }
    colour = m_clrNormal;
    return m_bParentBackground ? -1 : ThreePieceImages::NORMAL; // -1: the captured background
}

CRect ThemeButton::TextRect() const
{
    CRect text;
    GetClientRect(&text);
    text.left += m_nLeftMargin;
    text.right -= m_nRightMargin;
    return text;
}

COLORREF ThemeButton::PaintFace(CDC* pDC, CDC* pTarget, LPDRAWITEMSTRUCT lpDIS)
{
    CRect client;
    GetClientRect(&client);
    COLORREF colour;
    int set = ChooseSet(!IsWindowEnabled(), (lpDIS->itemState & ODS_SELECTED) != 0, colour);
    // The parent's picture lies under every face: the caps' rounded corners
    // are transparent.
    m_background.Paint(this, pTarget, pDC);
    if (set >= 0)
        m_images.Paint(pDC, client, set);
    return colour;
}

void ThemeButton::MakeFont()
{
    if (m_pFont)
        return;
    m_pFont = new CFont;
    SkinFrame::CopyWindowFont(m_hWnd, *m_pFont);
}

void ThemeButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(target, &client);
    COLORREF colour = PaintFace(&mem, target, lpDIS);

    CRect text = TextRect();
    CString caption;
    GetWindowText(caption);
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(colour);
    MakeFont();
    CFont* oldFont = mem.SelectObject(m_pFont);
    CSize whole = mem.GetTextExtent(caption);
    m_captionExtent = CSize(whole.cx + m_nLeftMargin + m_nRightMargin, whole.cy);
    if (m_bSizeToCaption && whole.cx != text.Width())
    {
        int width = std::min<int>(whole.cx + m_nLeftMargin + m_nRightMargin, m_nMaxWidth);
        SetWindowPos(NULL, 0, 0, width, client.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!m_bSplitCaption)
        mem.DrawText(caption, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    else
    {
        CaptionPieces pieces = SplitCaption(caption, m_nPrefixLength, m_nSuffixLength);
        CSize prefix = mem.GetTextExtent(pieces.prefix);
        CSize middle = mem.GetTextExtent(pieces.middle);
        CSize suffix = mem.GetTextExtent(pieces.suffix);
        const UINT pieceFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | m_nPieceAlign;
        CRect prefixRect(text.left, text.top, text.left + prefix.cx, text.bottom);
        if (!pieces.prefix.IsEmpty())
            mem.DrawText(pieces.prefix, &prefixRect, pieceFlags);
        CRect middleRect(pieces.prefix.IsEmpty() ? text.left : prefixRect.right, text.top, text.right - suffix.cx,
                         text.bottom);
        if (m_nPieceAlign == 0 && middleRect.right > middleRect.left + middle.cx)
            middleRect.right = middleRect.left + middle.cx;
        COLORREF before = 0;
        if (m_bMiddleColour)
            before = mem.SetTextColor(m_clrMiddle);
        mem.DrawText(pieces.middle, &middleRect, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (m_bMiddleColour)
            mem.SetTextColor(before);
        CRect suffixRect(m_nPieceAlign ? text.right - suffix.cx : middleRect.right, text.top, text.right, text.bottom);
        mem.DrawText(pieces.suffix, &suffixRect, pieceFlags);
    }
    mem.SelectObject(oldFont);
}

void ThemeButton::OnMouseMove(UINT, CPoint point)
{
    UINT state = GetState();
    BOOL changed = FALSE;
    if (::GetCapture() == m_hWnd)
    {
        CPoint screen = point;
        ClientToScreen(&screen);
        BOOL over = ::WindowFromPoint(screen) == m_hWnd;
        if (over != ((state & BST_PUSHED) != 0))
        {
            SetState(over);
            changed = TRUE;
        }
    }
    BOOL becameHover = FALSE;
    if (!m_bHover)
    {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWnd, 0};
        if (::TrackMouseEvent(&tme))
            m_bHover = becameHover = TRUE;
    }
    if (becameHover || changed)
        Invalidate();
    Default();
}

void ThemeButton::OnMouseLeave()
{
    m_bHover = FALSE;
    Invalidate();
}

void ThemeButton::OnLButtonDown(UINT, CPoint)
{
    Invalidate();
    Default();
}

void ThemeButton::OnLButtonUp(UINT, CPoint)
{
    Invalidate();
    Default();
}

void ThemeButton::OnKillFocus(CWnd*)
{
    Invalidate();
    Default();
}

void ThemeButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}
