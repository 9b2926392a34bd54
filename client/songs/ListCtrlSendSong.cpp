#include "ListCtrlSendSong.h"
#include "OwnerDrawnList.h"
#include "SkinScrollBarFrame.h"


#include <string>

BEGIN_MESSAGE_MAP(CListCtrlSendSong, CListCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CListCtrlSendSong::OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGING, &CListCtrlSendSong::OnItemChanging)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CListCtrlSendSong::OnDeleteItemReflect)
    ON_NOTIFY_REFLECT(NM_CLICK, &CListCtrlSendSong::OnClick)
END_MESSAGE_MAP()

CListCtrlSendSong::CListCtrlSendSong() {}

CListCtrlSendSong::~CListCtrlSendSong() {}

void CListCtrlSendSong::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    if (HWND header = ListView_GetHeader(m_hWnd))
        m_header.SubclassWindow(header);
    // The list asked its row height before it was subclassed.
    OwnerDrawnList::AskRowHeight(this);
}

void CListCtrlSendSong::OnDestroy()
{
    // Rows free their records through LVN_DELETEITEM while the list still
    // has its window.
    DeleteAllItems();
    if (m_header.GetSafeHwnd())
        m_header.UnsubclassWindow();
    Default();
}

int CListCtrlSendSong::AddRow(const SendSongItem& item)
{
    SendSongItem* record = new SendSongItem(item);
    return OwnerDrawnList::InsertRecordRow(*this, GetItemCount(), record, ColumnText(item, 0));
}

SendSongItem* CListCtrlSendSong::GetRow(int row) const
{
    return OwnerDrawnList::RecordAt<SendSongItem>(*this, row);
}

