#include "Board.h"

#include "AppSetting.h"
#include "BoardStore.h"
#include "DataClient.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "MemoryDC.h"
#include "SFSkinFramework.h"
#include "resource.h"

namespace
{
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kLineColour = 0xECE1C7;

CHARFORMAT2W Format10pt(COLORREF colour)
{
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_SIZE | CFM_BOLD | CFM_COLOR;
    cf.yHeight = 200;
    cf.crTextColor = colour;
    return cf;
}
} // namespace

BEGIN_MESSAGE_MAP(CBoard, CSkinDialog)
    ON_MESSAGE(WM_INPUT_SEND, &CBoard::OnInputSend)
    ON_MESSAGE(WM_INPUT_EMPTY, &CBoard::OnInputEmpty)
    ON_MESSAGE(CBoardRichEdit::WM_BOARD_CHANGED, &CBoard::OnBoardChanged)
    ON_EN_CHANGE(IDC_BOARD_INPUT, &CBoard::OnInputChange)
    ON_BN_CLICKED(IDC_BOARD_ANONYMOUS, &CBoard::OnAnonymous)
    ON_BN_CLICKED(IDC_BOARD_PIN, &CBoard::OnPin)
    ON_BN_CLICKED(IDC_BOARD_RETRY, &CBoard::OnRetryClicked)
    ON_STN_CLICKED(IDC_BOARD_RETRY, &CBoard::OnRetryClicked)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBoard::CBoard(const CString& key, const CString& ownerId, const CString& title, CBoardStore* store, BOOL own,
               CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_pStore(store), m_textFormat(Format10pt(0x333333)),
      m_headerFormat(Format10pt(0x008000)), m_strKey(key), m_strOwnerId(ownerId), m_strTitle(title), m_bOwn(own),
      m_bAnonymous(FALSE), m_bPin(FALSE), m_bDownloading(TRUE), m_retry(NULL, FALSE)
{
}

CBoard::~CBoard() {}

CPoint CBoard::PlaceAtCursor(CPoint cursor, const CRect& desktop)
{
    CPoint at = cursor;
    // The window's own width decides whether it fits right of the cursor.
    if (cursor.x + WIDTH > desktop.right)
        at.x = cursor.x - WIDTH;
    if (cursor.y + HEIGHT > desktop.bottom)
        at.y = cursor.y - HEIGHT;
    return at;
}

void CBoard::Place(CWnd& control, int x, int y, int cx, int cy, BOOL show)
{
    if (!control.GetSafeHwnd())
        return;
    control.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    control.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CBoard::ShowToggle(CImageButton& button, BOOL on)
{
    if (on)
        button.SetBitmaps(IDB_SWITCH_ON_HOVER, kGreen, IDB_SWITCH_ON, kGreen, IDB_SWITCH_ON_PRESSED, kGreen);
    else
        button.SetBitmaps(IDB_SWITCH_OFF_HOVER, kGreen, IDB_SWITCH_OFF, kGreen, IDB_SWITCH_OFF_PRESSED, kGreen);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

BOOL CBoard::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_view.SubclassDlgItem(IDC_BOARD_VIEW, this);
    m_input.SubclassDlgItem(IDC_BOARD_INPUT, this);
    m_btnClose.SubclassDlgItem(IDCANCEL, this);
    m_btnPost.SubclassDlgItem(IDOK, this);
    m_btnAnonymous.SubclassDlgItem(IDC_BOARD_ANONYMOUS, this);
    m_btnPin.SubclassDlgItem(IDC_BOARD_PIN, this);
    m_status.SubclassDlgItem(IDC_BOARD_STATUS, this);
    m_anonymousLabel.SubclassDlgItem(IDC_BOARD_ANONYMOUS_LABEL, this);
    m_pinLabel.SubclassDlgItem(IDC_BOARD_PIN_LABEL, this);
    m_title.SubclassDlgItem(IDC_BOARD_TITLE, this);
    m_retry.SubclassDlgItem(IDC_BOARD_RETRY, this);
    m_view.ModifyStyleEx(0, WS_EX_TRANSPARENT);
    LoadBitmapResource(m_bmpLeft, IDB_BOARD_TITLE_LEFT);
    LoadBitmapResource(m_bmpMiddle, IDB_BOARD_TITLE_MIDDLE);
    LoadBitmapResource(m_bmpRight, IDB_BOARD_TITLE_RIGHT);
    m_sizeLeft = GetBitmapSize(m_bmpLeft);
    m_sizeMiddle = GetBitmapSize(m_bmpMiddle);
    m_sizeRight = GetBitmapSize(m_bmpRight);

    CPoint cursor;
    ::GetCursorPos(&cursor);
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    CPoint at = PlaceAtCursor(cursor, desktop);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, at.x, at.y, WIDTH, HEIGHT, SWP_NOACTIVATE);
    CRect client;
    GetClientRect(&client);
    int w = client.Width();

    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE_TINY, kMagenta);
    m_btnClose.SetWindowPos(NULL, w - 25, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_view.SetHeaderFormat(m_headerFormat);
    m_view.SetTextFormat(m_textFormat);
    m_input.SetDefaultCharFormat(m_textFormat);
    m_view.SetEventMask(ENM_LINK);
    m_input.SetEventMask(m_input.GetEventMask() | ENM_CHANGE);
    m_retry.m_normalColour = m_retry.m_colour = 0xFFAA6A;
    m_retry.m_hoverColour = 0x838383;
    m_btnPost.EnableWindow(FALSE);
    m_btnPost.SetBitmapStrip(IDB_BTN_BOARD_POST, kMagenta);

    if (m_bOwn)
    {
        m_status.ShowWindow(SW_HIDE);
        m_retry.ShowWindow(SW_HIDE);
        PlaceOwnLayout();
        if (m_pStore)
            m_view.SetBoard(m_pStore, m_strKey, TRUE);
        m_input.SetFocus();
    }
    else
    {
        ShowAll(FALSE);
        m_status.SetWindowText(Lang(L"INFO_BOARD_DOWNLOADING"));
        Place(m_status, 66, 80, 150, 16);
        SetTimer(TIMER_WAIT, 2000, NULL);
        m_view.SetBoard(m_pStore, m_strKey, FALSE);
    }
    m_input.LimitText(INPUT_LIMIT);
    ShowWindow(SW_SHOWNOACTIVATE);
    return FALSE;
}

void CBoard::ShowAll(BOOL show)
{
    CWnd* controls[] = {&m_view, &m_input, &m_btnPost, &m_btnAnonymous, &m_btnPin, &m_anonymousLabel,
                        &m_pinLabel, &m_title, &m_retry, &m_btnClose};
    for (CWnd* control : controls)
        if (control->GetSafeHwnd() && control != &m_btnClose)
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CBoard::PlaceOwnLayout()
{
    CRect client;
    GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    m_title.m_textColour = 0x0A0A0A;
    m_title.SetWindowText(m_strTitle);
    Place(m_title, 26, 5, w - 25, 23);
    Place(m_view, 2, 25, w - 8, h - 70);
    Place(m_input, 4, h - 24, 130, 20);
    ShowToggle(m_btnAnonymous, FALSE);
    Place(m_btnAnonymous, 140, h - 20, 12, 12);
    m_anonymousLabel.SetWindowText(Lang(L"INFO_BOARD_ANON"));
    Place(m_anonymousLabel, 155, h - 20, 24, 16);
    ShowToggle(m_btnPin, FALSE);
    Place(m_btnPin, 180, h - 20, 12, 12);
    m_pinLabel.SetWindowText(Lang(L"INFO_BOARD_TOP"));
    Place(m_pinLabel, 194, h - 20, 24, 16);
    Place(m_btnPost, w - 45, h - 26, 41, 22);
}

BOOL CBoard::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Alt+S in the input box post.
    if (pMsg->hwnd == m_input.GetSafeHwnd() &&
        ((pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) ||
         (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == 'S')))
    {
        OnPost();
        return TRUE;
    }
    return CSkinDialog::PreTranslateMessage(pMsg);
}

void CBoard::OnInputChange()
{
    CString text;
    m_input.GetWindowText(text);
    OnInputEmpty(text.IsEmpty() ? 1 : 0, 0);
}

LRESULT CBoard::OnInputSend(WPARAM, LPARAM)
{
    OnPost();
    return 0;
}

LRESULT CBoard::OnInputEmpty(WPARAM wParam, LPARAM)
{
    if (wParam == 1)
    {
        m_btnPost.EnableWindow(FALSE);
        m_input.SetFocus();
    }
    else if (wParam == 0)
        m_btnPost.EnableWindow(TRUE);
    return 0;
}

LRESULT CBoard::OnBoardChanged(WPARAM, LPARAM)
{
    if (CDlgMain* main = CDlgMain::Instance())
        main->SyncSongBoardValue(m_strKey);
    return 0;
}

void CBoard::OnCancel()
{
    CString key = m_strKey;
    CDlgMain* main = CDlgMain::Instance();
    ShowWindow(SW_HIDE);
    if (main)
        main->CloseSongBoard(key); // destroys this window, which frees the object
    else
        DestroyWindow();
}

void CBoard::PostNcDestroy()
{
    if (!m_bAutoDelete)
        return;
    // A window that goes with its owner leaves no stale entry behind.
    if (CDlgMain* main = CDlgMain::Instance())
    {
        auto open = main->m_openBoards.find(m_strKey);
        if (open != main->m_openBoards.end() && open->second == this)
            main->m_openBoards.erase(open);
    }
    delete this;
}

void CBoard::OnAnonymous()
{
    m_bAnonymous = !m_bAnonymous;
    ShowToggle(m_btnAnonymous, m_bAnonymous);
}

void CBoard::OnPin()
{
    m_bPin = !m_bPin;
    ShowToggle(m_btnPin, m_bPin);
}

void CBoard::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_WAIT)
        return;
    KillTimer(TIMER_WAIT);
    OnWaitTimeout();
}

