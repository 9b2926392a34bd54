// CWebSongBrowserCtrl: the browser of the web song browser window. With
// interception on, media links clicked in a page and the outside music
// search's redirects to song files become downloads for the parent window
// instead of navigations; it reports the page title, the first page's size
// and the back/forward states to its parent, and opens pages that ask for a
// new window in a new browser window.
#pragma once
#include "HtmlCtrl.h"

#include <deque>

// Messages to the browser window (wParam, lParam as noted).
const UINT WM_BROWSER_EVENT = WM_USER + 48;        // event kind (below), data
const UINT WM_BROWSER_ADS_LOADED = WM_USER + 50;   // the advertisement list: 0, heap BrowserAdList*
const UINT WM_BROWSER_COMMAND_STATE = WM_USER + 53; // 1 forward / 2 back, enable flag
enum BrowserEventKind
{
    BROWSER_EVENT_DOWNLOAD = 1,   // a download link was stored
    BROWSER_EVENT_TITLE = 4,      // the page title changed
    BROWSER_EVENT_FIRST_SIZE = 7, // the first page: width low word, height high word
    BROWSER_EVENT_OPEN_SITE = 8   // 1, 2 search sites; 3 invitation; 4 own song lists
};

// One download a page asked for: the song file, its file name and cover.
struct StoredDownload
{
    CString url;
    CString fileName;
    CString coverUrl;
};

class CWebSongBrowserCtrl : public CHtmlCtrl
{
    DECLARE_DYNCREATE(CWebSongBrowserCtrl)
public:
    explicit CWebSongBrowserCtrl(BOOL intercept = TRUE);
    ~CWebSongBrowserCtrl() override;

    // The file name a download is saved under: characters a file name
    // cannot hold become "_", no leading or trailing dots or blanks, and
    // never a path.
    static CString CleanFileName(const CString& name);
    // Step 1 of the interception: the file name of a media link (attribute
    // is the page element's "filename", may be empty).
    static CString MediaLinkFileName(const CString& url, const CString& attribute);
    // Step 2: TRUE when url is a redirect (prefix) to a media link; gives
    // the song file's address, its file name and its cover address.
    static BOOL ParseRedirect(const CString& url, const CString& prefix, const CString& coverPrefix, CString& target,
                              CString& fileName, CString& coverUrl);

    // The oldest download not yet taken (one per BROWSER_EVENT_DOWNLOAD
    // message); FALSE when there is none.
    BOOL TakeDownload(StoredDownload& out);

    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                           LPCTSTR lpszHeaders, BOOL* pbCancel) override;
    void OnDocumentComplete(LPCTSTR lpszURL) override;
    void OnTitleChange(LPCTSTR lpszText) override;
    void OnCommandStateChange(long nCommand, BOOL bEnable) override;
    void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel) override;

    CString m_strRedirectPrefix;
    BOOL m_bSizeReportPending;
    BOOL m_bIntercept;
    BOOL m_bOpenNewWindowsHere;
    HWND m_hServer;
    WNDPROC m_pServerProc;
    CString m_strDownloadUrl;
    CString m_strDownloadName;
    CString m_strTitle;
    CString m_strCoverPrefix;
    CString m_strCoverUrl;
    // Links clicked faster than the window takes them each keep their own
    // name and cover.
    std::deque<StoredDownload> m_pendingDownloads;

protected:
    // The "filename" attribute of the page's active element ("" without one).
    virtual CString GetActiveFileNameAttribute();
    // The browser's width and height (0 without a browser; negatives as 0).
    virtual CSize GetBrowserSize();

    void OnSize(UINT nType, int cx, int cy);
    void OnNcDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void PostToParent(UINT message, WPARAM wParam, LPARAM lParam);
    void StoreDownload(const CString& url, const CString& name);
    // Finds the page window below the control and keeps it from erasing.
    void SubclassPageWindow();
    static LRESULT CALLBACK PageWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