void CListCtrlSendSong::SelectRow(int row)
{
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

CString CListCtrlSendSong::ColumnText(const SendSongItem& item, int column)
{
    if (item.kind == SendSongItem::KIND_SONG)
        return column == 0 ? item.title : item.artist;
    return column == 0 ? item.nick : item.buddyId;
}

int CListCtrlSendSong::CompareTexts(const CString& a, const CString& b)
{
    auto ansi = [](CString text) {
        text.MakeLower();
        int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
        std::string bytes(size > 0 ? size : 1, '\0');
        if (size > 0)
            ::WideCharToMultiByte(CP_ACP, 0, text, -1, &bytes[0], size, NULL, NULL);
        return bytes;
    };
    std::string x = ansi(a), y = ansi(b);
    int result = strcmp(x.c_str(), y.c_str());
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

int CALLBACK CListCtrlSendSong::CompareRows(LPARAM a, LPARAM b, LPARAM self)
{
    const CListCtrlSendSong* list = reinterpret_cast<const CListCtrlSendSong*>(self);
    const SendSongItem* x = reinterpret_cast<const SendSongItem*>(a);
    const SendSongItem* y = reinterpret_cast<const SendSongItem*>(b);
    if (!x || !y)
        return 0;
    int order = CompareTexts(ColumnText(*x, list->m_nSortColumn), ColumnText(*y, list->m_nSortColumn));
    return list->m_nSortDirection == SORT_DESCENDING ? -order : order;
}

void CListCtrlSendSong::SortByColumn(int column)
{
    if (column == m_nSortColumn)
        m_nSortDirection = m_nSortDirection == SORT_ASCENDING ? SORT_DESCENDING : SORT_ASCENDING;
    else if (m_nSortDirection == SORT_NONE)
        m_nSortDirection = SORT_ASCENDING;
    m_nSortColumn = column;
    SortItems(&CListCtrlSendSong::CompareRows, reinterpret_cast<DWORD_PTR>(this));
}

void CListCtrlSendSong::OnColumnClick(NMHDR* hdr, LRESULT* result)
{
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
    *result = 0;
}

void CListCtrlSendSong::OnItemChanging(NMHDR* hdr, LRESULT* result)
{
    if (reinterpret_cast<NMLISTVIEW*>(hdr)->uChanged & (LVIF_TEXT | LVIF_STATE))
        Invalidate(FALSE);
    *result = 0;
}

void CListCtrlSendSong::OnDeleteItemReflect(NMHDR* hdr, LRESULT* result)
{
    delete reinterpret_cast<SendSongItem*>(reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
    *result = 0;
}

void CListCtrlSendSong::SelectRowAt(CPoint point)
{
    int row = HitTest(point);
    if (row >= 0 && !(GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
        SelectRow(row);
}

void CListCtrlSendSong::OnClick(NMHDR*, LRESULT* result)
{
    DWORD at = ::GetMessagePos();
    CPoint point((short)LOWORD(at), (short)HIWORD(at));
    ScreenToClient(&point);
    SelectRowAt(point);
    *result = 0;
}

void CListCtrlSendSong::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    SelectRowAt(point);
}

void CListCtrlSendSong::OnRButtonDown(UINT, CPoint point)
{
    Default();
    SelectRowAt(point);
}

void CListCtrlSendSong::OnRButtonDblClk(UINT, CPoint point)
{
    Default();
    SelectRowAt(point);
}

void CListCtrlSendSong::OnMouseMove(UINT, CPoint)
{
    Default();
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
}

void CListCtrlSendSong::TrackThumb(int bar, UINT code)
{
    SCROLLINFO info = {sizeof(info), SIF_ALL};
    if (!::GetScrollInfo(m_hWnd, bar, &info))
        return;
    (void)code;
    int moved = info.nTrackPos - info.nPos;
    if (moved == 0)
        return;
    // In report view the vertical position counts rows, the horizontal one
    // pixels; LVM_SCROLL takes pixels both ways.
    if (bar == SB_VERT)
        Scroll(CSize(0, moved * ROW_HEIGHT));
    else
        Scroll(CSize(moved, 0));
}

void CListCtrlSendSong::OnVScroll(UINT code, UINT, CScrollBar*)
{
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
        TrackThumb(SB_VERT, code);
    else
        Default();
}

void CListCtrlSendSong::OnHScroll(UINT code, UINT, CScrollBar*)
{
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
        TrackThumb(SB_HORZ, code);
    else
        Default();
}

void CListCtrlSendSong::OnSize(UINT, int, int)
{
    Default();
    AttachSkinScrollBarsWhenShown(this, m_hScrollBar, m_bSkinScrollBars);
}

void CListCtrlSendSong::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    measure->itemHeight = ROW_HEIGHT;
}

void CListCtrlSendSong::OnPaint()
{
    CPaintDC paint(this);
    OwnerDrawnList::PaintBandedRows(this, &paint, ROW_HEIGHT, m_clrEven, m_clrOdd);
}

void CListCtrlSendSong::DrawItem(LPDRAWITEMSTRUCT draw)
{
    const SendSongItem* item = reinterpret_cast<const SendSongItem*>(draw->itemData);
    HDC dc = draw->hDC;
    RECT row = draw->rcItem;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    row.right = client.right;
    int index = static_cast<int>(draw->itemID);
    UINT state = GetItemState(index, LVIS_SELECTED | LVIS_DROPHILITED);
    BOOL selected = (state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    COLORREF fill = selected ? (::GetFocus() == m_hWnd ? m_clrSelectedFocus : m_clrSelectedNoFocus)
                             : (index % 2 == 0 ? m_clrEven : m_clrOdd);
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc, &row, brush);
    ::DeleteObject(brush);
    if (!item)
        return;
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, selected ? m_clrSelectedText : m_clrText);
    int first = GetColumnWidth(0), second = GetColumnWidth(1);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX | DT_WORD_ELLIPSIS;
    RECT text = {draw->rcItem.left + 4, row.top, draw->rcItem.left + first - 2, row.bottom};
    CString column0 = ColumnText(*item, 0), column1 = ColumnText(*item, 1);
    ::DrawTextW(dc, column0, -1, &text, format);
    text.left = draw->rcItem.left + first + 4;
    text.right = draw->rcItem.left + first + second - 2;
    ::DrawTextW(dc, column1, -1, &text, format);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}
