#include "SFSkinObjectButton.h"
#include "BufferedDC.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectButton, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectButton, CSFSkinObjectFrame)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectButton::OnCreateButton)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectButton::OnEraseBkgndButton)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectButton::OnPaintButton)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectButton::OnPrintClientButton)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectButton::OnMouseMoveButton)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectButton::OnMouseLeaveButton)
ON_MESSAGE(WM_SETFOCUS, &CSFSkinObjectButton::OnDefaultThenInvalidate)
ON_MESSAGE(WM_KILLFOCUS, &CSFSkinObjectButton::OnDefaultThenInvalidate)
ON_MESSAGE(WM_ENABLE, &CSFSkinObjectButton::OnEnableButton)
ON_MESSAGE(BM_SETSTYLE, &CSFSkinObjectButton::OnDefaultThenInvalidate)
ON_MESSAGE(BM_SETCHECK, &CSFSkinObjectButton::OnDefaultThenInvalidate)
ON_MESSAGE(WM_CAPTURECHANGED, &CSFSkinObjectButton::OnDefaultThenInvalidate)
ON_MESSAGE(BM_SETSTATE, &CSFSkinObjectButton::OnSetStateButton)
ON_MESSAGE(WM_SETTEXT, &CSFSkinObjectButton::OnSetTextButton)
ON_MESSAGE(WM_UPDATEUISTATE, &CSFSkinObjectButton::OnUpdateUIStateButton)
END_MESSAGE_MAP()

namespace
{
const int kPartPushButton = 1, kPartRadioButton = 2, kPartCheckBox = 3, kPartGroupBox = 4;
const int kTypeGroupBox = 7, kTypeUserButton = 8, kTypePushBox = 10, kTypeOwnerDrawn = 11;

// The control cannot paint itself while its visible bit is off, so the
// system's drawing of a state change never reaches the screen.
class HiddenScope
{
public:
    explicit HiddenScope(HWND hwnd) : m_hwnd(hwnd), m_style(::GetWindowLongPtrW(hwnd, GWL_STYLE))
    {
        if (m_style & WS_VISIBLE)
            ::SetWindowLongPtrW(hwnd, GWL_STYLE, m_style & ~(LONG_PTR)WS_VISIBLE);
    }
    ~HiddenScope()
    {
        if ((m_style & WS_VISIBLE) && ::IsWindow(m_hwnd))
            ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, ::GetWindowLongPtrW(m_hwnd, GWL_STYLE) | WS_VISIBLE);
    }
    HiddenScope(const HiddenScope&) = delete;
    HiddenScope& operator=(const HiddenScope&) = delete;

private:
    HWND m_hwnd;
    LONG_PTR m_style;
};

// Selects a font for the scope of one drawing.
class FontScope
{
public:
    FontScope(HDC dc, HFONT font) : m_dc(dc), m_old(font ? ::SelectObject(dc, font) : NULL) {}
    ~FontScope()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
} // namespace

CSFSkinObjectButton::CSFSkinObjectButton()
    : m_buttonType(255), m_hot(FALSE), m_pushed(FALSE), m_lastPart(0), m_lastState(0)
{
    m_className = L"BUTTON";
    m_ctlColorMessage = WM_CTLCOLORBTN;
}

int CSFSkinObjectButton::GetButtonType()
{
    if (m_buttonType != 255)
        return m_buttonType;
    return (int)(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & 0x0F);
}

BOOL CSFSkinObjectButton::IsPushLike(int type)
{
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == kTypeOwnerDrawn ||
           (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & BS_PUSHLIKE) != 0;
}

void CSFSkinObjectButton::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    CSFSkinObjectFrame::ApplySkinState(prevEnabled, newEnabled);
    m_hot = FALSE;
    m_pushed = FALSE;
}

BOOL CSFSkinObjectButton::HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (GetButtonType() > kTypePushBox)
        return FALSE;
    return CSFSkinObjectFrame::HandleSubclassedMessage(message, wParam, lParam, result);
}

BOOL CSFSkinObjectButton::HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (GetButtonType() > kTypePushBox)
        return FALSE;
    if ((message == WM_PAINT || message == WM_PRINTCLIENT) && wParam != 0)
    {
        CDC dc;
        dc.Attach((HDC)wParam);
        PaintButton(&dc);
        dc.Detach();
        result = message == WM_PRINTCLIENT ? 1 : 0;
        return TRUE;
    }
    return CSFSkinObjectFrame::HandleDefaultProcMessage(message, wParam, lParam, result);
}

BOOL CSFSkinObjectButton::DefersToOwnProcedure(UINT message)
{
    if (message == WM_TIMER)
        return FALSE;
    if (m_hookOnly && (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC))
        return FALSE;
    return CSFSkinObject::DefersToOwnProcedure(message);
}

