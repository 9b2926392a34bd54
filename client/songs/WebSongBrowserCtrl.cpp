#include "WebSongBrowserCtrl.h"

#include "DlgWebSongBrowser.h"
#include "OutsideSites.h"
#include "UrlDecoder.h"
#include "resource.h"

#include <cwchar>
#include <map>

IMPLEMENT_DYNCREATE(CWebSongBrowserCtrl, CHtmlView)

BEGIN_MESSAGE_MAP(CWebSongBrowserCtrl, CHtmlCtrl)
    ON_WM_SIZE()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

namespace
{
// Page window -> its control, for the page windows' shared procedure.
std::map<HWND, CWebSongBrowserCtrl*>& PageWindows()
{
    static std::map<HWND, CWebSongBrowserCtrl*> windows;
    return windows;
}

HWND FindPageWindowBelow(HWND parent, int depth)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wcscmp(name, L"Internet Explorer_Server") == 0)
            return child;
        if (depth > 1)
            if (HWND found = FindPageWindowBelow(child, depth - 1))
                return found;
    }
    return NULL;
}

CString Decoded(const CString& text)
{
    return CUrlDecoder().Decode(text);
}

// The last path segment of an address (the text after its last "/").
CString LastSegment(const CString& url)
{
    int slash = url.ReverseFind(L'/');
    return slash >= 0 ? url.Mid(slash + 1) : url;
}
} // namespace

CWebSongBrowserCtrl::CWebSongBrowserCtrl(BOOL intercept)
    : m_strRedirectPrefix(COutsideSites::RedirectPrefix), m_bSizeReportPending(TRUE), m_bIntercept(intercept),
      m_bOpenNewWindowsHere(TRUE), m_hServer(NULL), m_pServerProc(NULL), m_strCoverPrefix(COutsideSites::CoverPrefix)
{
    // The window shows nothing until its first page has loaded and sized it,
    // so the first navigation goes to a blank page, not the placeholder.
    m_bShowPlaceholder = FALSE;
    m_bBlankFirst = TRUE;
}

CWebSongBrowserCtrl::~CWebSongBrowserCtrl()
{
}

CString CWebSongBrowserCtrl::CleanFileName(const CString& name)
{
    CString clean;
    for (int i = 0; i < name.GetLength(); ++i)
    {
        wchar_t c = name[i];
        if (c < 32 || std::wcschr(L"\\/:*?\"<>|", c))
            c = L'_';
        clean += c;
    }
    clean.Trim(L" .");
    return clean;
}

CString CWebSongBrowserCtrl::MediaLinkFileName(const CString& url, const CString& attribute)
{
    CString path = url;
    int query = path.Find(L'?');
    if (query >= 0)
        path = path.Left(query);
    CString name = LastSegment(path);
    int dot = name.ReverseFind(L'.');
    CString extension = dot >= 0 ? name.Mid(dot) : CString();
    if (!attribute.IsEmpty())
        name = attribute + extension;
    else
    {
        CString decoded = Decoded(name);
        if (decoded.Find(L'?') < 0)
            name = decoded;
    }
    return CleanFileName(name);
}

BOOL CWebSongBrowserCtrl::ParseRedirect(const CString& url, const CString& prefix, const CString& coverPrefix,
                                        CString& target, CString& fileName, CString& coverUrl)
{
    if (prefix.IsEmpty() || url.GetLength() < prefix.GetLength() ||
        ::_wcsnicmp(url, prefix, prefix.GetLength()) != 0)
        return FALSE;
    int q = url.Find(L"q=");
    if (q < 0)
        return FALSE;
    int amp = url.Find(L'&', q + 2);
    if (amp < 0)
        return FALSE;
    CString decodedTarget = Decoded(url.Mid(q + 2, amp - q - 2));
    if (!CHtmlCtrl::IsMediaLink(decodedTarget))
        return FALSE;

    // The album key is the part of the last-but-one path segment after its
    // last "_".
    int lastSlash = decodedTarget.ReverseFind(L'/');
    CString head = lastSlash >= 0 ? decodedTarget.Left(lastSlash) : CString();
    CString album = LastSegment(head);
    int underscore = album.ReverseFind(L'_');
    if (underscore >= 0)
        album = album.Mid(underscore + 1);
    coverUrl = coverPrefix + album + L".jpg";

    CString name = Decoded(LastSegment(decodedTarget));
    if (name.Find(L'?') >= 0)
    {
        int dot = decodedTarget.ReverseFind(L'.');
        name = L"ravaroze";
        if (dot >= 0)
        {
            CString extension = decodedTarget.Mid(dot);
            int query = extension.Find(L'?');
            name += query >= 0 ? extension.Left(query) : extension;
        }
    }
    target = decodedTarget;
    fileName = CleanFileName(name);
    return TRUE;
}

void CWebSongBrowserCtrl::PostToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd)
        ::PostMessageW(::GetParent(m_hWnd), message, wParam, lParam);
}

void CWebSongBrowserCtrl::StoreDownload(const CString& url, const CString& name)
{
    m_strDownloadUrl = url;
    m_strDownloadName = name;
    m_pendingDownloads.push_back({url, name, m_strCoverUrl});
    PostToParent(WM_BROWSER_EVENT, BROWSER_EVENT_DOWNLOAD, 0);
}

