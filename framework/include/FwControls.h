// Thin wrappers of the standard, common and rich-edit controls. Each method
// sends the control message it names. Owner-drawn controls get their
// WM_DRAWITEM / WM_MEASUREITEM / WM_COMPAREITEM / WM_DELETEITEM back from the
// parent (reflection) as calls of the virtual DrawItem, MeasureItem,
// CompareItem and DeleteItem.
#pragma once
#include "FwWnd.h"
#include "FwImageList.h"
#include <commctrl.h>
#include <richedit.h>

// Base of the controls with owner-draw virtuals: routes the reflected
// owner-draw messages to them (after any _REFLECT entry of the class's map).
class FwOwnerDrawCtrl : public CWnd
{
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CButton : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
    }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, nCheck); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(BM_GETIMAGE, IMAGE_BITMAP); }
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(BM_GETIMAGE, IMAGE_ICON); }
};

class CStatic : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff)
    {
        return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
    }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"EDIT", NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE)
    {
        SendMessage(EM_SETSEL, nStartChar, nEndChar);
        if (!bNoScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE)
    {
        SetSel((int)(short)LOWORD(dwSelection), (int)(short)HIWORD(dwSelection), bNoScroll);
    }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
    void GetSel(int& nStartChar, int& nEndChar) const
    {
        SendMessage(EM_GETSEL, (WPARAM)&nStartChar, (LPARAM)&nEndChar);
    }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, nChars); }
    void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT); }
    void SetMargins(UINT nLeft, UINT nRight)
    {
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
    }
    DWORD GetMargins() const { return (DWORD)SendMessage(EM_GETMARGINS); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
    void SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, ch); }
    TCHAR GetPasswordChar() const { return (TCHAR)SendMessage(EM_GETPASSWORDCHAR); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int LineIndex(int nLine = -1) const { return (int)SendMessage(EM_LINEINDEX, nLine); }
    int LineLength(int nLine = -1) const { return (int)SendMessage(EM_LINELENGTH, nLine); }
    int LineFromChar(int nIndex = -1) const { return (int)SendMessage(EM_LINEFROMCHAR, nIndex); }
    void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, nChars, nLines); }
    int GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE); }
    void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, (LPARAM)lpRect); }
    void GetRect(LPRECT lpRect) const { SendMessage(EM_GETRECT, 0, (LPARAM)lpRect); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO); }
    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
    int CharFromPos(CPoint pt) const { return (int)SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)); }
    CPoint PosFromChar(UINT nChar) const { return CPoint((LPARAM)SendMessage(EM_POSFROMCHAR, nChar)); }
};

class CListBox : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int nSelect) { return (int)SendMessage(LB_SETCURSEL, nSelect); }
    int GetSel(int nIndex) const { return (int)SendMessage(LB_GETSEL, nIndex); }
    int SetSel(int nIndex, BOOL bSelect = TRUE) { return (int)SendMessage(LB_SETSEL, bSelect, nIndex); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const
    {
        return (int)SendMessage(LB_GETSELITEMS, nMaxItems, (LPARAM)rgIndex);
    }
    int AddString(LPCTSTR lpszItem) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int InsertString(int nIndex, LPCTSTR lpszItem) { return (int)SendMessage(LB_INSERTSTRING, nIndex, (LPARAM)lpszItem); }
    int DeleteString(UINT nIndex) { return (int)SendMessage(LB_DELETESTRING, nIndex); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetText(int nIndex, LPTSTR lpszBuffer) const { return (int)SendMessage(LB_GETTEXT, nIndex, (LPARAM)lpszBuffer); }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, nIndex); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, nIndex); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)SendMessage(LB_SETITEMDATA, nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int GetItemHeight(int nIndex) const { return (int)SendMessage(LB_GETITEMHEIGHT, nIndex); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)SendMessage(LB_SETITEMHEIGHT, nIndex, cyItemHeight); }
    int GetItemRect(int nIndex, LPRECT lpRect) const { return (int)SendMessage(LB_GETITEMRECT, nIndex, (LPARAM)lpRect); }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int nIndex) { return (int)SendMessage(LB_SETTOPINDEX, nIndex); }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX); }
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) { return (int)SendMessage(LB_SETCARETINDEX, nIndex, bScroll); }
    int FindString(int nStartAfter, LPCTSTR lpszItem) const
    {
        return (int)SendMessage(LB_FINDSTRING, nStartAfter, (LPARAM)lpszItem);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem)
    {
        return (int)SendMessage(LB_SELECTSTRING, nStartAfter, (LPARAM)lpszItem);
    }
    // Index of the item nearest pt; bOutside tells whether pt is outside it.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    void SetHorizontalExtent(int cxExtent) { SendMessage(LB_SETHORIZONTALEXTENT, cxExtent); }
};