// --- painting ------------------------------------------------------------------

void CSFSkinObjectButton::PaintButton(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    int type = GetButtonType();
    HFONT font = (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
    if (type == kTypeGroupBox && !m_hookOnly)
    {
        // Straight onto the window: a buffer would cover the controls inside the frame.
        HDC hdc = dc->GetSafeHdc();
        FontScope fontScope(hdc, font);
        ::SetBkColor(hdc, GetColor(COLOR_BTNFACE));
        int oldMode = ::SetBkMode(hdc, TRANSPARENT);
        PaintButtonFace(dc, client);
        ::SetBkMode(hdc, oldMode);
        return;
    }
    BufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    FillControlBackground(&buffer, client, WM_CTLCOLORBTN);
    FontScope fontScope(hdc, font);
    ::SetBkMode(hdc, TRANSPARENT);
    PaintButtonFace(&buffer, client);
}

SIZE CSFSkinObjectButton::GlyphSize(int part)
{
    SIZE size = {13, 13};
    CSFSkinClass* cls = GetSkinClass();
    SIZE measured = {0, 0};
    if (cls && cls->GetPartSize(part, 1, NULL, 2, &measured) && measured.cx > 0 && measured.cy > 0)
        size = measured;
    return size;
}

int CSFSkinObjectButton::SpaceHeight(HDC dc)
{
    SIZE space = {0, 0};
    ::GetTextExtentPoint32W(dc, L" ", 1, &space);
    return space.cy;
}

RECT CSFSkinObjectButton::Layout(HDC dc, int kind, const RECT& client)
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    CSFSkinMetrics* metrics = GetMetrics();
    int cxEdge = metrics ? metrics->m_cxEdge : 2, cyEdge = metrics ? metrics->m_cyEdge : 2;
    int cxBorder = metrics ? metrics->m_cxBorder : 1;
    RECT r = client;
    switch (kind)
    {
    case 1:
    case 2:
    {
        SIZE glyph = GlyphSize(kind == 1 ? kPartCheckBox : kPartRadioButton);
        LONG_PTR vertical = style & BS_VCENTER;
        if (vertical == BS_TOP || vertical == BS_BOTTOM)
        {
            int c = SpaceHeight(dc);
            int d = (c + c / 4 - glyph.cy) / 2;
            if (vertical == BS_TOP)
                r.top += d;
            else
                r.top = r.bottom + d - c - c / 4;
        }
        else
            r.top = (r.top + r.bottom - glyph.cy) / 2;
        r.bottom = r.top + glyph.cy;
        if (style & BS_LEFTTEXT)
            r.left = r.right - glyph.cx;
        else
            r.right = r.left + glyph.cx;
        break;
    }
    case 3:
    case 4:
    {
        SIZE glyph = GlyphSize(kind == 3 ? kPartCheckBox : kPartRadioButton);
        if (style & BS_LEFTTEXT)
            r.right -= glyph.cx + 3;
        else
            r.left += glyph.cx + 3;
        break;
    }
    case 5:
    {
        CString text;
        GetWindowTextDirect(m_hWnd, text);
        if (text.IsEmpty())
            return RECT{0, 0, 0, 0};
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
        int width = extent.cx + 2 * cxEdge;
        LONG_PTR horizontal = style & BS_CENTER;
        if (horizontal == BS_RIGHT)
            r.left = client.right - cxBorder - 6 - width;
        else if (horizontal == BS_CENTER)
            r.left = client.left + cxBorder + (client.right - client.left - width) / 2;
        else
            r.left = client.left + cxBorder + 8;
        r.right = r.left + width;
        r.bottom = r.top + extent.cy;
        break;
    }
    case 6: r.top += SpaceHeight(dc) / 2; break;
    case 7: ::InflateRect(&r, -cxEdge, -cyEdge); break;
    default: break;
    }
    return r;
}

