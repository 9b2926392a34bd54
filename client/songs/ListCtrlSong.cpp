#include "ListCtrlSong.h"

#include "DlgMain.h"
#include "LanguageTable.h"
#include "OwnerDrawnList.h"
#include "ReservedNames.h"
#include "SongListTexts.h"
#include "resource.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace
{
const UINT kTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_WORD_ELLIPSIS;

int HalfUp(int h)
{
    return (h + 1) / 2;
}

// Lower-cased text in the system's ANSI code page, for the byte-wise order
// of titles and artists.
std::string AnsiKey(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    int n = ::WideCharToMultiByte(CP_ACP, 0, lower, -1, NULL, 0, NULL, NULL);
    std::string bytes(n > 0 ? n : 1, '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, lower, -1, &bytes[0], n, NULL, NULL);
    return bytes.c_str();
}
} // namespace

BEGIN_MESSAGE_MAP(CListCtrlSong, CDropListCtrl)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &CListCtrlSong::OnClickReflect)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOW, &CListCtrlSong::OnGetDispInfoReflect)
    ON_NOTIFY_REFLECT(LVN_ODFINDITEMW, &CListCtrlSong::OnFindItemReflect)
    ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, &CListCtrlSong::OnColumnClickReflect)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CListCtrlSong::CListCtrlSong()
    : m_fontSource(NULL), m_hHand(NULL), m_bHandShown(FALSE), m_nSortColumn(-1), m_nSortOrder(0), m_timerScroll(0),
      m_nScrollDirection(0), m_bInsertMark(FALSE), m_nInsertIndex(-1), m_bCountPending(FALSE)
{
}

CListCtrlSong::~CListCtrlSong()
{
    for (SongRowData* record : m_rows)
        delete record;
}

HWND CListCtrlSong::MainWindow() const
{
    CDlgMain* main = CDlgMain::Instance();
    return main ? main->GetSafeHwnd() : NULL;
}

void CListCtrlSong::PreSubclassWindow()
{
    CDropListCtrl::PreSubclassWindow();
    m_hHand = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    if (HWND header = ListView_GetHeader(m_hWnd))
        m_header.SubclassWindow(header);
    if (m_tip.Create(this, FALSE))
    {
        m_tip.SetNotifyWindow(m_hWnd);
        ResetTool();
    }
    // The template's list asked its row height before it was ours.
    OwnerDrawnList::AskRowHeight(this);
}

void CListCtrlSong::ResetTool()
{
    OwnerDrawnList::ResetWholeTool(this, m_tip);
}

