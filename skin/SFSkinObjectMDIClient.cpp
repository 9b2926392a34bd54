#include "SFSkinObjectMDIClient.h"
#include "SFSkinFramework.h"
#include "SFWindowHelpers.h"
#include <vector>

IMPLEMENT_DYNCREATE(CSFSkinObjectMDIClient, CSFSkinObjectFrame)

namespace
{
// A message the system sends MDI clients when their scroll ranges change.
const UINT kRecalcScrollBars = 0x003F;
const UINT_PTR kLayoutTimer = 2765;

struct ChildList
{
    HWND parent;
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    ChildList* list = (ChildList*)lParam;
    if (::GetParent(hwnd) == list->parent)
        list->children.push_back(hwnd);
    return TRUE;
}
} // namespace

BEGIN_MESSAGE_MAP(CSFSkinObjectMDIClient, CSFSkinObjectFrame)
ON_MESSAGE(WM_SIZE, &CSFSkinObjectMDIClient::OnSizeControl)
ON_MESSAGE(WM_MDITILE, &CSFSkinObjectMDIClient::OnArrange)
ON_MESSAGE(WM_MDICASCADE, &CSFSkinObjectMDIClient::OnArrange)
ON_MESSAGE(WM_MDIICONARRANGE, &CSFSkinObjectMDIClient::OnArrange)
ON_MESSAGE(WM_HSCROLL, &CSFSkinObjectMDIClient::OnHScrollControl)
ON_MESSAGE(WM_VSCROLL, &CSFSkinObjectMDIClient::OnVScrollControl)
ON_MESSAGE(kRecalcScrollBars, &CSFSkinObjectMDIClient::OnRefreshBars)
ON_MESSAGE(WM_NCACTIVATE, &CSFSkinObjectMDIClient::OnNcActivateControl)
END_MESSAGE_MAP()

CSFSkinObjectMDIClient::CSFSkinObjectMDIClient() : m_arranging(FALSE), m_mdiFrame(NULL) {}

void CSFSkinObjectMDIClient::AttachToWindow(LPCREATESTRUCTW cs, BOOL autoCreated)
{
    HWND parent = ::GetParent(m_hWnd);
    CSFSkinObjectFrame* frame =
        m_manager && parent ? dynamic_cast<CSFSkinObjectFrame*>(m_manager->Lookup(parent)) : NULL;
    if (frame)
    {
        // Held until this client detaches, so the link never dangles.
        m_mdiFrame = frame;
        frame->SetMDIClient(this);
        frame->InternalAddRef();
    }
    CSFSkinObjectFrame::AttachToWindow(cs, autoCreated);
}

void CSFSkinObjectMDIClient::DetachFromWindow(BOOL windowDestroyed)
{
    if (m_mdiFrame)
    {
        CSFSkinObjectFrame* frame = m_mdiFrame;
        m_mdiFrame = NULL;
        if (frame->GetMDIClient() == this)
            frame->SetMDIClient(NULL);
        frame->InternalRelease();
    }
    CSFSkinObjectFrame::DetachFromWindow(windowDestroyed);
}

BOOL CSFSkinObjectMDIClient::DefersToOwnProcedure(UINT message) { return message == WM_SKINFRAMEWORK_QUERYSTATE; }

LRESULT CSFSkinObjectMDIClient::OnSizeControl(WPARAM, LPARAM lParam)
{
    if (m_manager && (m_manager->GetApplyOptions() & SF_APPLY_FRAME))
    {
        HWND child = (HWND)::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0);
        CSFSkinObjectFrame* frame =
            child && (::GetWindowLongPtrW(child, GWL_STYLE) & WS_MAXIMIZE)
                ? dynamic_cast<CSFSkinObjectFrame*>(m_manager->Lookup(child))
                : NULL;
        if (frame && frame->IsSkinEnabled())
        {
            // The skinned caption and borders stay outside the client.
            const RECT& b = frame->GetBorders();
            int cx = LOWORD(lParam), cy = HIWORD(lParam);
            ::MoveWindow(child, -b.left, -b.top, cx + b.left + b.right, cy + b.top + b.bottom, TRUE);
            return 0;
        }
    }
    return Default();
}

LRESULT CSFSkinObjectMDIClient::OnArrange(WPARAM, LPARAM)
{
    if (m_arranging || m_manager == NULL)
        return Default();
    m_arranging = TRUE;
    ChildList list = {m_hWnd, {}};
    ::EnumChildWindows(m_hWnd, CollectChild, (LPARAM)&list);
    for (HWND child : list.children)
    {
        CSFSkinObjectFrame* frame = dynamic_cast<CSFSkinObjectFrame*>(m_manager->Lookup(child));
        if (frame == NULL)
            continue;
        // The system arranges by what WM_NCCALCSIZE answers: the skin's borders.
        RECT rect;
        GetWindowRectSafe(child, &rect);
        ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rect, 2);
        frame->RaiseSuppressDrawing();
        ::SendMessageW(child, WM_NCCALCSIZE, FALSE, (LPARAM)&rect);
        frame->LowerSuppressDrawing();
        ::SetTimer(child, kLayoutTimer, 1000, NULL);
    }
    LRESULT result = Default();
    m_arranging = FALSE;
    for (HWND child : list.children)
        if (CSFSkinObjectFrame* frame = dynamic_cast<CSFSkinObjectFrame*>(m_manager->Lookup(child)))
            frame->RepaintNonClient();
    return result;
}

void CSFSkinObjectMDIClient::RepaintBothBars()
{
    RepaintFrameScrollBar(SB_VERT);
    RepaintFrameScrollBar(SB_HORZ);
}

LRESULT CSFSkinObjectMDIClient::OnHScrollControl(WPARAM, LPARAM)
{
    LRESULT result = Default();
    RepaintFrameScrollBar(SB_HORZ);
    return result;
}

LRESULT CSFSkinObjectMDIClient::OnVScrollControl(WPARAM, LPARAM)
{
    LRESULT result = Default();
    RepaintFrameScrollBar(SB_VERT);
    return result;
}

LRESULT CSFSkinObjectMDIClient::OnRefreshBars(WPARAM, LPARAM)
{
    LRESULT result = Default();
    RepaintBothBars();
    return result;
}

LRESULT CSFSkinObjectMDIClient::OnNcActivateControl(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnNcActivate(wParam, lParam);
    RepaintBothBars();
    return result;
}
