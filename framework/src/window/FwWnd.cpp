// CWnd: attaching objects to windows, the framework window procedure, message
// dispatch with reflection, and the pre-translate walk.
#include "FwWnd.h"
#include "FwApp.h"
#include "FwGdi.h"
#include "FwMenu.h"
#include "FwImageList.h"
#include "FwControls.h"
#include "FwThreadState.h"
#include "FwThreadObject.h"

// ---------------------------------------------------------------------------
// Thread state

FwThreadState::FwThreadState()
    : m_lastSentMsg(), m_msgCur(), m_pWndInit(nullptr), m_hTrackingMenu(nullptr), m_nModalDepth(0)
{
}

FwThreadState::~FwThreadState() { DeleteTemporaries(); }

std::atomic<long> g_fwTempObjects(0);

long AFXAPI FwTemporaryObjectCount() { return g_fwTempObjects; }

void FwThreadState::DeleteTemporaries(int nMinDepth)
{
    m_windows.DeleteTemporaries([](CWnd* p) { p->m_hWnd = NULL; }, nMinDepth);
    m_dcs.DeleteTemporaries([](CDC* p) { p->m_hDC = p->m_hAttribDC = NULL; }, nMinDepth);
    m_gdiObjects.DeleteTemporaries([](CGdiObject* p) { p->m_hObject = NULL; }, nMinDepth);
    m_menus.DeleteTemporaries([](CMenu* p) { p->m_hMenu = NULL; }, nMinDepth);
    m_imageLists.DeleteTemporaries([](CImageList* p) { p->m_hImageList = NULL; }, nMinDepth);
}

// Created on first use on each thread and destroyed when the thread ends,
// taking that thread's temporary objects with it.
FwThreadState* FwGetThreadState()
{
    if (FwThreadState* state = FwThreadObject<FwThreadState>::Peek())
        return state;
    FwThreadState* state = &FwThreadObject<FwThreadState>::Get();
    FwInstallWindowThreadHooks();
    return state;
}

MSG& AFXAPI AfxGetCurrentMessageRecord() { return FwGetThreadState()->m_lastSentMsg; }

void AFXAPI AfxDeleteTempMaps() { FwGetThreadState()->DeleteTemporaries(); }

// ---------------------------------------------------------------------------
// Window classes

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // One class per attribute set; the name encodes the attributes, as
    // several windows may ask for the same set.
    static thread_local wchar_t name[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        wsprintfW(name, L"Fw:%p:%x", (void*)hInst, nClassStyle);
    else
        wsprintfW(name, L"Fw:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground,
                  (void*)hIcon);
    WNDCLASSW wc;
    if (::GetClassInfoW(hInst, name, &wc))
        return name;
    wc = WNDCLASSW();
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = name;
    // Another thread may have registered the same class meanwhile.
    if (!::RegisterClassW(&wc) && !::GetClassInfoW(hInst, name, &wc))
        AfxThrowResourceException();
    return name;
}

// ---------------------------------------------------------------------------
// Window procedure

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    FwThreadState* pState = FwGetThreadState();
    MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);

    // A class whose WM_NCDESTROY handler skipped CWnd::OnNcDestroy still
    // loses its window here, so no object is left pointing at a dead handle.
    if (nMsg == WM_NCDESTROY && pState->m_windows.LookupPermanent(hWnd) == pWnd)
        pWnd->FinishNcDestroy(hWnd);

    pState->m_lastSentMsg = saved;
    return lResult;
}

// Attaches the object waiting in CreateEx to the first window the thread creates.
static LRESULT CALLBACK FwCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    FwThreadState* pState = FwGetThreadState();
    if (code == HCBT_CREATEWND && pState->m_pWndInit != NULL)
    {
        HWND hWnd = (HWND)wParam;
        wchar_t cls[32] = L"";
        ::GetClassNameW(hWnd, cls, _countof(cls));
        // Input-method windows can appear first; they are not ours.
        if (lstrcmpiW(cls, L"IME") != 0 && lstrcmpiW(cls, L"MSCTFIME UI") != 0)
        {
            CWnd* pWnd = pState->m_pWndInit;
            pState->m_pWndInit = NULL;
            pWnd->SubclassWindow(hWnd);
        }
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// Installs the creation hook for the duration of one window creation.
class FwCreationHook
{
public:
    explicit FwCreationHook(CWnd* pWnd)
    {
        m_pState = FwGetThreadState();
        m_pSaved = m_pState->m_pWndInit;
        m_pState->m_pWndInit = pWnd;
        m_hHook = ::SetWindowsHookExW(WH_CBT, FwCbtFilterHook, NULL, ::GetCurrentThreadId());
    }
    ~FwCreationHook()
    {
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
        m_pState->m_pWndInit = m_pSaved;
    }
    bool Installed() const { return m_hHook != NULL; }

private:
    FwThreadState* m_pState;
    CWnd* m_pSaved;
    HHOOK m_hHook;
};

BOOL AFXAPI FwCreateDialogIndirect(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, HINSTANCE hInst,
                                   DLGPROC lpDialogFunc)
{
    FwCreationHook hook(pWnd);
    if (!hook.Installed())
        return FALSE;
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpTemplate, hWndParent, lpDialogFunc, 0);
    return hWnd != NULL && pWnd->m_hWnd == hWnd;
}