void CListCtrlSong::SyncCount()
{
    if (!m_bCountPending || !m_hWnd)
        return;
    m_bCountPending = FALSE;
    SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

int CListCtrlSong::InsertRow(int index, SongRowData* record)
{
    if (!record)
        return -1;
    if (!m_hWnd)
    {
        delete record;
        return -1;
    }
    int count = static_cast<int>(m_rows.size());
    index = std::max(0, std::min(index, count));
    if (index == count)
    {
        m_rows.push_back(record);
        m_bCountPending = TRUE;
        return index;
    }
    // The rows below move down one, and their marks with them.
    SyncCount();
    std::vector<int> selected;
    for (int row = GetNextItem(index - 1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    int focused = GetNextItem(-1, LVNI_FOCUSED);
    int dropped = GetNextItem(-1, LVNI_DROPHILITED);
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        SetItemState(*it, 0, LVIS_SELECTED);
    if (dropped >= index)
        SetItemState(dropped, 0, LVIS_DROPHILITED);
    m_rows.insert(m_rows.begin() + index, record);
    m_bCountPending = TRUE;
    SyncCount();
    for (int row : selected)
        SetItemState(row + 1, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= index)
        SetItemState(focused + 1, LVIS_FOCUSED, LVIS_FOCUSED);
    if (dropped >= index)
        SetItemState(dropped + 1, LVIS_DROPHILITED, LVIS_DROPHILITED);
    Invalidate(FALSE);
    return index;
}

SongRowData* CListCtrlSong::GetRow(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row] : NULL;
}

SongRowData* CListCtrlSong::DetachRow(int row)
{
    SongRowData* record = GetRow(row);
    if (record)
        m_rows[row] = NULL;
    return record;
}

BOOL CListCtrlSong::DeleteItem(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return FALSE;
    SyncCount();
    SongRowData* record = m_rows[row];
    m_rows.erase(m_rows.begin() + row);
    // The list view moves the marks of the rows below up one.
    BOOL deleted = CDropListCtrl::DeleteItem(row);
    delete record;
    return deleted;
}

BOOL CListCtrlSong::DeleteAllItems()
{
    std::vector<SongRowData*> rows;
    rows.swap(m_rows);
    m_bCountPending = FALSE;
    BOOL deleted = m_hWnd ? CDropListCtrl::DeleteAllItems() : TRUE;
    for (SongRowData* record : rows)
        delete record;
    return deleted;
}

BOOL CListCtrlSong::SortItems(PFNLVCOMPARE compare, DWORD_PTR data)
{
    if (!compare || !m_hWnd)
        return FALSE;
    SyncCount();
    std::unordered_set<const SongRowData*> selected;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        selected.insert(GetRow(row));
    const SongRowData* focused = GetRow(GetNextItem(-1, LVNI_FOCUSED));
    const SongRowData* dropped = GetRow(GetNextItem(-1, LVNI_DROPHILITED));
    std::stable_sort(m_rows.begin(), m_rows.end(), [compare, data](SongRowData* a, SongRowData* b) {
        return compare(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), static_cast<LPARAM>(data)) < 0;
    });
    selected.erase(NULL);
    if (!selected.empty() || focused || dropped)
    {
        if (!selected.empty())
            SetItemState(-1, 0, LVIS_SELECTED);
        if (dropped)
            SetItemState(-1, 0, LVIS_DROPHILITED);
        for (int row = 0; row < static_cast<int>(m_rows.size()); ++row)
        {
            const SongRowData* record = m_rows[row];
            if (!record)
                continue;
            if (selected.count(record))
                SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            if (record == focused)
                SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
            if (record == dropped)
                SetItemState(row, LVIS_DROPHILITED, LVIS_DROPHILITED);
        }
    }
    Invalidate(FALSE);
    return TRUE;
}

void CListCtrlSong::OnGetDispInfoReflect(NMHDR* hdr, LRESULT* result)
{
    // The title is the row's text, as the list view reads it for its own
    // uses (the drag picture, finding a row by its first letters).
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
    SongRowData* record = GetRow(item.iItem);
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        ::lstrcpynW(item.pszText, record && item.iSubItem == COLUMN_TITLE ? (LPCWSTR)record->title : L"",
                    item.cchTextMax);
    *result = 0;
}

void CListCtrlSong::OnFindItemReflect(NMHDR* hdr, LRESULT* result)
{
    NMLVFINDITEMW* find = reinterpret_cast<NMLVFINDITEMW*>(hdr);
    const LVFINDINFOW& info = find->lvfi;
    *result = -1;
    int count = static_cast<int>(m_rows.size());
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz || count == 0)
        return;
    int length = ::lstrlenW(info.psz);
    int start = find->iStart >= 0 && find->iStart < count ? find->iStart : 0;
    for (int step = 0; step < count; ++step)
    {
        int row = start + step;
        if (row >= count)
        {
            if (!(info.flags & LVFI_WRAP))
                return;
            row -= count;
        }
        const SongRowData* record = m_rows[row];
        if (!record)
            continue;
        BOOL match = (info.flags & LVFI_PARTIAL)
                         ? record->title.GetLength() >= length && _wcsnicmp(record->title, info.psz, length) == 0
                         : record->title.CompareNoCase(info.psz) == 0;
        if (match)
        {
            *result = row;
            return;
        }
    }
}

void CListCtrlSong::SetPlayingMark(int row)
{
    SongRowData* record = GetRow(row);
    if (!record || record->playing)
        return;
    ClearPlayingMark();
    record->playing = 1;
    Update(row);
}

void CListCtrlSong::ClearPlayingMark()
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] && m_rows[i]->playing)
        {
            m_rows[i]->playing = 0;
            Update(static_cast<int>(i));
            return;
        }
}

void CListCtrlSong::ResetSortState(BOOL redraw)
{
    m_nSortColumn = -1;
    m_nSortOrder = 0;
    m_header.m_nSortColumn = -1;
    m_header.m_nSortDirection = 0;
    if (redraw)
        Invalidate(TRUE);
}

