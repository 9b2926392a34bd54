// The window frame of the default schema: border widths, caption, borders,
// caption buttons with icon and title, the window region cut from the
// caption picture's see-through corners, and the skinned scroll bar.
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFMonitorInfo.h"
#include "SFSkinClass.h"
#include "SFSkinDefaultSchema.h"
#include "SFSkinEdges.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObjectFrame.h"
#include "SFStyleImage.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"
#include <cmath>

namespace
{
enum
{
    kPartCaption = 1,
    kPartSmallCaption = 2,
    kPartFrameLeft = 7,
    kPartFrameRight = 8,
    kPartFrameBottom = 9,
    kPartSmallFrameLeft = 10,
    kPartSmallFrameRight = 11,
    kPartSmallFrameBottom = 12,
    kPartCloseButton = 18,
    // Scroll-bar parts.
    kArrowBtn = 1,
    kThumbHorz = 2,
    kThumbVert = 3,
    kLowerTrackHorz = 4,
    kUpperTrackHorz = 5,
    kLowerTrackVert = 6,
    kUpperTrackVert = 7,
    kGripperHorz = 8,
    kGripperVert = 9,
};
const COLORREF kMagenta = RGB(255, 0, 255);

CSFSkinMetrics* MetricsOf(CSFSkinFramework* manager) { return manager ? manager->GetMetrics() : NULL; }

// Edge, border and thick-frame widths in border units.
int BorderUnits(DWORD style, DWORD ex, int frameBorder)
{
    int n = (ex & WS_EX_WINDOWEDGE) ? 2 : (ex & WS_EX_STATICEDGE) ? 1 : 0;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (ex & WS_EX_DLGMODALFRAME))
        n += 1;
    if (style & WS_THICKFRAME)
        n += frameBorder;
    return n;
}

BOOL IsFullCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }
} // namespace

CSFSkinDefaultSchema::~CSFSkinDefaultSchema() { Refresh(); }

void CSFSkinDefaultSchema::DeleteRecord(CaptionRegionRecord* record)
{
    if (record == NULL)
        return;
    if (record->left)
        ::DeleteObject(record->left);
    if (record->right)
        ::DeleteObject(record->right);
    delete record;
}

void CSFSkinDefaultSchema::Refresh()
{
    for (CaptionRegionRecord* record : m_captionRecords)
        DeleteRecord(record);
    m_captionRecords.clear();
}

void CSFSkinDefaultSchema::GetBorderWidths(DWORD style, DWORD ex, RECT* out)
{
    CSFSkinMetrics* m = MetricsOf(m_manager);
    if (out == NULL)
        return;
    ::SetRectEmpty(out);
    if (m == NULL)
        return;
    int caption = (ex & WS_EX_TOOLWINDOW) ? m->m_smallCaptionHeight : m->m_captionHeight;
    if ((style & WS_CHILD) || !(IsFullCaption(style) && (style & WS_MAXIMIZE)))
    {
        int top = IsFullCaption(style) ? caption : 0;
        int n = BorderUnits(style, ex, m->m_borderMultiplier);
        out->left = out->right = n * m->m_cxBorder;
        out->bottom = n * m->m_cyBorder;
        out->top = top + out->bottom;
        if (ex & WS_EX_CLIENTEDGE)
        {
            out->left += m->m_cxEdge;
            out->right += m->m_cxEdge;
            out->top += m->m_cyEdge;
            out->bottom += m->m_cyEdge;
        }
        return;
    }
    RECT r = {0, 0, 100, 100};
    ::AdjustWindowRectEx(&r, style, FALSE, ex);
    int b = -r.left;
    out->left = out->right = out->bottom = b;
    out->top = caption + b;
}