// ---------------------------------------------------------------------------
// CWnd: construction and the handle map

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() : m_hWnd(NULL), m_nFlags(0), m_pfnSuper(NULL), m_nModalResult(0) {}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && FwGetThreadState()->m_windows.LookupPermanent(m_hWnd) == this)
    {
        // The window must not outlive the object its procedure points at.
        if (!::DestroyWindow(m_hWnd) && m_hWnd != NULL)
            UnsubclassWindow();
    }
    if (m_hWnd != NULL)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? FwGetThreadState()->m_windows.LookupPermanent(hWnd) : NULL;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    FwThreadState* pState = FwGetThreadState();
    return pState->m_windows.FromHandle(hWnd, pState->m_nModalDepth, [](HWND h) {
        CWnd* p = new CWnd;
        p->m_hWnd = h;
        return p;
    });
}

void CWnd::DeleteTempMap() { AfxDeleteTempMaps(); }

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    FwThreadState* pState = FwGetThreadState();
    if (pState->m_windows.LookupPermanent(hWndNew) != NULL)
        return FALSE; // another object owns this window
    pState->m_windows.SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL)
        FwGetThreadState()->m_windows.RemovePermanent(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC oldProc = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (oldProc != AfxWndProc)
        *GetSuperWndProcAddr() = oldProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(FwSafeHandle(pParent), nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn != NULL && (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*lplpfn);
    *lplpfn = NULL;
    return Detach();
}

// ---------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), NULL);
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, FwSafeHandle(pParentWnd),
                    (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWnd;
    {
        FwCreationHook hook(this);
        if (!hook.Installed())
            return FALSE;
        hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    return hWnd != NULL && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::OnNcDestroy()
{
    Default();
    FinishNcDestroy(m_hWnd);
}

void CWnd::FinishNcDestroy(HWND hWnd)
{
    // The main window of a user-interface thread ends that thread's loop.
    FwOnWindowDestroyed(this);
    if (m_hWnd == hWnd)
        UnsubclassWindow();
    PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Message dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    BOOL handled;
    if (message == WM_COMMAND)
    {
        handled = OnCommand(wParam, lParam);
        lResult = 1;
    }
    else if (message == WM_NOTIFY)
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        handled = pNMHDR != NULL && pNMHDR->hwndFrom != NULL && OnNotify(wParam, lParam, &lResult);
    }
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        handled = DispatchMsgMap(WM_CTLCOLOR, 0, 0, message, wParam, lParam, &lResult);
    else
        handled = DispatchMsgMap(message, 0, 0, message, wParam, lParam, &lResult);
    if (handled && pResult)
        *pResult = lResult;
    return handled;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnSuper = *GetSuperWndProcAddr();
    if (pfnSuper != NULL)
        return ::CallWindowProcW(pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = FwGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &FwGetThreadState()->m_lastSentMsg; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    if (hWndCtrl != NULL)
    {
        if (ReflectLastMsg(hWndCtrl))
            return TRUE; // the control handled its own notification
    }
    else
        nCode = 0; // menus and accelerators are plain commands
    return DispatchMsgMap(WM_COMMAND, nCode, nID, WM_COMMAND, wParam, lParam, NULL);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (ReflectLastMsg(pNMHDR->hwndFrom, pResult))
        return TRUE;
    return DispatchMsgMap(WM_NOTIFY, pNMHDR->code, (UINT)pNMHDR->idFrom, WM_NOTIFY, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == NULL)
        return FALSE;
    const MSG& msg = FwGetThreadState()->m_lastSentMsg;
    return pChild->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_COMMAND:
        return DispatchMsgMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, WM_COMMAND, wParam, lParam, pResult);
    case WM_NOTIFY:
        return DispatchMsgMap(WM_REFLECT_BASE + WM_NOTIFY, ((NMHDR*)lParam)->code, 0, WM_NOTIFY, wParam, lParam,
                              pResult);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // Reflected as (hdc, colour type).
        return DispatchMsgMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, WM_REFLECT_BASE + WM_CTLCOLOR, wParam,
                              message - WM_CTLCOLORMSGBOX, pResult);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return DispatchMsgMap(WM_REFLECT_BASE + message, 0, 0, WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// CWnd's own map: the messages that are reflected to the control first.

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_COMPAREITEM()
ON_WM_DELETEITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU)
    {
        if (CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem))
        {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else if (ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU)
    {
        if (CMenu* pMenu = CMenu::FindOwnerOfItem(lpMeasureItemStruct->itemID))
        {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    else if (CWnd* pChild = FromHandlePermanent(::GetDlgItem(m_hWnd, lpMeasureItemStruct->CtlID)))
    {
        const MSG& msg = FwGetThreadState()->m_lastSentMsg;
        if (pChild->OnChildNotify(msg.message, msg.wParam, msg.lParam, NULL))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (!ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar == NULL || !ReflectLastMsg(pScrollBar->m_hWnd))
        Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar == NULL || !ReflectLastMsg(pScrollBar->m_hWnd))
        Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL)
{
    FwGetThreadState()->m_hTrackingMenu = FwSafeHandle(pPopupMenu);
    Default();
}

// ---------------------------------------------------------------------------
// Pre-translation and modal loops

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessage(m_hWnd, WM_NULL, 0, 0); // wakes the loop
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    HWND hWndSelf = m_hWnd;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    FwThreadState* pState = FwGetThreadState();
    int nDepth = ++pState->m_nModalDepth;
    int nResult = m_nModalResult;
    MSG msg;
    for (;;)
    {
        // Idle: show the window once everything queued so far is handled,
        // then free the temporary objects made by this loop's messages.
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (bShowIdle)
            {
                ::ShowWindow(hWndSelf, SW_SHOWNORMAL);
                ::UpdateWindow(hWndSelf);
                bShowIdle = FALSE;
            }
            pState->DeleteTemporaries(nDepth);
        }
        if (!AfxPumpMessage())
        {
            // WM_QUIT ends the loop and goes back in the queue for the outer one.
            AfxPostQuitMessage((int)pState->m_msgCur.wParam);
            nResult = -1;
            break;
        }
        if (!ContinueModal())
        {
            nResult = m_nModalResult;
            break;
        }
        if (!::IsWindow(hWndSelf))
            break; // destroyed without ending the loop
    }
    // Whatever this loop's messages made goes with it.
    pState->DeleteTemporaries(nDepth);
    --pState->m_nModalDepth;
    if (::IsWindow(hWndSelf))
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return nResult;
}

// ---------------------------------------------------------------------------
// Attributes

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void AFXAPI AfxGetWindowText(HWND hWnd, CString& rString)
{
    int nLen = ::GetWindowTextLengthW(hWnd);
    int nGot = ::GetWindowTextW(hWnd, rString.GetBuffer(nLen), nLen + 1);
    rString.ReleaseBuffer(nGot);
}

void AFXAPI AfxSetWindowText(HWND hWnd, LPCTSTR lpszNew)
{
    if (::GetWindowTextLengthW(hWnd) == lstrlenW(lpszNew))
    {
        CString current;
        AfxGetWindowText(hWnd, current);
        if (current == lpszNew)
            return;
    }
    ::SetWindowTextW(hWnd, lpszNew);
}

void CWnd::GetWindowText(CString& rString) const { AfxGetWindowText(m_hWnd, rString); }

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (HWND hWnd = ::GetDlgItem(m_hWnd, nID))
        AfxGetWindowText(hWnd, rString);
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)FwSafeHandle(pFont), bRedraw);
}

