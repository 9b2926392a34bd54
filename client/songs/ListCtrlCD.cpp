#include "ListCtrlCD.h"

#include "DlgAnimation.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "LayeredFrame.h"
#include "OwnerDrawnList.h"
#include "SongListTexts.h"
#include "resource.h"

#include <algorithm>

namespace
{
const UINT kTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS;
}

BEGIN_MESSAGE_MAP(CListCtrlCD, CDropListCtrl)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CListCtrlCD::OnDeleteItemReflect)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CListCtrlCD::CListCtrlCD()
    : m_nAlpha(180), m_fontSource(NULL), m_hPlayingIcon(NULL), m_hHand(NULL), m_nEditedRow(-1),
      m_pEditor(NULL), m_timerScroll(0), m_nScrollDirection(0), m_pAnimation(NULL), m_hDecoder(NULL), m_hDib(NULL),
      m_nFrame(0)
{
}

CListCtrlCD::~CListCtrlCD()
{
    if (m_hDib)
        ImgDeleteDIBSection(m_hDib);
    if (m_hDecoder)
        ImgDeleteDecoder(m_hDecoder);
    if (m_pAnimation)
        m_pAnimation->CloseAndDelete();
    delete m_pEditor;
}

void CListCtrlCD::PreSubclassWindow()
{
    CDropListCtrl::PreSubclassWindow();
    m_hHand = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    if (HWND header = ListView_GetHeader(m_hWnd))
    {
        m_header.SubclassWindow(header);
        m_header.m_bLocked = TRUE;
    }
    if (m_tip.Create(this, FALSE))
    {
        m_tip.SetNotifyWindow(m_hWnd);
        ResetTool();
    }
    // A layered window cannot be a child window on every system this runs
    // on, so the animation is a pop-up that the main window places over the
    // list. Its first frame is drawn when the animation is first asked for.
    m_pAnimation = new CDlgAnimation(this);
    if (!m_pAnimation->CreateHidden())
    {
        m_pAnimation->CloseAndDelete();
        m_pAnimation = NULL;
    }
    m_nAlpha = 255;

    m_pEditor = new CInPlaceEdit;
    CRect none(0, 0, 0, 0);
    if (!m_pEditor->Create(WS_CHILD | WS_BORDER, none, this, EDITOR_ID))
    {
        delete m_pEditor;
        m_pEditor = NULL;
    }
    else
        m_pEditor->SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), 0);

    OwnerDrawnList::AskRowHeight(this);
}

void CListCtrlCD::ResetTool()
{
    OwnerDrawnList::ResetWholeTool(this, m_tip);
}

int CListCtrlCD::InsertRow(int index, CDListItem* record)
{
    return OwnerDrawnList::InsertRecordRow(*this, index, record, record->name);
}

CDListItem* CListCtrlCD::GetRow(int row) const
{
    return OwnerDrawnList::RecordAt<CDListItem>(*this, row);
}

void CListCtrlCD::OnDeleteItemReflect(NMHDR* hdr, LRESULT* result)
{
    NMLISTVIEW* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    delete reinterpret_cast<CDListItem*>(nm->lParam);
    if (nm->iItem == m_nEditedRow)
        m_nEditedRow = -1;
    *result = 0;
}

CString CListCtrlCD::GetListName(int row)
{
    CDListItem* record = GetRow(row);
    return record ? record->name : CString();
}

int CListCtrlCD::FindList(LPCWSTR name) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (CDListItem* record = GetRow(i))
            if (record->name == (name ? name : L""))
                return i;
    return -1;
}

BOOL CListCtrlCD::SetListName(int row, LPCWSTR text)
{
    CDListItem* record = GetRow(row);
    if (!record)
        return FALSE;
    record->name = text ? text : L"";
    SetItemText(row, 0, record->name);
    Update(row);
    return TRUE;
}

