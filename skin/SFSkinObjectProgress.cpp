#include "SFSkinObjectProgress.h"
#include "BufferedDC.h"
#include "SFGdiHelpers.h"
#include "SFObjectPaintDC.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFUxThemeLibrary.h"
#include "SFWindowHelpers.h"
#include "SchemaNames.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectProgress, CSFSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSFSkinObjectProgress, CSFSkinObjectFrame)
ON_MESSAGE(WM_ERASEBKGND, &CSFSkinObjectProgress::OnEraseNothing)
ON_MESSAGE(WM_PAINT, &CSFSkinObjectProgress::OnPaintOwnClient)
ON_MESSAGE(WM_PRINTCLIENT, &CSFSkinObjectProgress::OnPrintOwnClient)
ON_MESSAGE(WM_CREATE, &CSFSkinObjectProgress::OnCreateControl)
ON_MESSAGE(PBM_SETPOS, &CSFSkinObjectProgress::OnSetPosControl)
ON_MESSAGE(PBM_STEPIT, &CSFSkinObjectProgress::OnStepIt)
ON_MESSAGE(PBM_SETMARQUEE, &CSFSkinObjectProgress::OnSetMarquee)
ON_MESSAGE(WM_TIMER, &CSFSkinObjectProgress::OnTimerControl)
END_MESSAGE_MAP()

namespace
{
const UINT_PTR kMarqueeTimer = 102;
const int kPartBar = 1, kPartBarVert = 2, kPartChunk = 3, kPartChunkVert = 4;
const int kPropChunkSize = 2411, kPropSpaceSize = 2412;
const UINT kFrameFlags = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
#ifndef PBS_MARQUEE
const LONG_PTR PBS_MARQUEE = 0x08;
#endif
} // namespace

CSFSkinObjectProgress::CSFSkinObjectProgress() : m_marqueeOffset(0), m_marqueeInterval(0), m_chunksDrawn(0)
{
    m_className = L"PROGRESS";
}

void CSFSkinObjectProgress::SetStaticEdge(BOOL on)
{
    LONG_PTR ex = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (((ex & WS_EX_STATICEDGE) != 0) == (on != FALSE))
        return;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, on ? (ex | WS_EX_STATICEDGE) : (ex & ~WS_EX_STATICEDGE));
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, kFrameFlags);
}

void CSFSkinObjectProgress::ApplySkinState(BOOL prevEnabled, BOOL newEnabled)
{
    CSFSkinObjectFrame::ApplySkinState(prevEnabled, newEnabled);
    BOOL themed = m_manager && m_manager->IsEnabled();
    if (!themed)
    {
        CSFUxThemeLibrary uxtheme(FALSE);
        themed = uxtheme.IsThemeActive();
    }
    SetStaticEdge(!themed);
}

