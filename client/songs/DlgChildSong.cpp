#include "DlgChildSong.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "ReservedNames.h"
#include "resource.h"

#include <algorithm>

CDlgChildSong::CDlgChildSong(CWnd* parent)
    : CDialog(IDD_CHILD_SONG, parent), m_nSplitterPos(DEFAULT_SPLITTER), m_bStripDirty(FALSE), m_pDropLists(NULL),
      m_pDropSongs(NULL), m_hDragImage(NULL), m_pDragSource(NULL), m_nDragTarget(DRAG_NONE), m_bDropAllowed(FALSE),
      m_hDropCursor(NULL), m_hNoDropCursor(NULL)
{
}

CDlgChildSong::~CDlgChildSong()
{
    if (m_hDragImage)
        ImageList_Destroy(m_hDragImage);
    if (m_hDropCursor)
        ::DestroyCursor(m_hDropCursor);
    if (m_listCD.GetSafeHwnd())
        m_listCD.StopAutoScroll();
    // The system's references end with the revoke; the targets are ours.
    for (CFileDropTarget* target : {m_pDropLists, m_pDropSongs})
        if (target)
        {
            target->Revoke();
            delete target;
        }
}

void CDlgChildSong::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SONG_LIST, m_listSong);
    DDX_Control(pDX, IDC_SONG_LIST_LIST, m_listCD);
}

BOOL CDlgChildSong::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect none(0, 0, 0, 0);
    m_splitter.Create(WS_CHILD | WS_VISIBLE, none, this, IDC_SONG_SPLITTER);
    m_splitter.SetStyle(CSplitterBar::VERTICAL);
    m_splitter.SetRange(160, 310);
    m_splitter.SetPenColor(0x959595);
    m_splitter.SetBrushColor(0xCFCFCF);
    m_splitter.m_nGripBitmap = IDB_SPLITTER_GRIP;
    m_nSplitterPos = g_pAppSetting ? g_pAppSetting->splitter2 : 0;
    if (m_nSplitterPos == 0)
        m_nSplitterPos = DEFAULT_SPLITTER;
    Layout();
    // Files dropped from the shell go to the import of songs (the main
    // window's link runs it). Without OLE on this thread the lists simply
    // take no drops.
    m_pDropLists = new CFileDropTarget(&m_listCD, CFileDropTarget::MODE_SONG_LISTS);
    m_pDropSongs = new CFileDropTarget(&m_listSong, CFileDropTarget::MODE_SONGS);
    m_pDropLists->Register(&m_listCD);
    m_pDropSongs->Register(&m_listSong);
    m_hDropCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_DROP_CURSOR));
    m_hNoDropCursor = ::LoadCursorW(NULL, IDC_NO);
    return TRUE;
}