void CListCtrlCD::BeginRename(int row)
{
    if (m_nEditedRow >= 0 || !m_pEditor)
        return;
    if (row < 0)
        row = m_nCurrentRow;
    if (row < 0)
        return;
    if (row >= GetItemCount())
        row = GetItemCount();
    if (!GetRow(row))
        return;
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_nCurrentRow = row;
    m_nEditedRow = row;
    CRect rect, client;
    GetItemRect(row, &rect, LVIR_BOUNDS);
    GetClientRect(&client);
    rect.left = client.left + 25;
    rect.right = client.right - 2;
    rect.DeflateRect(0, 2);
    m_editRect = rect;
    CString name = GetListName(row);
    name.Trim();
    m_pEditor->SetWindowText(name);
    m_pEditor->ShowEdit(rect);
}

void CListCtrlCD::EndRename(BOOL cancel)
{
    if (m_pEditor)
    {
        m_pEditor->HideEdit();
        if (!cancel && GetRow(m_nEditedRow))
        {
            CString text;
            m_pEditor->GetWindowText(text);
            text.Trim();
            SetListName(m_nEditedRow, text);
        }
    }
    if (m_nEditedRow >= 0 && m_nEditedRow < GetItemCount())
        SetItemState(m_nEditedRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    int row = m_nEditedRow;
    m_nEditedRow = -1;
    OnRenameEnded(row, cancel);
}

void CListCtrlCD::SetPlayingMark(int row)
{
    OwnerDrawnList::SetPlayingMark<CDListItem>(*this, row);
}

void CListCtrlCD::ClearPlayingMark()
{
    OwnerDrawnList::ClearPlayingMark<CDListItem>(*this);
}

void CListCtrlCD::SetDropTarget(int row)
{
    CDListItem* record = GetRow(row);
    if (!record || record->dropTarget)
        return;
    ClearDropTarget();
    record->dropTarget = 1;
    CRect rect;
    if (GetItemRect(row, &rect, LVIR_BOUNDS))
        InvalidateRect(&rect, FALSE);
}

void CListCtrlCD::ClearDropTarget()
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (CDListItem* record = GetRow(i))
            if (record->dropTarget)
            {
                record->dropTarget = 0;
                CRect rect;
                if (GetItemRect(i, &rect, LVIR_BOUNDS))
                    InvalidateRect(&rect, FALSE);
                return;
            }
}

int CListCtrlCD::GetDropTarget() const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (CDListItem* record = GetRow(i))
            if (record->dropTarget)
                return i;
    return -1;
}

void CListCtrlCD::StartAutoScroll(int direction)
{
    if (!m_timerScroll)
        m_timerScroll = SetTimer(TIMER_AUTO_SCROLL, 100);
    m_nScrollDirection = direction;
}

void CListCtrlCD::StopAutoScroll()
{
    if (m_timerScroll && GetSafeHwnd())
        KillTimer(TIMER_AUTO_SCROLL);
    m_timerScroll = 0;
    m_nScrollDirection = 0;
}

void CListCtrlCD::OnTimer(UINT_PTR id)
{
    if (id == TIMER_AUTO_SCROLL)
    {
        SendMessage(WM_VSCROLL, m_nScrollDirection == 2 ? SB_LINEDOWN : SB_LINEUP, 0);
        return;
    }
    Default();
}

CDlgAnimation* CListCtrlCD::GetAnimation()
{
    if (m_bAnimationTried || !m_hWnd)
        return m_pAnimation;
    m_bAnimationTried = TRUE;
    ImgNewDecoder(&m_hDecoder);
    BYTE alpha = m_nAlpha;
    m_nAlpha = 180;
    ShowAnimationFrame(FIRST_FRAME);
    m_nAlpha = alpha;
    return m_pAnimation;
}

BOOL CListCtrlCD::ShowAnimationFrame(UINT id)
{
    GetAnimation();
    m_nFrame = id;
    return LayeredFrame::Show(m_pAnimation, m_hDecoder, id, m_nAlpha, m_hDib);
}