void CSFSkinObjectProgress::PaintControl(CDC* dc)
{
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    OffsetBufferedDC buffer(dc->GetSafeHdc(), client);
    if (!buffer.IsReady())
        return;
    HDC hdc = buffer.GetSafeHdc();
    FillRectOpaque(hdc, client, GetColor(COLOR_BTNFACE));
    CSFSkinClass* cls = GetSkinClass();
    m_chunksDrawn = 0;
    if (cls == NULL)
        return;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    BOOL vertical = (style & PBS_VERTICAL) != 0;
    int barPart = vertical ? kPartBarVert : kPartBar;
    cls->DrawBackground(&buffer, barPart, 0, &client);
    RECT margins = cls->GetRect(barPart, 0, SCHEMA_PROP_SIZINGMARGINS, RECT{0, 0, 0, 0});
    RECT content = {client.left + margins.left, client.top + margins.top, client.right - margins.right,
                    client.bottom - margins.bottom};
    int chunkPart = vertical ? kPartChunkVert : kPartChunk;
    int cross = vertical ? content.right - content.left : content.bottom - content.top;
    int chunk = cls->GetInt(chunkPart, 0, kPropChunkSize, cross * 2 / 3);
    int space = cls->GetInt(chunkPart, 0, kPropSpaceSize, 2);
    if (style & PBS_MARQUEE)
    {
        int x = content.left + m_marqueeOffset;
        for (int i = 0; i < 5; i++)
        {
            if (x >= content.right)
                x = content.left;
            RECT r = {x, content.top, x + chunk < content.right ? x + chunk : content.right, content.bottom};
            cls->DrawBackground(&buffer, chunkPart, 0, &r);
            m_chunksDrawn++;
            x += chunk + space;
        }
        return;
    }
    PBRANGE range = {0, 0};
    ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&range);
    int pos = (int)::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0);
    int length = vertical ? content.bottom - content.top : content.right - content.left;
    int filled = range.iHigh != range.iLow ? ::MulDiv(length, pos - range.iLow, range.iHigh - range.iLow) : 0;
    if (filled <= 0)
        return;
    if (chunk <= 1 && space == 0)
    {
        RECT r = vertical ? RECT{content.left, content.bottom - filled, content.right, content.bottom}
                          : RECT{content.left, content.top, content.left + filled, content.bottom};
        cls->DrawBackground(&buffer, chunkPart, 0, &r);
        m_chunksDrawn = 1;
        return;
    }
    if (chunk < 1)
        chunk = 1;
    int n = (filled + space + chunk - 1) / (space + chunk);
    for (int i = 0; i < n; i++)
    {
        int from = i * (chunk + space);
        RECT r;
        if (vertical)
        {
            r = {content.left, content.bottom - from - chunk, content.right, content.bottom - from};
            if (r.top < content.top + 1)
                r.top = content.top + 1;
            if (r.top >= r.bottom)
                break;
        }
        else
        {
            r = {content.left + from, content.top, content.left + from + chunk, content.bottom};
            if (r.right > content.right - 1)
                r.right = content.right - 1;
            if (r.left >= r.right)
                break;
        }
        cls->DrawBackground(&buffer, chunkPart, 0, &r);
        m_chunksDrawn++;
    }
}

void CSFSkinObjectProgress::Advance(int steps)
{
    CSFSkinClass* cls = GetSkinClass();
    RECT client;
    GetClientRectSafe(m_hWnd, &client);
    int height = client.bottom - client.top;
    int chunk = cls ? cls->GetInt(kPartChunk, 0, kPropChunkSize, (2 * height - 12) / 3) : (2 * height - 12) / 3;
    int space = cls ? cls->GetInt(kPartChunk, 0, kPropSpaceSize, 2) : 2;
    m_marqueeOffset += steps * (chunk + space);
    if (m_marqueeOffset > client.right)
        m_marqueeOffset = 0;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

LRESULT CSFSkinObjectProgress::OnCreateControl(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    if (m_manager && m_manager->IsEnabled())
        SetStaticEdge(FALSE);
    return 0;
}

LRESULT CSFSkinObjectProgress::OnSetPosControl(WPARAM, LPARAM)
{
    LRESULT result = Default();
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return result;
}

LRESULT CSFSkinObjectProgress::OnStepIt(WPARAM, LPARAM)
{
    if (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & PBS_MARQUEE)
    {
        Advance(1);
        return 1;
    }
    return Default();
}

LRESULT CSFSkinObjectProgress::OnSetMarquee(WPARAM wParam, LPARAM lParam)
{
    m_marqueeOffset = 0;
    m_marqueeInterval = 0;
    if (!(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & PBS_MARQUEE))
        return Default();
    ::KillTimer(m_hWnd, kMarqueeTimer);
    if (wParam && lParam > 0)
    {
        m_marqueeInterval = (int)lParam;
        ::SetTimer(m_hWnd, kMarqueeTimer, (UINT)lParam, NULL);
    }
    return 1;
}

LRESULT CSFSkinObjectProgress::OnTimerControl(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kMarqueeTimer && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & PBS_MARQUEE))
    {
        Advance(m_marqueeInterval <= 50 ? 2 : 1);
        return 0;
    }
    return OnTimerMessage(wParam, lParam);
}