class CComboBox : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int nSelect) { return (int)SendMessage(CB_SETCURSEL, nSelect); }
    int AddString(LPCTSTR lpszString) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString); }
    int InsertString(int nIndex, LPCTSTR lpszString) { return (int)SendMessage(CB_INSERTSTRING, nIndex, (LPARAM)lpszString); }
    int DeleteString(UINT nIndex) { return (int)SendMessage(CB_DELETESTRING, nIndex); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetLBText(int nIndex, LPTSTR lpszText) const { return (int)SendMessage(CB_GETLBTEXT, nIndex, (LPARAM)lpszText); }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const { return (int)SendMessage(CB_GETLBTEXTLEN, nIndex); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, nIndex); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)SendMessage(CB_SETITEMDATA, nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int FindString(int nStartAfter, LPCTSTR lpszString) const
    {
        return (int)SendMessage(CB_FINDSTRING, nStartAfter, (LPARAM)lpszString);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_SELECTSTRING, nStartAfter, (LPARAM)lpszString);
    }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    void GetDroppedControlRect(LPRECT lprect) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)lprect); }
    int SetDroppedWidth(UINT nWidth) { return (int)SendMessage(CB_SETDROPPEDWIDTH, nWidth); }
    int GetItemHeight(int nIndex) const { return (int)SendMessage(CB_GETITEMHEIGHT, nIndex); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)SendMessage(CB_SETITEMHEIGHT, nIndex, cyItemHeight); }
    BOOL LimitText(int nMaxChars) { return (BOOL)SendMessage(CB_LIMITTEXT, nMaxChars); }
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL); }
    BOOL SetEditSel(int nStartChar, int nEndChar) { return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(nStartChar, nEndChar)); }
};

class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
    }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        return ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL)
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        lpScrollInfo->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
    }
    int GetScrollLimit();
    void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(PROGRESS_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, nPos); }
    int OffsetPos(int nPos) { return (int)SendMessage(PBM_DELTAPOS, nPos); }
    int SetStep(int nStep) { return (int)SendMessage(PBM_SETSTEP, nStep); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    COLORREF SetBkColor(COLORREF clrNew) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, clrNew); }
    COLORREF SetBarColor(COLORREF clrBar) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, clrBar); }
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(TRACKBAR_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
        SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void GetRange(int& nMin, int& nMax) const { nMin = GetRangeMin(), nMax = GetRangeMax(); }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, nFreq); }
    int SetLineSize(int nSize) { return (int)SendMessage(TBM_SETLINESIZE, 0, nSize); }
    int SetPageSize(int nSize) { return (int)SendMessage(TBM_SETPAGESIZE, 0, nSize); }
    void GetChannelRect(LPRECT lprc) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)lprc); }
    void GetThumbRect(LPRECT lprc) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)lprc); }
};

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(UPDOWN_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
    int SetPos(int nPos) { return (int)SendMessage(UDM_SETPOS32, 0, nPos); }
    int GetPos() const { return (int)SendMessage(UDM_GETPOS32); }
    CWnd* SetBuddy(CWnd* pWndBuddy) { return FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)FwSafeHandle(pWndBuddy))); }
    CWnd* GetBuddy() const { return FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
    int SetBase(int nBase) { return (int)SendMessage(UDM_SETBASE, nBase); }
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    // Tool = a window (nIDTool 0: the whole window) or a rectangle of it.
    // The owner passes its mouse messages to RelayEvent (from PreTranslateMessage).
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    BOOL GetToolInfo(TTTOOLINFOW& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TTTOOLINFOW* pToolInfo) { SendMessage(TTM_SETTOOLINFOW, 0, (LPARAM)pToolInfo); }
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth); }
    void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int GetDelayTime(DWORD dwDuration) const { return (int)SendMessage(TTM_GETDELAYTIME, dwDuration); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    void SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, (LPARAM)lprc); }
    BOOL SetTitle(UINT uIcon, LPCTSTR lpstrTitle) { return (BOOL)SendMessage(TTM_SETTITLEW, uIcon, (LPARAM)lpstrTitle); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void TrackActivate(BOOL bActivate, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void TrackPosition(int xPos, int yPos) { SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(xPos, yPos)); }

protected:
    // A tool record of the size every comctl32 version accepts.
    static void InitToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool);
};

