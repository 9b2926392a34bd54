#include "SFSkinObjectEdit.h"
#include "SFWindowHelpers.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectEdit, CSFSkinObjectScrolledFrame)

CSFSkinObjectEdit::CSFSkinObjectEdit()
{
    m_className = L"EDIT";
    m_ctlColorMessage = WM_CTLCOLOREDIT;
}

UINT CSFSkinObjectEdit::GetControlColorMessage()
{
    if (!::IsWindowEnabled(m_hWnd) || (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

BOOL CSFSkinObjectEdit::FindBuddyStrip(RECT* strip)
{
    HWND next = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    if (next == NULL || next == m_hWnd)
        return FALSE;
    RECT mine, theirs, overlap;
    GetWindowRectSafe(m_hWnd, &mine);
    GetWindowRectSafe(next, &theirs);
    if (!::IntersectRect(&overlap, &mine, &theirs))
        return FALSE;
    if (overlap.right - overlap.left != 2 && overlap.bottom - overlap.top != 2)
        return FALSE;
    ::OffsetRect(&overlap, -mine.left, -mine.top);
    *strip = overlap;
    return TRUE;
}

void CSFSkinObjectEdit::PaintNonClient(CDC* dc)
{
    // An up-down control glued to the edit keeps its own edge over ours.
    RECT strip;
    if (dc != NULL && FindBuddyStrip(&strip))
        ::ExcludeClipRect(dc->GetSafeHdc(), strip.left, strip.top, strip.right, strip.bottom);
    CSFSkinObjectScrolledFrame::PaintNonClient(dc);
}
