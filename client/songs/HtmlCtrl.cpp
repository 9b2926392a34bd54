#include "HtmlCtrl.h"

#include <cwchar>

BEGIN_MESSAGE_MAP(CHtmlCtrl, CHtmlView)
    ON_WM_SIZE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace
{
const wchar_t kDefaultPrefix[] = L"app:";
const wchar_t kPlaceholderPage[] = L"LOADING.HTM";

bool IsPageWindow(HWND hWnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    return std::wcscmp(name, L"Internet Explorer_Server") == 0;
}
} // namespace

CHtmlCtrl::CHtmlCtrl()
    : m_bLocked(TRUE), m_bLoadDone(FALSE), m_bShowPlaceholder(TRUE), m_bBlankFirst(FALSE), m_pPending(NULL)
{
    m_prefix[0] = 0;
}

CHtmlCtrl::~CHtmlCtrl()
{
    DropPending();
}

BOOL CHtmlCtrl::CreateFromStatic(UINT nID, CWnd* pParent)
{
    HWND placeholder = pParent ? ::GetDlgItem(pParent->m_hWnd, nID) : NULL;
    if (!placeholder)
        return FALSE;
    RECT rect;
    ::GetWindowRect(placeholder, &rect);
    ::MapWindowPoints(NULL, pParent->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
    ::DestroyWindow(placeholder);
    if (!Create(NULL, NULL, WS_CHILD | WS_VISIBLE, rect, pParent, nID))
        return FALSE;
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return TRUE;
}

void CHtmlCtrl::SetCommandPrefix(LPCTSTR prefix)
{
    wcsncpy(m_prefix, prefix ? prefix : L"", 129);
    m_prefix[129] = 0;
}

void CHtmlCtrl::DropPending()
{
    delete m_pPending;
    m_pPending = NULL;
}

void CHtmlCtrl::RunRequest(const HtmlNavigateRequest& request)
{
    Navigate2(request.url, request.flags, request.targetFrame, request.headers,
              request.postData.empty() ? NULL : request.postData.data(), static_cast<DWORD>(request.postData.size()));
}

void CHtmlCtrl::SafeNavigate(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
                             const void* lpvPostData, DWORD dwPostDataLen)
{
    HtmlNavigateRequest* request = new HtmlNavigateRequest;
    request->url = lpszURL ? lpszURL : L"";
    request->flags = dwFlags;
    request->targetFrame = lpszTargetFrameName ? lpszTargetFrameName : L"";
    request->headers = lpszHeaders ? lpszHeaders : L"";
    if (lpvPostData && dwPostDataLen)
        request->postData.assign(static_cast<const BYTE*>(lpvPostData),
                                 static_cast<const BYTE*>(lpvPostData) + dwPostDataLen);
    if (m_bShowPlaceholder)
    {
        LoadFromResource(kPlaceholderPage);
        DropPending();
        m_pPending = request;
    }
    else if (m_bBlankFirst)
    {
        DropPending();
        Navigate2(L"about:blank");
        m_pPending = request;
    }
    else
    {
        RunRequest(*request);
        delete request;
    }
}

void CHtmlCtrl::OnNavigateComplete2(LPCTSTR lpszURL)
{
    CHtmlView::OnNavigateComplete2(lpszURL);
    if (m_pPending)
    {
        // The request is taken off first: running it starts the next
        // navigation, whose completion must not find it again.
        HtmlNavigateRequest* request = m_pPending;
        m_pPending = NULL;
        if (m_bShowPlaceholder)
            RunRequest(*request);
        else if (m_bBlankFirst)
        {
            RunRequest(*request);
            m_bBlankFirst = FALSE;
        }
        delete request;
    }
}

void CHtmlCtrl::OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel)
{
    CHtmlView::OnNavigateError(lpszURL, lpszFrame, dwError, pbCancel);
    if (m_bShowPlaceholder && m_pPending)
    {
        HtmlNavigateRequest* request = m_pPending;
        m_pPending = NULL;
        RunRequest(*request);
        delete request;
    }
}

void CHtmlCtrl::OnDocumentComplete(LPCTSTR lpszURL)
{
    CHtmlView::OnDocumentComplete(lpszURL);
}

