#include "SFSkinObjectTrackBar.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CSFSkinObjectTrackBar, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectTrackBar, CSFSkinObjectFrame)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectTrackBar::OnEraseNothing)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectTrackBar::OnPaintOwnClient)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectTrackBar::OnPrintOwnClient)
ON_MESSAGE(TBM_SETTICFREQ, &CSFSkinObjectTrackBar::OnSetTicFreq)
ON_MESSAGE(WM_LBUTTONDOWN, &CSFSkinObjectTrackBar::OnButtonControl)
ON_MESSAGE(WM_LBUTTONUP, &CSFSkinObjectTrackBar::OnButtonControl)
ON_MESSAGE(WM_MOUSEMOVE, &CSFSkinObjectTrackBar::OnMouseMoveControl)
ON_MESSAGE(WM_MOUSELEAVE, &CSFSkinObjectTrackBar::OnMouseLeaveControl)
END_MESSAGE_MAP()

namespace
{
const int kPartTrack = 1, kPartTrackVert = 2, kPartThumb = 3, kPartThumbBottom = 4, kPartThumbTop = 5,
          kPartThumbVert = 6, kPartThumbLeft = 7, kPartThumbRight = 8, kPartTics = 9, kPartTicsVert = 10;
const int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateFocused = 4, kStateDisabled = 5;
const int kPropColor = 204;

RECT Swapped(const RECT& r) { return RECT{r.top, r.left, r.bottom, r.right}; }
} // namespace

CSFSkinObjectTrackBar::CSFSkinObjectTrackBar()
    : m_ticFrequency(1), m_channel{0, 0, 0, 0}, m_thumbHalf(0), m_thumbLength(0), m_usableLength(1),
      m_layoutStyle(0), m_thumbHot(FALSE), m_ticStrokes(0), m_wedgeStrokes(0)
{
    m_className = L"TRACKBAR";
}

void CSFSkinObjectTrackBar::Layout()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    m_layoutStyle = style;
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    if (style & TBS_VERT)
        client = Swapped(client);
    int cxEdge = ::GetSystemMetrics(SM_CXEDGE), cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    int height = client.bottom - client.top;
    BOOL selRange = (style & TBS_ENABLESELRANGE) != 0;
    BOOL fixed = (style & TBS_FIXEDLENGTH) != 0;
    int length;
    int steps = 1;
    if (fixed)
        length = (int)::SendMessageW(m_hWnd, TBM_GETTHUMBLENGTH, 0, 0);
    else
    {
        length = ::GetSystemMetrics(SM_CYHSCROLL) * 4 / 3;
        if (length > 2 * cxEdge && height < length)
        {
            length = height - 3 * cyEdge;
            if (selRange)
                length = length * 3 / 4;
            steps = 2;
        }
    }
    int half = 0;
    for (int i = 0; i < steps; i++)
    {
        if (length < 2 * cxEdge)
            length = 2 * cxEdge;
        half = (length / 2) | 1;
        if (selRange)
        {
            if (fixed)
                half = (length * 9 / 20) | 1;
            else
                length += (2 * half) / 9;
        }
    }
    m_thumbLength = length;
    m_thumbHalf = half;
    BOOL ticsAbove = (style & (TBS_TOP | TBS_BOTH)) && !(style & TBS_NOTICKS);
    m_channel.top = client.top + (ticsAbove ? 10 : 2);
    m_channel.bottom = m_channel.top + length;
    m_channel.left = client.left + half + 2;
    m_channel.right = client.right - half - 2;
    m_usableLength = client.right - client.left - 2 * half - 4;
    if (m_usableLength < 1)
        m_usableLength = 1;
}

int CSFSkinObjectTrackBar::PositionToPixel(int pos)
{
    int low = (int)::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0);
    int high = (int)::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0);
    if (low == high)
        return m_channel.left;
    int span = m_channel.right - m_channel.left - 1;
    return m_channel.left + ::MulDiv(pos - low, span > 0 ? span : 0, high - low);
}

int CSFSkinObjectTrackBar::GetThumbPart()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & TBS_VERT)
        return (style & TBS_BOTH) ? kPartThumbVert : (style & TBS_LEFT) ? kPartThumbLeft : kPartThumbRight;
    return (style & TBS_BOTH) ? kPartThumb : (style & TBS_TOP) ? kPartThumbTop : kPartThumbBottom;
}