void CListCtrlSong::InvalidateRowWide(int row)
{
    CRect rect, client;
    if (!GetItemRect(row, &rect, LVIR_BOUNDS))
        return;
    GetClientRect(&client);
    rect.left = client.left;
    rect.right = client.right;
    InvalidateRect(&rect, FALSE);
}

void CListCtrlSong::SetInsertMark(int row, int where)
{
    SongRowData* record = GetRow(row);
    if (record && record->insertMark != where)
    {
        ClearInsertMark();
        record->insertMark = where;
        InvalidateRowWide(row);
    }
    m_bInsertMark = TRUE;
    m_nInsertIndex = where == 2 ? row + 1 : row;
}

void CListCtrlSong::ClearInsertMark()
{
    m_bInsertMark = FALSE;
    m_nInsertIndex = -1;
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        if (SongRowData* record = GetRow(i))
            if (record->insertMark)
            {
                record->insertMark = 0;
                InvalidateRowWide(i);
                return;
            }
}

void CListCtrlSong::StartAutoScroll(int direction)
{
    if (!m_timerScroll)
        m_timerScroll = SetTimer(TIMER_AUTO_SCROLL, 100);
    m_nScrollDirection = direction;
}

void CListCtrlSong::StopAutoScroll()
{
    if (m_timerScroll)
        KillTimer(TIMER_AUTO_SCROLL);
    m_timerScroll = 0;
    m_nScrollDirection = 0;
}

BOOL CListCtrlSong::HitTestSubItem(CPoint point, int& row, int& subItem, BOOL& onIcon) const
{
    row = -1;
    subItem = -1;
    onIcon = FALSE;
    int count = GetItemCount();
    if (count == 0)
        return FALSE;
    // Rows by their places: an owner-drawn row is hit over its full width.
    int top = GetTopIndex();
    CRect first;
    if (!GetItemRect(top, &first, LVIR_BOUNDS) || first.Height() <= 0)
        return FALSE;
    if (point.y < first.top)
        return FALSE;
    int candidate = top + (point.y - first.top) / first.Height();
    if (candidate < 0 || candidate >= count)
        return FALSE;
    CRect rect;
    GetItemRect(candidate, &rect, LVIR_BOUNDS);
    CHeaderCtrl* header = GetHeaderCtrl();
    int columns = header ? header->GetItemCount() : 0;
    std::vector<int> order(columns > 0 ? columns : 1);
    if (columns > 0)
        SendMessage(LVM_GETCOLUMNORDERARRAY, columns, reinterpret_cast<LPARAM>(&order[0]));
    int left = rect.left;
    for (int i = 0; i < columns; ++i)
    {
        int column = order[i];
        int width = GetColumnWidth(column);
        if (point.x >= left && point.x < left + width)
        {
            row = candidate;
            subItem = column;
            int h = rect.Height();
            if (column == COLUMN_TITLE)
            {
                int y = rect.top + HalfUp(h) - 9;
                onIcon = point.x >= left + width - 31 && point.x < left + width - 4 && point.y >= y && point.y < y + 18;
            }
            else if (column == COLUMN_BOARD)
            {
                int y = rect.top + HalfUp(h) - 8;
                onIcon = point.x >= left && point.x < left + 16 && point.y >= y && point.y < y + 16;
            }
            return TRUE;
        }
        left += width;
    }
    return FALSE;
}

void CListCtrlSong::InvalidateSubItem(int row, int subItem)
{
    CRect rect;
    if (subItem == 0)
    {
        if (!GetItemRect(row, &rect, LVIR_BOUNDS))
            return;
        rect.right = rect.left + GetColumnWidth(0);
    }
    else if (!GetSubItemRect(row, subItem, LVIR_BOUNDS, rect))
        return;
    InvalidateRect(&rect, FALSE);
}

int CListCtrlSong::CompareRows(const SongRowData& a, const SongRowData& b, int column, int order)
{
    int result = 0;
    if (column == COLUMN_TITLE || column == COLUMN_ARTIST)
    {
        std::string x = AnsiKey(column == COLUMN_TITLE ? a.title : a.artist);
        std::string y = AnsiKey(column == COLUMN_TITLE ? b.title : b.artist);
        // Unsigned bytes: the code page's letters above 127 come after ASCII.
        result = x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
        return order == 2 ? -result : result;
    }
    if (column == COLUMN_DURATION)
    {
        if (a.duration == b.duration)
            return 0;
        result = a.duration > b.duration ? -1 : 1; // order 1: the longer song first
        return order == 2 ? -result : result;
    }
    return 0;
}

