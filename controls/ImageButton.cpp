#include "ImageButton.h"
#include "HandCursor.h"
#include "MaskedBitmap.h"
#include "MemoryDC.h"

#include <vector>

BEGIN_MESSAGE_MAP(CImageButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, &CImageButton::OnSetStyle)
    ON_MESSAGE(BM_SETCHECK, &CImageButton::OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CImageButton::OnGetCheck)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CImageButton::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MENUCHAR()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

namespace
{
HBITMAP LoadBitmapId(int nID)
{
    if (nID <= 0)
        return NULL;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nID), RT_BITMAP);
    return (HBITMAP)::LoadImageW(hInst, MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
}

// A 32-bit copy of image in which every pixel other than the transparent
// colour is changed by recolour.
template <class F> HBITMAP RecolouredCopy(HBITMAP image, int width, int height, COLORREF transparent, F recolour)
{
    std::vector<DWORD> pixels;
    if (!ReadPixels32(image, width, height, pixels))
        return NULL;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    HDC screen = ::GetDC(NULL);
    for (DWORD& p : pixels)
    {
        COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        if (c == transparent)
            continue;
        c = recolour(c);
        p = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    HBITMAP copy = ::CreateCompatibleBitmap(screen, width, height);
    ::SetDIBits(screen, copy, 0, height, pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, screen);
    return copy;
}
} // namespace

CImageButton::CImageButton()
    : m_bShowDisabledImage(TRUE), m_imageGap(0), m_imageMargin(0), m_captionPressX(1), m_captionPressY(1),
      m_bFlat(TRUE), m_bHover(FALSE), m_bParentBackground(FALSE), m_bPressed(FALSE), m_bFocused(FALSE),
      m_bDisabled(FALSE), m_bDefault(FALSE), m_bCheckBox(FALSE), m_imageAlign(0), m_bDrawFrame(TRUE),
      m_bFocusRectFlat(FALSE), m_bAlwaysTrack(TRUE), m_bChecked(FALSE), m_nType(31)
{
    m_faceActive = m_faceNormal = m_faceFocus = ::GetSysColor(COLOR_BTNFACE);
    m_textActive = m_textNormal = m_textFocus = ::GetSysColor(COLOR_BTNTEXT);
    m_hCursor = GetHandCursor();
}

CImageButton::~CImageButton()
{
    m_background.Drop();
    FreeSlots();
    m_menu.DestroyMenu();
}

int CImageButton::ChooseSlot(BOOL bCheckBox, BOOL bPressed, BOOL bHover, BOOL bDisabled,
                             const BOOL hasImage[SLOT_COUNT])
{
    if (!bCheckBox && bPressed)
        return hasImage[SLOT_PRESSED] ? SLOT_PRESSED : SLOT_HOVER;
    if ((bCheckBox && !bPressed) || (!bPressed && !bHover))
    {
        if (bDisabled && hasImage[SLOT_DISABLED])
            return SLOT_DISABLED;
        return hasImage[SLOT_NORMAL] ? SLOT_NORMAL : SLOT_HOVER;
    }
    return SLOT_HOVER;
}

int CImageButton::StripIndexOfSlot(int slot)
{
    static const int strip[SLOT_COUNT] = {1, 0, 2, 3};
    return slot >= 0 && slot < SLOT_COUNT ? strip[slot] : -1;
}

void CImageButton::FreeSlots()
{
    for (ImageSlot& s : m_slots)
    {
        if (s.image)
            ::DeleteObject(s.image);
        if (s.mask)
            ::DeleteObject(s.mask);
        s = ImageSlot();
    }
}

int CImageButton::SetSlot(int slot, HBITMAP image, COLORREF transparent)
{
    ImageSlot& s = m_slots[slot];
    BITMAP bm{};
    if (!::GetObjectW(image, sizeof(bm), &bm))
    {
        ::DeleteObject(image);
        FreeSlots();
        return 1;
    }
    s.image = image;
    s.width = bm.bmWidth;
    s.height = bm.bmHeight;
    s.transparent = transparent;
    s.mask = CreateTransparencyMask(image, s.width, s.height, transparent);
    if (!s.mask)
    {
        FreeSlots();
        return 2;
    }
    return 0;
}

