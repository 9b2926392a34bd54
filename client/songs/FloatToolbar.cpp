#include "FloatToolbar.h"

#include "ClientApp.h"
#include "DataFolder.h"
#include "DlgMain.h"
#include "DlgWebSongBrowser.h"
#include "LanguageTable.h"
#include "OutsideSites.h"
#include "StripButton.h"
#include "ToolbarFace.h"
#include "resource.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CFloatToolbar, CSkinDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CFloatToolbar::OnPrintClient)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CFloatToolbar* CFloatToolbar::s_instance = NULL;

namespace
{
CString SignedInEmail()
{
    CString email;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(email);
    return email;
}

BOOL MainShowsOwnLibrary()
{
    CDlgMain* main = CDlgMain::Instance();
    CString own = SignedInEmail();
    return main && !own.IsEmpty() && main->m_strShownOwner.CompareNoCase(own) == 0;
}

void PlayRow(CFloatToolbar* bar)
{
    CDlgMain* main = CDlgMain::Instance();
    if (main && !bar->m_row.unplayable)
        main->SelectSingleSong(bar->m_nRowIndex);
}

void PushOrCollectRow(CFloatToolbar* bar, BOOL push)
{
    if (CDlgMain* main = CDlgMain::Instance())
        main->CollectSongFromToolbar(bar->m_nRowIndex, push);
}

// The board of a song is known by the song's hash (the row's fourth text).
void OpenRowBoard(CFloatToolbar* bar)
{
    if (CDlgMain* main = CDlgMain::Instance())
        main->OpenSongBoard(bar->m_row.texts[3], bar->m_row.texts[1]);
}

void OpenSearchWindow(const CString& url)
{
    CDlgWebSongBrowser* window = new CDlgWebSongBrowser(FALSE, FALSE, NULL);
    if (!window->Create(IDD_WEB_SONG_BROWSER, CWnd::GetDesktopWindow()))
    {
        delete window;
        return;
    }
    window->Navigate(url, CDlgWebSongBrowser::NAVIGATE_FRESH);
}
} // namespace

CFloatToolbar::Actions CFloatToolbar::s_actions = {MainShowsOwnLibrary, PlayRow, PushOrCollectRow, OpenRowBoard,
                                                   OpenSearchWindow};

CFloatToolbar::CFloatToolbar()
    : CSkinDialog(IDD_FLOAT_TOOLBAR, NULL), m_flag(0), m_nRowIndex(-1), m_nTextChoice(0), m_hList(NULL),
      m_lastPointer{0, 0}
{
    m_bDrag = FALSE;
}

CFloatToolbar::~CFloatToolbar()
{
}

CFloatToolbar* CFloatToolbar::GetInstance()
{
    if (!s_instance)
        s_instance = new CFloatToolbar;
    return s_instance;
}

BOOL CFloatToolbar::Exists()
{
    return s_instance && s_instance->GetSafeHwnd();
}

void CFloatToolbar::Destroy()
{
    CFloatToolbar* bar = s_instance;
    if (!bar)
        return;
    s_instance = NULL;
    if (bar->GetSafeHwnd())
        bar->DestroyWindow();
    delete bar;
}

int CFloatToolbar::SetRow(const FloatToolbarRow& row, BYTE flag, int rowIndex, int textChoice)
{
    m_row = row;
    m_flag = flag;
    m_nRowIndex = rowIndex;
    m_nTextChoice = textChoice;
    return 1;
}

BOOL CFloatToolbar::ShowsSecondButton() const
{
    int kind = m_row.Kind();
    return (kind == KIND_PUSH || kind == KIND_COLLECT) && s_actions.isOwnLibraryShown();
}

CString CFloatToolbar::SearchText() const
{
    if (m_nTextChoice == 1 && !m_row.texts[2].IsEmpty())
        return m_row.texts[2];
    return m_row.texts[1];
}

int CFloatToolbar::Show(CWnd* list)
{
    m_hList = list ? list->GetSafeHwnd() : NULL;
    if (!GetSafeHwnd() && !Create(IDD_FLOAT_TOOLBAR, list))
        return 0;
    POINT pointer;
    ::GetCursorPos(&pointer);
    PlaceAt(pointer);
    return 1;
}

void CFloatToolbar::SetUpButton(CImageButton& button, UINT id, UINT bitmap, int x, LPCWSTR tip)
{
    if (!button.SubclassDlgItem(id, this))
        return;
    ShowAsStripButton(button, bitmap);
    button.SetWindowPos(NULL, x, 0, BUTTON, BUTTON, SWP_NOZORDER | SWP_NOACTIVATE);
    m_tooltip.AddTool(&button, Lang(tip));
}

