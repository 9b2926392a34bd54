// Message-map lookup and the thunks that crack a message for each handler
// signature.
#include "FwWnd.h"
#include "FwGdi.h"
#include "FwMenu.h"
#include "FwControls.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

LONG CCmdTarget::InternalRelease()
{
    LONG n = InterlockedDecrement(&m_dwRef);
    if (n == 0)
        OnFinalRelease();
    return n;
}

static bool IsCodedMessage(UINT nMessage)
{
    return nMessage == WM_COMMAND || nMessage == WM_NOTIFY;
}

static bool IsReflectedCodedMessage(UINT nMessage)
{
    return nMessage == WM_REFLECT_BASE + WM_COMMAND || nMessage == WM_REFLECT_BASE + WM_NOTIFY;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfnThunk != nullptr; ++e)
        {
            UINT entryMessage = e->pnMessage ? *e->pnMessage : e->nMessage;
            if (entryMessage != nMessage || (e->pnMessage && nMessage == 0))
                continue;
            if (IsCodedMessage(nMessage) && (e->nCode != nCode || nID < e->nID || nID > e->nLastID))
                continue;
            if (IsReflectedCodedMessage(nMessage) && e->nCode != nCode)
                continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchMsgMap(UINT nMessage, UINT nCode, UINT nID, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), nMessage, nCode, nID);
    if (e == nullptr)
        return FALSE;
    LRESULT result = 0;
    BOOL handled = e->pfnThunk(this, e->pfn, message, wParam, lParam, &result);
    if (handled && pResult)
        *pResult = result;
    return handled;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    return DispatchMsgMap(WM_COMMAND, (UINT)nCode, nID, WM_COMMAND, MAKEWPARAM(nID, nCode), 0, nullptr);
}