void CHtmlCtrl::OnProgressChange(long nProgress, long nProgressMax)
{
    CHtmlView::OnProgressChange(nProgress, nProgressMax);
    m_bLoadDone = nProgress == -1;
}

void CHtmlCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL* pbCancel)
{
    *pbCancel = FALSE;
    if (m_prefix[0] == 0)
        SetCommandPrefix(kDefaultPrefix);
    size_t length = std::wcslen(m_prefix);
    if (lpszURL && ::_wcsnicmp(lpszURL, m_prefix, length) == 0 && std::wcslen(lpszURL) >= length)
    {
        OnAppCmd(lpszURL + length);
        *pbCancel = TRUE;
    }
}

void CHtmlCtrl::OnAppCmd(LPCTSTR lpszCommand)
{
    if (!lpszCommand)
        return;
    size_t textLength = std::wcslen(lpszCommand);
    for (const PageCommand& entry : m_pageCommands)
    {
        size_t wordLength = std::wcslen(entry.word);
        if (textLength < wordLength || ::_wcsnicmp(lpszCommand, entry.word, wordLength) != 0)
            continue;
        // The argument is the receiver's to free (delete[]).
        wchar_t* argument = NULL;
        if (textLength > wordLength)
        {
            size_t n = textLength - wordLength;
            argument = new wchar_t[n + 1];
            std::wmemcpy(argument, lpszCommand + wordLength, n);
            argument[n] = 0;
        }
        if (!::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, entry.id, reinterpret_cast<LPARAM>(argument)))
            delete[] argument;
    }
}

HRESULT CHtmlCtrl::GetActiveElement(IHTMLElement** element)
{
    if (!element)
        return E_POINTER;
    *element = NULL;
    IDispatch* dispatch = GetHtmlDocument();
    if (!dispatch)
        return E_FAIL;
    IHTMLDocument2* document = NULL;
    HRESULT hr = dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    dispatch->Release();
    if (FAILED(hr) || !document)
        return E_FAIL;
    hr = document->get_activeElement(element);
    document->Release();
    return SUCCEEDED(hr) && *element ? 0 : E_FAIL;
}

BOOL CHtmlCtrl::IsMediaLink(LPCTSTR lpszURL)
{
    if (!lpszURL || ::_wcsnicmp(lpszURL, L"http://", 7) != 0)
        return FALSE;
    CString path(lpszURL);
    int query = path.Find(L'?');
    if (query >= 0)
        path = path.Left(query);
    int dot = path.ReverseFind(L'.');
    if (dot < 0)
        return FALSE;
    CString extension = path.Mid(dot + 1);
    return extension.CompareNoCase(L"mp3") == 0 || extension.CompareNoCase(L"wma") == 0;
}

BOOL CHtmlCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (m_bLocked)
    {
        switch (pMsg->message)
        {
        case WM_CONTEXTMENU:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            if (IsPageWindow(pMsg->hwnd))
            {
                if (pMsg->message == WM_RBUTTONUP)
                    ::SendMessageW(::GetParent(m_hWnd), WM_CONTEXTMENU, pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
            break;
        case WM_KEYDOWN:
            if (pMsg->wParam >= VK_F1 && pMsg->wParam <= VK_F12)
                return TRUE;
            if ((::GetKeyState(VK_CONTROL) & 0x8000) &&
                (pMsg->wParam == 0x41 || pMsg->wParam == 0x43 || pMsg->wParam == 0x61 || pMsg->wParam == 0x63))
                return TRUE;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (::GetKeyState(VK_SHIFT) & 0x8000)
                return TRUE;
            break;
        default:
            break;
        }
    }
    return CHtmlView::PreTranslateMessage(pMsg);
}

void CHtmlCtrl::OnSize(UINT nType, int cx, int cy)
{
    CHtmlView::OnSize(nType, cx, cy);
    // The inner browser window fills the client area (less a client edge).
    HWND inner = ::GetWindow(m_hWnd, GW_CHILD);
    if (inner)
    {
        RECT r = {0, 0, cx, cy};
        if (GetExStyle() & WS_EX_CLIENTEDGE)
            ::InflateRect(&r, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
        ::SetWindowPos(inner, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int CHtmlCtrl::OnMouseActivate(CWnd*, UINT, UINT)
{
    // The window's own answer, not a view's (which would activate a frame).
    return static_cast<int>(Default());
}