int CImageButton::SetBitmaps(int nHover, COLORREF crHover, int nNormal, COLORREF crNormal, int nPressed,
                             COLORREF crPressed, int nDisabled, COLORREF crDisabled)
{
    m_bFlat = TRUE;
    if (m_hWnd)
        Invalidate();
    m_bDrawFrame = FALSE;
    if (m_hWnd)
        SetWindowText(L"");
    HBITMAP hover = LoadBitmapId(nHover);
    HBITMAP normal = nNormal > 0 ? LoadBitmapId(nNormal) : NULL;
    HBITMAP pressed = LoadBitmapId(nPressed);
    HBITMAP disabled = LoadBitmapId(nDisabled);
    FreeSlots();
    int result = 0;
    if (hover)
    {
        BITMAP bm{};
        if (!::GetObjectW(hover, sizeof(bm), &bm))
            result = 1;
        else if (nNormal == NORMAL_DARK || nNormal == NORMAL_GREY)
        {
            if (normal)
                ::DeleteObject(normal);
            normal = nNormal == NORMAL_DARK
                         ? RecolouredCopy(hover, bm.bmWidth, bm.bmHeight, crHover,
                                          [](COLORREF c) {
                                              return RGB(GetRValue(c) - (int)(0.25 * GetRValue(c)),
                                                         GetGValue(c) - (int)(0.25 * GetGValue(c)),
                                                         GetBValue(c) - (int)(0.25 * GetBValue(c)));
                                          })
                         : RecolouredCopy(hover, bm.bmWidth, bm.bmHeight, crHover, [](COLORREF c) {
                               BYTE g = (BYTE)(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
                               return RGB(g, g, g);
                           });
            crNormal = crHover;
        }
        if (result == 0)
        {
            result = SetSlot(SLOT_HOVER, hover, crHover);
            hover = NULL;
        }
        if (result == 0 && normal)
        {
            result = SetSlot(SLOT_NORMAL, normal, crNormal);
            normal = NULL;
            if (result == 0 && pressed)
            {
                result = SetSlot(SLOT_PRESSED, pressed, crPressed);
                pressed = NULL;
            }
            if (result == 0 && disabled)
            {
                result = SetSlot(SLOT_DISABLED, disabled, crDisabled);
                disabled = NULL;
            }
        }
    }
    for (HBITMAP unused : {hover, normal, pressed, disabled})
        if (unused)
            ::DeleteObject(unused);
    if (m_hWnd)
    {
        // Keeps its place in the parent and takes the hover image's size.
        CRect rect;
        GetWindowRect(&rect);
        CWnd* parent = GetParent();
        if (parent)
            parent->ScreenToClient(&rect);
        SetWindowPos(NULL, rect.left, rect.top, m_slots[SLOT_HOVER].width, m_slots[SLOT_HOVER].height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate();
    }
    m_bParentBackground = TRUE;
    m_background.Drop();
    return result;
}

int CImageButton::SetBitmapStrip(UINT nID, COLORREF crMask)
{
    HBITMAP strip = LoadBitmapId((int)nID);
    if (!strip)
        return 1;
    FreeSlots();
    HBITMAP images[SLOT_COUNT] = {}, masks[SLOT_COUNT] = {};
    int result = SplitMaskedStrip(strip, SLOT_COUNT, crMask, images, masks) ? 0 : 1;
    ::DeleteObject(strip);
    for (int slot = 0; slot < SLOT_COUNT && result == 0; ++slot)
    {
        ImageSlot& s = m_slots[slot];
        int index = StripIndexOfSlot(slot);
        BITMAP bm{};
        ::GetObjectW(images[index], sizeof(bm), &bm);
        s.image = images[index];
        s.mask = masks[index];
        s.width = bm.bmWidth;
        s.height = bm.bmHeight;
        s.transparent = crMask;
    }
    if (m_hWnd)
        Invalidate();
    return result;
}

void CImageButton::PreSubclassWindow()
{
    UINT style = GetStyle();
    m_nType = style & 0x1F;
    if (style & 0x2)
        m_bCheckBox = TRUE;
    if (m_nType == BS_DEFPUSHBUTTON)
    {
        m_bDefault = TRUE;
        m_nType = 0;
    }
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

LRESULT CImageButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    UINT type = (UINT)wParam & 0x1F;
    if (type == 0 || type == 1)
        m_bDefault = (BOOL)type;
    return DefWindowProc(BM_SETSTYLE, ((wParam & ~0x14) & ~0x1F) | BS_OWNERDRAW, lParam);
}

UINT CImageButton::OnGetDlgCode()
{
    UINT code = (UINT)Default();
    return code | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CImageButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    if (m_bCheckBox)
    {
        m_bChecked = wParam == 1 || wParam == 2;
        Invalidate();
    }
    return 0;
}

LRESULT CImageButton::OnGetCheck(WPARAM, LPARAM)
{
    return m_bChecked;
}

BOOL CImageButton::OnClicked()
{
    SetFocus();
    if (m_bCheckBox)
    {
        m_bChecked = !m_bChecked;
        Invalidate();
    }
    return FALSE; // the parent gets its BN_CLICKED too
}

HBRUSH CImageButton::CtlColor(CDC*, UINT)
{
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

LRESULT CImageButton::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (CDrawMenu::IsMenu(pMenu))
        return CDrawMenu::FindKeyboardShortcut(nChar, nFlags, pMenu);
    return Default();
}

void CImageButton::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS)
{
    HMENU sub = (HMENU)(UINT_PTR)lpMIS->itemID;
    if (lpMIS->CtlType == ODT_MENU && ::IsMenu(sub) && CDrawMenu::IsMenu(sub))
        m_menu.MeasureItem(lpMIS);
    else
        Default();
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_bCheckBox)
        m_bPressed = (lpDIS->itemState & ODS_SELECTED) || m_bChecked;
    else
        m_bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect item(lpDIS->rcItem);
    CMemoryDC mem(target);
    mem.SetBkMode(TRANSPARENT);
    if (m_bParentBackground)
        m_background.Paint(this, target, &mem);
    else
        PaintFace(&mem, item);
    PaintFrame(&mem, item);
    CString text;
    GetWindowText(text);
    CRect caption = item;
    if (m_slots[SLOT_HOVER].image)
    {
        mem.SetBkColor(RGB(255, 255, 255));
        PaintBitmap(&mem, !text.IsEmpty(), item, caption);
    }
    if (!text.IsEmpty())
        PaintCaption(&mem, text, caption);
    if ((!m_bFlat || m_bFocusRectFlat) && m_bFocused)
    {
        CRect focus = item;
        focus.DeflateRect(3, 3);
        mem.DrawFocusRect(&focus);
    }
}

