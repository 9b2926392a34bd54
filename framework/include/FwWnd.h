// CWnd: one object per window.
//
// How to write a window class
// ---------------------------
// 1. Derive from CWnd (or a control or CDialog), put DECLARE_MESSAGE_MAP() in
//    the class and declare the handlers as ordinary members with the cracked
//    signatures below (void OnPaint(), BOOL OnEraseBkgnd(CDC*), void
//    OnTimer(UINT_PTR), void OnSize(UINT, int, int), LRESULT OnMine(WPARAM,
//    LPARAM), HBRUSH OnCtlColor(CDC*, CWnd*, UINT), ...).
// 2. In the .cpp: BEGIN_MESSAGE_MAP(CMyWnd, CBaseWnd) ... END_MESSAGE_MAP()
//    with ON_WM_PAINT(), ON_MESSAGE(WM_USER + 5, &CMyWnd::OnMine),
//    ON_BN_CLICKED(IDC_OK, &CMyWnd::OnOk), ON_NOTIFY(NM_CLICK, IDC_LIST,
//    &CMyWnd::OnListClick) ... Messages without an entry fall back to the base
//    class's map and finally to the window's previous procedure (Default()).
// 3. A handler that wants the default processing calls the base handler
//    (CWnd::OnSize(nType, cx, cy)) or Default().
// 4. A control that handles its own notifications uses the _REFLECT entries
//    (ON_NOTIFY_REFLECT, ON_CONTROL_REFLECT, ON_WM_CTLCOLOR_REFLECT) or
//    overrides DrawItem / MeasureItem; its parent's CWnd::OnCommand /
//    OnNotify / OnCtlColor / OnDrawItem offer the message to it first.
// 5. Create the window with Create/CreateEx, or bind an existing one with
//    SubclassWindow / SubclassDlgItem / DDX_Control. The object must live as
//    long as the window; PostNcDestroy (called after WM_NCDESTROY) is where a
//    heap-allocated window deletes itself.
#pragma once
#include "FwMsgMap.h"
#include "FwGeometry.h"
#include "FwString.h"
#include "FwException.h"
#include "FwModule.h"

// The Win32 macro of this name would hide CWnd::GetNextWindow; ::GetWindow does the same.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

class CFont;
class CRgn;
class CMenu;
class CDC;
class CScrollBar;
struct CCreateContext;
class CDataExchange;

// CWnd::m_nFlags
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_OLECTLCONTAINER 0x0100
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_MODALDISABLE 0x0080