void CListCtrlCD::EnsureFont()
{
    if (m_font.GetSafeHandle())
        return;
    HFONT source = m_fontSource ? reinterpret_cast<HFONT>(::SendMessageW(m_fontSource, WM_GETFONT, 0, 0))
                                : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW face = {};
    if (source && ::GetObjectW(source, sizeof(face), &face))
        m_font.CreateFontIndirect(&face);
}

void CListCtrlCD::SplitRowText(const CDListItem& row, CString& namePart, CString& countPart)
{
    namePart = row.name + L" ";
    countPart.Format(L"(%d)", row.songCount);
}

void CListCtrlCD::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemHeight = ROW_HEIGHT;
}

void CListCtrlCD::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDListItem* record = reinterpret_cast<CDListItem*>(dis->itemData);
    CDC* dc = CDC::FromHandle(dis->hDC);
    CRect client;
    GetClientRect(&client);
    CRect row = dis->rcItem;
    row.left = client.left;
    row.right = client.right;
    int item = static_cast<int>(dis->itemID);
    BOOL selected = (GetItemState(item, LVIS_DROPHILITED) & LVIS_DROPHILITED) ||
                    ((dis->itemState & ODS_SELECTED) && (GetStyle() & LVS_SHOWSELALWAYS));
    if (!(GetStyle() & LVS_SHOWSELALWAYS) && (dis->itemState & ODS_SELECTED))
        selected = TRUE;
    BOOL focus = ::GetFocus() == m_hWnd;
    COLORREF back = selected ? (focus ? 0xF6EAD2 : 0xE4E4E4) : (item % 2 == 0 ? 0xFFFFFF : 0xF5F5F5);
    dc->FillSolidRect(&row, back);
    if (!record)
        return;
    int h = row.Height();
    if (record->playing && m_hPlayingIcon)
        ::DrawIconEx(dc->GetSafeHdc(), row.left, row.top + (h + 1) / 2 - 9, m_hPlayingIcon, 25, 18, 0, NULL, DI_NORMAL);
    EnsureFont();
    int saved = dc->SaveDC();
    if (m_font.GetSafeHandle())
        dc->SelectObject(&m_font);
    dc->SetBkMode(TRANSPARENT);
    BOOL vscroll = (GetStyle() & WS_VSCROLL) != 0;
    int e = row.right - (vscroll ? 18 : 2);
    if (!record->name.IsEmpty())
    {
        CString namePart, countPart;
        SplitRowText(*record, namePart, countPart);
        int countWidth = dc->GetTextExtent(countPart).cx;
        int nameWidth = dc->GetTextExtent(namePart).cx;
        CRect nameRect(row.left + 25, row.top, e - countWidth, row.bottom);
        dc->SetTextColor(record->songCount == 0 ? kEmpty : kText);
        dc->DrawText(namePart, &nameRect, kTextFlags);
        int countLeft = row.left + 25 + nameWidth;
        if (countLeft + countWidth > e)
            countLeft = e - countWidth;
        CRect countRect(countLeft, row.top, e, row.bottom);
        dc->SetTextColor(kCount);
        dc->DrawText(countPart, &countRect, kTextFlags);
    }
    if (record->dropTarget)
    {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(&row, &black);
    }
    dc->RestoreDC(saved);
}

void CListCtrlCD::OnPaint()
{
    CPaintDC paint(this);
    OwnerDrawnList::PaintBandedRows(this, &paint, ROW_HEIGHT, 0xFFFFFF, 0xF5F5F5);
}

void CListCtrlCD::ShowClickedList(CPoint point, BOOL select)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    int row = HitTest(&hit);
    if (select && row > 0)
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (CDlgMain* main = CDlgMain::Instance())
        main->ShowSongList(row, FALSE, TRUE);
}

