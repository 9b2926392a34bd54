#include "ListCtrlUpload.h"
#include "ListCtrlDownload.h"
#include "LanguageTable.h"
#include "UploadTask.h"
#include "resource.h"

#include <memory>

namespace
{
enum Text
{
    TextRunning,
    TextWaiting,
    TextDone,
    TextFailed,
    TextFileSize,
    TextSent,
    TextSpeed,
    TextSecond,
    TextMinute,
};
const wchar_t* const TextKeys[] = {
    L"INFO_MUSIC_COMPANY_UPLOAD_BEGIN",
    L"INFO_MUSIC_COMPANY_UPLOAD_WAIT",
    L"INFO_MUSIC_COMPANY_UPLOAD_SUCCESS",
    L"INFO_MUSIC_COMPANY_UPLOAD_FAILED",
    L"INFO_DOWNLOAD_SONG_FILESIZE",
    L"INFO_UPLOAD_SONG_UPLOADSIZE",
    L"INFO_DOWNLOAD_SONG_SPEED",
    L"INFO_STR_SECOND",
    L"INFO_STR_MINUTE",
};
const UINT TextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void DrawTextAt(HDC dc, const CString& text, int left, int top, int right, int bottom, UINT flags = TextFlags)
{
    RECT rc = {left, top, right, bottom};
    DrawTextW(dc, text, text.GetLength(), &rc, flags);
}
} // namespace

BEGIN_MESSAGE_MAP(CListCtrlUpload, CListCtrlTransfer)
ON_MESSAGE(WM_USER + 101, &CListCtrlUpload::OnTaskMessage)
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SIZE()
ON_NOTIFY_REFLECT(NM_DBLCLK, &CListCtrlUpload::OnDblClk)
ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CListCtrlUpload::OnDeleteItem)
END_MESSAGE_MAP()

CListCtrlUpload::CListCtrlUpload()
{
    for (int i = 0; i < 9; ++i)
        m_texts[i] = Lang(TextKeys[i]);
}

CListCtrlUpload::~CListCtrlUpload() = default;

UploadTask* CListCtrlUpload::GetTask(int row) const
{
    if (!m_hWnd || row < 0 || row >= GetItemCount())
        return NULL;
    return reinterpret_cast<UploadTask*>(GetItemData(row));
}

int CListCtrlUpload::AddTask(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title,
                             LPCWSTR author, LPCWSTR uploadId, int size, LPCWSTR fileType)
{
    int row =
        InsertTask(new UploadTask(uploadHost, uploadPort, filePath, title, author, uploadId, size, fileType));
    if (row >= 0)
        EnsureVisible(row, FALSE);
    return row;
}

int CListCtrlUpload::InsertTask(UploadTask* task)
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
        delete task;
        return row;
    }
    task->SetOwner(m_hWnd);
    task->SetRowId(row);
    if (m_running <= 0)
    {
        m_running = 1;
        task->Start();
    }
    ++m_taskCount;
    GetParent()->SendMessage(UploadTask::TransferMessage, ParentRunning, m_running);
    return row;
}

int CListCtrlUpload::StartNextTask(int fromRow)
{
    if (m_running > 0)
        return -1;
    int count = GetItemCount();
    for (int row = fromRow < 0 ? 0 : fromRow; row < count; ++row)
    {
        UploadTask* task = GetTask(row);
        if (task && task->GetState() == UploadTask::StateWaiting)
        {
            ++m_running;
            GetParent()->SendMessage(UploadTask::TransferMessage, ParentRunning, m_running);
            task->Start();
            return 0;
        }
    }
    GetParent()->SendMessage(UploadTask::TransferMessage, ParentRunning, m_running);
    return -1;
}

void CListCtrlUpload::StopAll(BOOL deleteRows)
{
    m_stoppingAll = TRUE;
    for (int row = GetItemCount() - 1; row >= 0; --row)
        if (UploadTask* task = GetTask(row))
            if (task->GetState() == UploadTask::StateRunning)
                task->Stop();
    if (deleteRows)
        DeleteAllItems();
}

void CListCtrlUpload::RenumberRows(int from)
{
    int count = GetItemCount();
    for (int row = from < 0 ? 0 : from; row < count; ++row)
        if (UploadTask* task = GetTask(row))
            task->SetRowId(row);
    Invalidate(FALSE);
}