void CImageButton::PaintFace(CDC* pDC, CRect rect)
{
    if (!m_bFlat && (m_bFocused || m_bDefault))
    {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(&rect, &black);
        rect.DeflateRect(1, 1);
    }
    COLORREF face = (m_bHover || m_bPressed) ? m_faceActive : m_bFocused ? m_faceFocus : m_faceNormal;
    pDC->FillSolidRect(&rect, face);
}

void CImageButton::PaintFrame(CDC* pDC, CRect rect)
{
    if (m_bPressed)
    {
        if (m_bFlat && m_bDrawFrame)
            pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (!m_bFlat)
        {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(&rect, &shadow);
        }
        return;
    }
    if (!m_bFlat)
    {
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
    else if (m_bHover && m_bDrawFrame)
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void CImageButton::PaintBitmap(CDC* pDC, BOOL bHasCaption, const CRect& item, CRect& caption)
{
    BOOL has[SLOT_COUNT];
    for (int i = 0; i < SLOT_COUNT; ++i)
        has[i] = m_slots[i].image != NULL;
    int slot = ChooseSlot(m_bCheckBox, m_bPressed, m_bHover, m_bDisabled, has);
    const ImageSlot& s = m_slots[slot];
    if (!s.image)
        return;
    CPoint at;
    if (bHasCaption)
    {
        at.x = item.left + m_imageGap;
        caption.left += s.width + m_imageGap;
    }
    else
        at.x = item.left + (item.Width() - s.width) / 2;
    at.y = item.top + (item.Height() - s.height) / 2;
    if (m_bPressed && !m_bCheckBox && !m_slots[SLOT_PRESSED].image)
        at.Offset(m_captionPressX, m_captionPressY);

    CDC imageDC, maskDC;
    imageDC.CreateCompatibleDC(pDC);
    maskDC.CreateCompatibleDC(pDC);
    HGDIOBJ oldImage = imageDC.SelectObject((HGDIOBJ)s.image);
    HGDIOBJ oldMask = maskDC.SelectObject((HGDIOBJ)s.mask);
    if (m_bDisabled && m_bShowDisabledImage && m_bCheckBox)
    {
        // An embossed look: the picture made whole on white, drawn disabled.
        CBitmap composite;
        composite.CreateCompatibleBitmap(pDC, s.width, s.height);
        CDC compDC;
        compDC.CreateCompatibleDC(pDC);
        HGDIOBJ oldComp = compDC.SelectObject((HGDIOBJ)composite.GetSafeHandle());
        compDC.FillSolidRect(0, 0, s.width, s.height, RGB(255, 255, 255));
        compDC.BitBlt(0, 0, s.width, s.height, &maskDC, 0, 0, SRCAND);
        compDC.BitBlt(0, 0, s.width, s.height, &imageDC, 0, 0, SRCPAINT);
        compDC.SelectObject(oldComp);
        pDC->DrawState(at, CSize(s.width, s.height), (HBITMAP)composite.GetSafeHandle(), DST_BITMAP | DSS_DISABLED);
    }
    else
    {
        pDC->BitBlt(at.x, at.y, s.width, s.height, &maskDC, 0, 0, SRCAND);
        pDC->BitBlt(at.x, at.y, s.width, s.height, &imageDC, 0, 0, SRCPAINT);
    }
    maskDC.SelectObject(oldMask);
    imageDC.SelectObject(oldImage);
}

void CImageButton::PaintCaption(CDC* pDC, const CString& text, CRect caption)
{
    if (m_bPressed && !m_bCheckBox)
        caption.OffsetRect(m_captionPressX, m_captionPressY);
    CRect measured = caption;
    pDC->DrawText(text, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    measured.OffsetRect((caption.Width() - measured.Width()) / 2 + caption.left - measured.left,
                        (caption.Height() - measured.Height()) / 2 + caption.top - measured.top);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bDisabled)
    {
        CRect raised = measured;
        raised.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(text, &raised, DT_WORDBREAK | DT_CENTER);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(text, &measured, DT_WORDBREAK | DT_CENTER);
        return;
    }
    BOOL active = m_bHover || m_bPressed;
    pDC->SetTextColor(active ? m_textActive : m_bFocused ? m_textFocus : m_textNormal);
    pDC->SetBkColor(active ? m_faceActive : m_bFocused ? m_faceFocus : m_faceNormal);
    pDC->DrawText(text, &measured, DT_WORDBREAK | DT_CENTER);
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    CPoint screen = point;
    ClientToScreen(&screen);
    HWND under = ::WindowFromPoint(screen);
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    if (!m_bFlat)
        return;
    HWND active = m_bAlwaysTrack ? m_hWnd : ::GetActiveWindow();
    if (under == m_hWnd && active)
    {
        if (!m_bHover)
        {
            m_bHover = TRUE;
            Invalidate();
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
    else
        LeaveHover();
}

void CImageButton::LeaveHover()
{
    if (m_bFlat && m_bHover)
    {
        m_bHover = FALSE;
        Invalidate();
    }
}

void CImageButton::OnMouseLeave()
{
    Default();
    LeaveHover();
}

void CImageButton::OnKillFocus(CWnd*)
{
    Default();
    LeaveHover();
}

void CImageButton::OnActivate(UINT nState, CWnd*, BOOL)
{
    Default();
    if (nState == WA_INACTIVE)
        LeaveHover();
}

void CImageButton::OnEnable(BOOL bEnable)
{
    Default();
    if (!bEnable)
        LeaveHover();
}

void CImageButton::OnCancelMode()
{
    Default();
    LeaveHover();
}

BOOL CImageButton::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_hCursor)
        return (BOOL)Default();
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CImageButton::OnSysColorChange()
{
    Default();
    m_background.Drop();
    m_faceActive = m_faceNormal = m_faceFocus = ::GetSysColor(COLOR_BTNFACE);
    m_textActive = m_textNormal = m_textFocus = ::GetSysColor(COLOR_BTNTEXT);
    Invalidate();
}

BOOL CImageButton::PreTranslateMessage(MSG* pMsg)
{
    if (!m_toolTip.GetSafeHwnd() && m_hWnd)
    {
        m_toolTip.Create(this, TTS_ALWAYSTIP);
        m_toolTip.Activate(FALSE);
        m_toolTip.SetMaxTipWidth(400);
    }
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN; // a double click counts as a second press
    return CButton::PreTranslateMessage(pMsg);
}