LRESULT CListCtrlCD::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == GetInPlaceEditMessage())
    {
        CDlgMain* main = CDlgMain::Instance();
        if (main && main->m_paneSong.GetSafeHwnd())
            main->m_paneSong.SendMessage(message, wParam, lParam);
        return 1;
    }
    switch (message)
    {
    case WM_HSCROLL:
        return 0;
    case WM_NCCALCSIZE:
        ModifyStyle(WS_HSCROLL, 0, 0);
        break;
    case WM_VSCROLL:
        if (m_nEditedRow >= 0)
            EndRename(TRUE);
        if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)
        {
            SCROLLINFO si = {sizeof(si), SIF_ALL};
            GetScrollInfo(SB_VERT, &si);
            Scroll(CSize(0, (si.nTrackPos - si.nPos) * ROW_HEIGHT));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        if (m_nEditedRow >= 0)
            EndRename(TRUE);
        break;
    case WM_SIZE:
        if (m_nEditedRow >= 0 && m_pEditor)
        {
            m_pEditor->ShowWindow(SW_HIDE);
            m_nEditedRow = -1;
        }
        {
            LRESULT r = CDropListCtrl::WindowProc(message, wParam, lParam);
            ResetTool();
            return r;
        }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    {
        LRESULT r = CDropListCtrl::WindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        return r;
    }
    case WM_SETFONT:
    {
        LRESULT r = CDropListCtrl::WindowProc(message, wParam, lParam);
        OwnerDrawnList::AskRowHeight(this);
        return r;
    }
    case WM_KEYUP:
        if (wParam >= VK_PRIOR && wParam <= VK_DOWN)
        {
            m_nCurrentRow = GetNextItem(-1, LVNI_SELECTED);
            if (CDlgMain* main = CDlgMain::Instance())
                main->ShowSongList(m_nCurrentRow, FALSE, TRUE);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ShowClickedList(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))), TRUE);
        break;
    default:
        break;
    }
    return CDropListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CListCtrlCD::PreTranslateMessage(MSG* pMsg)
{
    if (m_tip.GetSafeHwnd())
        m_tip.RelayEvent(pMsg);
    return CDropListCtrl::PreTranslateMessage(pMsg);
}

CString CListCtrlCD::RowTip(const CDListItem& row)
{
    CString state = Lang(row.playing ? L"INFO_LIST_CD_PLAYING_TIP" : L"CONST_NONE");
    CString format = Lang(L"INFO_LIST_CD_TOOLTIP_0");
    if (format.IsEmpty())
    {
        ShowMissingLanguage();
        return CString();
    }
    return FormatListText(format, {state, row.name, row.songCount});
}

BOOL CListCtrlCD::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->code != MARKUPTIP_SHOW || hdr->hwndFrom != m_tip.GetSafeHwnd())
        return CDropListCtrl::OnNotify(wParam, lParam, pResult);
    NMMARKUPTIP* nm = reinterpret_cast<NMMARKUPTIP*>(lParam);
    if (nm->ti->id != GetDlgCtrlID())
        return TRUE;
    nm->ti->transparency = 10;
    POINT point = *nm->pt;
    ScreenToClient(&point);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    CDListItem* record = GetRow(HitTest(&hit));
    nm->ti->text = record ? RowTip(*record) : CString();
    return TRUE;
}

void CListCtrlCD::OnDestroy()
{
    StopAutoScroll();
    m_font.DeleteObject();
    if (m_hPlayingIcon)
        ::DestroyIcon(m_hPlayingIcon);
    m_hPlayingIcon = NULL;
    if (m_hHand)
        ::DestroyCursor(m_hHand);
    m_hHand = NULL;
    if (m_hDib)
        ImgDeleteDIBSection(m_hDib);
    m_hDib = NULL;
    if (m_hDecoder)
        ImgDeleteDecoder(m_hDecoder);
    m_hDecoder = NULL;
    if (m_pEditor)
    {
        if (m_pEditor->GetSafeHwnd())
            m_pEditor->DestroyWindow();
        delete m_pEditor;
        m_pEditor = NULL;
    }
    if (m_tip.GetSafeHwnd())
        m_tip.DestroyWindow();
    if (m_header.GetSafeHwnd())
        m_header.UnsubclassWindow();
    if (m_pAnimation)
    {
        m_pAnimation->CloseAndDelete();
        m_pAnimation = NULL;
    }
    CDropListCtrl::OnDestroy();
}