int CALLBACK CListCtrlSong::SortCallback(LPARAM a, LPARAM b, LPARAM self)
{
    const CListCtrlSong* list = reinterpret_cast<const CListCtrlSong*>(self);
    const SongRowData* x = reinterpret_cast<const SongRowData*>(a);
    const SongRowData* y = reinterpret_cast<const SongRowData*>(b);
    if (!x || !y)
        return 0;
    return CompareRows(*x, *y, list->m_nSortColumn, list->m_nSortOrder);
}

void CListCtrlSong::SortByColumn(int column)
{
    if (column == COLUMN_BOARD || column < 0)
        return;
    if (column == m_nSortColumn)
        m_nSortOrder = m_nSortOrder == 1 ? 2 : 1;
    else if (m_nSortOrder == 0)
        m_nSortOrder = 1;
    m_nSortColumn = column;
    m_header.m_nSortColumn = column;
    m_header.m_nSortDirection = m_nSortOrder;
    SortItems(SortCallback, reinterpret_cast<DWORD_PTR>(this));
    if (m_header.GetSafeHwnd())
        m_header.Invalidate(FALSE);
    if (HWND main = MainWindow())
        ::SendMessageW(main, WM_MAIN_MOVE_SONG_ROWS, 2, 0);
}

BOOL CListCtrlSong::OnColumnClickReflect(NMHDR* hdr, LRESULT* result)
{
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
    *result = 0;
    return TRUE;
}

