#include "ListCtrlDownload.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "DownloadTask.h"
#include "FileFolder.h"
#include "LanguageTable.h"
#include "SongLibrary.h"
#include "SyncPlaylist.h"
#include "resource.h"

#include <cmath>

std::function<void(const CString&)> CListCtrlDownload::s_onSongAdded;
std::function<void(const CString&, const CString&)> CListCtrlDownload::s_onPlay;
CString CListCtrlDownload::s_libraryPath;

namespace
{
enum Text
{
    TextRunning,
    TextWaiting,
    TextDone,
    TextFailed,
    TextAddTo,
    TextSaveIn,
    TextFileSize,
    TextReceived,
    TextSpeed,
    TextTimeLeft,
    TextSecond,
    TextMinute,
};
const wchar_t* const TextKeys[] = {
    L"INFO_DOWNLOAD_SONG_BEGIN",
    L"INFO_DOWNLOAD_SONG_WAIT",
    L"INFO_DOWNLOAD_SONG_SUCCESS",
    L"INFO_DOWNLOAD_SONG_FAILED",
    L"INFO_DOWNLOAD_SONG_ADD_CD",
    L"INFO_DOWNLOAD_SONG_FILE_SAVE",
    L"INFO_DOWNLOAD_SONG_FILESIZE",
    L"INFO_DOWNLOAD_SONG_DOWNLOADSIZE",
    L"INFO_DOWNLOAD_SONG_SPEED",
    L"INFO_DOWNLOAD_SONG_REMAINTIME",
    L"INFO_STR_SECOND",
    L"INFO_STR_MINUTE",
};
const UINT TextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void DrawTextAt(HDC dc, const CString& text, int left, int top, int right, int bottom, UINT flags = TextFlags)
{
    RECT rc = {left, top, right, bottom};
    DrawTextW(dc, text, text.GetLength(), &rc, flags);
}

CString LibraryPath()
{
    if (!CListCtrlDownload::s_libraryPath.IsEmpty())
        return CListCtrlDownload::s_libraryPath;
    CClientApp* app = GetClientApp();
    return app ? app->GetMyPlaylistPath() : CString();
}
} // namespace

BEGIN_MESSAGE_MAP(CListCtrlDownload, CListCtrlTransfer)
ON_MESSAGE(DownloadTask::TransferMessage, &CListCtrlDownload::OnTaskMessage)
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SIZE()
ON_NOTIFY_REFLECT(NM_DBLCLK, &CListCtrlDownload::OnDblClk)
ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CListCtrlDownload::OnDeleteItem)
END_MESSAGE_MAP()

CListCtrlDownload::CListCtrlDownload()
{
    for (int i = 0; i < 12; ++i)
        m_texts[i] = Lang(TextKeys[i]);
}

CListCtrlDownload::~CListCtrlDownload() = default;

DownloadTask* CListCtrlDownload::GetTask(int row) const
{
    if (!m_hWnd || row < 0 || row >= GetItemCount())
        return NULL;
    return reinterpret_cast<DownloadTask*>(GetItemData(row));
}

int CListCtrlDownload::AddTask(LPCWSTR url, LPCWSTR fileName, LPCWSTR targetFolder, LPCWSTR songListName,
                               LPCWSTR coverAddress)
{
    DownloadTask* task = new DownloadTask;
    task->SetUrl(url);
    task->SetFileName(fileName);
    task->SetTargetFolder(targetFolder);
    task->SetSongListName(songListName);
    task->SetCoverAddress(coverAddress);
    task->MakeUniqueTarget();
    int row = InsertTask(task);
    if (row < 0)
        return row;
    EnsureVisible(row, FALSE);
    return row;
}

int CListCtrlDownload::InsertTask(DownloadTask* task)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    item.iItem = GetItemCount();
    item.state = LVIS_FOCUSED;
    item.stateMask = LVIS_FOCUSED;
    item.pszText = const_cast<LPWSTR>(L"");
    item.lParam = reinterpret_cast<LPARAM>(task);
    int row = InsertItem(&item);
    if (row < 0)
    {
        DeleteExistingFile(task->GetTargetPath());
        delete task;
        return row;
    }
    task->SetOwner(m_hWnd);
    task->SetRowId(row);
    if (m_running < MaxRunning)
    {
        ++m_running;
        task->Start();
    }
    ++m_taskCount;
    GetParent()->SendMessage(DownloadTask::TransferMessage, ParentRunning, m_running);
    return row;
}

