// The main window's embedded pages of the community site.
#include "DlgMain.h"

#include "ClientApp.h"
#include "ServiceAddresses.h"
#include "resource.h"

#include <cwchar>

namespace
{
// No history entry, no read from and no write to the cache.
const DWORD kPageNavigationFlags = 14;
// The site takes this fixed check code from the client in place of a password.
const wchar_t kCheckCode[] = L"480357";
const wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";

WNDPROC g_browserServerProc = NULL;

BOOL CALLBACK FindPageWindow(HWND hWnd, LPARAM lParam)
{
    wchar_t name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    if (std::wcscmp(name, L"Internet Explorer_Server") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}
} // namespace

CStringA CDlgMain::SiteLoginBody(LPCWSTR user, LPCWSTR uid)
{
    // The form is sent as it stands, not URL-encoded, in the ANSI code page.
    CString body;
    body.Format(L"username=%s&password=%s&checkcode=%s&uid=%s", user ? user : L"", kCheckCode, kCheckCode,
                uid ? uid : L"");
    int n = ::WideCharToMultiByte(CP_ACP, 0, body, body.GetLength(), NULL, 0, NULL, NULL);
    CStringA ansi;
    if (n > 0)
    {
        char* buffer = ansi.GetBuffer(n);
        ::WideCharToMultiByte(CP_ACP, 0, body, body.GetLength(), buffer, n, NULL, NULL);
        ansi.ReleaseBuffer(n);
    }
    return ansi;
}

void CDlgMain::ShowBrowserPane(BOOL page)
{
    if (m_paneSong.GetSafeHwnd())
        m_paneSong.ShowWindow(page ? SW_HIDE : SW_SHOW);
    if (m_browser.GetSafeHwnd())
        m_browser.ShowWindow(page ? SW_SHOW : SW_HIDE);
    SetLibraryToolbar(!page);
}

void CDlgMain::OpenHomePage()
{
    if (!m_browser.GetSafeHwnd())
        return;
    m_bOutsideSearch = FALSE;
    CString uid;
    if (CClientApp* app = GetClientApp())
        uid = app->GetUserId();
    CStringA body = SiteLoginBody(m_strUserEmail, uid);
    ShowBrowserPane(TRUE);
    m_browser.SafeNavigate(CServiceAddresses::Get().CommunityUrl(L"/login/"), kPageNavigationFlags, NULL, kFormHeader,
                           static_cast<LPCSTR>(body), body.GetLength());
}

void CDlgMain::ShowUserPage(LPCWSTR id)
{
    if (!m_browser.GetSafeHwnd())
        return;
    m_bOutsideSearch = FALSE;
    CString url;
    CString uid;
    if (CClientApp* app = GetClientApp())
        uid = app->GetUserId();
    // The user's own space; anyone else's page needs that user's numeric id,
    // which the buddy list keeps; without it the site's front page.
    if (id && m_strUserEmail.CompareNoCase(id) == 0 && !uid.IsEmpty())
        url = CServiceAddresses::Get().CommunityUrl(L"/myspace/?yeb_user_id=" + uid);
    else
        url = CServiceAddresses::Get().CommunityUrl(L"/");
    ShowBrowserPane(TRUE);
    m_browser.SafeNavigate(url, kPageNavigationFlags);
}

void CDlgMain::OnHomePageButton()
{
    OpenHomePage();
}

void CDlgMain::ReplaceBrowserServerProc()
{
    if (m_bBrowserProcReplaced)
        return;
    HWND page = NULL;
    ::EnumChildWindows(m_hWnd, FindPageWindow, reinterpret_cast<LPARAM>(&page));
    if (!page)
        return;
    g_browserServerProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CDlgMain::BrowserServerWndProc)));
    m_bBrowserProcReplaced = g_browserServerProc != NULL;
}

LRESULT CALLBACK CDlgMain::BrowserServerWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    return ::CallWindowProcW(g_browserServerProc, hWnd, message, wParam, lParam);
}