LRESULT CListCtrlUpload::OnTaskMessage(WPARAM state, LPARAM row)
{
    UploadTask* task = GetTask((int)row);
    if (!task)
        return 1;
    if (state == (WPARAM)KindRedraw)
    {
        RedrawRow((int)row);
        return 1;
    }
    if (state != UploadTask::StateDone && state != UploadTask::StateFailed &&
        state != UploadTask::StateStopped)
        return 1;
    if (!task->TakeEndReport())
        return 1;
    if (state == UploadTask::StateDone)
    {
        RedrawRow((int)row);
        --m_running;
        ++m_done;
        if (m_running <= 0)
            StartNextTask((int)row);
        GetParent()->SendMessage(UploadTask::TransferMessage, ParentDone, m_done);
    }
    else if (state == UploadTask::StateFailed)
    {
        RedrawRow((int)row);
        --m_running;
        ++m_failed;
        if (!m_stoppingAll)
            StartNextTask((int)row);
        GetParent()->SendMessage(UploadTask::TransferMessage, ParentFailed, m_failed);
    }
    else
    {
        --m_running;
        if (!m_stoppingAll)
            StartNextTask((int)row);
    }
    return 1;
}

void CListCtrlUpload::OnTimer(UINT_PTR id)
{
    if (id != TimerRedraw)
    {
        Default();
        return;
    }
    m_tick = m_tick >= 9 ? 0 : m_tick + 1;
    for (int row = GetItemCount() - 1; row >= 0; --row)
    {
        UploadTask* task = GetTask(row);
        if (!task || task->GetState() != UploadTask::StateRunning)
            continue;
        if (m_tick == 0)
            task->ClearRecentBytes();
        RedrawRow(row);
        break;
    }
}

void CListCtrlUpload::DrawItem(LPDRAWITEMSTRUCT item)
{
    UploadTask* task = reinterpret_cast<UploadTask*>(item->itemData);
    if (!task)
        return;
    HGDIOBJ oldFont = SelectObject(item->hDC, (HFONT)SendMessage(WM_GETFONT));
    DrawRow(item->hDC, CRect(item->rcItem), task, (item->itemState & ODS_SELECTED) != 0);
    SelectObject(item->hDC, oldFont);
}

void CListCtrlUpload::DrawRow(HDC dc, const CRect& rc, UploadTask* task, BOOL selected)
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
    static const int stateText[] = {TextWaiting, TextRunning, TextDone, TextFailed};
    CString top = state >= 0 && state <= UploadTask::StateFailed ? m_texts[stateText[state]] : CString();
    DrawTextAt(dc, top + task->GetTitle(), L + 40, T + 9, L + 374, T + 23);
    if (state == UploadTask::StateWaiting || state == UploadTask::StateDone ||
        state == UploadTask::StateFailed)
        DrawTextAt(dc, task->GetTitle(), L + 40, T + 30, L + 374, T + 44);

    if (state >= 0 && state <= UploadTask::StateFailed && (size_t)state < m_icons.size())
        DrawIconEx(dc, L + 5, T + 30, m_icons[state], 16, 16, 0, NULL, DI_NORMAL);
    int hover = task->GetActionHover();
    hover = hover >= 0 && hover <= 2 ? hover : 0;
    int icon = -1;
    if (state == UploadTask::StateDone)
        icon = CListCtrlDownload::IconPlay + hover;
    else if (state == UploadTask::StateWaiting || state == UploadTask::StateRunning)
        icon = CListCtrlDownload::IconRemove + hover;
    CRect action = CListCtrlDownload::ActionRect(rc);
    if (icon >= 0 && (size_t)icon < m_icons.size())
        DrawIconEx(dc, action.left, action.top, m_icons[icon], 16, 16, 0, NULL, DI_NORMAL);

    HPEN line = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    HGDIOBJ oldPen = SelectObject(dc, line);
    MoveToEx(dc, L, B - 1, NULL);
    LineTo(dc, R, B - 1);
    SelectObject(dc, oldPen);
    DeleteObject(line);

    CString text;
    if (state == UploadTask::StateFailed)
    {
        text.Format(L"(0x%x)", task->GetErrorCode());
        DrawTextAt(dc, text, L + 40, T + 51, R, B - 2);
    }
    else if (state == UploadTask::StateRunning)
    {
        HPEN framePen = CreatePen(PS_SOLID, 1, RGB(36, 61, 113));
        HGDIOBJ oldFramePen = SelectObject(dc, framePen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        RoundRect(dc, L + 40, T + 30, L + 374, T + 44, 2, 2);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldFramePen);
        DeleteObject(framePen);
        double total = task->GetSize();
        if (total > 1)
        {
            double sent = task->GetSent();
            double share = sent / total > 1 ? 1 : sent / total;
            RECT bar = {L + 41, T + 31, L + 41 + (int)(332 * share), T + 43};
            HBRUSH fill = CreateSolidBrush(RGB(64, 103, 184));
            FillRect(dc, &bar, fill);
            DeleteObject(fill);
            text.Format(L"%.1f%%", share * 100);
            DrawTextAt(dc, text, L + 40, T + 30, L + 374, T + 44,
                       DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
            text.Format(L"%s %s", (LPCWSTR)m_texts[TextFileSize],
                        (LPCWSTR)CListCtrlDownload::FormatSize(total));
            DrawTextAt(dc, text, L + 40, T + 51, L + 115, B - 2);
            text.Format(L"%s %s", (LPCWSTR)m_texts[TextSent], (LPCWSTR)CListCtrlDownload::FormatSize(sent));
            DrawTextAt(dc, text, L + 115, T + 51, L + 218, B - 2);
            text.Format(L"%s %s/%s", (LPCWSTR)m_texts[TextSpeed],
                        (LPCWSTR)CListCtrlDownload::FormatSize(task->GetRecentBytes() * 0.5),
                        (LPCWSTR)m_texts[TextSecond]);
            DrawTextAt(dc, text, L + 218, T + 51, R - 4, B - 2);
        }
    }
}