void CDlgChildSong::Layout()
{
    if (!m_listCD.GetSafeHwnd() || !m_listSong.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    int p = m_nSplitterPos;
    int height = client.Height();
    m_listSong.MoveWindow(p + SPLITTER_WIDTH, 0, std::max(0, client.Width() - p - SPLITTER_WIDTH), height, FALSE);
    m_listCD.MoveWindow(0, 0, p, height, FALSE);
    CRect inner;
    m_listCD.GetClientRect(&inner);
    m_listCD.SetColumnWidth(0, std::min(p, static_cast<int>(inner.Width())));
    if (m_splitter.GetSafeHwnd())
        m_splitter.MoveWindow(p, 0, SPLITTER_WIDTH, height, FALSE);
    m_listSong.InvalidateRect(NULL, FALSE);
    m_listCD.InvalidateRect(NULL, FALSE);
    if (m_splitter.GetSafeHwnd())
        m_splitter.InvalidateRect(NULL, FALSE);

    // The corner between two scroll bars belongs to the pane.
    CRect first, songClient;
    m_listSong.GetClientRect(&songClient);
    DWORD style = m_listSong.GetStyle();
    if (m_listSong.GetItemCount() > 0 && m_listSong.GetItemRect(0, &first, LVIR_BOUNDS) &&
        first.Width() > songClient.Width() && (style & WS_VSCROLL) && (style & WS_HSCROLL))
    {
        CRect corner(client.right - 17, client.bottom - 17, client.right, client.bottom);
        InvalidateRect(&corner, TRUE);
    }
    if (m_bStripDirty)
    {
        CRect strip(p - 16, 0, p, height);
        InvalidateRect(&strip, TRUE);
        m_bStripDirty = FALSE;
    }
}

BOOL CDlgChildSong::IsOver(CWnd& list, CPoint screen) const
{
    if (!list.GetSafeHwnd() || !list.IsWindowVisible())
        return FALSE;
    CRect rect;
    list.GetWindowRect(&rect);
    return rect.PtInRect(screen);
}

BOOL CDlgChildSong::BeginSongDrag(CPoint listPoint)
{
    CDlgMain* main = CDlgMain::Instance();
    if (!main || m_listSong.GetSelectedCount() == 0)
        return FALSE;
    if (m_hDragImage)
        ImageList_Destroy(m_hDragImage);
    m_hDragImage = NULL;
    int first = m_listSong.GetNextItem(-1, LVNI_SELECTED);
    POINT imagePoint = {0, 0};
    m_hDragImage = ListView_CreateDragImage(m_listSong.GetSafeHwnd(), first, &imagePoint);
    if (!m_hDragImage)
    {
        // Owner-drawn rows give no picture on every system: a plain strip
        // of the row's size stands in.
        CRect row;
        m_listSong.GetItemRect(first, &row, LVIR_BOUNDS);
        m_hDragImage = ImageList_Create(std::max(1, row.Width()), std::max(1, row.Height()), ILC_COLOR32, 1, 0);
        imagePoint = row.TopLeft();
    }
    m_pDragSource = &m_listSong;
    ImageList_BeginDrag(m_hDragImage, 0, listPoint.x - imagePoint.x, listPoint.y - imagePoint.y);
    CPoint screen = listPoint;
    m_listSong.ClientToScreen(&screen);
    ImageList_DragEnter(::GetDesktopWindow(), screen.x, screen.y);
    SetCapture();
    m_nDragTarget = DRAG_NONE;
    return TRUE;
}

void CDlgChildSong::DragMove(CPoint point)
{
    if (!m_hDragImage)
    {
        m_listSong.StopAutoScroll();
        m_listCD.StopAutoScroll();
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    ImageList_DragMove(screen.x, screen.y);
    CDlgMain* main = CDlgMain::Instance();
    if (IsOver(m_listCD, screen))
    {
        if (m_nDragTarget == DRAG_OVER_SONGS)
        {
            m_listSong.StopAutoScroll();
            m_listSong.ClearInsertMark();
        }
        m_nDragTarget = DRAG_OVER_LISTS;
        ImageList_DragLeave(::GetDesktopWindow());
        CPoint local = screen;
        m_listCD.ScreenToClient(&local);
        CRect client;
        m_listCD.GetClientRect(&client);
        if (local.y < client.top + SCROLL_ZONE)
            m_listCD.StartAutoScroll(1);
        else if (local.y > client.bottom - SCROLL_ZONE)
            m_listCD.StartAutoScroll(2);
        else
            m_listCD.StopAutoScroll();
        ImageList_DragEnter(::GetDesktopWindow(), screen.x, screen.y);
        LVHITTESTINFO hit = {};
        hit.pt = local;
        int row = m_listCD.HitTest(&hit);
        int shown = main ? m_listCD.FindList(main->m_strShownListName) : -1;
        if (main && main->IsShowingOwnLibrary() && row > 0 && row < m_listCD.GetItemCount() - 2 && row != shown)
        {
            m_bDropAllowed = TRUE;
            ::SetCursor(m_hDropCursor ? m_hDropCursor : ::LoadCursorW(NULL, IDC_ARROW));
            m_listCD.SetDropTarget(row);
            return;
        }
        m_bDropAllowed = FALSE;
        ::SetCursor(m_hNoDropCursor);
        m_listCD.ClearDropTarget();
    }
    else if (IsOver(m_listSong, screen))
    {
        if (m_nDragTarget == DRAG_OVER_LISTS)
        {
            m_listCD.StopAutoScroll();
            m_listCD.ClearDropTarget();
        }
        m_nDragTarget = DRAG_OVER_SONGS;
        ImageList_DragLeave(::GetDesktopWindow());
        CPoint local = screen;
        m_listSong.ScreenToClient(&local);
        CRect client;
        m_listSong.GetClientRect(&client);
        int bottomZone = SCROLL_ZONE;
        if (m_listSong.GetStyle() & WS_HSCROLL)
            bottomZone += ::GetSystemMetrics(SM_CYHSCROLL);
        if (local.y < client.top + SCROLL_ZONE)
            m_listSong.StartAutoScroll(1);
        else if (local.y > client.bottom - bottomZone)
            m_listSong.StartAutoScroll(2);
        else
            m_listSong.StopAutoScroll();
        ImageList_DragEnter(::GetDesktopWindow(), screen.x, screen.y);
        int row, subItem;
        BOOL onIcon;
        if (!m_listSong.HitTestSubItem(local, row, subItem, onIcon))
        {
            m_bDropAllowed = FALSE;
            ::SetCursor(m_hNoDropCursor);
            m_listSong.ClearInsertMark();
            m_listSong.StopAutoScroll();
            return;
        }
        m_bDropAllowed = TRUE;
        ::SetCursor(m_hDropCursor ? m_hDropCursor : ::LoadCursorW(NULL, IDC_ARROW));
        CRect rect;
        m_listSong.GetItemRect(row, &rect, LVIR_BOUNDS);
        if (rect.Height() < 2 || local.y < rect.top + rect.Height() / 2)
            m_listSong.SetInsertMark(row, 1);
        else if (row == m_listSong.GetItemCount() - 1)
            m_listSong.SetInsertMark(row, 2);
        else
            m_listSong.SetInsertMark(row + 1, 1);
    }
    else
    {
        m_bDropAllowed = FALSE;
        ::SetCursor(m_hNoDropCursor);
        if (m_nDragTarget == DRAG_OVER_LISTS)
        {
            m_listCD.StopAutoScroll();
            m_listCD.ClearDropTarget();
        }
        else if (m_nDragTarget == DRAG_OVER_SONGS)
        {
            m_listSong.StopAutoScroll();
            m_listSong.ClearInsertMark();
        }
        m_nDragTarget = DRAG_NONE;
    }
}

void CDlgChildSong::EndDrag()
{
    if (m_hDragImage)
        ImageList_Destroy(m_hDragImage);
    m_hDragImage = NULL;
    m_pDragSource = NULL;
    m_nDragTarget = DRAG_NONE;
    m_bDropAllowed = FALSE;
}

void CDlgChildSong::DragDrop(CPoint point)
{
    if (!m_hDragImage)
        return;
    ::ReleaseCapture();
    ImageList_DragLeave(::GetDesktopWindow());
    ImageList_EndDrag();
    CPoint screen = point;
    ClientToScreen(&screen);
    CDlgMain* main = CDlgMain::Instance();
    if (m_pDragSource == &m_listSong && main)
    {
        if (IsOver(m_listCD, screen))
        {
            m_listCD.StopAutoScroll();
            m_listCD.ClearDropTarget();
            CPoint local = screen;
            m_listCD.ScreenToClient(&local);
            LVHITTESTINFO hit = {};
            hit.pt = local;
            int row = m_listCD.HitTest(&hit);
            main->SendMessage(WM_MAIN_DROP_ON_LIST, 0, row);
        }
        else if (IsOver(m_listSong, screen))
        {
            m_listSong.StopAutoScroll();
            int index = m_listSong.GetInsertIndex();
            m_listSong.ClearInsertMark();
            m_listSong.ResetSortState(TRUE);
            main->SendMessage(WM_MAIN_MOVE_SONG_ROWS, 1, index);
        }
    }
    EndDrag();
}

void CDlgChildSong::OnSongListsKey(WORD key)
{
    int row = m_listCD.GetNextItem(-1, LVNI_SELECTED);
    m_listCD.m_nCurrentRow = row;
    if (row < 0)
        return;
    if (key == VK_F2 && !m_listCD.CanEditRow(row))
        return;
    CDlgMain* main = CDlgMain::Instance();
    if (!main || !main->IsShowingOwnLibrary() || row <= 0 || IsReservedListName(m_listCD.GetListName(row), TRUE))
        return;
    main->SendMessage(WM_COMMAND, MAKEWPARAM(key == VK_F2 ? ID_SONGLIST_RENAME : ID_SONGLIST_DELETE, 0), 0);
}

BOOL CDlgChildSong::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The lists' own handling (reflected notifications) comes first.
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    LRESULT reflected = 0;
    if (ReflectLastMsg(hdr->hwndFrom, &reflected) && hdr->idFrom != IDC_SONG_LIST &&
        hdr->idFrom != IDC_SONG_LIST_LIST)
    {
        *pResult = reflected;
        return TRUE;
    }
    CDlgMain* main = CDlgMain::Instance();
    *pResult = 0;
    if (hdr->idFrom == IDC_SONG_SPLITTER && hdr->hwndFrom == m_splitter.GetSafeHwnd())
    {
        m_nSplitterPos += reinterpret_cast<SplitterNotify*>(lParam)->delta;
        Layout();
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_NOTIFY, wParam, lParam);
        return TRUE;
    }
    if (hdr->idFrom == IDC_SONG_LIST_LIST && hdr->hwndFrom == m_listCD.GetSafeHwnd())
    {
        NMITEMACTIVATE* nm = reinterpret_cast<NMITEMACTIVATE*>(lParam);
        switch (hdr->code)
        {
        case NM_CLICK:
        case NM_RCLICK:
        case NM_RDBLCLK:
            m_listSong.ResetSortState(TRUE);
            if (main)
                main->ShowSongList(nm->iItem, FALSE, TRUE);
            if (nm->iItem >= 0)
                m_listCD.SetItemState(nm->iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            if (main && hdr->code == NM_RCLICK)
                main->ShowSongListsMenu(nm->iItem);
            return TRUE;
        case NM_DBLCLK:
        {
            CRect first;
            BOOL inFirst = m_listCD.GetItemRect(0, &first, LVIR_BOUNDS) && first.PtInRect(nm->ptAction);
            if (main && nm->iItem >= 0 && (nm->iItem != 0 || inFirst))
                main->PlaySongList(nm->iItem);
            return TRUE;
        }
        case LVN_KEYDOWN:
        {
            WORD key = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
            if (key == VK_F2 || key == VK_DELETE)
                OnSongListsKey(key);
            return TRUE;
        }
        default:
            return FALSE;
        }
    }
    if (hdr->idFrom == IDC_SONG_LIST && hdr->hwndFrom == m_listSong.GetSafeHwnd())
    {
        switch (hdr->code)
        {
        case NM_CLICK:
            return TRUE;
        case NM_RCLICK:
            if (main)
                main->ShowSongRowMenu(reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem,
                                      reinterpret_cast<NMITEMACTIVATE*>(lParam)->iSubItem);
            return TRUE;
        case NM_DBLCLK:
        {
            int row = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
            if (main && row >= 0)
                main->PlaySongAt(row);
            return TRUE;
        }
        case LVN_KEYDOWN:
            if (reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE && main && main->IsShowingOwnLibrary())
                main->SendMessage(WM_COMMAND, MAKEWPARAM(ID_SONG_DELETE, 0), 0);
            return TRUE;
        case LVN_BEGINDRAG:
            BeginSongDrag(reinterpret_cast<NMLISTVIEW*>(lParam)->ptAction);
            return TRUE;
        case LVN_ODFINDITEMW:
            // The row the list found by its title.
            *pResult = reflected;
            return TRUE;
        default:
            return FALSE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CDlgChildSong::RefuseRename(int reopen)
{
    m_listCD.EndRename(TRUE);
    if (CDlgMain* main = CDlgMain::Instance())
        main->PostMessage(WM_COMMAND, MAKEWPARAM(ID_SONGLIST_RENAME, 0), reopen);
}

LRESULT CDlgChildSong::OnRenameMessage(const InPlaceEditNotify& note)
{
    CDlgMain* main = CDlgMain::Instance();
    if (note.reason == CInPlaceEdit::REASON_FOCUS_LOST && reinterpret_cast<HWND>(note.detail) == note.hwndEditor)
        return 0;
    if (note.reason == CInPlaceEdit::REASON_KEY && note.detail == VK_ESCAPE)
    {
        m_listCD.EndRename(TRUE);
        return 1;
    }
    if (note.reason != CInPlaceEdit::REASON_KEY && note.reason != CInPlaceEdit::REASON_FOCUS_LOST)
        return 1;
    BOOL focusLost = note.reason == CInPlaceEdit::REASON_FOCUS_LOST;
    CInPlaceEdit* editor = m_listCD.GetEditor();
    if (!editor || !main)
        return 1;
    editor->ShowWindow(SW_HIDE);
    int row = m_listCD.m_nCurrentRow;
    CString oldName = m_listCD.GetListName(row);
    oldName.Trim();
    CString newName;
    editor->GetWindowText(newName);
    newName.Trim();
    if (newName == oldName)
    {
        m_listCD.EndRename(TRUE);
        return 1;
    }
    if (newName.IsEmpty())
    {
        CDlgMain::s_askUser(Lang(L"INFO_CHILD_SONG_EMPTY_SONGLIST"), CDlgMessage::BUTTONS_OK, L"", 0, main);
        RefuseRename(focusLost ? -1 : 0);
        return 1;
    }
    CPlaylist taken;
    CString renamed = focusLost ? oldName : main->m_strShownListName;
    if (main->IsShowingOwnLibrary() && FAILED(main->m_shownLibrary.GetPlaylistByName(newName, taken)) &&
        !IsReservedListName(newName, TRUE) && main->m_shownLibrary.RenamePlaylist(renamed, newName) == S_OK)
    {
        CClientApp* app = GetClientApp();
        if (app)
            main->m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
        main->UpdateSongListCounts();
        m_listCD.EndRename(FALSE);
        if (!focusLost || main->m_strShownListName == oldName)
            main->m_strShownListName = newName;
        if (focusLost)
            main->ShowSongList(row, FALSE, TRUE);
        return 1;
    }
    CDlgMain::s_askUser(Lang(L"INFO_CHILD_SONG_SAME_SONGLIST"), CDlgMessage::BUTTONS_OK, L"", 0, main);
    RefuseRename(focusLost ? -1 : 0);
    return 1;
}

LRESULT CDlgChildSong::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == GetInPlaceEditMessage())
        return lParam ? OnRenameMessage(*reinterpret_cast<const InPlaceEditNotify*>(lParam)) : 1;
    switch (message)
    {
    case WM_DESTROY:
        // A window that is gone can no longer be revoked.
        for (CFileDropTarget* target : {m_pDropLists, m_pDropSongs})
            if (target)
                target->Revoke();
        break;
    case WM_MOUSEMOVE:
        DragMove(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        break;
    case WM_LBUTTONUP:
        DragDrop(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        break;
    case WM_SIZE:
    {
        LRESULT r = CDialog::WindowProc(message, wParam, lParam);
        if (m_listCD.GetSafeHwnd())
            Layout();
        return r;
    }
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