int CListCtrlDownload::StartNextTask(int fromRow)
{
    if (m_running >= MaxRunning)
        return -1;
    int count = GetItemCount();
    for (int row = fromRow < 0 ? 0 : fromRow; row < count; ++row)
    {
        DownloadTask* task = GetTask(row);
        if (task && task->GetState() == DownloadTask::StateWaiting)
        {
            ++m_running;
            GetParent()->SendMessage(DownloadTask::TransferMessage, ParentRunning, m_running);
            task->Start();
            return 0;
        }
    }
    GetParent()->SendMessage(DownloadTask::TransferMessage, ParentRunning, m_running);
    return -1;
}

void CListCtrlDownload::StopAll(BOOL deleteRows)
{
    m_stoppingAll = TRUE;
    for (int row = GetItemCount() - 1; row >= 0; --row)
        if (DownloadTask* task = GetTask(row))
            if (task->GetState() == DownloadTask::StateRunning)
                task->Stop();
    if (deleteRows)
        DeleteAllItems();
}

void CListCtrlDownload::RemoveTask(int row, BOOL deleteRow)
{
    DownloadTask* task = GetTask(row);
    if (!task)
        return;
    task->Stop();
    if (deleteRow)
    {
        DeleteItem(row);
        RenumberRows(row);
    }
}

void CListCtrlDownload::RenumberRows(int from)
{
    int count = GetItemCount();
    for (int row = from < 0 ? 0 : from; row < count; ++row)
        if (DownloadTask* task = GetTask(row))
            task->SetRowId(row);
    Invalidate(FALSE);
}

CString CListCtrlDownload::FormatSize(double bytes)
{
    CString text;
    if (bytes < 1024)
        text.Format(L"%d B", (int)bytes);
    else if (bytes < 1048576)
        text.Format(L"%d KB", (int)(bytes / 1024));
    else if (bytes < 1073741824)
        text.Format(L"%.2f MB", bytes / 1048576);
    else
        text.Format(L"%.2f GB", bytes / 1073741824);
    return text;
}

CString CListCtrlDownload::FormatDuration(unsigned seconds, LPCWSTR secondText, LPCWSTR minuteText)
{
    CString text;
    if (seconds < 60)
        text.Format(L"%u%s", seconds, secondText);
    else if (seconds % 60)
        text.Format(L"%u%s%u%s", seconds / 60, minuteText, seconds % 60, secondText);
    else
        text.Format(L"%u%s", seconds / 60, minuteText);
    return text;
}

LRESULT CListCtrlDownload::OnTaskMessage(WPARAM state, LPARAM row)
{
    DownloadTask* task = GetTask((int)row);
    if (!task || (state != DownloadTask::StateDone && state != DownloadTask::StateFailed &&
                  state != DownloadTask::StateStopped))
        return 1;
    // A worker's end that arrives after a stop was already counted by it.
    if ((int)state != task->GetState() || !task->TakeEndReport())
        return 1;
    if (state == DownloadTask::StateDone)
    {
        RedrawRow((int)row);
        CString hash, cover;
        AddFinishedToLibrary((int)row, hash, cover);
        if (m_onFinished)
            m_onFinished(hash, cover);
        --m_running;
        ++m_done;
        if (!m_stoppingAll)
            StartNextTask((int)row);
        GetParent()->SendMessage(DownloadTask::TransferMessage, ParentDone, m_done);
    }
    else if (state == DownloadTask::StateFailed)
    {
        RedrawRow((int)row);
        --m_running;
        ++m_failed;
        if (!m_stoppingAll)
            StartNextTask((int)row);
        GetParent()->SendMessage(DownloadTask::TransferMessage, ParentFailed, m_failed);
    }
    else
    {
        --m_running;
        if (!m_stoppingAll)
            StartNextTask((int)row);
    }
    return 1;
}

void CListCtrlDownload::OnTimer(UINT_PTR id)
{
    if (id != TimerRedraw)
    {
        Default();
        return;
    }
    m_tick = m_tick >= 9 ? 0 : m_tick + 1;
    int left = m_running;
    for (int row = GetItemCount() - 1; row >= 0 && left > 0; --row)
    {
        DownloadTask* task = GetTask(row);
        if (!task || task->GetState() != DownloadTask::StateRunning)
            continue;
        --left;
        if (m_tick == 0)
            task->ClearRecentBytes();
        RedrawRow(row);
    }
}

void CListCtrlDownload::RedrawRow(int row)
{
    RedrawItems(row, row);
}