BOOL CListCtrlSong::OnClickReflect(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    NMITEMACTIVATE* nm = reinterpret_cast<NMITEMACTIVATE*>(hdr);
    int row, subItem;
    BOOL onIcon;
    if (!HitTestSubItem(nm->ptAction, row, subItem, onIcon))
        return FALSE;
    SongRowData* record = GetRow(row);
    if (!record)
        return FALSE;
    if (onIcon && (subItem == COLUMN_BOARD || record->actionIcon != 0))
    {
        // The main window takes the last selected row for the icon's command
        // (board, push, collect): the clicked row becomes the only one,
        // whatever else was selected.
        SetItemState(-1, 0, LVIS_SELECTED);
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    else if (!(GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (onIcon)
    {
        HWND main = MainWindow();
        UINT command = 0;
        if (subItem == COLUMN_BOARD)
            command = ID_BOARD_OPEN;
        else if (record->actionIcon == -1)
            command = ID_SONG_SEND;
        else if (record->actionIcon == 1)
            command = ID_SONG_COLLECT;
        if (command && main)
            ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        if (record->actionIcon != 0 && !record->pressed)
        {
            record->pressed = 1;
            record->hover = subItem + 1;
            InvalidateSubItem(row, subItem);
        }
    }
    return FALSE; // the pane hears of the click as well
}

void CListCtrlSong::SelectAll(BOOL invert)
{
    int count = GetItemCount();
    if (count == 0)
        return;
    SetRedraw(FALSE);
    for (int i = 0; i < count; ++i)
    {
        UINT now = GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED;
        SetItemState(i, invert ? (now ? 0 : LVIS_SELECTED) : LVIS_SELECTED, LVIS_SELECTED);
    }
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

BOOL CListCtrlSong::PreTranslateMessage(MSG* pMsg)
{
    if (m_tip.GetSafeHwnd())
        m_tip.RelayEvent(pMsg);
    if (pMsg->message == WM_CHAR && pMsg->hwnd == m_hWnd && (pMsg->wParam == 1 || pMsg->wParam == 9))
    {
        SelectAll(pMsg->wParam == 9);
        return TRUE;
    }
    return CDropListCtrl::PreTranslateMessage(pMsg);
}

LRESULT CListCtrlSong::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Whatever the list view is asked, it first learns of appended rows.
    if (m_bCountPending)
        SyncCount();
    switch (message)
    {
    case WM_CHAR:
        // Typed straight at the window (no message loop in between).
        if (wParam == 1 || wParam == 9)
        {
            SelectAll(wParam == 9);
            return 0;
        }
        break;
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
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)
        {
            int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
            SCROLLINFO si = {sizeof(si), SIF_ALL};
            GetScrollInfo(bar, &si);
            CRect client;
            GetClientRect(&client);
            int extent = bar == SB_VERT ? client.Height() : client.Width();
            int range = si.nMax - si.nMin + 1;
            int page = si.nPage ? static_cast<int>(si.nPage) : 1;
            int distance = static_cast<int>(
                static_cast<LONGLONG>(si.nTrackPos - si.nPos) * extent * range / page / (range > 0 ? range : 1));
            if (bar == SB_VERT)
            {
                // Report view scrolls vertically by whole rows of pixels.
                CRect r;
                int h = GetItemCount() > 0 && GetItemRect(0, &r, LVIR_BOUNDS) ? r.Height() : ROW_HEIGHT;
                distance = (si.nTrackPos - si.nPos) * h;
                Scroll(CSize(0, distance));
            }
            else
                Scroll(CSize(distance, 0));
            return 0;
        }
        break;
    default:
        break;
    }
    return CDropListCtrl::WindowProc(message, wParam, lParam);
}

void CListCtrlSong::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemHeight = ROW_HEIGHT;
}

void CListCtrlSong::EnsureFont()
{
    if (m_font.GetSafeHandle())
        return;
    HFONT source = m_fontSource ? reinterpret_cast<HFONT>(::SendMessageW(m_fontSource, WM_GETFONT, 0, 0))
                                : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW face = {};
    if (source && ::GetObjectW(source, sizeof(face), &face))
        m_font.CreateFontIndirect(&face);
}

CString CListCtrlSong::DurationText(unsigned int ms)
{
    CString text;
    text.Format(L"%.2d:%.2d", static_cast<int>(ms / 60000), static_cast<int>(ms % 60000 / 1000));
    return text;
}

CString CListCtrlSong::SourceText(const SongRowData& row, const CString& me)
{
    BOOL robot = IsRobotAccount(row.owner);
    if (row.sourceKind == 2)
    {
        if (robot)
            return Lang(L"STR_MAIN_RANKING_SONG_TITLE");
        return row.owner == me ? row.localPath : row.owner;
    }
    if (row.localPath.IsEmpty())
        return CString();
    if (row.owner != me && !robot)
        return row.owner;
    return robot ? Lang(L"STR_MAIN_RANKING_SONG_TITLE") : row.localPath;
}

void CListCtrlSong::DrawItem(LPDRAWITEMSTRUCT dis)
{
    SongRowData* record = GetRow(static_cast<int>(dis->itemID));
    CDC* dc = CDC::FromHandle(dis->hDC);
    CRect client;
    GetClientRect(&client);
    CRect row = dis->rcItem;
    int rowLeft = row.left;
    row.left = client.left;
    row.right = std::max(row.right, client.right);
    int item = static_cast<int>(dis->itemID);

    BOOL selected = (dis->itemState & ODS_SELECTED) || (GetItemState(item, LVIS_DROPHILITED) & LVIS_DROPHILITED);
    BOOL focus = ::GetFocus() == m_hWnd;
    COLORREF back = selected ? (focus ? kSelectedFocus : kSelected) : (item % 2 == 0 ? kEven : kOdd);
    dc->FillSolidRect(&row, back);
    if (!record)
        return;
    EnsureFont();
    int saved = dc->SaveDC();
    if (m_font.GetSafeHandle())
        dc->SelectObject(&m_font);
    dc->SetBkMode(TRANSPARENT);

    int h = row.Height();
    int iconY = row.top + HalfUp(h) - 9;
    auto icon = [this](int index) -> HICON {
        return index >= 0 && index < static_cast<int>(m_icons.size()) ? m_icons[index] : NULL;
    };
    auto drawIcon = [&](int index, int x, int y, int w, int hh) {
        if (HICON i = icon(index))
            ::DrawIconEx(dc->GetSafeHdc(), x, y, i, w, hh, 0, NULL, DI_NORMAL);
    };
    int width0 = GetColumnWidth(0);
    if (record->unavailable && record->sourceKind == 1)
        drawIcon(ICON_UNAVAILABLE, rowLeft + 5, iconY, 25, 18);
    else if (record->playing)
        drawIcon(ICON_PLAYING, rowLeft + 5, iconY, 25, 18);

    int state = record->pressed ? 2 : (record->hover == 1 ? 1 : 0);
    if (record->actionIcon == -1)
        drawIcon(ICON_PUSH + state, rowLeft + width0 - 31, iconY, 25, 18);
    else if (record->actionIcon == 1)
        drawIcon(ICON_DOWNLOAD + state, rowLeft + width0 - 31, iconY, 16, 16);

    CRect text(rowLeft + 34, row.top, rowLeft + width0 + (record->actionIcon ? -28 : 3), row.bottom);
    dc->SetTextColor(record->unavailable ? kGreyText : kText);
    dc->DrawText(record->title, &text, kTextFlags);
    dc->SetTextColor(kText);

    CDlgMain* main = CDlgMain::Instance();
    CString me = main ? main->m_strUserEmail : CString();
    CHeaderCtrl* header = GetHeaderCtrl();
    int columns = header ? header->GetItemCount() : 0;
    for (int column = 1; column < columns; ++column)
    {
        CRect cell;
        if (!GetSubItemRect(item, column, LVIR_BOUNDS, cell))
            continue;
        CRect inner(cell.left + 4, cell.top, cell.right - 2, cell.bottom);
        switch (column)
        {
        case COLUMN_ARTIST:
            dc->DrawText(record->artist, &inner, kTextFlags);
            break;
        case COLUMN_DURATION:
            dc->DrawText(DurationText(record->duration), &inner, kTextFlags);
            break;
        case COLUMN_BOARD:
        {
            int boardState = record->pressed && record->hover == 4 ? 2 : (record->hover == 4 ? 1 : 0);
            int y = row.top + HalfUp(h) - 8;
            drawIcon(ICON_BOARD + boardState, cell.left + 4, y, 16, 16);
            CRect boardText = inner;
            boardText.left += 20;
            if (main && main->IsShowingOwnLibrary())
            {
                int count = main->m_boardStore.GetItemCount(record->hash);
                BOOL fresh = main->m_boardStore.GetNewCount(record->hash) != 0;
                if (fresh)
                    drawIcon(ICON_BOARD_NEW + boardState, cell.left + 4, y, 16, 16);
                CString number;
                number.Format(L"(%d)", count);
                dc->SetTextColor(fresh ? 0x0000FA : 0xC80000);
                dc->DrawText(number, &boardText, kTextFlags);
                boardText.left += dc->GetTextExtent(number).cx + 2;
                dc->SetTextColor(kText);
            }
            if (record->boardNew)
                drawIcon(ICON_BOARD_NEW + boardState, cell.left + 4, y, 16, 16);
            if (!record->boardText.IsEmpty())
                dc->DrawText(record->boardText, &boardText, kTextFlags);
            break;
        }
        case COLUMN_SOURCE:
            dc->DrawText(SourceText(*record, me), &inner, kTextFlags);
            break;
        default:
            break;
        }
    }
    if (record->insertMark)
    {
        int y = record->insertMark == 1 ? row.top : row.bottom - 1;
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        dc->SelectObject(&pen);
        dc->MoveTo(row.left, y);
        dc->LineTo(row.right, y);
    }
    dc->RestoreDC(saved);
}

void CListCtrlSong::OnPaint()
{
    CPaintDC paint(this);
    OwnerDrawnList::PaintBandedRows(this, &paint, ROW_HEIGHT, kEven, kOdd);
}

void CListCtrlSong::OnTimer(UINT_PTR id)
{
    if (id == TIMER_AUTO_SCROLL)
    {
        SendMessage(WM_VSCROLL, m_nScrollDirection == 2 ? SB_LINEDOWN : SB_LINEUP, 0);
        return;
    }
    Default();
}

void CListCtrlSong::OnSize(UINT type, int cx, int cy)
{
    ResetTool();
    CDropListCtrl::OnSize(type, cx, cy);
}

void CListCtrlSong::OnDestroy()
{
    StopAutoScroll();
    m_font.DeleteObject();
    for (HICON icon : m_icons)
        if (icon)
            ::DestroyIcon(icon);
    m_icons.clear();
    if (m_hHand)
        ::DestroyCursor(m_hHand);
    m_hHand = NULL;
    if (m_tip.GetSafeHwnd())
        m_tip.DestroyWindow();
    if (m_header.GetSafeHwnd())
        m_header.UnsubclassWindow();
    for (SongRowData* record : m_rows)
        delete record;
    m_rows.clear();
    m_bCountPending = FALSE;
    CDropListCtrl::OnDestroy();
}

void CListCtrlSong::OnLButtonDown(UINT flags, CPoint point)
{
    int row, subItem;
    BOOL onIcon;
    if (HitTestSubItem(point, row, subItem, onIcon))
    {
        SongRowData* record = GetRow(row);
        if (record && onIcon && record->actionIcon != 0 && !record->pressed)
        {
            record->hover = subItem + 1;
            record->pressed = 1;
            InvalidateSubItem(row, subItem);
        }
        if (record && record->actionIcon == 0)
            ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        else if (record && !m_bHandShown && m_hHand)
        {
            ::SetCursor(m_hHand);
            m_bHandShown = TRUE;
        }
    }
    CDropListCtrl::OnLButtonDown(flags, point);
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        if (SongRowData* r = GetRow(i))
            if ((r->hover || r->pressed) && r->hotSubItems)
            {
                int sub = r->hover > 0 ? r->hover - 1 : 0;
                r->hover = 0;
                r->pressed = 0;
                InvalidateSubItem(i, sub);
                break;
            }
}

void CListCtrlSong::OnMouseMove(UINT flags, CPoint point)
{
    int row, subItem;
    BOOL onIcon;
    if (HitTestSubItem(point, row, subItem, onIcon) && onIcon)
    {
        SongRowData* record = GetRow(row);
        if (record && !record->hover)
        {
            record->hover = subItem + 1;
            InvalidateSubItem(row, subItem);
        }
        BOOL hand = record && (record->hotSubItems & (1 << subItem));
        ::SetCursor(hand && m_hHand ? m_hHand : ::LoadCursorW(NULL, IDC_ARROW));
        m_bHandShown = hand;
    }
    else
    {
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        m_bHandShown = FALSE;
        for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
            if (SongRowData* r = GetRow(i))
                if (r->hover || r->pressed)
                {
                    int sub = r->hover > 0 ? r->hover - 1 : 0;
                    r->hover = 0;
                    r->pressed = 0;
                    InvalidateSubItem(i, sub);
                }
    }
    CDropListCtrl::OnMouseMove(flags, point);
}

BOOL CListCtrlSong::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_bHandShown)
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return TRUE;
}

