// Controls: the members that need more than one message.
#include "FwControls.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL FwOwnerDrawCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // A _REFLECT entry of the class's map comes first.
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    LRESULT lResult = TRUE;
    switch (message)
    {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case WM_DELETEITEM:
        DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

// ---------------------------------------------------------------------------

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength <= 0)
        return 0;
    // EM_GETLINE takes the buffer size in its first word and does not
    // terminate the text.
    if (nMaxLength == 1)
    {
        lpszBuffer[0] = 0;
        return 0;
    }
    *(WORD*)lpszBuffer = (WORD)std::min(nMaxLength - 1, 0xFFFF);
    int n = (int)SendMessage(EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
    lpszBuffer[n] = 0;
    return n;
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR)
    {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer();
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD r = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR)
    {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer();
}

int CScrollBar::GetScrollLimit()
{
    SCROLLINFO si = {};
    if (!GetScrollInfo(&si, SIF_RANGE | SIF_PAGE))
        return 0;
    return si.nMax - (si.nPage > 0 ? (int)si.nPage - 1 : 0);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
    nLower = range.iLow;
    nUpper = range.iHigh;
}

// ---------------------------------------------------------------------------
// Tool tips

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, FwSafeHandle(pParentWnd), NULL, NULL);
}

void CToolTipCtrl::InitToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool)
{
    ti = TTTOOLINFOW();
    // Without a version-6 manifest the control only accepts the older size.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    HWND hWnd = FwSafeHandle(pWnd);
    if (nIDTool == 0)
    {
        // The whole window is the tool; its parent gets the notifications.
        HWND hParent = ::GetParent(hWnd);
        ti.hwnd = hParent ? hParent : hWnd;
        ti.uId = (UINT_PTR)hWnd;
        ti.uFlags = TTF_IDISHWND;
    }
    else
    {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    InitToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = (LPWSTR)lpszText;
    ti.hinst = IS_INTRESOURCE(lpszText) && lpszText != LPSTR_TEXTCALLBACKW ? AfxGetResourceHandle() : NULL;
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(ti.hwnd, &ti.rect);
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    return AddTool(pWnd, MAKEINTRESOURCEW(nIDText), lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    InitToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    InitToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = (LPWSTR)lpszText;
    SendMessage(TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TTTOOLINFOW ti;
    InitToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTW, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::GetToolInfo(TTTOOLINFOW& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    InitToolInfo(ToolInfo, pWnd, nIDTool);
    return (BOOL)SendMessage(TTM_GETTOOLINFOW, 0, (LPARAM)&ToolInfo);
}

void CToolTipCtrl::TrackActivate(BOOL bActivate, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    InitToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_TRACKACTIVATE, bActivate, (LPARAM)&ti);
}

// ---------------------------------------------------------------------------
// List view

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = (LPWSTR)lpszColumnHeading;
    column.fmt = nFormat;
    if (nWidth != -1)
    {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1)
    {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = (LPWSTR)lpszItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = (LPWSTR)lpszItem;
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer size; grow until the text fits.
    CString text;
    for (int nSize = 256;; nSize *= 2)
    {
        LVITEMW item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = nSize;
        item.pszText = text.GetBuffer(nSize);
        int nLen = (int)SendMessage(LVM_GETITEMTEXTW, nItem, (LPARAM)&item);
        text.ReleaseBuffer(nLen);
        if (nLen < nSize - 1 || nSize >= (1 << 20))
            return text;
    }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return (int)SendMessage(LVM_GETITEMTEXTW, nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = (LPWSTR)lpszText;
    return (BOOL)SendMessage(LVM_SETITEMTEXTW, nItem, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = nCode;
    return (BOOL)SendMessage(LVM_GETITEMRECT, nItem, (LPARAM)lpRect);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    ref.top = iSubItem;
    ref.left = nArea;
    return (BOOL)SendMessage(LVM_GETSUBITEMRECT, iItem, (LPARAM)(LPRECT)&ref);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    // The position is the item index plus one (0 ends the walk).
    int nItem = (int)(INT_PTR)pos - 1;
    pos = (POSITION)(INT_PTR)(1 + GetNextItem(nItem, LVNI_SELECTED));
    return nItem;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int nItem = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&info);
    if (pFlags != NULL)
        *pFlags = info.flags;
    return nItem;
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint)
{
    HIMAGELIST hImageList = (HIMAGELIST)SendMessage(LVM_CREATEDRAGIMAGE, nItem, (LPARAM)lpPoint);
    if (hImageList == NULL)
        return NULL;
    CImageList* pImageList = new CImageList;
    pImageList->Attach(hImageList);
    return pImageList;
}

// ---------------------------------------------------------------------------
// Tree view

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = (LPWSTR)lpszItem;
    return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = (LPWSTR)lpszItem;
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    return InsertItem(&tvis);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    CString text;
    for (int nSize = 256;; nSize *= 2)
    {
        TVITEMW item = {};
        item.hItem = hItem;
        item.mask = TVIF_TEXT;
        item.cchTextMax = nSize;
        item.pszText = text.GetBuffer(nSize);
        if (!GetItem(&item))
        {
            text.ReleaseBuffer(0);
            return text;
        }
        text.ReleaseBuffer();
        if (text.GetLength() < nSize - 1 || nSize >= (1 << 20))
            return text;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem)
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = (LPWSTR)lpszItem;
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)hItem, nStateMask);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_STATE;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    if (!GetItem(&item))
        return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return SetItem(&item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEMW item = {};
    item.hItem = hItem;
    item.mask = TVIF_CHILDREN;
    return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    *(HTREEITEM*)lpRect = hItem;
    return (BOOL)SendMessage(TVM_GETITEMRECT, bTextOnly, (LPARAM)lpRect);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    HTREEITEM hItem = HitTest(&info);
    if (pFlags != NULL)
        *pFlags = info.flags;
    return hItem;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    HIMAGELIST hImageList = (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem);
    if (hImageList == NULL)
        return NULL;
    CImageList* pImageList = new CImageList;
    pImageList->Attach(hImageList);
    return pImageList;
}

// ---------------------------------------------------------------------------
// Rich edit

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = {nStartChar, nEndChar};
    SetSel(cr);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr = {0, 0};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr = {0, 0};
    GetSel(cr);
    return GetTextRange(cr.cpMin, cr.cpMax);
}

CString CRichEditCtrl::GetTextRange(long nFirst, long nLast) const
{
    CString text;
    if (nLast < 0)
        nLast = GetTextLength();
    if (nLast <= nFirst || nFirst < 0)
        return text;
    TEXTRANGEW tr;
    tr.chrg.cpMin = nFirst;
    tr.chrg.cpMax = nLast;
    tr.lpstrText = text.GetBuffer(nLast - nFirst);
    long n = (long)SendMessage(EM_GETTEXTRANGE, 0, (LPARAM)&tr);
    text.ReleaseBuffer(n);
    return text;
}

// Format records carry their own size, which the control checks.
template <class T> static LRESULT SendSized(const CRichEditCtrl* pCtrl, UINT message, WPARAM wParam, T& record)
{
    record.cbSize = sizeof(record);
    return pCtrl->SendMessage(message, wParam, (LPARAM)&record);
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT2W& cf) { return (BOOL)SendSized(this, EM_SETCHARFORMAT, SCF_DEFAULT, cf); }
BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMATW& cf) { return (BOOL)SendSized(this, EM_SETCHARFORMAT, SCF_DEFAULT, cf); }
BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT2W& cf)
{
    return (BOOL)SendSized(this, EM_SETCHARFORMAT, SCF_SELECTION, cf);
}
BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMATW& cf)
{
    return (BOOL)SendSized(this, EM_SETCHARFORMAT, SCF_SELECTION, cf);
}
BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT2W& cf)
{
    return (BOOL)SendSized(this, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, cf);
}
DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT2W& cf) const
{
    return (DWORD)SendSized(this, EM_GETCHARFORMAT, SCF_DEFAULT, cf);
}
DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT2W& cf) const
{
    return (DWORD)SendSized(this, EM_GETCHARFORMAT, SCF_SELECTION, cf);
}
BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf) { return (BOOL)SendSized(this, EM_SETPARAFORMAT, 0, pf); }
BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT2& pf) { return (BOOL)SendSized(this, EM_SETPARAFORMAT, 0, pf); }
DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT2& pf) const { return (DWORD)SendSized(this, EM_GETPARAFORMAT, 0, pf); }

CPoint CRichEditCtrl::PosFromChar(UINT nChar) const
{
    POINTL pt = {0, 0};
    SendMessage(EM_POSFROMCHAR, (WPARAM)&pt, nChar);
    return CPoint(pt.x, pt.y);
}