BOOL CFloatToolbar::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    LoadBitmapResource(m_background, IDB_FLOAT_TOOLBAR_BACK);
    SetUpButton(m_btnPlay, IDC_FLOAT_PLAY, IDB_BTN_FLOAT_PLAY, 0, L"INFO_PLAYER_PLAY");
    if (ShowsSecondButton())
    {
        BOOL push = m_row.Kind() == KIND_PUSH;
        SetUpButton(m_btnPush, IDC_FLOAT_PUSH, push ? IDB_BTN_FLOAT_PUSH : IDB_BTN_FLOAT_COLLECT, BUTTON,
                    push ? L"STR_PUSH_SONG_TITLE" : L"STR_COLLECT_SONG_TITLE");
        SetUpButton(m_btnSearch, IDC_FLOAT_SEARCH, IDB_BTN_FLOAT_SEARCH, 2 * BUTTON, L"INFO_MUSIC_GOOGLE_SEARCH");
        SetUpButton(m_btnBoard, IDC_FLOAT_BOARD, IDB_BTN_FLOAT_BOARD, 3 * BUTTON, L"INFO_BOARD_TOOLTIP");
    }
    else
    {
        if (CWnd* push = GetDlgItem(IDC_FLOAT_PUSH))
            push->ShowWindow(SW_HIDE);
        SetUpButton(m_btnSearch, IDC_FLOAT_SEARCH, IDB_BTN_FLOAT_SEARCH, BUTTON, L"INFO_MUSIC_GOOGLE_SEARCH");
        SetUpButton(m_btnBoard, IDC_FLOAT_BOARD, IDB_BTN_FLOAT_BOARD, 2 * BUTTON, L"INFO_BOARD_TOOLTIP");
    }
    return TRUE;
}

void CFloatToolbar::PlaceAt(POINT pointer)
{
    m_lastPointer = pointer;
    if (!GetSafeHwnd() || !::IsWindow(m_hList))
        return;
    RECT listRect;
    ::GetWindowRect(m_hList, &listRect);
    if (!::PtInRect(&listRect, pointer) || ::WindowFromPoint(pointer) != m_hList)
    {
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        return;
    }
    int anchor = pointer.x;
    RECT desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    if (desktop.right < pointer.x + EDGE_ROOM)
        anchor -= EDGE_ROOM;
    int width = ShowsSecondButton() ? 4 * BUTTON : 3 * BUTTON;
    // The strip is a child of the list: the screen point becomes one of the
    // list's client area.
    POINT place = {anchor + 5, pointer.y - BUTTON};
    if (GetStyle() & WS_CHILD)
        ::ScreenToClient(::GetParent(m_hWnd), &place);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, place.x, place.y, width, BUTTON,
                 SWP_NOOWNERZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

int CFloatToolbar::IsPointerOver()
{
    if (!GetSafeHwnd())
        return 0;
    POINT pointer;
    ::GetCursorPos(&pointer);
    CRect r;
    GetWindowRect(&r);
    if (r.PtInRect(pointer))
        return 1;
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return 0;
}

void CFloatToolbar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_PLACE)
    {
        KillTimer(TIMER_PLACE);
        POINT pointer;
        ::GetCursorPos(&pointer);
        PlaceAt(pointer);
        return;
    }
    if (nIDEvent == TIMER_DESTROY)
    {
        KillTimer(TIMER_DESTROY);
        DestroyWindow();
        return;
    }
    Default();
}

BOOL CFloatToolbar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id != IDC_FLOAT_PLAY && id != IDC_FLOAT_PUSH && id != IDC_FLOAT_SEARCH && id != IDC_FLOAT_BOARD)
        return CSkinDialog::OnCommand(wParam, lParam);
    DestroyWindow();
    switch (id)
    {
    case IDC_FLOAT_PLAY:
        s_actions.play(this);
        break;
    case IDC_FLOAT_PUSH:
        if (m_row.Kind() == KIND_PUSH || m_row.Kind() == KIND_COLLECT)
            s_actions.pushOrCollect(this, m_row.Kind() == KIND_PUSH);
        break;
    case IDC_FLOAT_SEARCH:
        s_actions.openSearch(COutsideSites::MusicSearchUrl(SearchText()));
        break;
    case IDC_FLOAT_BOARD:
        s_actions.openBoard(this);
        break;
    default:
        break;
    }
    return TRUE;
}

void CFloatToolbar::OnPaint()
{
    CPaintDC dc(this);
    ToolbarFace::Paint(this, &dc, m_hIcon, m_background, RGB(255, 255, 255));
}

void CFloatToolbar::PaintBackground(CDC* pDC)
{
    ToolbarFace::PaintBackground(this, pDC, m_background, RGB(255, 255, 255));
}

LRESULT CFloatToolbar::OnPrintClient(WPARAM wParam, LPARAM)
{
    // The buttons take their background from here.
    PaintBackground(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return TRUE;
}

void GetPlaylistFilePath(LPCWSTR userId, CString& path)
{
    CString own = SignedInEmail();
    if (userId && !own.IsEmpty() && own.CompareNoCase(userId) == 0)
        path = BuildMyPlaylistPath(userId);
    else
        path = BuildFriendPlaylistPath(userId);
}