void CListCtrlDownload::DrawItem(LPDRAWITEMSTRUCT item)
{
    DownloadTask* task = reinterpret_cast<DownloadTask*>(item->itemData);
    if (!task)
        return;
    CRect rc(item->rcItem);
    BOOL selected = (item->itemState & ODS_SELECTED) != 0;
    HGDIOBJ oldFont = SelectObject(item->hDC, (HFONT)SendMessage(WM_GETFONT));
    DrawRow(item->hDC, rc, task, selected);
    SelectObject(item->hDC, oldFont);
}

void CListCtrlDownload::DrawRow(HDC dc, const CRect& rc, DownloadTask* task, BOOL selected)
{
    int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    COLORREF background = RGB(255, 255, 255);
    if (selected)
        background = ::GetFocus() == m_hWnd ? RGB(210, 234, 246) : RGB(228, 228, 228);
    HBRUSH brush = CreateSolidBrush(background);
    RECT full = rc;
    FillRect(dc, &full, brush);
    DeleteObject(brush);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));

    int state = task->GetState();
    // A stopped row shows its name alone.
    CString top;
    static const int stateText[] = {TextWaiting, TextRunning, TextDone, TextFailed};
    if (state >= 0 && state <= DownloadTask::StateFailed)
        top = m_texts[stateText[state]];
    DrawTextAt(dc, top + task->GetFinalName(), L + 40, T + 9, L + 374, T + 23);
    if (state == DownloadTask::StateWaiting || state == DownloadTask::StateDone ||
        state == DownloadTask::StateFailed)
        DrawTextAt(dc, task->GetUrl(), L + 40, T + 30, L + 374, T + 44);

    static const int stateIcon[] = {IconWaiting, IconRunning, IconDone, IconFailed};
    if (state >= 0 && state <= DownloadTask::StateFailed && (size_t)stateIcon[state] < m_icons.size())
        DrawIconEx(dc, L + 5, T + 30, m_icons[stateIcon[state]], 16, 16, 0, NULL, DI_NORMAL);
    if (state != DownloadTask::StateStopped)
    {
        int hover = task->GetActionHover();
        int icon = (state == DownloadTask::StateDone ? IconPlay : IconRemove) +
                   (hover >= 0 && hover <= 2 ? hover : 0);
        CRect action = ActionRect(rc);
        if ((size_t)icon < m_icons.size())
            DrawIconEx(dc, action.left, action.top, m_icons[icon], 16, 16, 0, NULL, DI_NORMAL);
    }

    HPEN line = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    HGDIOBJ oldPen = SelectObject(dc, line);
    MoveToEx(dc, L, B - 1, NULL);
    LineTo(dc, R, B - 1);
    SelectObject(dc, oldPen);
    DeleteObject(line);

    CString text;
    if (state == DownloadTask::StateFailed)
    {
        text.Format(L"(0x%x)", task->GetErrorCode());
        DrawTextAt(dc, text, L + 40, T + 51, R, B - 2);
    }
    else if (state == DownloadTask::StateRunning)
    {
        HPEN framePen = CreatePen(PS_SOLID, 1, RGB(36, 61, 113));
        HGDIOBJ oldFramePen = SelectObject(dc, framePen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        RoundRect(dc, L + 40, T + 30, L + 374, T + 44, 2, 2);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldFramePen);
        DeleteObject(framePen);
        double total = task->GetTotalSize();
        if (total > 1)
        {
            double received = task->GetReceived();
            double share = received / total;
            if (share > 1)
                share = 1;
            RECT bar = {L + 41, T + 31, L + 41 + (int)((L + 373 - (L + 41)) * share), T + 43};
            HBRUSH fill = CreateSolidBrush(RGB(64, 103, 184));
            FillRect(dc, &bar, fill);
            DeleteObject(fill);
            text.Format(L"%.1f%%", share * 100);
            DrawTextAt(dc, text, L + 40, T + 30, L + 374, T + 44,
                       DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
            double speed = task->GetRecentBytes() * 0.5;
            text.Format(L"%s %s", (LPCWSTR)m_texts[TextFileSize], (LPCWSTR)FormatSize(total));
            DrawTextAt(dc, text, L + 40, T + 51, L + 115, B - 2);
            text.Format(L"%s %s", (LPCWSTR)m_texts[TextReceived], (LPCWSTR)FormatSize(received));
            DrawTextAt(dc, text, L + 115, T + 51, L + 210, B - 2);
            text.Format(L"%s %s/%s", (LPCWSTR)m_texts[TextSpeed], (LPCWSTR)FormatSize(speed),
                        (LPCWSTR)m_texts[TextSecond]);
            DrawTextAt(dc, text, L + 210, T + 51, L + 300, B - 2);
            if (speed > 0)
            {
                unsigned left = (unsigned)std::floor((total - received) / speed + 0.5);
                text.Format(L"%s %s", (LPCWSTR)m_texts[TextTimeLeft],
                            (LPCWSTR)FormatDuration(left, m_texts[TextSecond], m_texts[TextMinute]));
                DrawTextAt(dc, text, L + 300, T + 51, R - 4, B - 2);
            }
        }
    }
    else if (state == DownloadTask::StateDone && task->GetTotalSize() > 0)
    {
        text.Format(L"%s %s\t", (LPCWSTR)m_texts[TextFileSize], (LPCWSTR)FormatSize(task->GetTotalSize()));
        DrawTextAt(dc, text, L + 40, T + 51, R, B - 2);
    }
}