class CHeaderCtrl : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_HEADERW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return (BOOL)SendMessage(HDM_GETITEMRECT, nIndex, (LPARAM)lpRect); }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const { return (BOOL)SendMessage(HDM_GETITEMW, nPos, (LPARAM)pHeaderItem); }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem) { return (BOOL)SendMessage(HDM_SETITEMW, nPos, (LPARAM)pHeaderItem); }
    int InsertItem(int nPos, HDITEM* phdi) { return (int)SendMessage(HDM_INSERTITEMW, nPos, (LPARAM)phdi); }
    BOOL DeleteItem(int nPos) { return (BOOL)SendMessage(HDM_DELETEITEM, nPos); }
    BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) const
    {
        return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    int OrderToIndex(int nOrder) const { return (int)SendMessage(HDM_ORDERTOINDEX, nOrder); }
    BOOL GetOrderArray(LPINT piArray, int iCount) const
    {
        return (BOOL)SendMessage(HDM_GETORDERARRAY, iCount, (LPARAM)piArray);
    }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)FwSafeHandle(pImageList)));
    }
};

class CListCtrl : public FwOwnerDrawCtrl
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_LISTVIEWW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, nItems); }
    // Columns
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn) { return (int)SendMessage(LVM_INSERTCOLUMNW, nCol, (LPARAM)pColumn); }
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)SendMessage(LVM_DELETECOLUMN, nCol); }
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const { return (BOOL)SendMessage(LVM_GETCOLUMNW, nCol, (LPARAM)pColumn); }
    BOOL SetColumn(int nCol, const LVCOLUMNW* pColumn) { return (BOOL)SendMessage(LVM_SETCOLUMNW, nCol, (LPARAM)pColumn); }
    int GetColumnWidth(int nCol) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, nCol); }
    BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)); }
    CHeaderCtrl* GetHeaderCtrl() const { return (CHeaderCtrl*)FromHandle((HWND)SendMessage(LVM_GETHEADER)); }
    // Items
    int InsertItem(const LVITEMW* pItem) { return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    BOOL GetItem(LVITEMW* pItem) const { return (BOOL)SendMessage(LVM_GETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMW* pItem) { return (BOOL)SendMessage(LVM_SETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, nItem, nMask); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEMW* pItem) { return (BOOL)SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)pItem); }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) > 0; }
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE) { return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK); }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const { return (BOOL)SendMessage(LVM_GETITEMPOSITION, nItem, (LPARAM)lpPoint); }
    // Selection and search
    int GetNextItem(int nItem, int nFlags) const { return (int)SendMessage(LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0)); }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    POSITION GetFirstSelectedItemPosition() const { return (POSITION)(INT_PTR)(1 + GetNextItem(-1, LVNI_SELECTED)); }
    int GetNextSelectedItem(POSITION& pos) const;
    int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
    int SetSelectionMark(int iIndex) { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, iIndex); }
    int GetHotItem() const { return (int)SendMessage(LVM_GETHOTITEM); }
    int SetHotItem(int iIndex) { return (int)SendMessage(LVM_SETHOTITEM, iIndex); }
    int FindItem(LVFINDINFOW* pFindInfo, int nStart = -1) const
    {
        return (int)SendMessage(LVM_FINDITEMW, nStart, (LPARAM)pFindInfo);
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)pHitTestInfo); }
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo); }
    // View
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)dwData, (LPARAM)pfnCompare);
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, nItem, bPartialOK); }
    BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)SendMessage(LVM_REDRAWITEMS, nFirst, nLast); }
    BOOL Update(int nItem) { return (BOOL)SendMessage(LVM_UPDATE, nItem); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    int GetStringWidth(LPCTSTR lpsz) const { return (int)SendMessage(LVM_GETSTRINGWIDTHW, 0, (LPARAM)lpsz); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD dwNewStyle) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, cr); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)SendMessage(LVM_GETTEXTBKCOLOR); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, cr); }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, nImageList));
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, nImageListType, (LPARAM)FwSafeHandle(pImageList)));
    }
    CEdit* EditLabel(int nItem) { return (CEdit*)FromHandle((HWND)SendMessage(LVM_EDITLABELW, nItem)); }
    CEdit* GetEditControl() const { return (CEdit*)FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL)); }
    // A new image list (the caller deletes it) showing the item being dragged.
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);
};

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_TREEVIEWW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    HTREEITEM InsertItem(LPTVINSERTSTRUCTW lpInsertStruct)
    {
        return (HTREEITEM)SendMessage(TVM_INSERTITEMW, 0, (LPARAM)lpInsertStruct);
    }
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL GetItem(TVITEMW* pItem) const { return (BOOL)SendMessage(TVM_GETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(TVITEMW* pItem) { return (BOOL)SendMessage(TVM_SETITEMW, 0, (LPARAM)pItem); }
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    BOOL GetCheck(HTREEITEM hItem) const { return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2; }
    BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE)
    {
        return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)hItem);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(NULL, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(NULL, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(NULL, TVGN_DROPHILITE); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(NULL, TVGN_FIRSTVISIBLE); }
    BOOL SelectItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)hItem); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)hItem); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    BOOL EnsureVisible(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }
    BOOL SortChildren(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)hItem); }
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = NULL) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const
    {
        return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, nImageListType, (LPARAM)FwSafeHandle(pImageList)));
    }
    CImageList* GetImageList(int nImageListType) const
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, nImageListType));
    }
    CEdit* EditLabel(HTREEITEM hItem) { return (CEdit*)FromHandle((HWND)SendMessage(TVM_EDITLABELW, 0, (LPARAM)hItem)); }
    COLORREF SetBkColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, clr); }
    COLORREF SetTextColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, clr); }
    // A new image list (the caller deletes it) showing the item being dragged.
    CImageList* CreateDragImage(HTREEITEM hItem);
};

class CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    // Needs AfxInitRichEdit2() first (loads the rich-edit library).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(RICHEDIT_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    DWORD GetEventMask() const { return (DWORD)SendMessage(EM_GETEVENTMASK); }
    DWORD SetEventMask(DWORD dwEventMask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, dwEventMask); }
    void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, (LPARAM)lpRect); }
    void GetRect(LPRECT lpRect) const { SendMessage(EM_GETRECT, 0, (LPARAM)lpRect); }
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
    long GetLimitText() const { return (long)SendMessage(EM_GETLIMITTEXT); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void SetSel(long nStartChar, long nEndChar);
    void SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr); }
    void GetSel(long& nStartChar, long& nEndChar) const;
    void GetSel(CHARRANGE& cr) const { SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr); }
    CString GetSelText() const;
    CString GetTextRange(long nFirst, long nLast) const;
    long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH); }
    BOOL SetDefaultCharFormat(CHARFORMAT2W& cf);
    BOOL SetSelectionCharFormat(CHARFORMAT2W& cf);
    BOOL SetWordCharFormat(CHARFORMAT2W& cf);
    DWORD GetDefaultCharFormat(CHARFORMAT2W& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMAT2W& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMATW& cf);
    BOOL SetSelectionCharFormat(CHARFORMATW& cf);
    BOOL SetParaFormat(PARAFORMAT2& pf);
    BOOL SetParaFormat(PARAFORMAT& pf);
    DWORD GetParaFormat(PARAFORMAT2& pf) const;
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr)
    {
        return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, bSysColor, cr);
    }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
    UINT SetOptions(WORD wOp, DWORD dwFlags) { return (UINT)SendMessage(EM_SETOPTIONS, wOp, dwFlags); }
    BOOL SetAutoURLDetect(BOOL bEnable = TRUE) { return !SendMessage(EM_AUTOURLDETECT, bEnable); }
    void HideSelection(BOOL bHide, BOOL bPerm) { SendMessage(EM_HIDESELECTION, bHide, bPerm); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    int GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE); }
    BOOL LineScroll(int nLines, int nChars = 0) { return (BOOL)SendMessage(EM_LINESCROLL, nChars, nLines); }
    int LineIndex(int nLine = -1) const { return (int)SendMessage(EM_LINEINDEX, nLine); }
    long LineFromChar(long nIndex) const { return (long)SendMessage(EM_EXLINEFROMCHAR, 0, nIndex); }
    CPoint PosFromChar(UINT nChar) const;
    int CharFromPos(CPoint pt) const { return (int)SendMessage(EM_CHARFROMPOS, 0, (LPARAM)&pt); }
    long FindText(DWORD dwFlags, FINDTEXTEXW* pFindText) const
    {
        return (long)SendMessage(EM_FINDTEXTEXW, dwFlags, (LPARAM)pFindText);
    }
    long StreamIn(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMIN, nFormat, (LPARAM)&es); }
    long StreamOut(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMOUT, nFormat, (LPARAM)&es); }
    void RequestResize() { SendMessage(EM_REQUESTRESIZE); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
};