void CSFSkinObjectButton::PaintButtonFace(CDC* dc, const RECT& rect)
{
    HDC hdc = dc->GetSafeHdc();
    int type = GetButtonType();
    BOOL pushLike = IsPushLike(type);
    BOOL hot = m_hot || ::GetCapture() == m_hWnd;
    BOOL enabled = ::IsWindowEnabled(m_hWnd);
    int check = (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0);
    CSFSkinClass* cls = GetSkinClass();
    m_lastPart = m_lastState = 0;

    int part = 0, state = 0;
    RECT partRect = rect;
    if (pushLike)
    {
        part = kPartPushButton;
        state = !enabled ? 4 : m_pushed ? 3 : hot ? 2 : check == BST_CHECKED ? 3 : type == BS_DEFPUSHBUTTON ? 5 : 1;
    }
    else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)
    {
        part = kPartCheckBox;
        state = !enabled ? 4 : m_pushed ? 3 : hot ? 2 : 1;
        if (check != BST_UNCHECKED)
            state += 4;
        if (check == BST_INDETERMINATE && (type == BS_3STATE || type == BS_AUTO3STATE))
            state += 4;
        partRect = Layout(hdc, 1, rect);
    }
    else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
    {
        part = kPartRadioButton;
        state = !enabled ? 4 : m_pushed ? 3 : hot ? 2 : 1;
        if (check != BST_UNCHECKED)
            state += 4;
        partRect = Layout(hdc, 2, rect);
    }
    else if (type == kTypeGroupBox)
    {
        part = kPartGroupBox;
        state = enabled ? 1 : 2;
        partRect = Layout(hdc, 6, rect);
    }
    if (part != 0 && cls)
    {
        cls->DrawBackground(dc, part, state, &partRect);
        m_lastPart = part;
        m_lastState = state;
    }

    if (type == kTypeGroupBox)
    {
        // Before the text colour is chosen: the parent's answer to the colour
        // message sets a text colour of its own on the DC.
        RECT caption = Layout(hdc, 5, rect);
        if (!::IsRectEmpty(&caption))
        {
            CSFSkinMetrics* metrics = GetMetrics();
            caption.left -= metrics ? metrics->m_cxEdge : 2;
            FillControlBackground(dc, caption, WM_CTLCOLORBTN);
        }
    }
    COLORREF text = CLR_INVALID;
    if (cls && part != 0)
        text = cls->GetColor(part, state, SCHEMA_PROP_TEXTCOLOR, pushLike ? CLR_INVALID : GetColor(COLOR_BTNTEXT));
    // A style without a text colour for the face keeps the system's text colour.
    ::SetTextColor(hdc, text != CLR_INVALID ? text : GetColor(COLOR_BTNTEXT));
    DrawLabel(hdc, rect, type, pushLike);
}

void CSFSkinObjectButton::DrawLabel(HDC hdc, const RECT& client, int type, BOOL pushLike)
{
    static const int kLabelLayout[] = {7, 7, 3, 3, 4, 3, 3, 5, 0, 4, 0, 7};
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    CSFSkinMetrics* metrics = GetMetrics();
    int cxEdge = metrics ? metrics->m_cxEdge : 2, cyEdge = metrics ? metrics->m_cyEdge : 2;
    int cxBorder = metrics ? metrics->m_cxBorder : 1, cyBorder = metrics ? metrics->m_cyBorder : 1;

    RECT label = client;
    if (pushLike)
        ::InflateRect(&label, -cxEdge, -cyEdge);
    else if (type >= 0 && type < (int)(sizeof(kLabelLayout) / sizeof(kLabelLayout[0])))
        label = Layout(hdc, kLabelLayout[type], client);

    LONG_PTR horizontal = style & BS_CENTER, vertical = style & BS_VCENTER;
    if (horizontal == 0)
        horizontal = pushLike ? BS_CENTER : BS_LEFT;
    if (vertical == 0)
        vertical = BS_VCENTER;

    BOOL multiline = (style & BS_MULTILINE) != 0;
    HANDLE image = NULL;
    SIZE size = {0, 0};
    CString text;
    UINT imageKind = 0;
    if (style & BS_BITMAP)
    {
        image = (HANDLE)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0);
        BITMAP bm;
        if (image && ::GetObjectW(image, sizeof(bm), &bm))
            size = {bm.bmWidth, bm.bmHeight};
        imageKind = DST_BITMAP;
    }
    else if (style & BS_ICON)
    {
        image = (HANDLE)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0);
        ICONINFO info;
        if (image && ::GetIconInfo((HICON)image, &info))
        {
            BITMAP bm;
            if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bm), &bm))
                size = {bm.bmWidth, bm.bmHeight};
            else if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof(bm), &bm))
                size = {bm.bmWidth, bm.bmHeight / 2};
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
        imageKind = DST_ICON;
    }
    else
    {
        GetWindowTextDirect(m_hWnd, text);
        RECT measure = {0, 0, label.right - label.left, 0};
        UINT calc = multiline ? DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL : DT_SINGLELINE | DT_NOCLIP;
        if (!text.IsEmpty())
            ::DrawTextW(hdc, text, text.GetLength(), &measure, calc | DT_CALCRECT);
        size = {measure.right - measure.left, measure.bottom - measure.top};
    }
    if (imageKind != 0 ? image == NULL : text.IsEmpty())
        return;

    RECT place = label;
    int padX = 0, padY = 0;
    if (pushLike && !multiline)
    {
        ::InflateRect(&place, -cxBorder, -cyBorder);
        padX = cxBorder;
        padY = cyBorder;
    }
    UINT flags = 0;
    int x, y;
    if (horizontal == BS_RIGHT)
    {
        x = label.right - size.cx - padX;
        flags |= DT_RIGHT;
    }
    else if (horizontal == BS_CENTER)
    {
        x = (label.left + label.right - size.cx) / 2;
        flags |= DT_CENTER;
    }
    else
        x = label.left + padX;
    if (vertical == BS_BOTTOM)
    {
        y = label.bottom - size.cy - padY;
        flags |= DT_BOTTOM;
    }
    else if (vertical == BS_VCENTER)
    {
        y = (label.top + label.bottom - size.cy) / 2;
        flags |= DT_VCENTER;
    }
    else
        y = label.top + padY;

    LRESULT uiState = ::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0);
    if (imageKind != 0)
        ::DrawStateW(hdc, NULL, NULL, (LPARAM)image, 0, x, y, size.cx, size.cy, imageKind);
    else if (type != kTypeUserButton)
    {
        UINT extra = DT_NOCLIP;
        if (uiState & UISF_HIDEACCEL)
            extra |= DT_HIDEPREFIX;
        if (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING)
            extra |= DT_RTLREADING;
        if (multiline)
        {
            RECT r = {x, y, x + size.cx, y + size.cy};
            ::DrawTextW(hdc, text, text.GetLength(), &r, DT_WORDBREAK | DT_EDITCONTROL | flags | extra);
        }
        else
            ::DrawTextW(hdc, text, text.GetLength(), &place, DT_SINGLELINE | flags | extra);
    }

    if (::GetFocus() != m_hWnd || (uiState & UISF_HIDEFOCUS))
        return;
    RECT focus;
    if (pushLike)
    {
        focus = label;
        ::InflateRect(&focus, -cxBorder, -cyBorder);
    }
    else if (type == kTypeUserButton)
        focus = client;
    else
    {
        focus.top = y - cyBorder > client.top ? y - cyBorder : client.top;
        focus.bottom = focus.top + size.cy + cyEdge < client.bottom ? focus.top + size.cy + cyEdge : client.bottom;
        focus.left = x - cxBorder > client.left ? x - cxBorder : client.left;
        focus.right = focus.left + size.cx + cxEdge < client.right ? focus.left + size.cx + cxEdge : client.right;
    }
    ::SetTextColor(hdc, RGB(0, 0, 0));
    ::SetBkColor(hdc, RGB(255, 255, 255));
    ::DrawFocusRect(hdc, &focus);
}