namespace FwThunk
{
// The handler's real type, as cast in the map entry.
template <class F> static F As(AFX_PMSG pfn) { return reinterpret_cast<F>(pfn); }
static CWnd* W(CCmdTarget* p) { return static_cast<CWnd*>(p); }
static CPoint Pt(LPARAM l) { return CPoint((short)LOWORD(l), (short)HIWORD(l)); }
#define FW_THUNK_DEF(name) BOOL name(CCmdTarget* t, AFX_PMSG pfn, UINT msg, WPARAM w, LPARAM l, LRESULT* r)

FW_THUNK_DEF(Message)
{
    (void)msg;
    *r = (W(t)->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(w, l);
    return TRUE;
}
FW_THUNK_DEF(Void)
{
    (void)msg, (void)w, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(BoolVoid)
{
    (void)msg, (void)w, (void)l;
    *r = (W(t)->*As<BOOL (CWnd::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(HandleVoid)
{
    (void)msg, (void)w, (void)l;
    *r = (LRESULT)(W(t)->*As<HCURSOR (CWnd::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(LresultVoid)
{
    (void)msg, (void)w, (void)l;
    *r = (W(t)->*As<LRESULT (CWnd::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(UintVoid)
{
    (void)msg, (void)w, (void)l;
    *r = (W(t)->*As<UINT (CWnd::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(BoolDC)
{
    (void)msg, (void)l;
    *r = (W(t)->*As<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle((HDC)w));
    return TRUE;
}
FW_THUNK_DEF(Timer)
{
    (void)msg, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT_PTR)>(pfn))((UINT_PTR)w);
    return TRUE;
}
FW_THUNK_DEF(Size)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, int, int)>(pfn))((UINT)w, LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(Move)
{
    (void)msg, (void)w, (void)r;
    (W(t)->*As<void (CWnd::*)(int, int)>(pfn))((short)LOWORD(l), (short)HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(Create)
{
    (void)msg, (void)w;
    *r = (W(t)->*As<int (CWnd::*)(LPCREATESTRUCT)>(pfn))((LPCREATESTRUCT)l) == -1 ? -1 : 0;
    return TRUE;
}
FW_THUNK_DEF(NcCreate)
{
    (void)msg, (void)w;
    *r = (W(t)->*As<BOOL (CWnd::*)(LPCREATESTRUCT)>(pfn))((LPCREATESTRUCT)l);
    return TRUE;
}
FW_THUNK_DEF(HitTest)
{
    (void)msg, (void)w;
    *r = (W(t)->*As<LRESULT (CWnd::*)(CPoint)>(pfn))(Pt(l));
    return TRUE;
}
FW_THUNK_DEF(NcCalcSize)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(pfn))((BOOL)w, (NCCALCSIZE_PARAMS*)l);
    return TRUE;
}
FW_THUNK_DEF(BoolBool)
{
    (void)msg, (void)l;
    *r = (W(t)->*As<BOOL (CWnd::*)(BOOL)>(pfn))((BOOL)w);
    return TRUE;
}
FW_THUNK_DEF(FlagsPoint)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, CPoint)>(pfn))((UINT)w, Pt(l));
    return TRUE;
}
FW_THUNK_DEF(Activate)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(LOWORD(w), CWnd::FromHandle((HWND)l), HIWORD(w));
    return TRUE;
}
FW_THUNK_DEF(ActivateApp)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(BOOL, DWORD)>(pfn))((BOOL)w, (DWORD)l);
    return TRUE;
}
FW_THUNK_DEF(SysCommand)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, LPARAM)>(pfn))((UINT)w, l);
    return TRUE;
}
FW_THUNK_DEF(HotKey)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, UINT, UINT)>(pfn))((UINT)w, LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(SetCursor)
{
    (void)msg;
    *r = (W(t)->*As<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(CWnd::FromHandle((HWND)w), LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(MouseWheel)
{
    (void)msg;
    *r = (W(t)->*As<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(LOWORD(w), (short)HIWORD(w), Pt(l));
    return TRUE;
}
FW_THUNK_DEF(Scroll)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(LOWORD(w), (UINT)(short)HIWORD(w),
                                                              (CScrollBar*)CWnd::FromHandle((HWND)l));
    return TRUE;
}
FW_THUNK_DEF(WndFromW)
{
    (void)msg, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle((HWND)w));
    return TRUE;
}
FW_THUNK_DEF(WndFromL)
{
    (void)msg, (void)w, (void)r;
    (W(t)->*As<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle((HWND)l));
    return TRUE;
}
FW_THUNK_DEF(ContextMenu)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(CWnd*, CPoint)>(pfn))(CWnd::FromHandle((HWND)w), Pt(l));
    return TRUE;
}
FW_THUNK_DEF(MouseActivate)
{
    (void)msg;
    *r = (W(t)->*As<int (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(CWnd::FromHandle((HWND)w), LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(CtlColor)
{
    // Arrives as one of WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC; the type is its offset.
    *r = (LRESULT)(W(t)->*As<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
        CDC::FromHandle((HDC)w), CWnd::FromHandle((HWND)l), msg - WM_CTLCOLORMSGBOX);
    return TRUE;
}
FW_THUNK_DEF(DrawItem)
{
    (void)msg;
    (W(t)->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))((int)w, (LPDRAWITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(MeasureItem)
{
    (void)msg;
    (W(t)->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))((int)w, (LPMEASUREITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(CompareItem)
{
    (void)msg;
    *r = (W(t)->*As<int (CWnd::*)(int, LPCOMPAREITEMSTRUCT)>(pfn))((int)w, (LPCOMPAREITEMSTRUCT)l);
    return TRUE;
}
FW_THUNK_DEF(DeleteItem)
{
    (void)msg;
    (W(t)->*As<void (CWnd::*)(int, LPDELETEITEMSTRUCT)>(pfn))((int)w, (LPDELETEITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(ShowWindow)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(BOOL, UINT)>(pfn))((BOOL)w, (UINT)l);
    return TRUE;
}
FW_THUNK_DEF(Key)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, UINT, UINT)>(pfn))((UINT)w, LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(VoidBool)
{
    (void)msg, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)(BOOL)>(pfn))((BOOL)w);
    return TRUE;
}
FW_THUNK_DEF(SettingChange)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, LPCTSTR)>(pfn))((UINT)w, (LPCTSTR)l);
    return TRUE;
}
FW_THUNK_DEF(InitMenuPopup)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(CMenu::FromHandle((HMENU)w), LOWORD(l), HIWORD(l));
    return TRUE;
}
FW_THUNK_DEF(MenuChar)
{
    (void)msg;
    *r = (W(t)->*As<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(pfn))(LOWORD(w), HIWORD(w), CMenu::FromHandle((HMENU)l));
    return TRUE;
}
FW_THUNK_DEF(StyleChanged)
{
    (void)msg, (void)r;
    (W(t)->*As<void (CWnd::*)(int, LPSTYLESTRUCT)>(pfn))((int)w, (LPSTYLESTRUCT)l);
    return TRUE;
}
FW_THUNK_DEF(Sizing)
{
    (void)msg;
    (W(t)->*As<void (CWnd::*)(UINT, LPRECT)>(pfn))((UINT)w, (LPRECT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(CopyData)
{
    (void)msg;
    *r = (W(t)->*As<BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*)>(pfn))(CWnd::FromHandle((HWND)w), (COPYDATASTRUCT*)l);
    return TRUE;
}
FW_THUNK_DEF(DropFiles)
{
    (void)msg, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)(HDROP)>(pfn))((HDROP)w);
    return TRUE;
}
FW_THUNK_DEF(Command)
{
    (void)msg, (void)w, (void)l, (void)r;
    (t->*As<void (CCmdTarget::*)()>(pfn))();
    return TRUE;
}
FW_THUNK_DEF(CommandEx)
{
    (void)msg, (void)w, (void)l, (void)r;
    return (t->*As<BOOL (CCmdTarget::*)()>(pfn))();
}
FW_THUNK_DEF(CommandRange)
{
    (void)msg, (void)l, (void)r;
    (t->*As<void (CCmdTarget::*)(UINT)>(pfn))(LOWORD(w));
    return TRUE;
}
FW_THUNK_DEF(Notify)
{
    (void)msg, (void)w;
    (t->*As<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))((NMHDR*)l, r);
    return TRUE;
}
FW_THUNK_DEF(NotifyEx)
{
    (void)msg, (void)w;
    return (t->*As<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))((NMHDR*)l, r);
}
FW_THUNK_DEF(NotifyRange)
{
    (void)msg, (void)w;
    NMHDR* pNMHDR = (NMHDR*)l;
    (t->*As<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))((UINT)pNMHDR->idFrom, pNMHDR, r);
    return TRUE;
}
FW_THUNK_DEF(CtlColorReflect)
{
    // Reflected as (hdc, type); no brush means the parent colours the control.
    (void)msg;
    HBRUSH hbr = (W(t)->*As<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(CDC::FromHandle((HDC)w), (UINT)l);
    *r = (LRESULT)hbr;
    return hbr != NULL;
}
FW_THUNK_DEF(DrawItemReflect)
{
    (void)msg, (void)w;
    (W(t)->*As<void (CWnd::*)(LPDRAWITEMSTRUCT)>(pfn))((LPDRAWITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(MeasureItemReflect)
{
    (void)msg, (void)w;
    (W(t)->*As<void (CWnd::*)(LPMEASUREITEMSTRUCT)>(pfn))((LPMEASUREITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(CompareItemReflect)
{
    (void)msg, (void)w;
    *r = (W(t)->*As<int (CWnd::*)(LPCOMPAREITEMSTRUCT)>(pfn))((LPCOMPAREITEMSTRUCT)l);
    return TRUE;
}
FW_THUNK_DEF(DeleteItemReflect)
{
    (void)msg, (void)w;
    (W(t)->*As<void (CWnd::*)(LPDELETEITEMSTRUCT)>(pfn))((LPDELETEITEMSTRUCT)l);
    *r = TRUE;
    return TRUE;
}
FW_THUNK_DEF(ScrollReflect)
{
    (void)msg, (void)l, (void)r;
    (W(t)->*As<void (CWnd::*)(UINT, UINT)>(pfn))(LOWORD(w), (UINT)(short)HIWORD(w));
    return TRUE;
}
} // namespace FwThunk