CFont* CWnd::GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }

void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)lpRect, 2); }

void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)lpRect, 2); }

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd
                      : (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                                : ::GetWindow(m_hWnd, GW_OWNER);
    CRect rcWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    CRect rcCenter, rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    if (hWndCenter != NULL && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
        ::GetWindowRect(hWndCenter, &rcCenter);
    else
        rcCenter = rcWork;
    int x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    CRect rcArea = rcWork;
    if (GetStyle() & WS_CHILD)
    {
        // Child windows centre in their parent's client coordinates.
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == hWndParent)
            rcCenter = rcArea;
        else
            ::MapWindowPoints(NULL, hWndParent, (LPPOINT)&rcCenter, 2);
        x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
        y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    }
    // Keep the window inside the area.
    if (x + rcDlg.Width() > rcArea.right)
        x = rcArea.right - rcDlg.Width();
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + rcDlg.Height() > rcArea.bottom)
        y = rcArea.bottom - rcDlg.Height();
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) { ::InvalidateRgn(m_hWnd, (HRGN)FwSafeHandle(pRgn), bErase); }

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)FwSafeHandle(prgnUpdate), flags);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, FwSafeHandle(pDC)); }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

CWnd* CWnd::GetOwner() const
{
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(hOwner ? hOwner : ::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hWnd = m_hWnd;
    while (hWnd != NULL && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return FromHandle(hWnd);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, FwSafeHandle(pMenu)); }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        ::SendMessageW(hChild, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(hChild) != NULL)
            FromHandle(hChild)->SendMessageToDescendants(message, wParam, lParam, bDeep);
    }
}

BOOL CWnd::GrayCtlColor(HDC hDC, HWND, UINT nCtlColor, HBRUSH hbrGray, COLORREF clrText)
{
    if (hDC == NULL || hbrGray == NULL)
        return FALSE;
    if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX || nCtlColor == CTLCOLOR_MSGBOX)
        return FALSE; // edit and list parts keep their window colours
    LOGBRUSH lb;
    if (::GetObjectW(hbrGray, sizeof(lb), &lb))
        ::SetBkColor(hDC, lb.lbColor);
    ::SetTextColor(hDC, clrText == (COLORREF)-1 ? ::GetSysColor(COLOR_WINDOWTEXT) : clrText);
    ::SetBkMode(hDC, TRANSPARENT);
    return TRUE;
}