void CSFSkinDefaultSchema::DrawClientEdge(CDC* dc, CSFSkinObjectFrame* frame, const RECT& rect)
{
    HDC hdc = dc->GetSafeHdc();
    CSFSkinClass* cls = m_manager->GetSkinClass(frame->GetSchemaClassName());
    if (cls && cls->GetEnum(0, 0, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE) == BGTYPE_BORDERFILL)
    {
        COLORREF border = cls->GetColor(0, 0, SCHEMA_PROP_BORDERCOLOR, (COLORREF)-1);
        if (border != (COLORREF)-1)
            FrameRectSolid(hdc, rect, 1, border);
        RECT inner = rect;
        ::InflateRect(&inner, -1, -1);
        if (HBRUSH brush = frame->GetBackgroundBrush(hdc))
            FrameRectBrush(hdc, inner, 1, brush);
        return;
    }
    CSFSkinMetrics* m = MetricsOf(m_manager);
    COLORREF shadow = m->GetColor(COLOR_BTNSHADOW), light = m->GetColor(COLOR_BTNHIGHLIGHT);
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    FillRectOpaqueXYWH(hdc, rect.left, rect.top, w, 1, shadow);
    FillRectOpaqueXYWH(hdc, rect.left, rect.top, 1, h, shadow);
    FillRectOpaqueXYWH(hdc, rect.left, rect.bottom - 1, w, 1, light);
    FillRectOpaqueXYWH(hdc, rect.right - 1, rect.top, 1, h, light);
    COLORREF dark = m->GetColor(COLOR_3DDKSHADOW), light3d = m->GetColor(COLOR_3DLIGHT);
    FillRectOpaqueXYWH(hdc, rect.left + 1, rect.top + 1, w - 2, 1, dark);
    FillRectOpaqueXYWH(hdc, rect.left + 1, rect.top + 1, 1, h - 2, dark);
    FillRectOpaqueXYWH(hdc, rect.left + 1, rect.bottom - 2, w - 2, 1, light3d);
    FillRectOpaqueXYWH(hdc, rect.right - 2, rect.top + 1, 1, h - 2, light3d);
}