int CListCtrlUpload::HitTestRowAction(CPoint point, BOOL* onAction) const
{
    *onAction = FALSE;
    CRect rc;
    int row = CListCtrlDownload::RowAt(*this, point, &rc);
    if (row < 0 || !GetTask(row))
        return row;
    *onAction = CListCtrlDownload::ActionRect(rc).PtInRect(point);
    return row;
}

void CListCtrlUpload::SetHover(int row, int hover)
{
    if (m_hoverRow >= 0 && m_hoverRow != row)
        if (UploadTask* before = GetTask(m_hoverRow))
        {
            before->SetActionHover(0);
            RedrawRow(m_hoverRow);
        }
    m_hoverRow = row;
    if (UploadTask* task = GetTask(row))
    {
        task->SetActionHover(hover);
        RedrawRow(row);
    }
}

void CListCtrlUpload::OnMouseMove(UINT flags, CPoint point)
{
    Default();
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    SetHover(row, onAction ? ((flags & MK_LBUTTON) ? 2 : 1) : 0);
    ::SetCursor(onAction ? m_hand : LoadCursorW(NULL, IDC_ARROW));
}

void CListCtrlUpload::OnLButtonDown(UINT, CPoint point)
{
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    SetHover(row, onAction ? 2 : 0);
    Default();
}

void CListCtrlUpload::OnLButtonUp(UINT, CPoint point)
{
    BOOL onAction = FALSE;
    int row = HitTestRowAction(point, &onAction);
    if (onAction)
        DoRowAction(row);
    else
        SetHover(row, 0);
    Default();
}

void CListCtrlUpload::OnDblClk(NMHDR* header, LRESULT* result)
{
    NMITEMACTIVATE* activate = reinterpret_cast<NMITEMACTIVATE*>(header);
    BOOL onAction = FALSE;
    int row = HitTestRowAction(activate->ptAction, &onAction);
    if (onAction)
        DoRowAction(row);
    *result = 0;
}

void CListCtrlUpload::DoRowAction(int row)
{
    UploadTask* task = GetTask(row);
    if (!task)
        return;
    task->SetActionHover(2);
    if (task->GetState() == UploadTask::StateWaiting)
    {
        --m_taskCount;
        DeleteItem(row);
        RenumberRows(row);
        GetParent()->SendMessage(UploadTask::TransferMessage, ParentRemoved, 0);
    }
    else if (task->GetState() == UploadTask::StateRunning)
    {
        --m_taskCount;
        // The row goes at once, so the list counts the end here; a posted
        // stop would reach whichever task moves into this row.
        task->TakeEndReport();
        task->SetOwner(NULL);
        task->Stop();
        --m_running;
        DeleteItem(row);
        RenumberRows(row);
        if (!m_stoppingAll)
            StartNextTask(row);
    }
    m_hoverRow = -1;
}

void CListCtrlUpload::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    NMLISTVIEW* view = reinterpret_cast<NMLISTVIEW*>(header);
    delete reinterpret_cast<UploadTask*>(view->lParam);
    *result = 0;
}

void CListCtrlUpload::OnSize(UINT, int, int)
{
    Default();
    ShowScrollBar(SB_HORZ, FALSE);
}