// Flags of RunModalLoop
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// The procedure every framework window has while it is attached to its object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Runs one message through pWnd's WindowProc with the thread's current-message
// record set (what Default() reads).
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The message the current thread's framework is handling (window, message,
// wParam, lParam, time, point). Code that calls handlers outside AfxWndProc
// saves, sets and restores it.
MSG& AFXAPI AfxGetCurrentMessageRecord();
// Deletes the temporary objects FromHandle made on this thread (windows, DCs,
// GDI objects, menus, image lists). Message loops call it when idle.
void AFXAPI AfxDeleteTempMaps();
// The whole text of a window.
void AFXAPI AfxGetWindowText(HWND hWnd, CString& rString);
// Sets a window's text unless it already is that text (no flicker, the
// selection of an edit control stays).
void AFXAPI AfxSetWindowText(HWND hWnd, LPCTSTR lpszNew);
// Temporary objects alive in the process (for checking the clean-up).
long AFXAPI FwTemporaryObjectCount();
// Registers (once) a window class with these attributes and returns its name.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = NULL, HBRUSH hbrBackground = NULL,
                                   HICON hIcon = NULL);

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;
    UINT m_nFlags;         // WF_ flags
    WNDPROC m_pfnSuper;    // the window's procedure before it was attached
    int m_nModalResult;    // result of RunModalLoop

    // The window's handle; a pointer that may be null goes through FwSafeHandle.
    operator HWND() const { return GetSafeHwnd(); }
    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // Handle map: the permanent object of a window of this thread, or a
    // temporary one (deleted when the thread is next idle) for any other.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attach and route the window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}

    // Creation
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy() {}

    // Message processing
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    virtual WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent offers a control's message to the control's object first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers the current message to the object of hWndChild.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to pMsg->hwnd's object and then to each parent up to
    // hWndStop (or the top); TRUE when one of them took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    static const MSG* GetCurrentMessage();
    virtual BOOL ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
    virtual void EndModalLoop(int nResult);
    int RunModalLoop(DWORD dwFlags = 0);
    // A modal window owned by this one begins / ends: disables / enables it.
    virtual void BeginModalState() { ::EnableWindow(m_hWnd, FALSE); }
    virtual void EndModalState() { ::EnableWindow(m_hWnd, TRUE); }

    // Data exchange between the window's controls and the object's members
    // (DDX_ calls in DoDataExchange). FALSE when a value failed validation.
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Prepares hDC for a control drawn over the hbrGray background; FALSE
    // (nothing changed) for edit and list colours.
    static BOOL GrayCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor, HBRUSH hbrGray, COLORREF clrText);

    // Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);

    // Styles
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0)
    {
        return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0)
    {
        return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // Text and font
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
    {
        return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount);
    }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Size and position
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
    {
        ::MapWindowPoints(m_hWnd, FwSafeHandle(pwndTo), lpPoint, nCount);
    }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, FwSafeHandle(pwndTo), (LPPOINT)lpRect, 2);
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, FwSafeHandle(pWndInsertAfter), x, y, cx, cy, nFlags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    // Centres the window over its owner (or pAlternateOwner), else the work area.
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    int GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }

    // Visibility and painting
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessage(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return (HICON)::SendMessage(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    HICON GetIcon(BOOL bBigIcon) const
    {
        return (HICON)::SendMessage(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0);
    }
    BOOL SetLayeredWindowAttributes(COLORREF crKey, BYTE bAlpha, DWORD dwFlags)
    {
        return ::SetLayeredWindowAttributes(m_hWnd, crKey, bAlpha, dwFlags);
    }
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

    // State
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName)
    {
        return FromHandle(::FindWindow(lpszClassName, lpszWindowName));
    }
    void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }

    // Relatives
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, FwSafeHandle(pWndNewParent))); }
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd) { ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)FwSafeHandle(pOwnerWnd)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return GetWindow(nFlag); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, FwSafeHandle(pWnd)); }
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = CWP_ALL) const
    {
        return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
    }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

    // Dialog items
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtr(m_hWnd, GWLP_ID, nID); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck)
    {
        ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
    }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
    }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, FwSafeHandle(pWndCtl), bPrevious));
    }
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, FwSafeHandle(pWndCtl), bPrevious));
    }

    // Scrolling
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
    }
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
    {
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
    }
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        return ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    }
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL)
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        lpScrollInfo->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
    }
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL)
    {
        ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
    }

    // Handlers with their default processing (the message's Default()).
    // CWnd's own map routes the owner-draw, colour and scroll messages so that
    // they are reflected to the control's object first.
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }
    int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    BOOL OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
    void OnDestroy() { Default(); }
    void OnNcDestroy();
    void OnClose() { Default(); }
    LRESULT OnNcHitTest(CPoint) { return Default(); }
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
    void OnNcLButtonDown(UINT, CPoint) { Default(); }
    void OnNcLButtonUp(UINT, CPoint) { Default(); }
    void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
    void OnNcRButtonDown(UINT, CPoint) { Default(); }
    void OnNcRButtonUp(UINT, CPoint) { Default(); }
    void OnNcMouseMove(UINT, CPoint) { Default(); }
    void OnNcMouseLeave() { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnSizing(UINT, LPRECT) { Default(); }
    void OnMoving(UINT, LPRECT) { Default(); }
    void OnEnterSizeMove() { Default(); }
    void OnExitSizeMove() { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnActivateApp(BOOL, DWORD) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnHotKey(UINT, UINT, UINT) { Default(); }
    HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    BOOL OnQueryOpen() { return (BOOL)Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonDblClk(UINT, CPoint) { Default(); }
    void OnMButtonDown(UINT, CPoint) { Default(); }
    void OnMButtonUp(UINT, CPoint) { Default(); }
    void OnMButtonDblClk(UINT, CPoint) { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    void OnMouseHover(UINT, CPoint) { Default(); }
    void OnMouseLeave() { Default(); }
    int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
    void OnHScroll(UINT, UINT, CScrollBar* pScrollBar);
    void OnVScroll(UINT, UINT, CScrollBar* pScrollBar);
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnCaptureChanged(CWnd*) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
    void OnSysChar(UINT, UINT, UINT) { Default(); }
    void OnEnable(BOOL) { Default(); }
    void OnSettingChange(UINT, LPCTSTR) { Default(); }
    void OnSysColorChange() { Default(); }
    LRESULT OnThemeChanged() { return Default(); }
    UINT OnGetDlgCode() { return (UINT)Default(); }
    void OnCancelMode() { Default(); }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL);
    LRESULT OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
    void OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
    void OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
    void OnDropFiles(HDROP) { Default(); }
    BOOL OnQueryEndSession() { return (BOOL)Default(); }
    void OnEndSession(BOOL) { Default(); }

    DECLARE_MESSAGE_MAP()

protected:
    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    // Ends the object's tie to a window that is going away (WM_NCDESTROY).
    void FinishNcDestroy(HWND hWnd);
};

inline HWND FwSafeHandle(const CWnd* p)
{
    return p ? p->m_hWnd : NULL;
}

namespace FwThunk
{
// void f(T*) with the pointer in lParam (MINMAXINFO*, WINDOWPOS*).
template <class T>
BOOL PointerArg(CCmdTarget* t, AFX_PMSG pfn, UINT, WPARAM, LPARAM l, LRESULT*)
{
    (static_cast<CWnd*>(t)->*reinterpret_cast<void (CWnd::*)(T*)>(pfn))((T*)l);
    return TRUE;
}
} // namespace FwThunk