void CSFSkinDefaultSchema::DrawFrame(CDC* dc, CSFSkinObjectFrame* frame)
{
    CSFSkinMetrics* m = MetricsOf(m_manager);
    if (dc == NULL || frame == NULL || m == NULL)
        return;
    HWND hwnd = frame->GetSafeHwnd();
    DWORD style = (DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE), ex = (DWORD)::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    RECT wr;
    GetWindowRectSafe(hwnd, &wr);
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    HDC hdc = dc->GetSafeHdc();
    RECT client;
    GetClientRectSafe(hwnd, &client);
    ::MapWindowPoints(hwnd, NULL, (POINT*)&client, 2);
    ::OffsetRect(&client, -wr.left, -wr.top);

    if (!IsFullCaption(style))
    {
        RECT r = {0, 0, width, height};
        if (ex & WS_EX_WINDOWEDGE)
            SkinDrawEdge(hdc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        else if (ex & WS_EX_STATICEDGE)
            SkinDrawEdge(hdc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        if ((style & (WS_BORDER | WS_DLGFRAME)) || (ex & WS_EX_DLGMODALFRAME))
        {
            BOOL face = (ex & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_CLIENTEDGE)) ||
                        (style & WS_DLGFRAME);
            FrameRectSolid(hdc, r, 1, m->GetColor(face ? COLOR_BTNFACE : COLOR_WINDOWFRAME));
            ::InflateRect(&r, -1, -1);
        }
        if (style & WS_THICKFRAME)
        {
            FrameRectSolid(hdc, r, m->m_borderMultiplier, m->GetColor(COLOR_BTNFACE));
            ::InflateRect(&r, -m->m_borderMultiplier, -m->m_borderMultiplier);
        }
        if (ex & WS_EX_CLIENTEDGE)
        {
            RECT edge = client;
            ::InflateRect(&edge, 2, 2);
            DrawClientEdge(dc, frame, edge);
        }
        return;
    }

    RECT b = frame->GetBorders();
    if (ex & WS_EX_CLIENTEDGE)
    {
        RECT edge = client;
        ::InflateRect(&edge, 2, 2);
        DrawClientEdge(dc, frame, edge);
        b.left -= 2;
        b.top -= 2;
        b.right -= 2;
        b.bottom -= 2;
    }
    CSFSkinClass* cls = m_manager->GetSkinClass(L"WINDOW");
    if (cls == NULL)
        return;
    BOOL tool = (ex & WS_EX_TOOLWINDOW) != 0;
    int state = frame->IsActive() ? 1 : 2;
    int caption = b.top;
    RECT left = {0, caption, b.left, height - b.bottom};
    RECT right = {width - b.right, caption, width, height - b.bottom};
    RECT bottom = {0, height - b.bottom, width, height};
    if (b.left > 0)
        cls->DrawBackground(dc, tool ? kPartSmallFrameLeft : kPartFrameLeft, state, &left);
    if (b.right > 0)
        cls->DrawBackground(dc, tool ? kPartSmallFrameRight : kPartFrameRight, state, &right);
    if (b.bottom > 0)
        cls->DrawBackground(dc, tool ? kPartSmallFrameBottom : kPartFrameBottom, state, &bottom);
    if (caption <= 0)
        return;

    CCritSecLock lock(m_lock);
    RECT captionRect = {0, 0, width, caption};
    BufferedDC buffer(hdc, captionRect);
    if (!buffer.IsReady())
        return;
    int part = tool ? kPartSmallCaption : kPartCaption;
    cls->DrawBackground(&buffer, part, state, &captionRect);
    int t = ((ex & WS_EX_WINDOWEDGE) ? 2 : (ex & WS_EX_STATICEDGE) ? 1 : 0) + 1 +
            ((style & WS_THICKFRAME) ? m->m_borderMultiplier : 0) - m->m_cyBorder;
    int titleLeft = b.left;
    if (!tool && (style & WS_SYSMENU))
    {
        HICON icon = (HICON)::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0);
        if (icon == NULL)
            icon = (HICON)::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0);
        if (icon == NULL)
            icon = (HICON)::GetClassLongPtrW(hwnd, GCLP_HICONSM);
        if (icon == NULL && !(ex & WS_EX_DLGMODALFRAME))
        {
            DWORD_PTR answer = 0;
            if (::SendMessageTimeoutW(hwnd, WM_QUERYDRAGICON, 0, 0, SMTO_NORMAL, 100, &answer))
                icon = (HICON)answer;
        }
        if (icon == NULL)
            icon = ::LoadIconW(NULL, IDI_WINLOGO);
        int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
        int x = b.left + 2, y = t + (caption - t - cy) / 2;
        ::DrawIconEx(buffer.GetSafeHdc(), x, y, icon, cx, cy, 0, NULL, DI_NORMAL);
        titleLeft = x + cx;
    }
    int buttonsLeft = DrawCaptionButtons(&buffer, frame);
    CString text;
    GetWindowTextDirect(hwnd, text);
    if (!text.IsEmpty())
    {
        CFont& font = tool ? m->GetSmallCaptionFont() : m->GetCaptionFont();
        HGDIOBJ oldFont = ::SelectObject(buffer.GetSafeHdc(), font.GetSafeHandle());
        ::SetTextColor(buffer.GetSafeHdc(), m->GetColor(frame->IsActive() ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT title = {titleLeft, t + 1, buttonsLeft, caption};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (ex & WS_EX_RIGHT)
            format |= DT_RIGHT;
        if (ex & WS_EX_RTLREADING)
            format |= DT_RTLREADING;
        cls->DrawText(&buffer, part, state, text, format, &title);
        ::SelectObject(buffer.GetSafeHdc(), oldFont);
    }
}

int CSFSkinDefaultSchema::DrawCaptionButtons(CDC* dc, CSFSkinObjectFrame* frame)
{
    CSFSkinMetrics* m = MetricsOf(m_manager);
    HWND hwnd = frame->GetSafeHwnd();
    DWORD style = (DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE), ex = (DWORD)::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    RECT wr;
    GetWindowRectSafe(hwnd, &wr);
    int width = wr.right - wr.left;
    int n = BorderUnits(style, ex, m->m_borderMultiplier);
    int caption = frame->GetBorders().top;
    int o = ((ex & (WS_EX_WINDOWEDGE | WS_EX_STATICEDGE)) ? 1 : 0) +
            ((style & WS_THICKFRAME) ? (m->m_borderMultiplier + 1) / 2 : 0);
    int e = caption - n * m->m_cxBorder - 5;
    if (ex & WS_EX_CLIENTEDGE)
    {
        o -= 1;
        e -= 2;
    }
    CSFSkinClass* cls = m_manager->GetSkinClass(L"WINDOW");
    int bw = e, bh = e;
    if (!(ex & WS_EX_TOOLWINDOW) && cls &&
        cls->GetEnum(kPartCloseButton, 1, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE) == BGTYPE_IMAGEFILE)
    {
        CString file = cls->GetString(kPartCloseButton, 1, SCHEMA_PROP_IMAGEFILE);
        CSFStyleImage* image = file.IsEmpty() ? NULL : cls->GetImage(file);
        if (image)
        {
            int count = cls->GetInt(kPartCloseButton, 1, SCHEMA_PROP_IMAGECOUNT, 1);
            if (count < 1)
                count = 1;
            BOOL horizontal = cls->GetEnum(kPartCloseButton, 1, SCHEMA_PROP_IMAGELAYOUT, IMAGELAYOUT_HORIZONTAL) ==
                              IMAGELAYOUT_HORIZONTAL;
            int w = horizontal ? image->GetWidth() / count : image->GetWidth();
            int h = horizontal ? image->GetHeight() : image->GetHeight() / count;
            if (h > 0)
                bw = (int)std::lround(4.0 * (w - h) / h) + (int)std::lround((double)w * e / h);
        }
    }
    std::vector<FrameButton*>& buttons = frame->GetButtons();
    if (buttons.empty())
        return width - n;
    RECT r;
    r.right = width - n - 2;
    r.left = r.right - bw;
    r.top = o + (caption - bh) / 2;
    r.bottom = r.top + bh;
    for (FrameButton* button : buttons)
    {
        button->rect = r;
        if (cls)
            cls->DrawBackground(dc, button->part, frame->GetButtonState(button), &r);
        ::OffsetRect(&r, -(bw + 2), 0);
    }
    return buttons.back()->rect.left;
}

CSFSkinDefaultSchema::CaptionRegionRecord* CSFSkinDefaultSchema::FindCaptionRecord(CSFSkinObjectFrame* frame,
                                                                                    int width)
{
    HWND hwnd = frame->GetSafeHwnd();
    BOOL tool = (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    int caption = frame->GetBorders().top;
    for (CaptionRegionRecord* record : m_captionRecords)
        if (record->captionHeight == caption && record->toolWindow == tool &&
            width >= record->margins.left + record->margins.right)
            return record;
    CSFSkinClass* cls = m_manager->GetSkinClass(L"WINDOW");
    if (cls == NULL || caption <= 0)
        return NULL;
    int part = tool ? kPartSmallCaption : kPartCaption;
    CString file = cls->GetString(part, 1, SCHEMA_PROP_IMAGEFILE);
    CSFStyleImage* image = file.IsEmpty() ? NULL : cls->GetImage(file);
    if (image == NULL || image->GetWidth() == 0 || image->GetHeight() == 0)
        return NULL;
    int count = cls->GetInt(part, 1, SCHEMA_PROP_IMAGECOUNT, 1);
    if (count <= 0)
        return NULL;
    COLORREF transparent = kMagenta;
    if (cls->GetBool(part, 1, SCHEMA_PROP_TRANSPARENT, FALSE) && !image->HasAlpha())
        transparent = cls->GetColor(part, 1, SCHEMA_PROP_TRANSPARENTCOLOR, kMagenta);
    RECT margins = cls->GetRect(part, 1, SCHEMA_PROP_SIZINGMARGINS, RECT{0, 0, 0, 0});
    if (margins.top + margins.bottom > caption)
        margins.bottom = caption - margins.top > 0 ? caption - margins.top : 0;

    CaptionRegionRecord* record = new CaptionRegionRecord();
    record->captionHeight = caption;
    record->toolWindow = tool;
    int bitmapWidth = image->GetWidth();
    int scanLeft = margins.left, scanRight = margins.right;
    if (width < margins.left + margins.right)
    {
        bitmapWidth = width;
        scanLeft = margins.left + margins.right > 0
                       ? (int)std::lround((double)width * margins.left / (margins.left + margins.right))
                       : 0;
        scanRight = width - scanLeft;
        record->notCached = TRUE;
    }
    record->margins = {scanLeft, margins.top, scanRight, margins.bottom};

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bitmapWidth;
    bi.bmiHeader.biHeight = -caption;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HDC screen = ::GetDC(NULL);
    HBITMAP bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(NULL, screen);
    if (bitmap == NULL || memory == NULL)
    {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (memory)
            ::DeleteDC(memory);
        delete record;
        return NULL;
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all = {0, 0, bitmapWidth, caption};
    FillRectOpaque(memory, all, transparent);
    {
        CDC dc;
        dc.Attach(memory);
        RECT source = {0, 0, image->GetWidth(), image->GetHeight() / count};
        image->DrawImage(&dc, all, source, margins, (COLORREF)-1, SIZINGTYPE_STRETCH, FALSE);
        dc.Detach();
    }
    ::GdiFlush();
    const DWORD* pixels = (const DWORD*)bits;
    const DWORD key = (DWORD)((GetRValue(transparent) << 16) | (GetGValue(transparent) << 8) | GetBValue(transparent));
    auto see = [&](int x, int y) { return (pixels[y * bitmapWidth + x] & 0xFFFFFF) == key; };
    record->left = ::CreateRectRgn(0, 0, 0, 0);
    record->right = ::CreateRectRgn(0, 0, 0, 0);
    auto add = [](HRGN target, int l, int t, int r, int b) {
        HRGN piece = ::CreateRectRgn(l, t, r, b);
        ::CombineRgn(target, target, piece, RGN_OR);
        ::DeleteObject(piece);
    };
    BOOL counting = TRUE;
    for (int y = 0; y < caption; y++)
    {
        int run = 0;
        while (run < scanLeft && see(run, y))
            run++;
        if (run > 0)
            add(record->left, 0, y, run, y + 1);
        int base = bitmapWidth - scanRight;
        for (int x = base; x < bitmapWidth;)
        {
            if (!see(x, y))
            {
                x++;
                continue;
            }
            int from = x;
            while (x < bitmapWidth && see(x, y))
                x++;
            add(record->right, from - base, y, x - base, y + 1);
        }
        if (counting)
        {
            BOOL full = TRUE;
            for (int x = scanLeft; x < bitmapWidth - scanRight && full; x++)
                full = see(x, y);
            if (full && bitmapWidth - scanRight > scanLeft)
                record->fullRows++;
            else
                counting = FALSE;
        }
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    if (!record->notCached)
        m_captionRecords.push_back(record);
    return record;
}

HRGN CSFSkinDefaultSchema::GetWindowRegion(CSFSkinObjectFrame* frame, int width, int height)
{
    if (frame == NULL || width <= 0 || height <= 0)
        return NULL;
    HWND hwnd = frame->GetSafeHwnd();
    DWORD style = (DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE);
    if ((style & WS_MAXIMIZE) && !(style & WS_CHILD))
    {
        int b = frame->GetBorders().left;
        RECT work;
        CWnd wnd;
        wnd.m_hWnd = hwnd;
        GetSFMonitorInfo().GetWorkArea(&work, &wnd);
        wnd.m_hWnd = NULL;
        if (work.right - work.left != width)
            return ::CreateRectRgn(b, b, width - b, height - b);
        return ::CreateRectRgn(b, b, width + 2 * b, height + 2 * b);
    }
    CaptionRegionRecord* record = FindCaptionRecord(frame, width);
    if (record == NULL)
        return NULL;
    HRGN region = ::CreateRectRgn(0, 0, width, height);
    ::CombineRgn(region, region, record->left, RGN_DIFF);
    HRGN right = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(right, record->right, NULL, RGN_COPY);
    ::OffsetRgn(right, width - record->margins.right, 0);
    ::CombineRgn(region, region, right, RGN_DIFF);
    ::DeleteObject(right);
    if (record->fullRows > 0)
    {
        HRGN rows = ::CreateRectRgn(record->margins.left, 0, width - record->margins.right, record->fullRows);
        ::CombineRgn(region, region, rows, RGN_DIFF);
        ::DeleteObject(rows);
    }
    if (record->notCached)
        DeleteRecord(record);
    return region;
}

void CSFSkinDefaultSchema::DrawScrollBar(CDC* dc, CSFSkinObjectFrame* object, ScrollBarLayout* l)
{
    if (dc == NULL || object == NULL || l == NULL || l->crossEnd - l->crossStart < 1)
        return;
    HDC hdc = dc->GetSafeHdc();
    if (HBRUSH brush = object->GetBackgroundBrush(hdc))
        ::FillRect(hdc, &l->rect, brush);
    CSFSkinClass* cls = m_manager->GetSkinClass(L"SCROLLBAR");
    if (cls == NULL)
        return;
    BOOL enabled = l->max - l->page - l->min + 1 > 0 &&
                   !(l->bar == SF_SBBAR_CONTROL && !::IsWindowEnabled(object->GetSafeHwnd()));
    int a1 = l->firstArrowEnd, a2 = l->secondArrowStart, t1 = l->thumbTop, t2 = l->thumbBottom;
    if (!(enabled && a2 >= t2))
    {
        t1 = t2 = a1; // no thumb: the track after it spans the whole track
    }
    ScrollBarTracking* tracking = object->GetTracking();
    int pressed = 0, hot = 0;
    if (tracking && tracking->layout == l && (tracking->dragging || tracking->inside))
        pressed = l->hotPart;
    if (tracking == NULL)
        hot = l->hotPart;
    BOOL active = tracking == NULL ? hot > 0 : tracking->layout == l;
    BOOL hoverLook = active && cls->GetInt(kArrowBtn, 0, SCHEMA_PROP_IMAGECOUNT, 16) == 20;

    const RECT& R = l->rect;
    RECT first, second, before, thumb, after;
    if (l->vertical)
    {
        first = {R.left, R.top, R.right, a1};
        second = {R.left, a2, R.right, R.bottom};
        before = {R.left, a1, R.right, t1};
        thumb = {R.left, t1, R.right, t2};
        after = {R.left, t2, R.right, a2};
    }
    else
    {
        first = {R.left, R.top, a1, R.bottom};
        second = {a2, R.top, R.right, R.bottom};
        before = {a1, R.top, t1, R.bottom};
        thumb = {t1, R.top, t2, R.bottom};
        after = {t2, R.top, a2, R.bottom};
    }
    // Arrow states: pressed, hot, hover look, normal, disabled.
    static const int kArrowStates[4][5] = {{3, 2, 17, 1, 4}, {7, 6, 18, 5, 8}, {11, 10, 19, 9, 12}, {15, 14, 20, 13, 16}};
    auto arrowState = [&](int which, int code) {
        const int* s = kArrowStates[(l->vertical ? 0 : 2) + which];
        if (!enabled)
            return s[4];
        if (pressed == code)
            return s[0];
        if (hot == code)
            return s[1];
        if (hoverLook)
            return s[2];
        return s[3];
    };
    auto partState = [&](int code) {
        if (!enabled)
            return 4;
        if (pressed == code)
            return 3;
        if (hot == code)
            return 2;
        return 1;
    };
    if (!::IsRectEmpty(&first))
        cls->DrawBackground(dc, kArrowBtn, arrowState(0, SF_SBPART_FIRSTARROW), &first);
    if (!::IsRectEmpty(&second))
        cls->DrawBackground(dc, kArrowBtn, arrowState(1, SF_SBPART_SECONDARROW), &second);
    RECT track = l->vertical ? RECT{R.left, a1, R.right, a2} : RECT{a1, R.top, a2, R.bottom};
    if (::IsRectEmpty(&track))
        return;
    if (!::IsRectEmpty(&before))
        cls->DrawBackground(dc, l->vertical ? kLowerTrackVert : kLowerTrackHorz, partState(SF_SBPART_TRACKBEFORE),
                            &before);
    if (!::IsRectEmpty(&thumb))
    {
        int state = partState(SF_SBPART_THUMB);
        cls->DrawBackground(dc, l->vertical ? kThumbVert : kThumbHorz, state, &thumb);
        if (l->vertical && thumb.bottom - thumb.top > 13)
            cls->DrawBackground(dc, kGripperVert, state, &thumb);
        else if (!l->vertical && thumb.right - thumb.left > 9)
            cls->DrawBackground(dc, kGripperHorz, state, &thumb);
    }
    if (!::IsRectEmpty(&after))
        cls->DrawBackground(dc, l->vertical ? kUpperTrackVert : kUpperTrackHorz, partState(SF_SBPART_TRACKAFTER),
                            &after);
}