void CBoard::OnWaitTimeout()
{
    CRect client;
    GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    if (m_bDownloading)
    {
        CWnd* hide[] = {&m_title, &m_btnAnonymous, &m_btnPin, &m_anonymousLabel, &m_pinLabel, &m_input, &m_view,
                        &m_btnPost};
        for (CWnd* control : hide)
            control->ShowWindow(SW_HIDE);
        m_status.SetWindowText(Lang(L"INFO_BOARD_DOWNLOADING_ERR"));
        Place(m_status, 66, 80, 100, 16);
        m_retry.SetWindowText(Lang(L"INFO_BOARD_RETRY_DOWNLOADING"));
        Place(m_retry, 166, 80, 40, 16);
        Invalidate();
        return;
    }
    m_status.ShowWindow(SW_HIDE);
    m_retry.ShowWindow(SW_HIDE);
    m_btnPin.ShowWindow(SW_HIDE);
    m_pinLabel.ShowWindow(SW_HIDE);
    m_title.m_textColour = 0x0A0A0A;
    m_title.SetWindowText(m_strTitle);
    Place(m_title, 26, 5, w - 25, 23);
    Place(m_view, 2, 25, w - 8, h - 70);
    Place(m_input, 4, h - 24, 172, 20);
    Place(m_btnPost, w - 45, h - 26, 41, 22);
    ShowToggle(m_btnAnonymous, FALSE);
    m_bAnonymous = FALSE;
    Place(m_btnAnonymous, 191, h - 20, 12, 12);
    m_anonymousLabel.SetWindowText(Lang(L"INFO_BOARD_ANON"));
    Place(m_anonymousLabel, 206, h - 20, 30, 30);
    Invalidate();
    m_input.SetFocus();
}