CString CListCtrlSong::RowTip(const SongRowData& row, const CString& me)
{
    CString state;
    if (row.playing)
        state = Lang(L"INFO_LIST_SONG_PLAYING_TIP");
    else if (row.unavailable)
        state = Lang(row.sourceKind == 0 ? L"INFO_LIST_SONG_INVALID_LOCAL_FILE" : L"INFO_LIST_SONG_DOWNLOADING_TIP");
    else
        state = Lang(L"CONST_NONE");
    CString format = Lang(L"INFO_LIST_SONG_TOOLTIP_0");
    if (format.IsEmpty())
    {
        ShowMissingLanguage();
        return CString();
    }
    BOOL robot = IsRobotAccount(row.owner);
    CString label;
    if (row.sourceKind == 0 && !robot)
        label = Lang(row.owner == me ? L"INFO_LIST_SONG_TOOLTIP_LOCAL_FILE" : L"STR_MAIN_ONLINE_BUDDY_PLAYLIST_NAME");
    else
        label = Lang(robot ? L"STR_MAIN_RANKING_SONG_TITLE" : L"INFO_LIST_SONG_TOOLTIP_BUDDY_SHARE");
    CString source;
    if (row.sourceKind == 0 && row.owner == me)
        source = row.localPath;
    else
        source = robot ? Lang(L"STR_MAIN_RANKING_SONG_TITLE") : row.owner;
    return FormatListText(format, {state, row.title, row.artist, static_cast<int>(row.duration / 60000),
                                   static_cast<int>(row.duration % 60000 / 1000), source, label});
}

CString CListCtrlSong::TipTextAt(CPoint client)
{
    int row, subItem;
    BOOL onIcon;
    if (!HitTestSubItem(client, row, subItem, onIcon))
        return CString();
    SongRowData* record = GetRow(row);
    if (!record)
        return CString();
    if (subItem == COLUMN_BOARD && record->hover)
        return Lang(L"INFO_BOARD_TOOLTIP");
    if (record->actionIcon && record->hover)
        return Lang(record->actionIcon == -1 ? L"STR_PUSH_SONG_TITLE" : L"INFO_LIST_SONG_DOWNSONG");
    CDlgMain* main = CDlgMain::Instance();
    return RowTip(*record, main ? main->m_strUserEmail : CString());
}

BOOL CListCtrlSong::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
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
    nm->ti->text = TipTextAt(point);
    return TRUE;
}