int CListCtrlDownload::HitTestRowAction(CPoint point, BOOL* onAction) const
{
    *onAction = FALSE;
    CRect rc;
    int row = RowAt(*this, point, &rc);
    if (row < 0 || !GetTask(row))
        return row;
    *onAction = ActionRect(rc).PtInRect(point);
    return row;
}

int CListCtrlDownload::RowAt(const CListCtrl& list, CPoint point, CRect* rect)
{
    int count = list.GetItemCount();
    int last = list.GetTopIndex() + list.GetCountPerPage() + 1;
    for (int row = list.GetTopIndex(); row >= 0 && row < count && row <= last; ++row)
    {
        CRect bounds;
        if (list.GetItemRect(row, &bounds, LVIR_BOUNDS) && bounds.PtInRect(point))
        {
            *rect = bounds;
            return row;
        }
    }
    return -1;
}

void CListCtrlDownload::SetHover(int row, int hover)
{
    if (m_hoverRow >= 0 && m_hoverRow != row)
        if (DownloadTask* before = GetTask(m_hoverRow))
        {
            before->SetActionHover(0);
            RedrawRow(m_hoverRow);
        }
    m_hoverRow = row;
    if (DownloadTask* task = GetTask(row))
    {
        task->SetActionHover(hover);
        RedrawRow(row);
    }
}

void CListCtrlDownload::OnMouseMove(UINT flags, CPoint point)
{
    Default();
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    SetHover(row, onAction ? ((flags & MK_LBUTTON) ? 2 : 1) : 0);
    ::SetCursor(onAction ? m_hand : LoadCursorW(NULL, IDC_ARROW));
}

void CListCtrlDownload::OnLButtonDown(UINT, CPoint point)
{
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    SetHover(row, onAction ? 2 : 0);
    if (onAction)
        ::SetCursor(m_hand);
    Default();
}

void CListCtrlDownload::OnLButtonUp(UINT, CPoint point)
{
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    if (onAction)
        DoRowAction(row);
    else
        SetHover(row, 0);
    Default();
}

void CListCtrlDownload::OnDblClk(NMHDR* header, LRESULT* result)
{
    NMITEMACTIVATE* activate = reinterpret_cast<NMITEMACTIVATE*>(header);
    BOOL onAction = FALSE;
    int row = HitTestRowAction(activate->ptAction, &onAction);
    if (onAction)
        DoRowAction(row);
    *result = 0;
}

void CListCtrlDownload::DoRowAction(int row)
{
    DownloadTask* task = GetTask(row);
    if (!task)
        return;
    task->SetActionHover(2);
    switch (task->GetState())
    {
    case DownloadTask::StateWaiting:
        --m_taskCount;
        RemoveTask(row, TRUE);
        GetParent()->SendMessage(DownloadTask::TransferMessage, ParentRemoved, 0);
        break;
    case DownloadTask::StateRunning:
        --m_taskCount;
        RemoveTask(row, TRUE);
        break;
    case DownloadTask::StateDone:
        RedrawRow(row);
        PlayFinished(row);
        break;
    case DownloadTask::StateFailed:
        --m_taskCount;
        --m_failed;
        RemoveTask(row, TRUE);
        GetParent()->SendMessage(DownloadTask::TransferMessage, ParentFailed, m_failed);
        break;
    default:
        break;
    }
    m_hoverRow = -1;
}

void CListCtrlDownload::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    NMLISTVIEW* view = reinterpret_cast<NMLISTVIEW*>(header);
    DownloadTask* task = reinterpret_cast<DownloadTask*>(view->lParam);
    if (task)
    {
        if (task->GetState() == DownloadTask::StateWaiting)
            DeleteExistingFile(task->GetTargetPath());
        delete task;
    }
    *result = 0;
}