BOOL CWebSongBrowserCtrl::TakeDownload(StoredDownload& out)
{
    if (m_pendingDownloads.empty())
        return FALSE;
    out = m_pendingDownloads.front();
    m_pendingDownloads.pop_front();
    return TRUE;
}

CString CWebSongBrowserCtrl::GetActiveFileNameAttribute()
{
    IHTMLElement* element = NULL;
    if (GetActiveElement(&element) != 0 || !element)
        return CString();
    CString value;
    VARIANT attribute;
    ::VariantInit(&attribute);
    BSTR name = ::SysAllocString(L"filename");
    if (SUCCEEDED(element->getAttribute(name, 0, &attribute)) && attribute.vt == VT_BSTR && attribute.bstrVal)
        value = attribute.bstrVal;
    ::SysFreeString(name);
    ::VariantClear(&attribute);
    element->Release();
    return value;
}

CSize CWebSongBrowserCtrl::GetBrowserSize()
{
    long width = 0, height = 0;
    if (IWebBrowser2* browser = GetBrowser())
    {
        browser->get_Width(&width);
        browser->get_Height(&height);
    }
    return CSize(width < 0 ? 0 : width, height < 0 ? 0 : height);
}

void CWebSongBrowserCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName,
                                            CByteArray& baPostedData, LPCTSTR lpszHeaders, BOOL* pbCancel)
{
    *pbCancel = FALSE;
    if (!m_bIntercept)
        return;
    CString url = lpszURL ? lpszURL : L"";
    if (IsMediaLink(url))
    {
        // A plain song link has no cover of its own.
        m_strCoverUrl.Empty();
        StoreDownload(url, MediaLinkFileName(url, GetActiveFileNameAttribute()));
        *pbCancel = TRUE;
        return;
    }
    CString target, name, cover;
    if (ParseRedirect(url, m_strRedirectPrefix, m_strCoverPrefix, target, name, cover))
    {
        m_strCoverUrl = cover;
        StoreDownload(target, name);
        *pbCancel = TRUE;
        return;
    }
    CHtmlCtrl::OnBeforeNavigate2(lpszURL, nFlags, lpszTargetFrameName, baPostedData, lpszHeaders, pbCancel);
}

void CWebSongBrowserCtrl::OnDocumentComplete(LPCTSTR lpszURL)
{
    if (m_bIntercept && m_bSizeReportPending && lpszURL && ::_wcsicmp(lpszURL, L"about:blank") != 0)
    {
        CSize size = GetBrowserSize();
        m_bSizeReportPending = FALSE;
        PostToParent(WM_BROWSER_EVENT, BROWSER_EVENT_FIRST_SIZE,
                     static_cast<LPARAM>(((size.cy & 0xFFFF) << 16) | (size.cx & 0xFFFF)));
    }
    CHtmlCtrl::OnDocumentComplete(lpszURL);
}

void CWebSongBrowserCtrl::OnTitleChange(LPCTSTR lpszText)
{
    m_strTitle = lpszText ? lpszText : L"";
    PostToParent(WM_BROWSER_EVENT, BROWSER_EVENT_TITLE, 0);
}

void CWebSongBrowserCtrl::OnCommandStateChange(long nCommand, BOOL bEnable)
{
    PostToParent(WM_BROWSER_COMMAND_STATE, static_cast<WPARAM>(nCommand), bEnable);
}

void CWebSongBrowserCtrl::OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel)
{
    CDlgWebSongBrowser* window = new CDlgWebSongBrowser(FALSE, FALSE, NULL);
    if (!window->Create(IDD_WEB_SONG_BROWSER, CWnd::GetDesktopWindow()))
    {
        delete window;
        *pbCancel = TRUE;
        return;
    }
    IDispatch* application = window->m_browser.GetApplication();
    if (!application)
    {
        // No browser to take the page: the new window has nothing to show.
        window->Close();
        *pbCancel = TRUE;
        return;
    }
    *ppDisp = application; // handed over with its reference
}

void CWebSongBrowserCtrl::OnSize(UINT nType, int cx, int cy)
{
    CHtmlCtrl::OnSize(nType, cx, cy);
    if (!m_hServer)
        SubclassPageWindow();
}

void CWebSongBrowserCtrl::SubclassPageWindow()
{
    HWND page = FindPageWindowBelow(m_hWnd, 3);
    if (!page)
        return;
    m_hServer = page;
    m_pServerProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWebSongBrowserCtrl::PageWindowProc)));
    PageWindows()[page] = this;
}

LRESULT CALLBACK CWebSongBrowserCtrl::PageWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = PageWindows().find(hWnd);
    if (it == PageWindows().end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    // The page paints all of itself; erasing first would flicker.
    if (message == WM_ERASEBKGND)
        return 1;
    return ::CallWindowProcW(it->second->m_pServerProc, hWnd, message, wParam, lParam);
}

void CWebSongBrowserCtrl::OnNcDestroy()
{
    if (m_hServer)
    {
        if (::IsWindow(m_hServer))
            ::SetWindowLongPtrW(m_hServer, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pServerProc));
        PageWindows().erase(m_hServer);
        m_hServer = NULL;
    }
    Default();
}