int CSFSkinObjectTrackBar::GetThumbState()
{
    if (!::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    if (::GetCapture() == m_hWnd)
        return kStatePressed;
    if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        return kStateFocused;
    return m_thumbHot ? kStateHot : kStateNormal;
}

void CSFSkinObjectTrackBar::Stroke(HDC hdc, BOOL vertical, int along, int across, int length, COLORREF color)
{
    if (vertical)
        FillRectOpaqueXYWH(hdc, across, along, length, 1, color);
    else
        FillRectOpaqueXYWH(hdc, along, across, 1, length, color);
}

void CSFSkinObjectTrackBar::DrawTics(HDC hdc, BOOL vertical)
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & TBS_NOTICKS)
        return;
    CSFSkinClass* cls = GetSkinClass();
    COLORREF text = GetColor(COLOR_BTNTEXT);
    COLORREF color = cls ? cls->GetColor(vertical ? kPartTicsVert : kPartTics, 1, kPropColor, text) : text;
    // Rows of tics: across offsets of strokes, and the direction "further out".
    struct Row
    {
        int across, outward; // outward: the side away from the channel
    };
    Row rows[2];
    int rowCount = 0;
    if ((style & TBS_BOTH) || !(style & TBS_TOP))
        rows[rowCount++] = Row{m_channel.bottom + 1, 1};
    if (style & (TBS_TOP | TBS_BOTH))
        rows[rowCount++] = Row{m_channel.top - 4, -1};
    int last = m_channel.right - 1;
    int low = (int)::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0);
    DWORD* tics = (DWORD*)::SendMessageW(m_hWnd, TBM_GETPTICS, 0, 0);
    int ticCount = tics ? (int)(::LocalSize((HLOCAL)tics) / 4) : 0;
    LONG selStart = (LONG)::SendMessageW(m_hWnd, TBM_GETSELSTART, 0, 0);
    LONG selEnd = (LONG)::SendMessageW(m_hWnd, TBM_GETSELEND, 0, 0);
    BOOL wedges = (style & TBS_ENABLESELRANGE) && selStart < selEnd && selEnd >= low;
    for (int r = 0; r < rowCount; r++)
    {
        const Row& row = rows[r];
        int outer = row.across;
        // The end tics get a second stroke one pixel further out.
        Stroke(hdc, vertical, m_channel.left, outer, 3, color);
        Stroke(hdc, vertical, m_channel.left - 1, outer, 3, color);
        Stroke(hdc, vertical, last, outer, 3, color);
        Stroke(hdc, vertical, last + 1, outer, 3, color);
        m_ticStrokes += 4;
        for (int i = 0; i < ticCount; i++)
            if ((i + 1) % (m_ticFrequency > 0 ? m_ticFrequency : 1) == 0)
            {
                Stroke(hdc, vertical, PositionToPixel((int)tics[i]), outer, 3, color);
                m_ticStrokes++;
            }
        if (wedges)
        {
            int ends[2] = {PositionToPixel(selStart), PositionToPixel(selEnd)};
            int away[2] = {-1, 1};
            for (int e = 0; e < 2; e++)
                for (int step = 0; step < 3; step++)
                {
                    Stroke(hdc, vertical, ends[e] + away[e] * step, outer, 3 - step, text);
                    m_wedgeStrokes++;
                }
        }
    }
}

LRESULT CSFSkinObjectTrackBar::Notify(NMCUSTOMDRAW& draw, DWORD stage)
{
    draw.dwDrawStage = stage;
    HWND parent = ::GetParent(m_hWnd);
    return parent ? ::SendMessageW(parent, WM_NOTIFY, draw.hdr.idFrom, (LPARAM)&draw) : 0;
}

void CSFSkinObjectTrackBar::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    m_ticStrokes = m_wedgeStrokes = 0;
    FillControlBackground(&buffer, client, WM_CTLCOLORSTATIC);
    if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
    {
        ::SetBkColor(hdc, GetColor(COLOR_BTNHIGHLIGHT));
        ::DrawFocusRect(hdc, &client);
    }
    Layout();
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    BOOL vertical = (style & TBS_VERT) != 0;
    NMCUSTOMDRAW draw = {};
    draw.hdr.hwndFrom = m_hWnd;
    draw.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.hdc = hdc;
    draw.rc = client;
    LRESULT answer = Notify(draw, CDDS_PREPAINT);
    BOOL items = (answer & CDRF_NOTIFYITEMDRAW) != 0;
    CSFSkinClass* cls = GetSkinClass();

    draw.dwItemSpec = TBCD_TICS;
    if (items)
        Notify(draw, CDDS_ITEMPREPAINT);
    DrawTics(hdc, vertical);
    if (items)
        Notify(draw, CDDS_ITEMPOSTPAINT);

    RECT channel = {0, 0, 0, 0};
    ::SendMessageW(m_hWnd, TBM_GETCHANNELRECT, 0, (LPARAM)&channel);
    if (vertical)
        channel = Swapped(channel);
    draw.dwItemSpec = TBCD_CHANNEL;
    draw.rc = channel;
    if (items)
        Notify(draw, CDDS_ITEMPREPAINT);
    if (cls)
        cls->DrawBackground(&buffer, vertical ? kPartTrackVert : kPartTrack, 1, &channel);
    if (items)
        Notify(draw, CDDS_ITEMPOSTPAINT);

    if (!(style & TBS_NOTHUMB))
    {
        RECT thumb = {0, 0, 0, 0};
        ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
        draw.dwItemSpec = TBCD_THUMB;
        draw.rc = thumb;
        if (items)
            Notify(draw, CDDS_ITEMPREPAINT);
        if (cls)
            cls->DrawBackground(&buffer, GetThumbPart(), GetThumbState(), &thumb);
        if (items)
            Notify(draw, CDDS_ITEMPOSTPAINT);
    }
    draw.rc = client;
    draw.dwItemSpec = 0;
    if (answer & CDRF_NOTIFYPOSTPAINT)
        Notify(draw, CDDS_POSTPAINT);
}

void CSFSkinObjectTrackBar::TrackHot(POINT point)
{
    RECT thumb = {0, 0, 0, 0};
    ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
    BOOL hot = ::PtInRect(&thumb, point);
    if (hot == m_thumbHot)
        return;
    m_thumbHot = hot;
    if (hot)
    {
        TrackMouseLeave();
    }
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

LRESULT CSFSkinObjectTrackBar::OnSetTicFreq(WPARAM wParam, LPARAM)
{
    m_ticFrequency = (int)wParam;
    return Default();
}

LRESULT CSFSkinObjectTrackBar::OnButtonControl(WPARAM, LPARAM) { return Default(); }

LRESULT CSFSkinObjectTrackBar::OnMouseMoveControl(WPARAM, LPARAM lParam)
{
    TrackHot(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
    return Default();
}

LRESULT CSFSkinObjectTrackBar::OnMouseLeaveControl(WPARAM, LPARAM)
{
    TrackHot(POINT{-1, -1});
    return Default();
}