void CBoard::OnRetry()
{
    m_retry.ShowWindow(SW_HIDE);
    m_status.SetWindowText(Lang(L"INFO_BOARD_DOWNLOADING"));
    Place(m_status, 66, 80, 150, 16);
    SetTimer(TIMER_WAIT, 4000, NULL);
    if (CDlgMain* main = CDlgMain::Instance())
        main->PushBoardCommand(m_strOwnerId, m_strKey);
}

void CBoard::OnPost()
{
    CString text;
    m_input.GetWindowText(text);
    text.Trim();
    if (text.IsEmpty())
    {
        m_input.SetFocus();
        return;
    }
    m_input.SetSel(0, -1);
    m_input.ReplaceSel(L"");
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    CString time;
    time.Format(L"%4d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                now.wSecond);
    CString sender = m_bAnonymous ? Lang(L"INFO_BOARD_ANON") : (g_pAppSetting ? g_pAppSetting->strNick : CString());
    BOOL pinned = m_bOwn && m_bPin;
    m_view.AddEntry(sender, time, text, pinned);
    CDlgMain* main = CDlgMain::Instance();
    if (m_bOwn && main)
        main->SyncSongBoardValue(m_strKey);
    SendPost(sender, time, text, pinned, m_bOwn);
    m_input.SetFocus();
}

void CBoard::SendPost(const CString& sender, const CString& time, const CString& text, BOOL pinned, BOOL own)
{
    if (CDlgMain* main = CDlgMain::Instance())
    {
        if (own)
            main->PushBoardToBuddies(m_strKey, text);
        else
            main->PushBoardEntry(m_strKey, m_strOwnerId, sender, time, text, pinned);
    }
    CString record;
    record.Format(L"%s &.& %s &.& %s", (LPCWSTR)m_strOwnerId, (LPCWSTR)m_strKey, (LPCWSTR)text);
    CDataClient::GetInstance()->QueueRequest(6, record, m_strKey);
}

void CBoard::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    CMemoryDC dc(&paint, &client);
    CBrush white(RGB(255, 255, 255));
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&white);
    CPen* oldPen = dc.SelectObject(&black);
    dc.Rectangle(&client);
    DrawBitmap(m_bmpLeft, &dc, 0, 0);
    TileBitmap(m_bmpMiddle, &dc, m_sizeLeft.cx, 0, w - m_sizeRight.cx, m_sizeMiddle.cy);
    DrawBitmap(m_bmpRight, &dc, w - m_sizeRight.cx, 0);
    if (HICON icon = (HICON)::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_BOARD_NEW_PRESSED),
                                         IMAGE_ICON, 16, 16, 0))
    {
        ::DrawIconEx(dc.GetSafeHdc(), 4, 3, icon, 16, 16, 0, NULL, DI_NORMAL);
        ::DestroyIcon(icon);
    }
    if (m_bOwn || !m_bDownloading)
    {
        CPen line(PS_SOLID, 1, kLineColour);
        dc.SelectObject(&line);
        int x = m_bOwn ? 135 : 177;
        dc.MoveTo(1, 24);
        dc.LineTo(w - 1, 24);
        dc.MoveTo(3, h - 25);
        dc.LineTo(x, h - 25);
        dc.LineTo(x, h - 3);
        dc.LineTo(3, h - 3);
        dc.LineTo(3, h - 25);
        dc.MoveTo(1, h - 35);
        dc.LineTo(w - 1, h - 35);
        dc.SelectObject(&black);
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void CBoard::OnSize(UINT nType, int cx, int cy)
{
    CSkinDialog::OnSize(nType, cx, cy);
    if (m_view.GetSafeHwnd())
        if (CSFSkinFramework* skin = GetSkinFramework())
            skin->ApplyWindow(m_view.GetSafeHwnd());
}