void CListCtrlDownload::OnSize(UINT, int, int)
{
    Default();
    if (m_tip.GetSafeHwnd())
    {
        // One tool over the whole list; the text is found when it shows.
        m_tip.RemoveToolById(this, GetDlgCtrlID());
        MarkupToolInfo tool;
        tool.id = GetDlgCtrlID();
        GetClientRect(&tool.rect);
        m_tip.AddToolInfo(this, tool);
    }
    ShowScrollBar(SB_HORZ, FALSE);
}

void CListCtrlDownload::PreSubclassWindow()
{
    m_tip.Create(this);
    m_tip.SetNotifyWindow(m_hWnd);
    MarkupToolInfo tool;
    tool.id = GetDlgCtrlID();
    GetClientRect(&tool.rect);
    m_tip.AddToolInfo(this, tool);
}

BOOL CListCtrlDownload::PreTranslateMessage(MSG* msg)
{
    if (m_tip.GetSafeHwnd())
        m_tip.RelayEvent(msg);
    return CListCtrl::PreTranslateMessage(msg);
}

BOOL CListCtrlDownload::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    if (header->code != MARKUPTIP_SHOW || header->hwndFrom != m_tip.GetSafeHwnd())
        return CListCtrl::OnNotify(wParam, lParam, result);
    NMMARKUPTIP* show = (NMMARKUPTIP*)lParam;
    if (show->ti->id != GetDlgCtrlID())
        return TRUE;
    POINT cursor = *show->pt;
    ScreenToClient(&cursor);
    show->ti->text = TooltipTextAt(cursor);
    return TRUE;
}

CString CListCtrlDownload::TooltipTextAt(CPoint point)
{
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    DownloadTask* task = GetTask(row);
    if (!task)
        return CString();
    if (onAction)
        return Lang(task->GetState() == DownloadTask::StateDone ? L"INFO_PLAYER_PLAY"
                                                                : L"INFO_DOWNLOAD_SONG_DEL");
    static const int stateText[] = {TextWaiting, TextRunning, TextDone, TextFailed};
    int state = task->GetState();
    CString text;
    text.Format(L"%s%s \n%s%s\n%s%s",
                state >= 0 && state <= DownloadTask::StateFailed ? (LPCWSTR)m_texts[stateText[state]] : L"",
                (LPCWSTR)task->GetFinalName(), (LPCWSTR)m_texts[TextAddTo], (LPCWSTR)task->GetSongListName(),
                (LPCWSTR)m_texts[TextSaveIn], (LPCWSTR)task->GetTargetFolder());
    return text;
}

CString CListCtrlDownload::AddSongToLibrary(LPCWSTR libraryPath, LPCWSTR filePath, LPCWSTR songListName)
{
    CSongInfo song;
    song.ReadFileTags(filePath);
    CSongLibrary library;
    library.LoadFromFile(libraryPath);
    CString listName = songListName ? songListName : L"";
    BOOL totalList = listName.IsEmpty() || listName == Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME");
    CPlaylist playlist;
    if (!totalList && library.GetPlaylistByName(listName, playlist) == S_OK)
        library.AddSongToPlaylist(song, playlist);
    else
        library.AddSong(song);
    library.SaveToFile(libraryPath);

    CSyncSong sync;
    sync.H = song.GetHash();
    sync.T = song.GetTitle();
    sync.A = song.GetArtist();
    sync.S = song.GetFileSize();
    CSyncPlaylist record;
    record.m_strName = totalList ? CString(L"all") : listName;
    record.AddSong(sync);
    CDataClient* data = CDataClient::GetInstance();
    data->AddSyncPlaylist(record);
    data->UploadPlaylists();
    CClientApp* app = GetClientApp();
    data->PostDownloadLog(app ? (LPCWSTR)app->GetUserId() : L"", song.GetHash(), song.GetTitle(),
                          song.GetArtist());
    return song.GetHash();
}

void CListCtrlDownload::AddFinishedToLibrary(int row, CString& hash, CString& cover)
{
    DownloadTask* task = GetTask(row);
    if (!task)
        return;
    cover = task->GetCoverAddress();
    CString path = LibraryPath();
    if (path.IsEmpty())
        return;
    hash = AddSongToLibrary(path, task->GetTargetPath(), task->GetSongListName());
    if (s_onSongAdded)
        s_onSongAdded(task->GetSongListName());
}

void CListCtrlDownload::PlayFinished(int row)
{
    DownloadTask* task = GetTask(row);
    if (task && s_onPlay)
        s_onPlay(task->GetSongListName(), task->GetTargetPath());
}