// --- messages ----------------------------------------------------------------------

LRESULT CSFSkinObjectButton::OnCreateButton(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return 0;
}

LRESULT CSFSkinObjectButton::OnEraseBkgndButton(WPARAM, LPARAM) { return 1; }

LRESULT CSFSkinObjectButton::OnPaintButton(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintButton(&dc);
    return 0;
}

LRESULT CSFSkinObjectButton::OnPrintClientButton(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT) || wParam == 0)
        return Default();
    CDC dc;
    dc.Attach((HDC)wParam);
    PaintButton(&dc);
    dc.Detach();
    return 1;
}

void CSFSkinObjectButton::TrackHot(POINT point)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    BOOL hot = ::PtInRect(&client, point);
    if (hot == m_hot)
        return;
    m_hot = hot;
    Invalidate();
    if (hot)
    {
        TrackMouseLeave();
    }
}

LRESULT CSFSkinObjectButton::OnMouseMoveButton(WPARAM, LPARAM lParam)
{
    if (GetButtonType() == kTypeGroupBox)
        return 0;
    LRESULT result = Default();
    TrackHot(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    return result;
}

LRESULT CSFSkinObjectButton::OnMouseLeaveButton(WPARAM, LPARAM)
{
    if (GetButtonType() == kTypeGroupBox)
        return 0;
    LRESULT result = Default();
    TrackHot(POINT{-1, -1});
    return result;
}

LRESULT CSFSkinObjectButton::OnDefaultThenInvalidate(WPARAM, LPARAM)
{
    LRESULT result = Default();
    Invalidate();
    return result;
}

LRESULT CSFSkinObjectButton::OnEnableButton(WPARAM, LPARAM)
{
    Invalidate();
    return 0;
}

LRESULT CSFSkinObjectButton::OnSetStateButton(WPARAM wParam, LPARAM)
{
    {
        HiddenScope hidden(m_hWnd);
        Default();
    }
    m_pushed = wParam != 0;
    Invalidate();
    return 0;
}

LRESULT CSFSkinObjectButton::OnSetTextButton(WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    {
        HiddenScope hidden(m_hWnd);
        result = OnSetTextMessage(wParam, lParam);
    }
    Invalidate();
    return result;
}

LRESULT CSFSkinObjectButton::OnUpdateUIStateButton(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = ::DefWindowProcW(m_hWnd, WM_UPDATEUISTATE, wParam, lParam);
    Invalidate();
    return result;
}
